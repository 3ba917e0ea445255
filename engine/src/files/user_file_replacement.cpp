#include "files/user_file_replacement.h"

#include "files/file_descriptor.h"
#include "files/temporary_file.h"

#include <cerrno>
#include <fcntl.h>

namespace logweave {
namespace fs = std::filesystem;
using namespace std::chrono_literals;

namespace {

constexpr auto kAction = FileError::Action::Replace;
// A contact is appended in microseconds: two seconds of waiting is ample for
// a program that opens, appends and closes, and tells one that keeps the
// file open.
constexpr auto kPoll = 10ms;
constexpr int kPollsForWriters = 200;
// An append that found the file under its name just before the rename
// reaches the file it replaced within this time.
constexpr auto kSettle = 20ms;
constexpr int kCatchUps = 50;
constexpr std::size_t kBlock = 64 * 1024;

[[noreturn]] void fail(const fs::path& path, std::error_code error)
{
    throw FileError(kAction, path, error);
}

[[noreturn]] void fail(const fs::path& path, int error)
{
    fail(path, systemError(error));
}

// The file under `place` is still the one `read` read, and has at most grown since.
void checkOnlyAppended(const SystemCalls& calls, const fs::path& target, const fs::path& place, FileReader& read)
{
    struct stat info {};
    if (calls.stat(place.c_str(), &info) != 0)
        fail(target, errno);
    const FileReader::Stamp now = read.stamp();
    if (static_cast<std::uint64_t>(info.st_dev) != now.device || static_cast<std::uint64_t>(info.st_ino) != now.inode)
        fail(target, LiveFileError::Replaced);
    const FileReader::Extent extent = read.extent();
    if (now.size < extent.bytes
        || (now.size == extent.bytes && now.changedNanoseconds != extent.atEnd.changedNanoseconds))
        fail(target, LiveFileError::Rewritten);
}

// What was appended to the file `read` reads since its reading stopped.
std::string appendedSince(FileReader& read)
{
    std::string gained;
    char block[kBlock];
    while (const std::size_t n = read.read(block, sizeof block))
        gained.append(block, n);
    return gained;
}

// Appends as the other program does, so that neither append cuts into the other.
void appendTo(const SystemCalls& calls, const fs::path& target, const fs::path& place, std::string_view bytes)
{
    FileDescriptor fd = openFile(calls, place.c_str(), O_WRONLY | O_APPEND | O_CLOEXEC);
    if (!fd)
        fail(target, errno);
    while (!bytes.empty()) {
        const ssize_t n = calls.write(fd.get(), bytes.data(), bytes.size());
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            fail(target, errno);
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
    if (calls.fsync(fd.get()) != 0)
        fail(target, errno);
    if (const int error = fd.close())
        fail(target, error);
}

}  // namespace

bool waitForNoWriter(const SystemCalls& calls, FileReader& read)
{
    const FileReader::Stamp file = read.stamp();
    for (int poll = 0; poll < kPollsForWriters; ++poll) {
        if (!calls.openForWritingElsewhere(static_cast<dev_t>(file.device), static_cast<ino_t>(file.inode)))
            return true;
        calls.pause(kPoll);
    }
    return false;
}

fs::path realPlaceOf(const fs::path& target)
{
    std::error_code unresolved;
    fs::path place = fs::canonical(target, unresolved);
    return unresolved ? target : place;
}

void replaceWithCopy(const SystemCalls& calls, const fs::path& target, const fs::path& place, const fs::path& source)
{
    TemporaryFile::Finish how{defaultFileMode(calls), true};
    struct stat info {};
    if (calls.stat(place.c_str(), &info) == 0) {
        // A file its owner made read-only is not ours to replace, not even for root.
        if ((info.st_mode & 0222) == 0)
            fail(target, EACCES);
        if (calls.access(place.c_str(), W_OK) != 0)
            fail(target, errno);
        how.mode = static_cast<mode_t>(info.st_mode & 07777);
        how.owner = std::pair{info.st_uid, info.st_gid};
    }
    TemporaryFile copy(calls, place, kAction, target);
    copy.copyFrom(source, FileError::Action::Read);
    copy.finish(how);
    copy.renameOver(place);
    syncFolder(calls, folderOf(place));
}

std::string replaceAppendedFile(const SystemCalls& calls, const fs::path& target, FileReader& read,
                                const fs::path& source)
{
    const fs::path place = realPlaceOf(target);
    checkOnlyAppended(calls, target, place, read);
    if (!waitForNoWriter(calls, read))
        fail(target, LiveFileError::HeldForWriting);
    checkOnlyAppended(calls, target, place, read);
    replaceWithCopy(calls, target, place, source);
    // Appends that opened the file before the rename land in the file
    // replaced: taken in until it has been left alone for a while.
    std::string taken;
    for (int pass = 0; pass < kCatchUps; ++pass) {
        if (pass > 0)
            calls.pause(kSettle);
        if (!waitForNoWriter(calls, read))
            fail(target, LiveFileError::StillWritten);
        const std::string gained = appendedSince(read);
        if (gained.empty() && pass > 0)
            return taken;
        if (!gained.empty()) {
            appendTo(calls, target, place, gained);
            taken += gained;
        }
    }
    fail(target, LiveFileError::StillWritten);
}

}  // namespace logweave
