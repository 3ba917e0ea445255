#pragma once
// A file the program could not read or write: which file, what it was
// doing with it, and the system's reason.

#include <filesystem>
#include <system_error>

namespace logweave {

class FileError : public std::system_error {
public:
    enum class Action { Read, Write, Replace, Backup, Remove };

    FileError(Action action, std::filesystem::path path, std::error_code code);

    Action action() const noexcept { return action_; }
    const std::filesystem::path& path() const noexcept { return path_; }

private:
    Action action_;
    std::filesystem::path path_;
};

// The reason the system gives for `error` (an errno value).
std::error_code systemError(int error) noexcept;

// Why a file that another program appends to could not be replaced safely.
enum class LiveFileError {
    Replaced = 1,    // another file stands under its name since it was read
    Rewritten,       // its content changed otherwise than by appending
    HeldForWriting,  // another program keeps it open for writing
    StillWritten,    // replaced, but another program still writes into the file it replaced
};
const std::error_category& liveFileCategory() noexcept;
std::error_code make_error_code(LiveFileError error) noexcept;

// What stands under a name given as a file to read, when it is no regular
// file: reading it would wait for ever or never end.
enum class NotRegularFile {
    Folder = 1,
    NamedPipe,
    Device,
    Socket,
    Other,
};
const std::error_category& notRegularFileCategory() noexcept;
std::error_code make_error_code(NotRegularFile kind) noexcept;

}  // namespace logweave

template <>
struct std::is_error_code_enum<logweave::LiveFileError> : std::true_type {};
template <>
struct std::is_error_code_enum<logweave::NotRegularFile> : std::true_type {};
