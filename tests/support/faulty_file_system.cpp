#include "faulty_file_system.h"

namespace logweave::testing {

void FaultyFileSystem::check(FileError::Action action, const std::filesystem::path& path)
{
    ++calls;
    if (!fault)
        return;
    if (std::string reason = fault(action, path); !reason.empty())
        throw FileError(action, path, reason);
}

void FaultyFileSystem::failOn(FileError::Action action, std::string fileName, std::string reason)
{
    fault = [action, fileName = std::move(fileName), reason = std::move(reason)](
                FileError::Action a, const std::filesystem::path& path) {
        return a == action && path.filename() == fileName ? reason : std::string{};
    };
}

std::string FaultyFileSystem::readFile(const std::filesystem::path& path)
{
    check(FileError::Action::Read, path);
    return real.readFile(path);
}

void FaultyFileSystem::writeFiles(std::initializer_list<FileContent> files)
{
    // All or nothing, as the real one: check every file before writing any.
    for (const auto& file : files)
        check(FileError::Action::Write, file.path);
    real.writeFiles(files);
}

void FaultyFileSystem::replaceUserFile(const std::filesystem::path& path, std::string_view content)
{
    check(FileError::Action::Replace, path);
    real.replaceUserFile(path, content);
}

BackupResult FaultyFileSystem::backupFile(const std::filesystem::path& source, const std::filesystem::path& backup)
{
    check(FileError::Action::Backup, backup);
    return real.backupFile(source, backup);
}

}  // namespace logweave::testing
