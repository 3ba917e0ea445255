#include "shell/qt_translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

namespace logweave::shell {

QTranslator* installQtTranslations(QCoreApplication& application, const QLocale& locale)
{
    auto* translator = new QTranslator(&application);
    // qtbase_fr.qm and the like, where the system keeps Qt's translations.
    if (!translator->load(locale, QStringLiteral("qtbase"), QStringLiteral("_"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath))
        || !QCoreApplication::installTranslator(translator)) {
        delete translator;
        return nullptr;
    }
    return translator;
}

}  // namespace logweave::shell
