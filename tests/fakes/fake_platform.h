#pragma once
// The platform's fakes, each standing in for one adapter of platform/ and
// keeping what the windows asked of it, and all of them handed out together.

#include "platform/platform.h"
#include "temporary_folder.h"

#include <QMap>

#include <deque>
#include <functional>
#include <optional>
#include <string_view>
#include <utility>
#include <vector>

namespace logweave::testing {

// The open-file dialog: answers given in advance, requests kept.
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

// The input box: OK on the default text, or Cancel.
class FakeInputBox final : public platform::InputBox {
public:
    std::optional<QString> getText(QWidget*, const QString&, const QString&, const QString& defaultText) override
    {
        if (!useDefault)
            return std::nullopt;
        return defaultText;
    }
    bool useDefault = false;  // else Cancel
};

class FakeHelpViewer final : public platform::HelpViewer {
public:
    void show(const platform::HelpRequest& request) override { requests.push_back(request); }
    std::vector<platform::HelpRequest> requests;
};

// The program's end: counted, not done.
class FakeProgramExit final : public platform::ProgramExit {
public:
    void endNow() override { ++ended; }
    int ended = 0;
};

// A program folder of a test's own, which also holds the help file (as the
// interface's default has it).
class FakeProgramFolders final : public platform::ProgramFolders {
public:
    explicit FakeProgramFolders(QString folder) : folder_(std::move(folder)) {}
    QString programFolder() const override { return folder_; }
    QString wsjtxLogFolder() const override { return wsjtxFolder; }
    QString wsjtxFolder;

private:
    QString folder_;
};

// Settings kept in memory, for as long as the test keeps them.
class FakeSettings final : public platform::Settings {
public:
    OutputOptions outputOptions() const override { return saved; }
    void saveOutputOptions(const OutputOptions& options) override { saved = options; }
    QStringList recentLogs() const override { return recent; }
    void saveRecentLogs(const QStringList& logs) override { recent = logs; }
    QString lastFolder(const QString& role) const override { return folders.value(role); }
    void saveLastFolder(const QString& role, const QString& folder) override { folders[role] = folder; }
    QByteArray windowGeometry(const QString& window) const override { return geometries.value(window); }
    void saveWindowGeometry(const QString& window, const QByteArray& geometry) override { geometries[window] = geometry; }

    OutputOptions saved;
    QStringList recent;
    QMap<QString, QString> folders;
    QMap<QString, QByteArray> geometries;
};

// A program folder of its own and the fakes, handed out as the windows expect them.
struct FakePlatform {
    explicit FakePlatform(const OutputOptions& saved = {}) { settings.saved = saved; }

    TemporaryFolder folder;
    FakeFileDialog fileDialog;
    FakeInputBox inputBox;
    FakeHelpViewer helpViewer;
    FakeProgramExit exit;
    FakeProgramFolders folders{QString::fromStdString(folder.path().string())};
    FakeSettings settings;
    platform::Platform platform{fileDialog, inputBox, helpViewer, exit, folders, settings};

    QString path(const char* name) const { return QString::fromStdString((folder / name).string()); }
    QString write(const char* name, std::string_view content) const
    {
        return QString::fromStdString(folder.write(name, content).string());
    }
};

}  // namespace logweave::testing
