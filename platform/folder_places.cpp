#include "platform/folder_places.h"

#include <QCoreApplication>
#include <QDir>
#include <QStandardPaths>
#include <QTemporaryFile>

namespace logweave::platform {

FolderPlaces systemFolderPlaces()
{
    return {QCoreApplication::applicationDirPath(),
            QStandardPaths::writableLocation(QStandardPaths::AppDataLocation),
            QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation), canCreateFileIn};
}

bool canCreateFileIn(const QString& folder)
{
    QTemporaryFile probe(QDir(folder).filePath(QStringLiteral(".logweave-write-test-XXXXXX")));
    return probe.open();
}

}  // namespace logweave::platform
