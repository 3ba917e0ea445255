// Runs the main window on two logs as a user would (Open, then Add with one
// conflict, then a look at the WSJT-X update) and saves what the windows show
// as PNG pictures: the README's, and the help pages' (the options and WSJT-X
// dialogs).
//
//   logweave_pictures OPEN_LOG ADDED_LOG README_FOLDER HELP_FOLDER

#include "logweave/std_file_system.h"
#include "shell/main_window.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>
#include <deque>

namespace {

using namespace logweave;

// The answers a user would give, in order.
class ScriptedFileDialog final : public platform::FileDialog {
public:
    QString getOpenFileName(QWidget*, const platform::FileDialogRequest&) override
    {
        QString next = answers.empty() ? QString() : answers.front();
        if (!answers.empty())
            answers.pop_front();
        return next;
    }
    std::deque<QString> answers;
};

class NoInput final : public platform::InputBox {
public:
    std::optional<QString> getText(QWidget*, const QString&, const QString&, const QString& defaultText) override
    {
        return defaultText;
    }
};

class NoHelp final : public platform::HelpViewer {
public:
    void show(const platform::HelpRequest&) override {}
};

class KeepRunning final : public platform::ProgramExit {
public:
    void endNow() override {}
};

class Folder final : public platform::ProgramFolders {
public:
    explicit Folder(QString path) : path_(std::move(path)) {}
    QString programFolder() const override { return path_; }

private:
    QString path_;
};

struct Folders {
    QString readme;
    QString help;
};

int unsaved = 0;

void save(QWidget* window, const QString& path)
{
    if (window->grab().save(path))
        return;
    std::fprintf(stderr, "logweave_pictures: cannot write %s\n", qPrintable(path));
    ++unsaved;
}

// Example paths, as a user's would look.
void fillWsjtxDialog(QWidget* dialog)
{
    dialog->findChild<QLineEdit*>(QStringLiteral("logToUpdateEdit"))
        ->setText(QStringLiteral("/home/moi/.local/share/WSJT-X/wsjtx_log.adi"));
    dialog->findChild<QLineEdit*>(QStringLiteral("logToMergeEdit"))->setText(QStringLiteral("/home/moi/logs/portable.adi"));
}

// Acts on each modal dialog that comes up: each is pictured, then the options
// get OK, a conflict gets the open log's value and the WSJT-X update is cancelled.
void answerDialogs(const Folders& output)
{
    QTimer::singleShot(20, [output] {
        if (QWidget* dialog = QApplication::activeModalWidget()) {
            const QString name = dialog->objectName();
            if (name == QLatin1String("ConflictDialog")) {
                save(dialog, output.readme + "/conflict-dialog.png");
                dialog->findChild<QPushButton*>(QStringLiteral("okButton"))->click();
            } else if (name == QLatin1String("WsjtxUpdateDialog")) {
                fillWsjtxDialog(dialog);
                save(dialog, output.help + "/wsjtx.png");
                dialog->findChild<QPushButton*>(QStringLiteral("cancelButton"))->click();
            } else {
                save(dialog, output.help + "/options.png");
                dialog->findChild<QPushButton*>(QStringLiteral("okButton"))->click();
            }
        }
        answerDialogs(output);
    });
}

// Operations run on a worker: each command waits for the one before it to end.
void waitForOperation(const shell::MainWindow& window)
{
    while (window.operationRunning())
        QApplication::processEvents(QEventLoop::AllEvents, 50);
}

QString absolute(const char* path)
{
    return QFileInfo(QString::fromLocal8Bit(path)).absoluteFilePath();
}

// The field order lists the program finds beside itself once installed.
void copyFieldOrderLists(const QTemporaryDir& programFolder)
{
    for (const QString& name : {QStringLiteral("AdifCodes_Liste.txt"), QStringLiteral("AdifCodes_Liste_WSJT-X.txt")})
        QFile::copy(QCoreApplication::applicationDirPath() + "/" + name, programFolder.filePath(name));
}

}  // namespace

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    if (argc != 5) {
        std::fprintf(stderr, "usage: logweave_pictures OPEN_LOG ADDED_LOG README_FOLDER HELP_FOLDER\n");
        return 2;
    }
    // Start-up makes the program folder the current one: names given here are taken before.
    const Folders output{absolute(argv[3]), absolute(argv[4])};
    QTemporaryDir programFolder;
    copyFieldOrderLists(programFolder);
    ScriptedFileDialog fileDialog;
    fileDialog.answers = {absolute(argv[1]), absolute(argv[2])};
    NoInput input;
    NoHelp help;
    KeepRunning exit;
    Folder folders(programFolder.path());
    platform::QtSettings settings(folders);
    platform::Platform platform{fileDialog, input, help, exit, folders, settings};

    LogStore store;
    StdFileSystem files;
    shell::MainWindow window(store, files, platform);
    window.startUp();
    window.show();
    waitForOperation(window);

    answerDialogs(output);
    window.findChild<QAction*>(QStringLiteral("openMenuAction"))->trigger();
    waitForOperation(window);
    window.findChild<QAction*>(QStringLiteral("addMenuAction"))->trigger();
    waitForOperation(window);
    QApplication::processEvents();
    save(&window, output.readme + "/main-window.png");
    window.findChild<QAction*>(QStringLiteral("wsjtxMenuAction"))->trigger();
    return unsaved == 0 ? 0 : 1;
}
