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
    using Action = FileError::Action;
    using Path = std::filesystem::path;
    // The error to make the call on `path` fail with, or none.
    using Fault = std::function<std::error_code(Action, const Path&)>;

    std::unique_ptr<FileReader> openForReading(const Path& path) override
    {
        check(Action::Read, path);
        return real.openForReading(path);
    }
    std::unique_ptr<FileBatch> writeFiles(const std::vector<Path>& targets) override
    {
        // All or nothing, as the real one: every file is checked before any is written.
        for (const auto& target : targets)
            check(Action::Write, target);
        return real.writeFiles(targets);
    }
    void replaceUserFile(const Path& target, const Path& source) override
    {
        check(Action::Replace, target);
        real.replaceUserFile(target, source);
    }
    BackupResult backupFile(const Path& source, const Path& backup) override
    {
        check(Action::Backup, backup);
        return real.backupFile(source, backup);
    }
    BackupResult keepSecondName(const Path& source, FileReader& read, const Path& backup) override
    {
        check(Action::Backup, backup);
        return real.keepSecondName(source, read, backup);
    }
    void waitForWriters(const Path& path, FileReader& read) override { real.waitForWriters(path, read); }
    std::string replaceAppendedFile(const Path& target, FileReader& read, const Path& source) override
    {
        check(Action::Replace, target);
        return real.replaceAppendedFile(target, read, source);
    }
    void removeFile(const Path& path) override
    {
        check(Action::Remove, path);
        real.removeFile(path);
    }
    void makeFolders(const Path& folder) override
    {
        check(Action::Write, folder);
        real.makeFolders(folder);
    }
    bool isRegularFile(const Path& path) override { return real.isRegularFile(path); }
    std::vector<std::string> fileNames(const Path& folder) override { return real.fileNames(folder); }

    // Fails every call of `action` on a file named `fileName`.
    void failOn(Action action, std::string fileName, std::error_code error = std::make_error_code(std::errc::io_error))
    {
        fault = [action, fileName = std::move(fileName), error](Action a, const Path& path) {
            return a == action && path.filename() == fileName ? error : std::error_code{};
        };
    }

    Fault fault;
    StdFileSystem real;

private:
    void check(Action action, const Path& path)
    {
        if (const std::error_code error = fault ? fault(action, path) : std::error_code{})
            throw FileError(action, path, error);
    }
};

}  // namespace logweave::testing
