#pragma once
// The platform's fakes handed out together, the main window over them, and
// the way to drive a modal dialog: a zero timer set before it is shown acts on
// it once it is up, by its controls' names, and says that it ran.

#include "fake_file_dialog.h"
#include "fake_help_viewer.h"
#include "fake_input_box.h"
#include "fake_program_exit.h"
#include "fake_program_folders.h"
#include "fake_settings.h"
#include "logweave/std_file_system.h"
#include "platform/platform.h"
#include "shell/main_window.h"
#include "temporary_folder.h"

#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

#include <functional>
#include <string_view>
#include <vector>

namespace logweave::testing {

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

inline QLineEdit* box(QWidget* parent, const char* name)
{
    return child<QLineEdit>(parent, name);
}

inline bool checked(QWidget* parent, const char* name)
{
    return child<QAbstractButton>(parent, name)->isChecked();
}

// Ticks or selects each control named, as the user would before OK.
inline std::function<void(QWidget*)> ticking(std::vector<const char*> names)
{
    return [names = std::move(names)](QWidget* dialog) {
        for (const char* name : names)
            child<QAbstractButton>(dialog, name)->setChecked(true);
    };
}

// The main window over the fakes, or over real `folders` when given, with
// these options saved by an earlier run.
struct Program {
    explicit Program(platform::ProgramFolders* folders = nullptr, const OutputOptions& saved = {})
        : fakes(saved), platform{fakes.fileDialog, fakes.inputBox, fakes.helpViewer, fakes.exit,
                   folders != nullptr ? *folders : fakes.folders, fakes.settings}
    {
    }

    FakePlatform fakes;
    platform::Platform platform;
    LogStore store;
    StdFileSystem files;
    shell::MainWindow window{store, files, platform};

    QAction* menu(const char* name) { return child<QAction>(&window, name); }
    QString pane() { return child<QPlainTextEdit>(&window, "activityPane")->toPlainText(); }
    // Opens `path` with the options dialog as `choose` leaves it; an empty path cancels.
    void open(const QString& path, const std::function<void(QWidget*)>& choose = {})
    {
        fakes.fileDialog.answers = {path};
        whenModal([this] { menu("openMenuAction")->trigger(); },
                  [choose](QWidget* options) {
                      if (choose)
                          choose(options);
                      click(options, "okButton");
                  });
    }
};

}  // namespace logweave::testing
