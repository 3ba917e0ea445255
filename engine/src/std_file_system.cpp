#include "logweave/std_file_system.h"

#include "std_file_batch.h"
#include "temporary_file.h"

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace logweave {
namespace fs = std::filesystem;

namespace {

[[noreturn]] void fail(FileError::Action action, const fs::path& path, int error)
{
    throw FileError(action, path, systemError(error));
}

// Reads what `fd` holds into `bytes`, which it grows when the file has grown.
std::size_t readAll(const SystemCalls& calls, int fd, Bytes& bytes, const fs::path& path)
{
    std::size_t filled = 0;
    for (;;) {
        if (filled == bytes.size()) {
            Bytes larger(bytes.size() + bytes.size() / 2 + 65536);
            std::copy(bytes.data(), bytes.data() + filled, larger.data());
            bytes = std::move(larger);
        }
        const ssize_t n = calls.read(fd, bytes.data() + filled, bytes.size() - filled);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            fail(FileError::Action::Read, path, errno);
        if (n == 0)
            return filled;
        filled += static_cast<std::size_t>(n);
    }
}

}  // namespace

Bytes StdFileSystem::readFile(const fs::path& path)
{
    const int fd = calls_.open(path.c_str(), O_RDONLY | O_CLOEXEC, 0);
    if (fd < 0)
        fail(FileError::Action::Read, path, errno);
    struct Closer {
        const SystemCalls& calls;
        int fd;
        ~Closer() { calls.close(fd); }  // only read from: nothing is lost if it fails
    } closer{calls_, fd};
    struct stat info {};
    if (calls_.fstat(fd, &info) != 0)
        fail(FileError::Action::Read, path, errno);
    if (S_ISDIR(info.st_mode))
        fail(FileError::Action::Read, path, EISDIR);
    // One byte more than the size: the read that finds the end needs no larger buffer.
    Bytes bytes(static_cast<std::size_t>(info.st_size) + 1);
    bytes.shrink(readAll(calls_, fd, bytes, path));
    return bytes;
}

std::unique_ptr<FileBatch> StdFileSystem::writeFiles(const std::vector<fs::path>& targets)
{
    return std::make_unique<StdFileBatch>(calls_, targets);
}

void StdFileSystem::replaceUserFile(const fs::path& target, const fs::path& source)
{
    const auto action = FileError::Action::Replace;
    // A log reached through a symbolic link is replaced where it really is.
    std::error_code unresolved;
    fs::path place = fs::canonical(target, unresolved);
    if (unresolved)
        place = target;
    TemporaryFile::Finish how{defaultFileMode(calls_), true};
    struct stat info {};
    if (calls_.stat(place.c_str(), &info) == 0) {
        // A file its owner made read-only is not ours to replace, not even for root.
        if ((info.st_mode & 0222) == 0)
            fail(action, target, EACCES);
        if (calls_.access(place.c_str(), W_OK) != 0)
            fail(action, target, errno);
        how.mode = static_cast<mode_t>(info.st_mode & 07777);
        how.owner = std::pair{info.st_uid, info.st_gid};
    }
    TemporaryFile copy(calls_, place, action, target);
    copy.copyFrom(source, FileError::Action::Read);
    copy.finish(how);
    copy.renameOver(place);
    syncFolder(calls_, folderOf(place));
}

BackupResult StdFileSystem::backupFile(const fs::path& source, const fs::path& backup)
{
    struct stat info {};
    if (calls_.stat(backup.c_str(), &info) == 0)
        return BackupResult::EarlierKept;
    const mode_t mode =
        calls_.stat(source.c_str(), &info) == 0 ? static_cast<mode_t>(info.st_mode & 07777) : defaultFileMode(calls_);
    // A copy, not a second name: whatever later writes into the log in place
    // leaves the backup as it was.
    TemporaryFile copy(calls_, backup, FileError::Action::Backup);
    copy.copyFrom(source, FileError::Action::Backup);
    copy.finish({mode, true});
    if (!copy.linkAs(backup))
        return BackupResult::EarlierKept;
    syncFolder(calls_, folderOf(backup));
    return BackupResult::Made;
}

void StdFileSystem::removeFile(const fs::path& path)
{
    if (calls_.unlink(path.c_str()) != 0)
        fail(FileError::Action::Remove, path, errno);
}

bool StdFileSystem::isRegularFile(const fs::path& path)
{
    struct stat info {};
    return calls_.stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

std::vector<std::string> StdFileSystem::fileNames(const fs::path& folder)
{
    std::vector<std::string> names;
    std::error_code error;
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error))
        names.push_back(it->path().filename().string());
    return names;
}

}  // namespace logweave
