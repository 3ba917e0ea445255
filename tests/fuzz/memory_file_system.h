#pragma once
// Files kept in memory, so that fuzzing runs at the speed of the engine.

#include "logweave/file_system.h"

#include <map>
#include <string>

namespace logweave::fuzzing {

class MemoryFileSystem final : public FileSystem {
public:
    std::string readFile(const std::filesystem::path& path) override
    {
        const auto it = files.find(path);
        if (it == files.end())
            throw FileError(FileError::Action::Read, path, "No such file or directory");
        return it->second;
    }
    void writeFiles(std::initializer_list<FileContent> contents) override
    {
        for (const auto& file : contents)
            files[file.path] = std::string(file.content);
    }
    void replaceUserFile(const std::filesystem::path& path, std::string_view content) override
    {
        files[path] = std::string(content);
    }
    BackupResult backupFile(const std::filesystem::path& source, const std::filesystem::path& backup) override
    {
        if (files.count(backup) != 0)
            return BackupResult::EarlierKept;
        files[backup] = readFile(source);
        return BackupResult::Made;
    }
    bool isRegularFile(const std::filesystem::path& path) override { return files.count(path) != 0; }
    std::optional<std::filesystem::path> findIgnoringCase(const std::filesystem::path&, std::string_view) override
    {
        return std::nullopt;
    }

    std::map<std::filesystem::path, std::string> files;
};

}  // namespace logweave::fuzzing
