#pragma once
// A descriptor the engine holds, closed when it goes, through the calls
// that tests can make fail: no path out of a function leaves one open.

#include "logweave/file_error.h"
#include "logweave/system_calls.h"

#include <filesystem>

namespace logweave {

class FileDescriptor {
public:
    FileDescriptor() noexcept = default;
    // Takes `fd` over; a negative one holds nothing.
    FileDescriptor(const SystemCalls& calls, int fd) noexcept : calls_(&calls), fd_(fd) {}
    ~FileDescriptor();

    FileDescriptor(FileDescriptor&& other) noexcept : calls_(other.calls_), fd_(other.release()) {}
    FileDescriptor& operator=(FileDescriptor&& other) noexcept;
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;

    int get() const noexcept { return fd_; }
    explicit operator bool() const noexcept { return fd_ >= 0; }
    // Hands the descriptor to the caller, who closes it.
    int release() noexcept;
    // Closes it now: 0, or the errno the close gave. Where a file was written
    // that is a failure to report: a delayed write error shows only there.
    int close() noexcept;

private:
    const SystemCalls* calls_ = nullptr;
    int fd_ = -1;
};

// `path` opened as by open(2), again when a signal interrupts the call (a
// FIFO or a slow network file system can be waited on); holding nothing,
// errno set, when it cannot be.
FileDescriptor openFile(const SystemCalls& calls, const char* path, int flags, mode_t mode = 0);

// `path` opened for reading when it is a regular file, without waiting or
// acting on whatever else stands there; a FileError of `action` otherwise.
FileDescriptor openRegularFile(const SystemCalls& calls, const std::filesystem::path& path, FileError::Action action);

}  // namespace logweave
