// logweave: the windowed program. It keeps no command line; logweave-cli is
// the batch front end.

#include "helpviewer/chm_help_viewer.h"
#include "logweave/std_file_system.h"
#include "platform/file_dialog.h"
#include "platform/input_box.h"
#include "platform/program_exit.h"
#include "platform/program_folders.h"
#include "shell/main_window.h"
#include "shell/qt_translations.h"

#include <QApplication>

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    // No organisation name: the user's data folder is then ~/.local/share/Logweave.
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
    return application.exec();
}
