#pragma once
// The system calls the file system makes, behind functions that tests can
// replace: a disk that fills up, a close that fails, a rename that fails
// part of the way through. Windows has calls of its own.

#ifdef _WIN32
#include "logweave/windows_system_calls.h"
#else

#include <sys/stat.h>
#include <sys/types.h>

#include <chrono>
#include <cstddef>
#include <functional>

namespace logweave {

struct SystemCalls {
    std::function<int(const char* path, int flags, mode_t mode)> open;
    std::function<ssize_t(int fd, void* data, std::size_t size)> read;
    std::function<ssize_t(int fd, void* data, std::size_t size, off_t offset)> pread;
    std::function<off_t(int fd, off_t offset, int whence)> lseek;
    std::function<ssize_t(int fd, const void* data, std::size_t size)> write;
    std::function<int(int fd)> close;
    std::function<int(int fd, int command, int argument)> fcntl;
    std::function<int(int fd)> fsync;
    // Starts writing those bytes to the disk, without waiting for it; a hint.
    std::function<void(int fd, off_t offset, off_t size)> startWriteOut;
    std::function<int(int fd, mode_t mode)> fchmod;
    std::function<int(int fd, uid_t owner, gid_t group)> fchown;
    std::function<int(int fd, struct stat* info)> fstat;
    std::function<int(const char* path, struct stat* info)> stat;
    std::function<int(const char* path, int how)> access;
    // A new file from a pattern ending in XXXXXX, which it fills in.
    std::function<int(char* pattern)> makeTemporary;
    std::function<int(const char* from, const char* to)> rename;
    std::function<int(const char* from, const char* to)> link;
    std::function<int(const char* path)> unlink;
    std::function<mode_t(mode_t mask)> umask;
    // Whether a process other than this one holds the file open for writing.
    std::function<bool(dev_t device, ino_t inode)> openForWritingElsewhere;
    // Lets other programs finish what they are writing.
    std::function<void(std::chrono::milliseconds)> pause;

    static SystemCalls real();
};

}  // namespace logweave

#endif
