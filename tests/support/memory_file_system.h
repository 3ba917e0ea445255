#pragma once
// Files kept in memory, for the fuzz targets: an input runs at the engine's
// speed, with no temporary file, rename or folder to clean up between inputs.
// A file replaced while open is still read as it was when opened, as a file
// replaced by a rename is. Folders are not kept: every folder exists, and its
// entries are the files put right in it.

#include "logweave/file_system.h"

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace logweave::testing {

class MemoryFileSystem final : public FileSystem {
public:
    std::unique_ptr<FileReader> openForReading(const std::filesystem::path& path) override;
    std::unique_ptr<FileBatch> writeFiles(const std::vector<std::filesystem::path>& targets) override;
    void replaceUserFile(const std::filesystem::path& target, const std::filesystem::path& source) override;
    BackupResult backupFile(const std::filesystem::path& source, const std::filesystem::path& backup) override;
    void removeFile(const std::filesystem::path& path) override;
    bool isRegularFile(const std::filesystem::path& path) override;
    std::vector<std::string> fileNames(const std::filesystem::path& folder) override;

    // A file put in place whole, as another program would.
    void put(const std::filesystem::path& path, std::string_view content);
    // What the file holds; nullopt when there is no such file.
    std::optional<std::string> content(const std::filesystem::path& path) const;
    std::size_t fileCount() const noexcept { return files_.size(); }

    // One version of a file's content; never changed once made.
    struct Version {
        std::string bytes;
        FileReader::Stamp stamp;
    };

private:
    std::shared_ptr<const Version> find(const std::filesystem::path& path, FileError::Action action) const;

    std::map<std::filesystem::path, std::shared_ptr<const Version>> files_;
    // The clock of the stamps: every change is later than the one before.
    std::int64_t changes_ = 0;
};

}  // namespace logweave::testing
