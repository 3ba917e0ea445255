#pragma once
// The program's window: the menu bar of commands and the activity pane where
// every operation reports.

#include "logweave/log_store.h"
#include "logweave/session.h"
#include "platform/platform.h"
#include "shell/qt_user_interface.h"

#include <QMainWindow>

#include <optional>

class QAction;
class QPlainTextEdit;

namespace logweave::shell {

class MainWindow final : public QMainWindow {
    Q_OBJECT

public:
    MainWindow(LogStore& store, FileSystem& files, platform::Platform& platform, QWidget* parent = nullptr);
    ~MainWindow() override;

    // Runs before the window is first shown; may run the WSJT-X update unattended.
    void startUp();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void buildMenu();
    void quit();
    void openLog();
    void addLog();
    void showWsjtxUpdate();
    void filterLog();
    void showChanges();
    void showHelp();
    QString chooseLog(const QString& startFolder);
    OutputOptions options();

    LogStore& store_;
    platform::Platform& platform_;
    QPlainTextEdit* activityPane_{};
    std::optional<QtUserInterface> ui_;
    std::optional<Session> session_;
    QString fileDialogFolder_;

    QAction* quitMenuAction_{};
    QAction* openMenuAction_{};
    QAction* addMenuAction_{};
    QAction* wsjtxMenuAction_{};
    QAction* filterMenuAction_{};
    QAction* changesMenuAction_{};
    QAction* helpMenuAction_{};
};

}  // namespace logweave::shell
