#include "platform/input_box.h"

#include <QInputDialog>

namespace logweave::platform {

QString QtInputBox::getText(QWidget* parent, const QString& prompt, const QString& title, const QString& defaultText)
{
    bool accepted = false;
    const QString text = QInputDialog::getText(parent, title, prompt, QLineEdit::Normal, defaultText, &accepted);
    return accepted ? text : QString();
}

}  // namespace logweave::platform
