#include "platform/last_folder.h"

#include <QFileInfo>

namespace logweave::platform {

QString startFolder(const Settings& settings, const QString& role, const QString& fallback)
{
    const QString last = settings.lastFolder(role);
    return !last.isEmpty() && QFileInfo(last).isDir() ? last : fallback;
}

void keepFolderOf(Settings& settings, const QString& role, const QString& file)
{
    settings.saveLastFolder(role, QFileInfo(file).absolutePath());
}

}  // namespace logweave::platform
