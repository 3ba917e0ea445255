#pragma once
// The program folder, one for the window and logweave-cli alike: where
// Logweave.cfg, Logweave.ini and the field order lists are read, and the
// results written.

#include "logweave/file_system.h"

#include <filesystem>
#include <functional>

namespace logweave {

// This program's data folder for the user: $XDG_DATA_HOME/Logweave, or
// $HOME/.local/share/Logweave when XDG_DATA_HOME is unset, empty or relative
// (the base directory rule). Either variable may be null.
std::filesystem::path userDataFolder(const char* xdgDataHome, const char* home);

// This user's data folder on this system: by the rule above on Linux,
// %APPDATA%\Logweave on Windows.
std::filesystem::path systemUserDataFolder();

// The running program's folder, links followed; empty when unknown.
std::filesystem::path executableFolder();

// Whether `folder` lies in Program Files, where what is installed is every
// user's: each keeps a program folder of their own, administrators too, who
// could write there. Never on Linux.
bool inEveryUsersFolder(const std::filesystem::path& folder);

// Permissions do not tell: root writes through them, a read-only mount
// refuses everyone. Only creating a file does; the trial leaves nothing.
bool canCreateFileIn(FileSystem& files, const std::filesystem::path& folder);

struct ProgramFolder {
    std::filesystem::path path;
    bool inUserDataFolder = false;
};

using CanWrite = std::function<bool(const std::filesystem::path& folder)>;

// The executable's folder when a file can be created in it (`canWrite`, by
// default a trial) and it is not every user's. Otherwise the user's data folder, made at first start
// and given a copy of each field order list of the executable's folder that
// the user does not have there yet; a copy that fails leaves that list out.
ProgramFolder settleProgramFolder(FileSystem& files, const std::filesystem::path& executableFolder,
                                  const std::filesystem::path& userData, const CanWrite& canWrite = {});

}  // namespace logweave
