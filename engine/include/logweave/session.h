#pragma once
// What every engine operation works with besides the store: the user, the
// file system, and the program folder, where the program's own files are
// read and written.

#include "logweave/file_system.h"
#include "logweave/user_interface.h"

#include <filesystem>
#include <string_view>

namespace logweave {

struct Session {
    UserInterface& ui;
    FileSystem& files;
    std::filesystem::path programFolder;
    // How many threads one operation may share its work among.
    unsigned threads = 1;
};

// The threads this machine runs at once, at least one.
unsigned machineThreads() noexcept;

// `name` as the program reads it: a relative name is in the program folder.
std::filesystem::path inProgramFolder(const std::filesystem::path& programFolder, std::string_view name);

}  // namespace logweave
