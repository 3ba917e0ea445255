#include "logweave/std_file_system.h"

#include "background_work.h"
#include "files/windows/file_handle.h"
#include "files/windows/std_file_batch.h"
#include "files/windows/temporary_file.h"
#include "files/windows/user_file_replacement.h"
#include "files/windows/windows_error.h"

#include <windows.h>

#include <algorithm>

namespace logweave {
namespace fs = std::filesystem;

namespace {

class StdFileReader final : public FileReader {
public:
    StdFileReader(const SystemCalls& calls, fs::path path)
        : calls_(calls), path_(std::move(path)), handle_(openRegularFile(calls_, path_, FileError::Action::Read))
    {
    }

    std::size_t read(char* into, std::size_t size) override
    {
        DWORD n = 0;
        if (!calls_.readFile(handle(), into, static_cast<DWORD>(std::min<std::size_t>(size, std::size_t{1} << 30)), &n))
            fail(lastError());
        if (n == 0) {
            extent_.atEnd = stamp();
            return 0;
        }
        extent_.bytes += n;
        return n;
    }

    void rewind() override
    {
        if (!calls_.seek(handle(), 0, FILE_BEGIN, nullptr))
            fail(lastError());
        extent_ = {};
    }

    void skipToEnd() override
    {
        std::int64_t end = 0;
        if (!calls_.seek(handle(), 0, FILE_END, &end))
            fail(lastError());
        extent_ = {static_cast<std::uint64_t>(end), stamp()};
    }

    Stamp stamp() override
    {
        WinFileInformation information;
        if (!calls_.fileInformation(handle(), &information))
            fail(lastError());
        return {information.size, information.lastWriteNanoseconds, information.volume, information.index};
    }

    Extent extent() const override { return extent_; }

    // Windows replaces no file that is open anywhere, here included.
    void letGo() { static_cast<void>(handle_.close()); }

private:
    WinHandle handle() const
    {
        if (!handle_)
            throw FileError(FileError::Action::Read, path_, windowsError(ERROR_INVALID_HANDLE));
        return handle_.get();
    }

    [[noreturn]] void fail(std::error_code error) const { throw FileError(FileError::Action::Read, path_, error); }

    const SystemCalls& calls_;
    fs::path path_;
    FileHandle handle_;  // only read from: a failing close loses nothing
    Extent extent_;
};

[[noreturn]] void fail(FileError::Action action, const fs::path& path, std::error_code error)
{
    throw FileError(action, path, error);
}

bool isTheFileRead(const SystemCalls& calls, const fs::path& path, FileReader& read)
{
    const FileReader::Stamp file = read.stamp();
    return fileIdOf(calls, path) == FileId{file.device, file.inode};
}

}  // namespace

std::unique_ptr<FileReader> StdFileSystem::openForReading(const fs::path& path)
{
    return std::make_unique<StdFileReader>(calls_, path);
}

// A replaced file is freed as the batch deletes it: freeing_ stays empty.
StdFileSystem::StdFileSystem(SystemCalls calls) : calls_(std::move(calls)) {}

StdFileSystem::~StdFileSystem() = default;
StdFileSystem::StdFileSystem(StdFileSystem&&) noexcept = default;
StdFileSystem& StdFileSystem::operator=(StdFileSystem&&) noexcept = default;

std::unique_ptr<FileBatch> StdFileSystem::writeFiles(const std::vector<fs::path>& targets)
{
    return std::make_unique<StdFileBatch>(calls_, targets);
}

void StdFileSystem::replaceUserFile(const fs::path& target, const fs::path& source)
{
    replaceWithCopy(calls_, target, realPlaceOf(target), source);
}

void StdFileSystem::waitForWriters(const fs::path& path, FileReader&)
{
    if (!waitForNoWriter(calls_, realPlaceOf(path)))
        throw FileError(FileError::Action::Replace, path, LiveFileError::HeldForWriting);
}

std::string StdFileSystem::replaceAppendedFile(const fs::path& target, FileReader& read, const fs::path& source)
{
    // A reader of another kind (a test's) keeps its hold: the replacement then waits for it in vain.
    auto* ours = dynamic_cast<StdFileReader*>(&read);
    return logweave::replaceAppendedFile(calls_, target, read, [ours] { if (ours) ours->letGo(); }, source);
}

BackupResult StdFileSystem::backupFile(const fs::path& source, const fs::path& backup)
{
    if (calls_.fileAttributes(backup.c_str()) != INVALID_FILE_ATTRIBUTES)
        return BackupResult::EarlierKept;
    // A copy, not a second name: whatever later writes into the log in place
    // leaves the backup as it was.
    TemporaryFile copy(calls_, backup, FileError::Action::Backup);
    copy.copyFrom(source, FileError::Action::Backup);
    copy.finish(true);
    return copy.placeWhereNone(backup) ? BackupResult::Made : BackupResult::EarlierKept;
}

BackupResult StdFileSystem::keepSecondName(const fs::path& source, FileReader& read, const fs::path& backup)
{
    const auto action = FileError::Action::Backup;
    const fs::path place = realPlaceOf(source);
    if (!isTheFileRead(calls_, place, read))
        fail(action, source, LiveFileError::Replaced);
    if (!calls_.createHardLink(backup.c_str(), place.c_str())) {
        const DWORD error = GetLastError();
        if (error == ERROR_ALREADY_EXISTS || error == ERROR_FILE_EXISTS)
            return BackupResult::EarlierKept;
        // A file system without hard links, or another volume.
        if (error != ERROR_NOT_SUPPORTED && error != ERROR_INVALID_FUNCTION && error != ERROR_NOT_SAME_DEVICE
            && error != ERROR_TOO_MANY_LINKS)
            fail(action, backup, windowsError(error));
        return backupFile(place, backup);
    }
    // The name may have been given to another file between the look and the link.
    if (!isTheFileRead(calls_, backup, read)) {
        calls_.deleteFile(backup.c_str());
        fail(action, source, LiveFileError::Replaced);
    }
    return BackupResult::Made;
}

void StdFileSystem::removeFile(const fs::path& path)
{
    if (!calls_.deleteFile(path.c_str()))
        fail(FileError::Action::Remove, path, lastError());
}

void StdFileSystem::makeFolders(const fs::path& folder)
{
    // From the top down; one made meanwhile by another program is no failure either.
    const fs::path parent = folder.parent_path();
    const DWORD above = calls_.fileAttributes(parent.c_str());
    if (!parent.empty() && parent != folder && above == INVALID_FILE_ATTRIBUTES)
        makeFolders(parent);
    if (CreateDirectoryW(folder.c_str(), nullptr))
        return;
    const DWORD error = GetLastError();
    const DWORD attributes = calls_.fileAttributes(folder.c_str());
    if (error != ERROR_ALREADY_EXISTS || attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY))
        fail(FileError::Action::Write, folder, windowsError(error));
}

bool StdFileSystem::isRegularFile(const fs::path& path)
{
    if (isDeviceName(path))
        return false;
    const DWORD attributes = calls_.fileAttributes(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::vector<std::string> StdFileSystem::fileNames(const fs::path& folder)
{
    std::vector<std::string> names;
    std::error_code error;
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error))
        names.push_back(bytesFromPath(it->path().filename()));
    return names;
}

}  // namespace logweave
