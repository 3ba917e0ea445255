#pragma once
// Each file dialog opens where the user left it last: each role ("fieldOrder",
// "logToUpdate", "logToMerge"...) keeps its own folder in the settings.

#include "platform/settings.h"

#include <QString>

namespace logweave::platform {

// The folder the dialog of `role` was left in, while it is still a folder; else `fallback`.
QString startFolder(const Settings& settings, const QString& role, const QString& fallback);

// Keeps the folder of `file`, a full path, for the dialog of `role`.
void keepFolderOf(Settings& settings, const QString& role, const QString& file);

}  // namespace logweave::platform
