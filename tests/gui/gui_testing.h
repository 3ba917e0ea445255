#pragma once
// The main window over the platform's fakes (fake_platform.h), and
// the way to drive a modal dialog: a zero timer set before it is shown acts on
// it once it is up, by its controls' names, and says that it ran.

#include "fake_platform.h"
#include "logweave/std_file_system.h"
#include "shell/main_window.h"

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

// How long a test waits for a dialog or for an operation to end.
inline constexpr int kOperationWaitMs = 30000;

// Calls `show`, which brings up a modal dialog at once or from an operation
// it starts, and runs `act` on the dialog once it is up; `act` closes it.
// Fails unless `act` ran to its end.
void whenModal(const std::function<void()>& show, std::function<void(QWidget*)> act);

// Handles events until the window's operation, if any, has ended.
void waitUntilIdle(const shell::MainWindow& window);

// The object names of the controls Tab visits, from `first` round to it again.
QStringList tabChain(QWidget* first);

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

// The main window over the fakes, or over real `folders` and `settings` when
// given, with these options saved by an earlier run; its files go through `calls`.
struct Program {
    explicit Program(platform::ProgramFolders* folders = nullptr, const OutputOptions& saved = {},
                     platform::Settings* settings = nullptr, SystemCalls calls = SystemCalls::real())
        : fakes(saved), platform{fakes.fileDialog, fakes.inputBox, fakes.helpViewer, fakes.exit,
                   folders != nullptr ? *folders : fakes.folders, settings != nullptr ? *settings : fakes.settings},
          files(std::move(calls))
    {
    }

    FakePlatform fakes;
    platform::Platform platform;
    LogStore store;
    StdFileSystem files;
    shell::MainWindow window{store, files, platform};

    QAction* menu(const char* name) { return child<QAction>(&window, name); }
    // Starts the window, and waits for the update it may run at start-up.
    void start()
    {
        window.startUp();
        waitUntilIdle(window);
    }
    void finish() { waitUntilIdle(window); }
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
        finish();
    }
};

}  // namespace logweave::testing
