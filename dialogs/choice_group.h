#pragma once
// Radio buttons that make one choice between them.

#include <QList>

class QButtonGroup;
class QRadioButton;
class QWidget;

namespace logweave::dialogs {

// Exclusive among themselves only, whatever else their parent holds; one Tab
// stop, at the one chosen, as on every desktop, the arrow keys moving in them.
QButtonGroup* groupChoices(QWidget* owner, const QList<QRadioButton*>& buttons);

}  // namespace logweave::dialogs
