#pragma once
// Names the WSJT-X log and the log to merge into it; saves them so that the
// update runs at every start, or runs it now.

#include "logweave/session.h"
#include "platform/platform.h"

#include "dialogs/escape_kept_dialog.h"

class QKeyEvent;
class QLabel;
class QLineEdit;
class QPushButton;

namespace logweave::platform {
class TwipsLayout;
}

namespace logweave::dialogs {

class WsjtxUpdateDialog final : public EscapeKeptDialog {
    Q_OBJECT

public:
    WsjtxUpdateDialog(Session& session, platform::Platform& platform, QWidget* parent = nullptr);

protected:
    // Enter and Return press the focused button; no button answers them by itself.
    void keyPressEvent(QKeyEvent* event) override;

private:
    void placeFiles(platform::TwipsLayout& form);
    void placeCommands(platform::TwipsLayout& form);
    void Form_Load();
    void Command1_Click();
    void Command2_Click();
    void Command3_Click();
    void Command4_Click();
    void Command5_Click();
    void enableCommands();
    QString browse();

    Session& session_;
    platform::Platform& platform_;

    QLabel* Label3{};
    QLabel* Label1{};
    QLineEdit* Text1{};
    QPushButton* Command1{};
    QLabel* Label2{};
    QLineEdit* Text2{};
    QPushButton* Command2{};
    QPushButton* Command4{};
    QPushButton* Command3{};
    QPushButton* Command5{};
};

}  // namespace logweave::dialogs
