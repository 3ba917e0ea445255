#include "logweave/program_folder.h"

#include <array>
#include <cstdlib>
#include <string_view>
#include <system_error>
#ifdef _WIN32
#include <windows.h>
#include <shlobj.h>
#endif

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

#ifdef _WIN32
fs::path systemUserDataFolder()
{
    // Where the system keeps it, even when the environment no longer says.
    PWSTR roaming = nullptr;
    fs::path base;
    if (SHGetKnownFolderPath(FOLDERID_RoamingAppData, 0, nullptr, &roaming) == S_OK)
        base = roaming;
    CoTaskMemFree(roaming);
    return base.empty() ? fs::path() : base / "Logweave";
}

fs::path executableFolder()
{
    std::wstring self(MAX_PATH, L'\0');
    for (;;) {
        const DWORD size = GetModuleFileNameW(nullptr, self.data(), static_cast<DWORD>(self.size()));
        if (size == 0)
            return {};
        if (size < self.size())
            return fs::path(self.substr(0, size)).parent_path();
        self.resize(self.size() * 2);  // cut short: a long path
    }
}

bool inEveryUsersFolder(const fs::path& folder)
{
    const std::wstring path = (folder.lexically_normal() / L"").native();
    for (const wchar_t* variable : {L"ProgramFiles", L"ProgramW6432", L"ProgramFiles(x86)"}) {
        const wchar_t* value = _wgetenv(variable);
        if (value == nullptr || *value == L'\0')
            continue;
        const std::wstring root = (fs::path(value).lexically_normal() / L"").native();
        if (path.size() > root.size()
            && CompareStringOrdinal(path.data(), static_cast<int>(root.size()), root.data(),
                                    static_cast<int>(root.size()), TRUE)
                == CSTR_EQUAL)
            return true;
    }
    return false;
}
#else
fs::path systemUserDataFolder()
{
    return userDataFolder(std::getenv("XDG_DATA_HOME"), std::getenv("HOME"));
}

fs::path executableFolder()
{
    std::error_code error;
    const auto self = fs::read_symlink("/proc/self/exe", error);
    return error ? fs::path() : self.parent_path();
}

bool inEveryUsersFolder(const fs::path&)
{
    return false;
}
#endif

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
    const bool writable = !executableFolder.empty() && !inEveryUsersFolder(executableFolder)
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
