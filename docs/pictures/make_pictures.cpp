// Runs the main window on two logs as a user would (Open, then Add with one
// conflict) and saves what the windows show as PNG pictures.
//
//   logweave_pictures OPEN_LOG ADDED_LOG OUTPUT_FOLDER

#include "logweave/std_file_system.h"
#include "shell/main_window.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
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
    QString getText(QWidget*, const QString&, const QString&, const QString& defaultText) override { return defaultText; }
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
    QString currentFolder() const override { return QDir::currentPath(); }
    bool setCurrentFolder(const QString& folder) override { return QDir::setCurrent(folder); }

private:
    QString path_;
};

// Acts on each modal dialog that comes up: the options get OK, a conflict is
// pictured and then gets the added log's value.
void answerDialogs(const QString& output)
{
    QTimer::singleShot(20, [output] {
        if (QWidget* dialog = QApplication::activeModalWidget()) {
            if (dialog->objectName() == QLatin1String("ConflictDialog")) {
                dialog->grab().save(output + "/conflict-dialog.png");
                dialog->findChild<QPushButton*>(QStringLiteral("Command1"))->click();
            } else {
                dialog->findChild<QPushButton*>(QStringLiteral("Command2"))->click();
            }
        }
        answerDialogs(output);
    });
}

}  // namespace

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    if (argc != 4) {
        std::fprintf(stderr, "usage: logweave_pictures OPEN_LOG ADDED_LOG OUTPUT_FOLDER\n");
        return 2;
    }
    // Start-up makes the program folder the current one: names given here are taken before.
    const QString output = QDir(QString::fromLocal8Bit(argv[3])).absolutePath();
    QTemporaryDir programFolder;
    // The field order lists the program finds beside itself once installed.
    for (const QString& name : {QStringLiteral("AdifCodes_Liste.txt"), QStringLiteral("AdifCodes_Liste_WSJT-X.txt")})
        QFile::copy(QCoreApplication::applicationDirPath() + "/" + name, programFolder.filePath(name));
    ScriptedFileDialog fileDialog;
    fileDialog.answers = {QFileInfo(QString::fromLocal8Bit(argv[1])).absoluteFilePath(),
                          QFileInfo(QString::fromLocal8Bit(argv[2])).absoluteFilePath()};
    NoInput input;
    NoHelp help;
    KeepRunning exit;
    Folder folders(programFolder.path());
    platform::Platform platform{fileDialog, input, help, exit, folders};

    LogStore store;
    StdFileSystem files;
    shell::MainWindow window(store, files, platform);
    window.Form_Load();
    window.show();

    answerDialogs(output);
    window.findChild<QAction*>(QStringLiteral("Mnu_Ouvrir"))->trigger();
    window.findChild<QAction*>(QStringLiteral("Mnu_Ajouter"))->trigger();
    QApplication::processEvents();
    return window.grab().save(output + "/main-window.png") ? 0 : 1;
}
