#include "files/open_writers.h"

#include <cstdio>
#include <dirent.h>
#include <fcntl.h>
#include <memory>
#include <string>
#include <string_view>
#include <sys/stat.h>
#include <unistd.h>

namespace logweave {
namespace {

struct DirCloser {
    void operator()(DIR* dir) const noexcept { ::closedir(dir); }
};
using Dir = std::unique_ptr<DIR, DirCloser>;

bool isNumber(std::string_view name)
{
    return !name.empty() && name.find_first_not_of("0123456789") == std::string_view::npos;
}

// The access mode an open file description was opened with, from "flags:\t0100001".
bool openedForWriting(const std::string& fdinfo)
{
    std::FILE* file = std::fopen(fdinfo.c_str(), "re");
    if (file == nullptr)
        return false;  // closed meanwhile
    char line[128];
    unsigned flags = 0;
    bool found = false;
    while (!found && std::fgets(line, sizeof line, file) != nullptr)
        found = std::sscanf(line, "flags: %o", &flags) == 1;
    std::fclose(file);
    return found && (flags & O_ACCMODE) != O_RDONLY;
}

bool holdsForWriting(const std::string& process, dev_t device, ino_t inode)
{
    const Dir fds(::opendir((process + "/fd").c_str()));
    if (!fds)
        return false;  // gone, or another user's
    while (const dirent* entry = ::readdir(fds.get())) {
        if (!isNumber(entry->d_name))
            continue;
        struct stat info {};
        if (::stat((process + "/fd/" + entry->d_name).c_str(), &info) != 0 || info.st_dev != device
            || info.st_ino != inode)
            continue;
        if (openedForWriting(process + "/fdinfo/" + entry->d_name))
            return true;
    }
    return false;
}

}  // namespace

bool openForWritingByAnotherProcess(dev_t device, ino_t inode)
{
    const Dir processes(::opendir("/proc"));
    if (!processes)
        return false;
    const std::string self = std::to_string(::getpid());
    while (const dirent* entry = ::readdir(processes.get())) {
        if (!isNumber(entry->d_name) || self == entry->d_name)
            continue;
        if (holdsForWriting(std::string("/proc/") + entry->d_name, device, inode))
            return true;
    }
    return false;
}

}  // namespace logweave
