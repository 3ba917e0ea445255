#include "faulty_file_system.h"

namespace logweave::testing {

void FaultyFileSystem::check(FileError::Action action, const std::filesystem::path& path)
{
    if (!fault)
        return;
    if (const std::error_code error = fault(action, path))
        throw FileError(action, path, error);
}

void FaultyFileSystem::failOn(FileError::Action action, std::string fileName, std::error_code error)
{
    fault = [action, fileName = std::move(fileName), error](FileError::Action a, const std::filesystem::path& path) {
        return a == action && path.filename() == fileName ? error : std::error_code{};
    };
}

std::unique_ptr<FileReader> FaultyFileSystem::openForReading(const std::filesystem::path& path)
{
    check(FileError::Action::Read, path);
    return real.openForReading(path);
}

std::unique_ptr<FileBatch> FaultyFileSystem::writeFiles(const std::vector<std::filesystem::path>& targets)
{
    // All or nothing, as the real one: every file is checked before any is written.
    for (const auto& target : targets)
        check(FileError::Action::Write, target);
    return real.writeFiles(targets);
}

void FaultyFileSystem::replaceUserFile(const std::filesystem::path& target, const std::filesystem::path& source)
{
    check(FileError::Action::Replace, target);
    real.replaceUserFile(target, source);
}

BackupResult FaultyFileSystem::backupFile(const std::filesystem::path& source, const std::filesystem::path& backup)
{
    check(FileError::Action::Backup, backup);
    return real.backupFile(source, backup);
}

BackupResult FaultyFileSystem::keepSecondName(const std::filesystem::path& source, FileReader& read,
                                              const std::filesystem::path& backup)
{
    check(FileError::Action::Backup, backup);
    return real.keepSecondName(source, read, backup);
}

std::string FaultyFileSystem::replaceAppendedFile(const std::filesystem::path& target, FileReader& read,
                                                  const std::filesystem::path& source)
{
    check(FileError::Action::Replace, target);
    return real.replaceAppendedFile(target, read, source);
}

void FaultyFileSystem::removeFile(const std::filesystem::path& path)
{
    check(FileError::Action::Remove, path);
    real.removeFile(path);
}

void FaultyFileSystem::makeFolders(const std::filesystem::path& folder)
{
    check(FileError::Action::Write, folder);
    real.makeFolders(folder);
}

}  // namespace logweave::testing
