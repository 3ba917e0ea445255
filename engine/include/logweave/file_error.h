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

}  // namespace logweave
