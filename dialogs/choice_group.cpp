#include "dialogs/choice_group.h"

#include <QButtonGroup>
#include <QRadioButton>

namespace logweave::dialogs {

QButtonGroup* groupChoices(QWidget* owner, const QList<QRadioButton*>& buttons)
{
    auto* group = new QButtonGroup(owner);
    for (QRadioButton* button : buttons) {
        group->addButton(button);
        // Qt moves the stop to a button as it gets the focus; a choice made
        // otherwise (set from the saved options) moves it too.
        QObject::connect(button, &QAbstractButton::toggled, group, [group, button](bool chosen) {
            if (!chosen)
                return;
            for (QAbstractButton* each : group->buttons()) {
                const int policy = each == button ? each->focusPolicy() | Qt::TabFocus : each->focusPolicy() & ~Qt::TabFocus;
                each->setFocusPolicy(static_cast<Qt::FocusPolicy>(policy));
            }
        });
    }
    return group;
}

}  // namespace logweave::dialogs
