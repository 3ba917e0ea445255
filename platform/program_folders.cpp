#include "platform/program_folders.h"

#include <QCoreApplication>
#include <QDir>

namespace logweave::platform {

QString QtProgramFolders::programFolder() const
{
    return QCoreApplication::applicationDirPath();
}

QString QtProgramFolders::currentFolder() const
{
    return QDir::currentPath();
}

bool QtProgramFolders::setCurrentFolder(const QString& folder)
{
    return QDir::setCurrent(folder);
}

}  // namespace logweave::platform
