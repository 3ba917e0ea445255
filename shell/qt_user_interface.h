#pragma once
// The engine's user in the windowed program: the pane of the main window, the
// options dialog and the conflict dialog.

#include "logweave/user_interface.h"
#include "platform/platform.h"

#include <memory>
#include <string_view>

class QPlainTextEdit;
class QWidget;

namespace logweave::dialogs {
class OptionsDialog;
}

namespace logweave::shell {

class QtUserInterface final : public UserInterface {
public:
    QtUserInterface(QPlainTextEdit& pane, platform::Platform& platform, QWidget* window);
    ~QtUserInterface() override;

    void appendToPane(std::string_view utf8) override;
    OutputOptions outputOptions() override { return options_; }
    bool showOptionsDialog() override;
    Settlement settleConflict(const Conflict& conflict) override;

private:
    QPlainTextEdit& pane_;
    platform::Platform& platform_;
    QWidget* window_;
    OutputOptions options_;
    std::unique_ptr<dialogs::OptionsDialog> optionsDialog_;
};

}  // namespace logweave::shell
