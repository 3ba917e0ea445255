#pragma once
// Fakes of the platform's services, the main window over them, and the way to
// drive a modal dialog: a zero timer set before it is shown acts on it once it
// is up, by its controls' names, and says that it ran.

#include "logweave/std_file_system.h"
#include "platform/platform.h"
#include "shell/main_window.h"
#include "temporary_folder.h"

#include <QAction>
#include <QCheckBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

#include <deque>
#include <functional>
#include <string_view>
#include <vector>

namespace logweave::testing {

class FakeFileDialog final : public platform::FileDialog {
public:
    QString getOpenFileName(QWidget*, const platform::FileDialogRequest& request) override
    {
        requests.push_back(request);
        if (onShow)
            onShow();
        const QString answer = answers.empty() ? QString() : answers.front();
        if (!answers.empty())
            answers.pop_front();
        return answer;
    }
    std::deque<QString> answers;  // none left: Cancel
    std::vector<platform::FileDialogRequest> requests;
    std::function<void()> onShow;  // what else happens while it is up
};

class FakeInputBox final : public platform::InputBox {
public:
    QString getText(QWidget*, const QString&, const QString&, const QString& defaultText) override
    {
        return useDefault ? defaultText : QString();
    }
    bool useDefault = false;  // else Cancel
};

class FakeHelpViewer final : public platform::HelpViewer {
public:
    void show(const platform::HelpRequest& request) override { requests.push_back(request); }
    std::vector<platform::HelpRequest> requests;
};

class FakeProgramExit final : public platform::ProgramExit {
public:
    void endNow() override { ++ended; }
    int ended = 0;
};

// A program folder of the test's own, which also holds the help file. The
// current folder really changes, as relative names are read from it, and
// comes back afterwards.
class FakeProgramFolders final : public platform::ProgramFolders {
public:
    explicit FakeProgramFolders(QString folder) : folder_(std::move(folder)) {}
    ~FakeProgramFolders() override { QDir::setCurrent(before_); }
    QString programFolder() const override { return folder_; }
    QString currentFolder() const override { return QDir::currentPath(); }
    bool setCurrentFolder(const QString& folder) override { return QDir::setCurrent(folder); }
    QString helpFolder() const override { return folder_; }
    bool inUserDataFolder() const override { return userDataFolder; }
    QString wsjtxLogFolder() const override { return wsjtxFolder; }

    bool userDataFolder = false;
    QString wsjtxFolder;

private:
    QString folder_;
    QString before_ = QDir::currentPath();
};

// A program folder of its own and the fakes, handed out as the windows expect them.
struct FakePlatform {
    TemporaryFolder folder;
    FakeFileDialog fileDialog;
    FakeInputBox inputBox;
    FakeHelpViewer helpViewer;
    FakeProgramExit exit;
    FakeProgramFolders folders{QString::fromStdString(folder.path().string())};
    platform::Platform platform{fileDialog, inputBox, helpViewer, exit, folders};

    QString path(const char* name) const { return QString::fromStdString((folder / name).string()); }
    QString write(const char* name, std::string_view content) const
    {
        return QString::fromStdString(folder.write(name, content).string());
    }
};

// Calls `show`, which brings up a modal dialog, and runs `act` on the dialog
// once it is up; `act` closes it. Fails unless `act` ran to its end.
void whenModal(const std::function<void()>& show, std::function<void(QWidget*)> act);

// An engine's pane text as the window's pane shows it: line ends as LF.
inline QString paneText(std::string_view utf8)
{
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size())).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

template <typename T>
T* child(QWidget* parent, const char* name)
{
    T* found = parent->findChild<T*>(QString::fromLatin1(name));
    if (found == nullptr)
        qFatal("no control named %s", name);
    return found;
}

inline void click(QWidget* parent, const char* name)
{
    child<QAbstractButton>(parent, name)->click();
}

// The main window over the fakes, or over real `folders` when given.
struct Program {
    explicit Program(platform::ProgramFolders* folders = nullptr)
        : platform{fakes.fileDialog, fakes.inputBox, fakes.helpViewer, fakes.exit,
                   folders != nullptr ? *folders : fakes.folders}
    {
    }

    FakePlatform fakes;
    platform::Platform platform;
    LogStore store;
    StdFileSystem files;
    shell::MainWindow window{store, files, platform};

    QAction* menu(const char* name) { return child<QAction>(&window, name); }
    QString pane() { return child<QPlainTextEdit>(&window, "Text1")->toPlainText(); }
    // Opens `path` with the options dialog as `choose` leaves it; an empty path cancels.
    void open(const QString& path, const std::function<void(QWidget*)>& choose = {})
    {
        fakes.fileDialog.answers = {path};
        whenModal([this] { menu("Mnu_Ouvrir")->trigger(); },
                  [choose](QWidget* options) {
                      if (choose)
                          choose(options);
                      click(options, "Command2");
                  });
    }
};

}  // namespace logweave::testing
