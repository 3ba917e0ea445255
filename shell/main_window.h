#pragma once
// The program's window: the menus of commands and the activity pane where
// every operation reports. A log given on the command line, dropped on the
// window or picked among the recent ones is opened, or added to the open one
// when dropped.

#include "logweave/log_store.h"
#include "logweave/session.h"
#include "platform/platform.h"
#include "shell/qt_user_interface.h"

#include <QMainWindow>

#include <optional>

class QAction;
class QMenu;
class QPlainTextEdit;

namespace logweave::shell {

class MainWindow final : public QMainWindow {
    Q_OBJECT

public:
    MainWindow(LogStore& store, FileSystem& files, platform::Platform& platform, QWidget* parent = nullptr);
    ~MainWindow() override;

    // Runs before the window is first shown; may run the WSJT-X update unattended.
    void startUp();
    // Opens the log at `path` with the options as saved, without asking for them.
    void openFile(const QString& path);

protected:
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void buildMenu();
    void quit();
    void openLog();
    void addLog();
    void addFile(const QString& path);
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

    QAction* quitMenuAction_{};
    QAction* openMenuAction_{};
    QAction* addMenuAction_{};
    QMenu* recentLogsMenu_{};
    QAction* wsjtxMenuAction_{};
    QAction* filterMenuAction_{};
    QAction* changesMenuAction_{};
    QAction* helpMenuAction_{};
    QAction* aboutMenuAction_{};
};

}  // namespace logweave::shell
