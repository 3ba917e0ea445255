#pragma once
// The file system through the system's calls, all of them made through
// SystemCalls: POSIX ones, or Windows' own on Windows.

#include "logweave/file_system.h"
#include "logweave/system_calls.h"

#include <memory>

namespace logweave {

class BackgroundWork;

class StdFileSystem final : public FileSystem {
public:
    explicit StdFileSystem(SystemCalls calls = SystemCalls::real());
    // Waits for the earlier versions of replaced files to be freed.
    ~StdFileSystem() override;
    StdFileSystem(StdFileSystem&&) noexcept;
    StdFileSystem& operator=(StdFileSystem&&) noexcept;

    std::unique_ptr<FileReader> openForReading(const std::filesystem::path& path) override;
    std::unique_ptr<FileBatch> writeFiles(const std::vector<std::filesystem::path>& targets) override;
    void replaceUserFile(const std::filesystem::path& target, const std::filesystem::path& source) override;
    BackupResult backupFile(const std::filesystem::path& source, const std::filesystem::path& backup) override;
    BackupResult keepSecondName(const std::filesystem::path& source, FileReader& read,
                                const std::filesystem::path& backup) override;
    void waitForWriters(const std::filesystem::path& path, FileReader& read) override;
    std::string replaceAppendedFile(const std::filesystem::path& target, FileReader& read,
                                    const std::filesystem::path& source) override;
    void removeFile(const std::filesystem::path& path) override;
    void makeFolders(const std::filesystem::path& folder) override;
    bool isRegularFile(const std::filesystem::path& path) override;
    std::vector<std::string> fileNames(const std::filesystem::path& folder) override;

private:
    SystemCalls calls_;
    std::unique_ptr<BackgroundWork> freeing_;
};

}  // namespace logweave
