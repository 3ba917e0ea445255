#include "platform/input_box.h"

#include <QInputDialog>

namespace logweave::platform {

std::optional<QString> QtInputBox::getText(QWidget* parent, const QString& prompt, const QString& title,
                                           const QString& defaultText)
{
    bool accepted = false;
    const QString text = QInputDialog::getText(parent, title, prompt, QLineEdit::Normal, defaultText, &accepted);
    if (!accepted)
        return std::nullopt;
    return text;
}

}  // namespace logweave::platform
