// logweave: the windowed program. Its command line names at most a log to
// open; logweave-cli is the batch front end.

#include "helpviewer/chm_help_viewer.h"
#include "logweave/file_system.h"
#include "logweave/std_file_system.h"
#include "logweave/version.h"
#include "platform/file_dialog.h"
#include "platform/input_box.h"
#include "platform/path_text.h"
#include "platform/program_exit.h"
#include "platform/program_folders.h"
#include "shell/command_line.h"
#include "shell/main_window.h"
#include "shell/qt_translations.h"

#include <QApplication>

#include <cstdio>

int main(int argc, char** argv)
{
    // Answered before the application is made, so that they need no display.
    std::string error;
    const auto line = logweave::shell::parseWindowCommandLine(logweave::argumentsAsBytes(argc, argv), error);
    if (!line) {
        std::fprintf(stderr, "logweave: %s\n%s", error.c_str(), logweave::shell::kWindowUsage);
        return 2;
    }
    if (line->help) {
        std::fputs(logweave::shell::kWindowUsage, stdout);
        return 0;
    }
    if (line->version) {
        std::printf("logweave %s\n", logweave::kVersion);
        return 0;
    }

    QApplication application(argc, argv);
    // The name Qt's own folders and dialogs go by; the program folder is settled
    // by the same rule as logweave-cli's, not by it.
    application.setApplicationName(QStringLiteral("Logweave"));
    logweave::shell::installQtTranslations(application);

    logweave::platform::QtFileDialog fileDialog;
    logweave::platform::QtInputBox inputBox;
    logweave::helpviewer::ChmHelpViewer helpViewer;
    logweave::platform::QtProgramExit exit;
    logweave::platform::QtProgramFolders folders;
    logweave::platform::QtSettings settings(folders);
    logweave::platform::Platform platform{fileDialog, inputBox, helpViewer, exit, folders, settings};

    logweave::LogStore store;
    logweave::StdFileSystem files;
    logweave::shell::MainWindow window(store, files, platform);
    window.startUp();
    window.show();
    if (line->log)
        window.openFile(logweave::platform::pathText(*line->log));
    return application.exec();
}
