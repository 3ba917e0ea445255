#pragma once
// Replacing the user's own files: a copy written beside the file, on the disk
// before it is renamed into place. A file that another program appends to
// meanwhile, as the WSJT-X program does its log, loses nothing of what it
// appends.

#include "logweave/file_system.h"
#include "logweave/system_calls.h"

#include <filesystem>
#include <functional>
#include <string>

namespace logweave {

// Where `target` really is: a file reached through a symbolic link is replaced where the link leads.
std::filesystem::path realPlaceOf(const std::filesystem::path& target);

// `target`, found at `place`, replaced by a copy of `source`. A read-only
// file is refused.
void replaceWithCopy(const SystemCalls& calls, const std::filesystem::path& target,
                     const std::filesystem::path& place, const std::filesystem::path& source);

// Waits while another program holds the file at `place` open for writing; false when it keeps it.
bool waitForNoWriter(const SystemCalls& calls, const std::filesystem::path& place);

// As FileSystem::replaceAppendedFile; `letGo` closes the engine's own hold on
// the file `read` reads, which would keep it from being replaced.
std::string replaceAppendedFile(const SystemCalls& calls, const std::filesystem::path& target, FileReader& read,
                                const std::function<void()>& letGo, const std::filesystem::path& source);

}  // namespace logweave
