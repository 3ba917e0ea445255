#pragma once
// The file system through the C++ standard library and POSIX calls.

#include "logweave/file_system.h"

namespace logweave {

class StdFileSystem final : public FileSystem {
public:
    std::string readFile(const std::filesystem::path& path) override;
    void writeFiles(std::initializer_list<FileContent> files) override;
    void replaceUserFile(const std::filesystem::path& path, std::string_view content) override;
    BackupResult backupFile(const std::filesystem::path& source,
                            const std::filesystem::path& backup) override;
    bool isRegularFile(const std::filesystem::path& path) override;
    std::optional<std::filesystem::path> findIgnoringCase(const std::filesystem::path& folder,
                                                          std::string_view name) override;
};

}  // namespace logweave
