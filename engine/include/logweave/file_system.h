#pragma once
// What the engine asks of the file system, behind one interface so that
// tests can make any call fail. Every failure is a FileError naming the file.

#include <filesystem>
#include <initializer_list>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

namespace logweave {

class FileError : public std::runtime_error {
public:
    enum class Action { Read, Write, Replace, Backup };
    FileError(Action action, std::filesystem::path path, std::string reason);

    Action action() const noexcept { return action_; }
    const std::filesystem::path& path() const noexcept { return path_; }
    const std::string& reason() const noexcept { return reason_; }

private:
    Action action_;
    std::filesystem::path path_;
    std::string reason_;
};

enum class BackupResult { Made, EarlierKept };

struct FileContent {
    std::filesystem::path path;
    std::string_view content;
};

class FileSystem {
public:
    virtual ~FileSystem() = default;

    virtual std::string readFile(const std::filesystem::path& path) = 0;

    // Files are written whole or not at all: each into a temporary file beside
    // its target, and only when all of them are written, each renamed over its target.
    virtual void writeFiles(std::initializer_list<FileContent> files) = 0;
    void writeFile(const std::filesystem::path& path, std::string_view content) { writeFiles({{path, content}}); }

    // As writeFile, for a file of the user's: its permissions are kept, a
    // read-only file is refused, and the data reach the disk before the rename.
    virtual void replaceUserFile(const std::filesystem::path& path, std::string_view content) = 0;

    // A copy of `source` under `backup`, never over an existing file.
    virtual BackupResult backupFile(const std::filesystem::path& source,
                                    const std::filesystem::path& backup) = 0;

    virtual bool isRegularFile(const std::filesystem::path& path) = 0;

    // The entry of `folder` named `name` in any letter case, when there is one.
    virtual std::optional<std::filesystem::path> findIgnoringCase(
        const std::filesystem::path& folder, std::string_view name) = 0;
};

// Paths travel through the engine as bytes (they are shown and stored as text).
std::filesystem::path pathFromBytes(std::string_view bytes);
std::string bytesFromPath(const std::filesystem::path& path);

}  // namespace logweave
