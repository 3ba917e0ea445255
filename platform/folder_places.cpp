#include "platform/folder_places.h"

#include "logweave/program_folder.h"
#include "logweave/std_file_system.h"
#include "platform/path_text.h"

#include <QCoreApplication>
#include <QStandardPaths>

namespace logweave::platform {

// The user's data folder by the rule logweave-cli follows too, not by the
// application's name, so that both front ends always share one folder. On
// Windows the shared one is %LOCALAPPDATA%, where WSJT-X keeps its log.
FolderPlaces systemFolderPlaces()
{
    return {QCoreApplication::applicationDirPath(), pathText(bytesFromPath(logweave::systemUserDataFolder())),
            QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation), canCreateFileIn};
}

bool canCreateFileIn(const QString& folder)
{
    StdFileSystem files;
    return logweave::canCreateFileIn(files, pathFromBytes(pathBytes(folder)));
}

}  // namespace logweave::platform
