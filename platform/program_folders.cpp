#include "platform/program_folders.h"

#include "logweave/program_folder.h"
#include "logweave/std_file_system.h"
#include "platform/path_text.h"

#include <QDir>
#include <QFileInfo>

namespace logweave::platform {
namespace {

std::filesystem::path enginePath(const QString& folder)
{
    return pathFromBytes(pathBytes(folder));
}

}  // namespace

QtProgramFolders::QtProgramFolders() : QtProgramFolders(systemFolderPlaces()) {}

// The choice is logweave-cli's too: both work in the same folder.
QtProgramFolders::QtProgramFolders(FolderPlaces places) : places_(std::move(places))
{
    StdFileSystem files;
    const auto canWrite = [this](const std::filesystem::path& folder) {
        return places_.canWrite(pathText(bytesFromPath(folder)));
    };
    inUserDataFolder_ = settleProgramFolder(files, enginePath(places_.executableFolder),
                                            enginePath(places_.userDataFolder), canWrite)
                            .inUserDataFolder;
}

QString QtProgramFolders::programFolder() const
{
    return inUserDataFolder_ ? places_.userDataFolder : places_.executableFolder;
}

QString QtProgramFolders::helpFolder() const
{
    return places_.executableFolder;
}

bool QtProgramFolders::inUserDataFolder() const
{
    return inUserDataFolder_;
}

QString QtProgramFolders::wsjtxLogFolder() const
{
    const QString folder = QDir(places_.sharedDataFolder).filePath(QStringLiteral("WSJT-X"));
    return QFileInfo(folder).isDir() ? folder : QString();
}

}  // namespace logweave::platform
