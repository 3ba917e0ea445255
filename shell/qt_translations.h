#pragma once
// Qt's own words (the file dialog, the input box, the message boxes' buttons)
// in the desktop's language; the program's own texts are bilingual already.

#include <QLocale>

class QCoreApplication;
class QTranslator;

namespace logweave::shell {

// Installs Qt's translation for `locale` into `application`, which owns it;
// nullptr when none is installed on the system for that language.
QTranslator* installQtTranslations(QCoreApplication& application, const QLocale& locale = QLocale::system());

}  // namespace logweave::shell
