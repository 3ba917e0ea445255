#include "dialogs/program_help.h"

#include "dialogs/c_help.h"

#include <QDir>
#include <QFile>

namespace logweave::dialogs {

void showProgramHelp(platform::Platform& platform)
{
    platform.helpViewer.keepPlaceIn(platform.settings);
    const QString file = QDir(platform.folders.helpFolder()).filePath(QStringLiteral("Logweave.chm"));
    CHelp(platform.helpViewer).Show(QFile::encodeName(file).toStdString(), std::string("W1"));
}

}  // namespace logweave::dialogs
