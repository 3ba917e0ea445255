#pragma once
// A handle the engine holds, closed when it goes, through the calls that
// tests can make fail: no path out of a function leaves one open.

#include "logweave/file_error.h"
#include "logweave/file_system.h"
#include "logweave/system_calls.h"

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <optional>

namespace logweave {

// Another program's hold on a file is waited out this long, a poll at a time:
// a contact is appended in microseconds, and a program that keeps the file
// open is told from one that opens, appends and closes.
constexpr std::chrono::milliseconds kHeldPoll{10};
constexpr int kHeldPolls = 200;

// INVALID_HANDLE_VALUE.
inline WinHandle noHandle() noexcept
{
    return reinterpret_cast<WinHandle>(static_cast<std::intptr_t>(-1));
}

class FileHandle {
public:
    FileHandle() noexcept = default;
    // Takes `handle` over; INVALID_HANDLE_VALUE holds nothing.
    FileHandle(const SystemCalls& calls, WinHandle handle) noexcept;
    ~FileHandle();

    FileHandle(FileHandle&& other) noexcept : calls_(other.calls_), handle_(other.release()) {}
    FileHandle& operator=(FileHandle&& other) noexcept;
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;

    WinHandle get() const noexcept { return handle_; }
    explicit operator bool() const noexcept;
    WinHandle release() noexcept;
    // Closes it now: 0, or the error the close gave.
    unsigned long close() noexcept;

private:
    const SystemCalls* calls_ = nullptr;
    WinHandle handle_ = noHandle();
};

// `path` opened by CreateFileW, again for a while when another program's
// hold on it forbids the open; holding nothing, the error left for
// GetLastError, when it cannot be.
FileHandle openFile(const SystemCalls& calls, const std::filesystem::path& path, unsigned long access,
                    unsigned long share, unsigned long disposition, unsigned long flags = 0);

// `path` opened for reading when it is a regular file, without opening
// whatever else stands there (a serial port raises its control lines when
// opened, which a station's interface may take as the order to transmit);
// a FileError of `action` otherwise. Others may go on reading, appending,
// renaming and removing it.
FileHandle openRegularFile(const SystemCalls& calls, const std::filesystem::path& path, FileError::Action action);

// A name that Windows gives to a device in every folder: NUL, CON, COM1...
bool isDeviceName(const std::filesystem::path& path);

// Which file stands under a name: its volume and its number there.
struct FileId {
    std::uint64_t volume = 0;
    std::uint64_t index = 0;
    bool operator==(const FileId&) const = default;
};
// None, the error left for GetLastError, when nothing can be opened there.
std::optional<FileId> fileIdOf(const SystemCalls& calls, const std::filesystem::path& path);

// A name beside `target` for a file of the program's own, not yet taken:
// ".NAME.XXXXXX" followed by `suffix`.
std::filesystem::path besideName(const std::filesystem::path& target, const wchar_t* suffix = L"");

}  // namespace logweave
