#pragma once
// The real file system, with calls that fail on demand: a file that cannot be
// read or written, a disk that fills up, a file that vanishes.

#include "logweave/std_file_system.h"

#include <functional>
#include <string>

namespace logweave::testing {

class FaultyFileSystem final : public FileSystem {
public:
    // Returns a reason to make the call on `path` fail, or an empty string.
    using Fault = std::function<std::string(FileError::Action, const std::filesystem::path&)>;

    std::string readFile(const std::filesystem::path& path) override;
    void writeFiles(std::initializer_list<FileContent> files) override;
    void replaceUserFile(const std::filesystem::path& path, std::string_view content) override;
    BackupResult backupFile(const std::filesystem::path& source, const std::filesystem::path& backup) override;
    bool isRegularFile(const std::filesystem::path& path) override { return real.isRegularFile(path); }
    std::optional<std::filesystem::path> findIgnoringCase(const std::filesystem::path& folder,
                                                          std::string_view name) override
    {
        return real.findIgnoringCase(folder, name);
    }

    // Fails every call of `action` on a file named `fileName`.
    void failOn(FileError::Action action, std::string fileName, std::string reason = "Injected fault");

    Fault fault;
    StdFileSystem real;
    int calls = 0;

private:
    void check(FileError::Action action, const std::filesystem::path& path);
};

}  // namespace logweave::testing
