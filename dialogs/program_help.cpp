#include "dialogs/program_help.h"

#include "dialogs/help_file.h"

#include <QDir>

namespace logweave::dialogs {

void showProgramHelp(platform::Platform& platform)
{
    platform.helpViewer.keepPlaceIn(platform.settings);
    const QString file = QDir(platform.folders.helpFolder()).filePath(QStringLiteral("Logweave.chm"));
    // Names go to the viewer in UTF-8, whatever the system's code page.
    HelpFile(platform.helpViewer).showContents(file.toStdString(), std::string("W1"));
}

}  // namespace logweave::dialogs
