#pragma once
// The file system through the C++ standard library and POSIX calls.

#include "logweave/file_system.h"

#include <cstddef>
#include <functional>

namespace logweave {

// The system calls that write, behind functions that tests can replace to
// make a disk fill up or a rename fail part of the way through.
struct SystemCalls {
    std::function<std::ptrdiff_t(int fd, const void* data, std::size_t size)> write;
    std::function<int(int fd)> fsync;
    std::function<int(const char* from, const char* to)> rename;
    std::function<int(const char* from, const char* to)> link;

    static SystemCalls real();
};

class StdFileSystem final : public FileSystem {
public:
    explicit StdFileSystem(SystemCalls calls = SystemCalls::real()) : calls_(std::move(calls)) {}

    std::string readFile(const std::filesystem::path& path) override;
    void writeFiles(std::initializer_list<FileContent> files) override;
    void replaceUserFile(const std::filesystem::path& path, std::string_view content) override;
    BackupResult backupFile(const std::filesystem::path& source,
                            const std::filesystem::path& backup) override;
    bool isRegularFile(const std::filesystem::path& path) override;
    std::optional<std::filesystem::path> findIgnoringCase(const std::filesystem::path& folder,
                                                          std::string_view name) override;

private:
    struct WriteSettings;
    std::filesystem::path writeTemporary(const std::filesystem::path& target, std::string_view content,
                                         const WriteSettings& how);
    void renameInto(const std::filesystem::path& temporary, const std::filesystem::path& target,
                    FileError::Action action);
    bool writeAll(int fd, std::string_view content);

    SystemCalls calls_;
};

}  // namespace logweave
