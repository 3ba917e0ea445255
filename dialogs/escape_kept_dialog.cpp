#include "dialogs/escape_kept_dialog.h"

#include <QKeyEvent>

namespace logweave::dialogs {

void EscapeKeptDialog::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

}  // namespace logweave::dialogs
