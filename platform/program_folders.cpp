#include "platform/program_folders.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace logweave::platform {
namespace {

void copyFieldOrderLists(const QDir& from, const QDir& to)
{
    for (const QString& name : {QStringLiteral("AdifCodes_Liste.txt"), QStringLiteral("AdifCodes_Liste_WSJT-X.txt")}) {
        const QString target = to.filePath(name);
        if (QFileInfo::exists(target))
            continue;  // the user's own list, maybe edited
        // The copy is the user's to edit, whatever the installed file's permissions.
        if (QFile::copy(from.filePath(name), target))
            QFile::setPermissions(target, QFile::permissions(target) | QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    }
}

}  // namespace

QtProgramFolders::QtProgramFolders() : QtProgramFolders(systemFolderPlaces()) {}

QtProgramFolders::QtProgramFolders(FolderPlaces places)
    : places_(std::move(places)), inUserDataFolder_(!places_.canWrite(places_.executableFolder))
{
    if (!inUserDataFolder_)
        return;
    QDir().mkpath(places_.userDataFolder);
    copyFieldOrderLists(QDir(places_.executableFolder), QDir(places_.userDataFolder));
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
