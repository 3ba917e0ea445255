#include "memory_file_system.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace logweave::testing {
namespace fs = std::filesystem;

namespace {

fs::path key(const fs::path& path)
{
    return path.lexically_normal();
}

class MemoryReader final : public FileReader {
public:
    explicit MemoryReader(std::shared_ptr<const MemoryFileSystem::Version> version) : version_(std::move(version)) {}

    std::size_t read(char* into, std::size_t size) override
    {
        const std::size_t n = std::min(size, version_->bytes.size() - at_);
        std::memcpy(into, version_->bytes.data() + at_, n);
        at_ += n;
        return n;
    }
    void rewind() override { at_ = 0; }
    Stamp stamp() override { return version_->stamp; }

private:
    std::shared_ptr<const MemoryFileSystem::Version> version_;
    std::size_t at_ = 0;
};

class MemoryWriter final : public FileWriter {
public:
    void write(std::string_view bytes) override { text.append(bytes); }
    std::string text;
};

class MemoryBatch final : public FileBatch {
public:
    MemoryBatch(MemoryFileSystem& files, const std::vector<fs::path>& targets)
        : files_(files), targets_(targets), writers_(targets.size())
    {
    }

    FileWriter& file(std::size_t index) override { return writers_.at(index); }

    // Nothing in memory can fail half-way: every file goes in place.
    void commit() override
    {
        for (std::size_t i = 0; i < targets_.size(); ++i)
            files_.put(targets_[i], writers_[i].text);
    }

private:
    MemoryFileSystem& files_;
    std::vector<fs::path> targets_;
    std::vector<MemoryWriter> writers_;
};

}  // namespace

std::shared_ptr<const MemoryFileSystem::Version> MemoryFileSystem::find(const fs::path& path,
                                                                       FileError::Action action) const
{
    const auto it = files_.find(key(path));
    if (it == files_.end())
        throw FileError(action, path, systemError(ENOENT));
    return it->second;
}

std::unique_ptr<FileReader> MemoryFileSystem::openForReading(const fs::path& path)
{
    return std::make_unique<MemoryReader>(find(path, FileError::Action::Read));
}

std::unique_ptr<FileBatch> MemoryFileSystem::writeFiles(const std::vector<fs::path>& targets)
{
    return std::make_unique<MemoryBatch>(*this, targets);
}

void MemoryFileSystem::replaceUserFile(const fs::path& target, const fs::path& source)
{
    put(target, find(source, FileError::Action::Read)->bytes);
}

BackupResult MemoryFileSystem::backupFile(const fs::path& source, const fs::path& backup)
{
    if (files_.contains(key(backup)))
        return BackupResult::EarlierKept;
    put(backup, find(source, FileError::Action::Backup)->bytes);
    return BackupResult::Made;
}

void MemoryFileSystem::removeFile(const fs::path& path)
{
    if (files_.erase(key(path)) == 0)
        throw FileError(FileError::Action::Remove, path, systemError(ENOENT));
}

bool MemoryFileSystem::isRegularFile(const fs::path& path)
{
    return files_.contains(key(path));
}

std::vector<std::string> MemoryFileSystem::fileNames(const fs::path& folder)
{
    // The folder as the parent of a file in it is written: no last separator, empty for ".".
    const fs::path wanted = key(folder / "x").parent_path();
    std::vector<std::string> names;
    for (const auto& [path, version] : files_)
        if (path.parent_path() == wanted)
            names.push_back(path.filename().string());
    return names;
}

void MemoryFileSystem::put(const fs::path& path, std::string_view content)
{
    auto version = std::make_shared<Version>();
    version->bytes = content;
    version->stamp = {content.size(), ++changes_};
    files_[key(path)] = std::move(version);
}

std::optional<std::string> MemoryFileSystem::content(const fs::path& path) const
{
    const auto it = files_.find(key(path));
    if (it == files_.end())
        return std::nullopt;
    return it->second->bytes;
}

}  // namespace logweave::testing
