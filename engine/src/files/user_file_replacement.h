#pragma once
// Replacing the user's own files: a copy written beside the file, its
// permissions and owner kept, on the disk before it is renamed into place.
// A file that another program appends to meanwhile, as the WSJT-X program
// does its log, loses nothing of what it appends.

#include "logweave/file_system.h"
#include "logweave/system_calls.h"

#include <filesystem>
#include <string>

namespace logweave {

// Where `target` really is: a file reached through a symbolic link is replaced where the link leads.
std::filesystem::path realPlaceOf(const std::filesystem::path& target);

// `target`, found at `place`, replaced by a copy of `source`. A read-only
// file is refused, not even root replaces it.
void replaceWithCopy(const SystemCalls& calls, const std::filesystem::path& target,
                     const std::filesystem::path& place, const std::filesystem::path& source);

// Waits while another program holds the file `read` reads open for writing; false when it keeps it.
bool waitForNoWriter(const SystemCalls& calls, FileReader& read);

// As FileSystem::replaceAppendedFile.
std::string replaceAppendedFile(const SystemCalls& calls, const std::filesystem::path& target, FileReader& read,
                                const std::filesystem::path& source);

}  // namespace logweave
