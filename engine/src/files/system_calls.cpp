#include "logweave/system_calls.h"

#include "files/open_writers.h"

#include <cstdio>
#include <fcntl.h>
#include <stdlib.h>
#include <thread>
#include <unistd.h>

namespace logweave {

SystemCalls SystemCalls::real()
{
    SystemCalls calls;
    calls.open = [](const char* path, int flags, mode_t mode) { return ::open(path, flags, mode); };
    calls.read = [](int fd, void* data, std::size_t size) { return ::read(fd, data, size); };
    calls.pread = [](int fd, void* data, std::size_t size, off_t offset) { return ::pread(fd, data, size, offset); };
    calls.lseek = [](int fd, off_t offset, int whence) { return ::lseek(fd, offset, whence); };
    calls.write = [](int fd, const void* data, std::size_t size) { return ::write(fd, data, size); };
    calls.close = [](int fd) { return ::close(fd); };
    calls.fcntl = [](int fd, int command, int argument) { return ::fcntl(fd, command, argument); };
    calls.fsync = [](int fd) { return ::fsync(fd); };
    calls.startWriteOut = [](int fd, off_t offset, off_t size) {
#ifdef __linux__
        ::sync_file_range(fd, offset, size, SYNC_FILE_RANGE_WRITE);
#else
        (void)fd, (void)offset, (void)size;
#endif
    };
    calls.fchmod = [](int fd, mode_t mode) { return ::fchmod(fd, mode); };
    calls.fchown = [](int fd, uid_t owner, gid_t group) { return ::fchown(fd, owner, group); };
    calls.fstat = [](int fd, struct stat* info) { return ::fstat(fd, info); };
    calls.stat = [](const char* path, struct stat* info) { return ::stat(path, info); };
    calls.access = [](const char* path, int how) { return ::access(path, how); };
    calls.makeTemporary = [](char* pattern) { return ::mkostemp(pattern, O_CLOEXEC); };
    calls.rename = [](const char* from, const char* to) { return ::rename(from, to); };
    calls.link = [](const char* from, const char* to) { return ::link(from, to); };
    calls.unlink = [](const char* path) { return ::unlink(path); };
    calls.umask = [](mode_t mask) { return ::umask(mask); };
    calls.openForWritingElsewhere = &openForWritingByAnotherProcess;
    calls.pause = [](std::chrono::milliseconds time) { std::this_thread::sleep_for(time); };
    return calls;
}

}  // namespace logweave
