#pragma once
// Fakes of the platform's services, and the way to drive a modal dialog: a
// zero timer set before it is shown acts on it once it is up, by its
// controls' names, and says that it ran.

#include "platform/platform.h"
#include "temporary_folder.h"

#include <QString>
#include <QWidget>

#include <deque>
#include <functional>
#include <string_view>
#include <vector>

namespace logweave::testing {

class FakeFileDialog final : public platform::FileDialog {
public:
    QString getOpenFileName(QWidget*, const platform::FileDialogRequest& request) override;
    std::deque<QString> answers;  // none left: Cancel
    std::vector<platform::FileDialogRequest> requests;
    std::function<void()> onShow;  // what else happens while it is up
};

class FakeInputBox final : public platform::InputBox {
public:
    QString getText(QWidget*, const QString& prompt, const QString& title, const QString& defaultText) override;
    QString answer;  // empty: Cancel
    bool useDefault = false;
    QString prompt, title, defaultText;
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

// A program folder of the test's own; the current folder really changes, as
// relative names are read from it, and comes back afterwards. The help file
// is beside the program folder unless the test installs it elsewhere.
class FakeProgramFolders final : public platform::ProgramFolders {
public:
    explicit FakeProgramFolders(QString folder);
    ~FakeProgramFolders() override;
    QString programFolder() const override { return folder_; }
    QString currentFolder() const override;
    bool setCurrentFolder(const QString& folder) override;
    QString helpFolder() const override { return installFolder.isEmpty() ? folder_ : installFolder; }
    bool inUserDataFolder() const override { return userDataFolder; }
    QString wsjtxLogFolder() const override { return wsjtxFolder; }

    QString installFolder;
    bool userDataFolder = false;
    QString wsjtxFolder;

private:
    QString folder_;
    QString before_;
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
};

// Runs `act` on the next modal dialog once it is up; `finished` tells the test
// it ran. Set before the call that shows the dialog; dropped if `context`
// (by default the application) is destroyed before any event loop runs.
void whenModal(std::function<void(QWidget*)> act, bool* finished = nullptr, const QObject* context = nullptr);

// An engine's pane text as the window's pane shows it: line ends as LF.
QString paneText(std::string_view utf8);

template <typename T>
T* child(QWidget* parent, const char* name)
{
    T* found = parent->findChild<T*>(QString::fromLatin1(name));
    if (found == nullptr)
        qFatal("no control named %s", name);
    return found;
}

}  // namespace logweave::testing
