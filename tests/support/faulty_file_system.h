#pragma once
// The real file system, with calls that fail on demand: a file that cannot be
// read or written, a disk that fills up, a file that vanishes.

#include "logweave/std_file_system.h"

#include <functional>
#include <string>
#include <system_error>

namespace logweave::testing {

class FaultyFileSystem final : public FileSystem {
public:
    // The error to make the call on `path` fail with, or none.
    using Fault = std::function<std::error_code(FileError::Action, const std::filesystem::path&)>;

    std::unique_ptr<FileReader> openForReading(const std::filesystem::path& path) override;
    std::unique_ptr<FileBatch> writeFiles(const std::vector<std::filesystem::path>& targets) override;
    void replaceUserFile(const std::filesystem::path& target, const std::filesystem::path& source) override;
    BackupResult backupFile(const std::filesystem::path& source, const std::filesystem::path& backup) override;
    BackupResult keepSecondName(const std::filesystem::path& source, FileReader& read,
                                const std::filesystem::path& backup) override;
    void waitForWriters(const std::filesystem::path& path, FileReader& read) override
    {
        real.waitForWriters(path, read);
    }
    std::string replaceAppendedFile(const std::filesystem::path& target, FileReader& read,
                                    const std::filesystem::path& source) override;
    void removeFile(const std::filesystem::path& path) override;
    void makeFolders(const std::filesystem::path& folder) override;
    bool isRegularFile(const std::filesystem::path& path) override { return real.isRegularFile(path); }
    std::vector<std::string> fileNames(const std::filesystem::path& folder) override { return real.fileNames(folder); }

    // Fails every call of `action` on a file named `fileName`.
    void failOn(FileError::Action action, std::string fileName,
                std::error_code error = std::make_error_code(std::errc::io_error));

    Fault fault;
    StdFileSystem real;

private:
    void check(FileError::Action action, const std::filesystem::path& path);
};

}  // namespace logweave::testing
