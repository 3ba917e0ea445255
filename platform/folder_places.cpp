#include "platform/folder_places.h"

#include <QCoreApplication>
#include <QDir>
#include <QStandardPaths>
#include <QTemporaryFile>

namespace logweave::platform {
namespace {

#ifdef _WIN32
// An administrator may write into Program Files, yet what is installed there
// is every user's: each keeps a program folder of their own.
bool inProgramFiles(const QString& folder)
{
    const QString path = QDir::cleanPath(QDir::fromNativeSeparators(folder)) + QLatin1Char('/');
    for (const char* variable : {"ProgramFiles", "ProgramW6432", "ProgramFiles(x86)"}) {
        const QString root = QDir::cleanPath(QDir::fromNativeSeparators(qEnvironmentVariable(variable)));
        if (!root.isEmpty() && path.startsWith(root + QLatin1Char('/'), Qt::CaseInsensitive))
            return true;
    }
    return false;
}
#endif

bool canBeProgramFolder(const QString& folder)
{
#ifdef _WIN32
    if (inProgramFiles(folder))
        return false;
#endif
    return canCreateFileIn(folder);
}

}  // namespace

// On Windows: %APPDATA%\Logweave and %LOCALAPPDATA%, where WSJT-X keeps its log.
FolderPlaces systemFolderPlaces()
{
    return {QCoreApplication::applicationDirPath(),
            QStandardPaths::writableLocation(QStandardPaths::AppDataLocation),
            QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation), canBeProgramFolder};
}

bool canCreateFileIn(const QString& folder)
{
    QTemporaryFile probe(QDir(folder).filePath(QStringLiteral(".logweave-write-test-XXXXXX")));
    return probe.open();
}

}  // namespace logweave::platform
