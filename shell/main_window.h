#pragma once
// The program's window: the menus of commands and the activity pane where
// every operation reports. A log given on the command line, dropped on the
// window or picked among the recent ones is opened, or added to the open one
// when dropped. Operations run on a worker, one at a time; the window answers
// meanwhile, shows how far the operation has got and can cancel it.

#include "logweave/log_store.h"
#include "logweave/session.h"
#include "platform/busy_cursor.h"
#include "platform/platform.h"
#include "shell/operation_runner.h"
#include "shell/qt_user_interface.h"

#include <QMainWindow>

#include <deque>
#include <functional>
#include <memory>
#include <optional>

class QAction;
class QMenu;
class QPlainTextEdit;

namespace logweave::shell {

class OperationStatusBar;

class MainWindow final : public QMainWindow {
    Q_OBJECT

public:
    MainWindow(LogStore& store, FileSystem& files, platform::Platform& platform, QWidget* parent = nullptr);
    ~MainWindow() override;

    // Runs before the window is first shown; may run the WSJT-X update unattended.
    void startUp();
    // Opens the log at `path` with the options as saved, without asking for
    // them; once the operation running, if any, has ended.
    void openFile(const QString& path);
    bool operationRunning() const noexcept { return runner_->running(); }

protected:
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    // A log to open, or to add when one is open, once the operation before it has ended.
    struct WaitingLog {
        QString path;
        bool addWhenOpen = false;
    };

    void buildMenu();
    void quit();
    void openLog();
    void addLog();
    void addFile(const QString& path);
    void startOpen(const QString& path);
    void takeIn(const WaitingLog& log);
    void takeNextLog();
    void runOperation(std::function<Outcome(const Session&)> operation, OperationRunner::Then then = {});
    void operationEnded();
    void showWsjtxUpdate();
    void filterLog();
    void showChanges();
    void showHelp();
    void showAbout();
    void cancelled();
    void rememberLog(const QString& name);
    void fillRecentLogs();
    void enableCommands();
    QString chooseLog(const QString& role);
    OutputOptions options();

    LogStore& store_;
    platform::Platform& platform_;
    QPlainTextEdit* activityPane_{};
    bool logOpened_ = false;
    std::optional<QtUserInterface> ui_;
    std::optional<Session> session_;
    // After the interface it reports to, so that it goes first; what the
    // worker sends back after the window's end only ends the thread.
    std::unique_ptr<OperationRunner> runner_;
    std::optional<platform::BusyCursor> busy_;
    std::deque<WaitingLog> waitingLogs_;
    bool quitting_ = false;

    QAction* quitMenuAction_{};
    QAction* openMenuAction_{};
    QAction* addMenuAction_{};
    QMenu* recentLogsMenu_{};
    QAction* wsjtxMenuAction_{};
    QAction* filterMenuAction_{};
    QAction* changesMenuAction_{};
    QAction* helpMenuAction_{};
    QAction* aboutMenuAction_{};
    OperationStatusBar* operationStatusBar_{};
};

}  // namespace logweave::shell
