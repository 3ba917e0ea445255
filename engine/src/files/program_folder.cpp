#include "logweave/program_folder.h"

#include <array>
#include <string_view>

namespace logweave {
namespace fs = std::filesystem;

namespace {

constexpr std::array<std::string_view, 2> kFieldOrderLists{"AdifCodes_Liste.txt", "AdifCodes_Liste_WSJT-X.txt"};

// The copy is written anew rather than copied with its permissions: it is
// the user's to edit, however the installed list may be locked.
void copyFieldOrderLists(FileSystem& files, const fs::path& from, const fs::path& to)
{
    for (const std::string_view name : kFieldOrderLists) {
        if (files.isRegularFile(to / name))
            continue;  // the user's own, maybe edited
        try {
            files.writeFile(to / name, files.readFile(from / name).view());
        } catch (const FileError&) {
            // Without its copy the list is missing, as it would be without an install.
        }
    }
}

}  // namespace

fs::path userDataFolder(const char* xdgDataHome, const char* home)
{
    fs::path base = xdgDataHome ? fs::path(xdgDataHome) : fs::path();
    if (!base.is_absolute())
        base = fs::path(home && *home ? home : "/") / ".local" / "share";
    return (base / "Logweave").lexically_normal();
}

bool canCreateFileIn(FileSystem& files, const fs::path& folder)
{
    try {
        // Dropped uncommitted, the batch removes its temporary file and writes nothing.
        files.writeFiles({folder / ".logweave-write-test"});
        return true;
    } catch (const FileError&) {
        return false;
    }
}

ProgramFolder settleProgramFolder(FileSystem& files, const fs::path& executableFolder, const fs::path& userData,
                                  const CanWrite& canWrite)
{
    // An executable whose folder is unknown must not make the current folder the program's.
    const bool writable = !executableFolder.empty()
        && (canWrite ? canWrite(executableFolder) : canCreateFileIn(files, executableFolder));
    if (writable)
        return {executableFolder, false};
    try {
        files.makeFolders(userData);
    } catch (const FileError&) {
        // Reported where it matters: by the first file an operation cannot write there.
    }
    if (!executableFolder.empty())
        copyFieldOrderLists(files, executableFolder, userData);
    return {userData, true};
}

}  // namespace logweave
