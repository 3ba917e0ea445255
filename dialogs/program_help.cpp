#include "dialogs/program_help.h"

#include "dialogs/help_file.h"

#include <QDir>
#include <QFile>

namespace logweave::dialogs {

void showProgramHelp(platform::Platform& platform)
{
    platform.helpViewer.keepPlaceIn(platform.settings);
    const QString file = QDir(platform.folders.helpFolder()).filePath(QStringLiteral("Logweave.chm"));
    HelpFile(platform.helpViewer).showContents(QFile::encodeName(file).toStdString(), std::string("W1"));
}

}  // namespace logweave::dialogs
