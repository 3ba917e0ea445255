#include "logweave/std_file_system.h"

#include "logweave/text.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>
#include <optional>
#include <vector>

namespace logweave {
namespace fs = std::filesystem;

namespace {

std::string reasonOf(int error)
{
    return std::error_code(error, std::generic_category()).message();
}

[[noreturn]] void fail(FileError::Action action, const fs::path& path, int error)
{
    throw FileError(action, path, reasonOf(error));
}

// Closes on every road out, so an early throw leaks no descriptor.
class Descriptor {
public:
    explicit Descriptor(int fd) : fd_(fd) {}
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    ~Descriptor() { release(); }
    int get() const noexcept { return fd_; }
    // The result of close counts: a delayed write error shows there.
    int release() noexcept
    {
        const int fd = fd_;
        fd_ = -1;
        return fd < 0 ? 0 : ::close(fd);
    }

private:
    int fd_;
};

fs::path folderOf(const fs::path& path)
{
    const fs::path parent = path.parent_path();
    return parent.empty() ? fs::path(".") : parent;
}

mode_t defaultMode()
{
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return static_cast<mode_t>(0666 & ~mask);
}

void syncFolder(const fs::path& folder)
{
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

}  // namespace

SystemCalls SystemCalls::real()
{
    return {[](int fd, const void* data, std::size_t size) -> std::ptrdiff_t { return ::write(fd, data, size); },
            [](int fd) { return ::fsync(fd); },
            [](const char* from, const char* to) { return ::rename(from, to); },
            [](const char* from, const char* to) { return ::link(from, to); }};
}

struct StdFileSystem::WriteSettings {
    FileError::Action action;
    mode_t mode;
    bool durable;
    std::optional<std::pair<uid_t, gid_t>> owner = std::nullopt;
};

bool StdFileSystem::writeAll(int fd, std::string_view content)
{
    while (!content.empty()) {
        const std::ptrdiff_t n = calls_.write(fd, content.data(), content.size());
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        content.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

// Writes `content` into a new temporary file beside `target` and returns its
// path; the caller renames or links it into place.
fs::path StdFileSystem::writeTemporary(const fs::path& target, std::string_view content, const WriteSettings& how)
{
    std::string hidden(".");
    hidden.append(target.filename().string()).append(".XXXXXX");
    std::string pattern = (folderOf(target) / hidden).string();
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    Descriptor fd(::mkostemp(name.data(), O_CLOEXEC));
    if (fd.get() < 0)
        fail(how.action, target, errno);
    const fs::path temporary(name.data());
    int error = 0;
    // Only root can give a file away; anyone else's copy stays theirs, which is fine.
    if (how.owner && ::fchown(fd.get(), how.owner->first, how.owner->second) != 0 && errno != EPERM)
        error = errno;
    if (error == 0
        && (!writeAll(fd.get(), content) || ::fchmod(fd.get(), how.mode) != 0
            || (how.durable && calls_.fsync(fd.get()) != 0)))
        error = errno;
    if (fd.release() != 0 && error == 0)
        error = errno;
    if (error != 0) {
        ::unlink(temporary.c_str());
        fail(how.action, target, error);
    }
    return temporary;
}

void StdFileSystem::renameInto(const fs::path& temporary, const fs::path& target, FileError::Action action)
{
    if (calls_.rename(temporary.c_str(), target.c_str()) != 0) {
        const int error = errno;
        ::unlink(temporary.c_str());
        fail(action, target, error);
    }
}

std::string StdFileSystem::readFile(const fs::path& path)
{
    Descriptor fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (fd.get() < 0)
        fail(FileError::Action::Read, path, errno);
    struct stat info {};
    if (::fstat(fd.get(), &info) != 0)
        fail(FileError::Action::Read, path, errno);
    if (S_ISDIR(info.st_mode))
        fail(FileError::Action::Read, path, EISDIR);
    // One byte of room more than the size: the read that finds the end needs
    // no second, larger buffer (the log may be the biggest thing in memory).
    std::string content;
    content.resize(static_cast<std::size_t>(info.st_size) + 1);
    std::size_t filled = 0;
    for (;;) {
        if (filled == content.size())
            content.resize(content.size() + content.size() / 2 + 65536);  // the file grew, or reports no size
        const ssize_t n = ::read(fd.get(), content.data() + filled, content.size() - filled);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            fail(FileError::Action::Read, path, errno);
        }
        if (n == 0)
            break;
        filled += static_cast<std::size_t>(n);
    }
    content.resize(filled);
    return content;
}

void StdFileSystem::writeFiles(std::initializer_list<FileContent> files)
{
    const auto action = FileError::Action::Write;
    std::vector<fs::path> temporaries;
    try {
        for (const auto& file : files)
            temporaries.push_back(writeTemporary(file.path, file.content, {action, defaultMode(), false}));
    } catch (const FileError&) {
        for (const auto& temporary : temporaries)
            ::unlink(temporary.c_str());
        throw;
    }

    // Each file about to be replaced stays reachable under a second name until
    // every rename has succeeded, so that a failure can put all of them back.
    struct Earlier {
        bool existed = false;
        fs::path link;
        std::optional<std::string> content;  // where the file system has no hard links
    };
    std::vector<Earlier> earlier(temporaries.size());
    std::size_t i = 0;
    for (const auto& file : files) {
        Earlier& e = earlier[i];
        e.existed = fs::exists(file.path);
        if (e.existed) {
            e.link = temporaries[i].string() + "-earlier";
            if (calls_.link(file.path.c_str(), e.link.c_str()) != 0) {
                e.link.clear();
                e.content = readFile(file.path);
            }
        }
        ++i;
    }

    std::size_t renamed = 0;
    int error = 0;
    const FileContent* failed = nullptr;
    for (const auto& file : files) {
        if (calls_.rename(temporaries[renamed].c_str(), file.path.c_str()) != 0) {
            error = errno;
            failed = &file;
            break;
        }
        ++renamed;
    }
    std::size_t index = 0;
    for (const auto& file : files) {
        const Earlier& e = earlier[index];
        const bool putBack = failed != nullptr && index < renamed;
        try {
            if (putBack && !e.link.empty())
                calls_.rename(e.link.c_str(), file.path.c_str());
            else if (putBack && e.content)
                renameInto(writeTemporary(file.path, *e.content, {action, defaultMode(), false}), file.path, action);
            else if (putBack && !e.existed)
                ::unlink(file.path.c_str());
        } catch (const FileError&) {
            // Putting back is the best that can be done; the failure that led here is reported.
        }
        if (!putBack && !e.link.empty())
            ::unlink(e.link.c_str());
        if (failed != nullptr && index >= renamed)
            ::unlink(temporaries[index].c_str());
        ++index;
    }
    if (failed != nullptr)
        fail(action, failed->path, error);
}

void StdFileSystem::replaceUserFile(const fs::path& path, std::string_view content)
{
    const auto action = FileError::Action::Replace;
    // A log reached through a symbolic link is replaced where it really is.
    std::error_code unresolved;
    fs::path target = fs::canonical(path, unresolved);
    if (unresolved)
        target = path;
    WriteSettings how{action, defaultMode(), true};
    struct stat info {};
    if (::stat(target.c_str(), &info) == 0) {
        // A file its owner made read-only is not ours to replace, not even for root.
        if ((info.st_mode & 0222) == 0)
            throw FileError(action, path, "Read-only file");
        if (::access(target.c_str(), W_OK) != 0)
            fail(action, path, errno);
        how.mode = static_cast<mode_t>(info.st_mode & 07777);
        how.owner = std::pair{info.st_uid, info.st_gid};
    }
    const fs::path temporary = writeTemporary(target, content, how);
    if (calls_.rename(temporary.c_str(), target.c_str()) != 0) {
        const int error = errno;
        ::unlink(temporary.c_str());
        fail(action, path, error);
    }
    syncFolder(folderOf(target));
}

BackupResult StdFileSystem::backupFile(const fs::path& source, const fs::path& backup)
{
    const auto action = FileError::Action::Backup;
    std::error_code ignored;
    if (fs::exists(backup, ignored))
        return BackupResult::EarlierKept;
    // A copy, not a second name: whatever later writes into the log in place
    // leaves the backup as it was.
    std::string content;
    struct stat info {};
    try {
        content = readFile(source);
    } catch (const FileError& error) {
        throw FileError(action, source, error.reason());
    }
    const mode_t mode = ::stat(source.c_str(), &info) == 0 ? static_cast<mode_t>(info.st_mode & 07777)
                                                           : defaultMode();
    const fs::path temporary = writeTemporary(backup, content, {action, mode, true});
    // link() puts the copy in place only where no file stands already.
    if (calls_.link(temporary.c_str(), backup.c_str()) == 0) {
        ::unlink(temporary.c_str());
        syncFolder(folderOf(backup));
        return BackupResult::Made;
    }
    if (errno == EEXIST || fs::exists(backup, ignored)) {
        ::unlink(temporary.c_str());
        return BackupResult::EarlierKept;
    }
    renameInto(temporary, backup, action);  // file systems without hard links
    syncFolder(folderOf(backup));
    return BackupResult::Made;
}

bool StdFileSystem::isRegularFile(const fs::path& path)
{
    std::error_code error;
    return fs::is_regular_file(path, error);
}

std::optional<fs::path> StdFileSystem::findIgnoringCase(const fs::path& folder, std::string_view name)
{
    std::error_code error;
    std::optional<fs::path> found;
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        const std::string entry = it->path().filename().string();
        if (!equalsIgnoringCase(entry, name))
            continue;
        if (entry == name)
            return it->path();
        if (!found || entry < found->filename().string())
            found = it->path();
    }
    return found;
}

}  // namespace logweave
