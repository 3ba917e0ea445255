#include "files/windows/user_file_replacement.h"

#include "files/windows/file_handle.h"
#include "files/windows/temporary_file.h"
#include "files/windows/windows_error.h"

#include <windows.h>

#include <optional>

namespace logweave {
namespace fs = std::filesystem;

// What holds on Windows for a file another program appends to.
//
// A file open anywhere, by this program too, cannot be renamed over: the
// rename fails until every handle on it is closed. The WSJT-X program opens
// its log, appends and closes it; while it holds it, the replacement fails
// and is tried again, for a while. So the file replaced was open nowhere at
// that moment, and with its name gone no program appends to it again: what
// was appended to it after the last reading, up to the replacement, is read
// afterwards through a second name taken before (a hard link), and appended
// to the new file. Nothing is lost and nothing doubled.
//
// What does not hold: on a file system without hard links (FAT) what is
// appended in the instant between the last reading and the replacement is
// not taken in. Each look at whether another program writes the file, and
// the rename itself, holds the file for a moment in a way that a program
// opening it to append without sharing its deletion (as most do) is refused
// for that moment.

namespace {

constexpr auto kAction = FileError::Action::Replace;
constexpr std::size_t kBlock = 64 * 1024;

[[noreturn]] void fail(const fs::path& path, std::error_code error)
{
    throw FileError(kAction, path, error);
}

// The file under `place` is still the one `read` read, and has at most grown since.
void checkOnlyAppended(const SystemCalls& calls, const fs::path& target, const fs::path& place, FileReader& read)
{
    const std::optional<FileId> there = fileIdOf(calls, place);
    if (!there)
        fail(target, lastError());
    const FileReader::Stamp now = read.stamp();
    if (there->volume != now.device || there->index != now.inode)
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

// Appends as the other program does, sharing the file as it does.
void appendTo(const SystemCalls& calls, const fs::path& target, const fs::path& place, std::string_view bytes)
{
    FileHandle handle = openFile(calls, place, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, OPEN_EXISTING);
    if (!handle || !writeAll(calls, handle.get(), bytes) || !calls.flushFileBuffers(handle.get()))
        fail(target, lastError());
    if (const unsigned long error = handle.close())
        fail(target, windowsError(error));
}

// A second name for the file read, taken before it is replaced and removed
// after: through it, what was appended to it up to the replacement is read.
class SecondName {
public:
    SecondName(const SystemCalls& calls, const fs::path& target, const fs::path& place, FileReader& read)
        : calls_(calls), target_(target), path_(besideName(place, L"-read"))
    {
        if (!calls_.createHardLink(path_.c_str(), place.c_str())) {
            const DWORD error = GetLastError();
            path_.clear();
            if (error != ERROR_NOT_SUPPORTED && error != ERROR_INVALID_FUNCTION && error != ERROR_TOO_MANY_LINKS)
                fail(target, windowsError(error));
            return;  // no hard links here
        }
        // The name may have been given to another file between the reading and the link.
        const FileReader::Stamp file = read.stamp();
        if (fileIdOf(calls_, path_) != FileId{file.device, file.inode}) {
            calls_.deleteFile(path_.c_str());
            fail(target, LiveFileError::Replaced);
        }
    }
    ~SecondName()
    {
        if (!path_.empty())
            calls_.deleteFile(path_.c_str());
    }
    SecondName(const SecondName&) = delete;
    SecondName& operator=(const SecondName&) = delete;

    // What the file holds past its first `bytes`.
    std::string readFrom(std::uint64_t bytes) const
    {
        std::string rest;
        if (path_.empty())
            return rest;
        const FileHandle file = openRegularFile(calls_, path_, kAction);
        std::int64_t end = 0;
        if (!calls_.seek(file.get(), 0, FILE_END, &end))
            fail(target_, lastError());
        // Smaller: written anew since, nothing to take.
        if (static_cast<std::uint64_t>(end) <= bytes)
            return rest;
        if (!calls_.seek(file.get(), static_cast<std::int64_t>(bytes), FILE_BEGIN, nullptr))
            fail(target_, lastError());
        char block[kBlock];
        for (;;) {
            DWORD n = 0;
            if (!calls_.readFile(file.get(), block, sizeof block, &n))
                fail(target_, lastError());
            if (n == 0)
                return rest;
            rest.append(block, n);
        }
    }

private:
    const SystemCalls& calls_;
    fs::path target_;
    fs::path path_;
};

}  // namespace

bool waitForNoWriter(const SystemCalls& calls, const fs::path& place)
{
    for (int poll = 0; poll < kHeldPolls; ++poll) {
        if (!calls.openForWritingElsewhere(place.c_str()))
            return true;
        calls.pause(kHeldPoll);
    }
    return false;
}

fs::path realPlaceOf(const fs::path& target)
{
    std::error_code error;
    if (!fs::is_symlink(target, error))
        return target;
    fs::path place = fs::canonical(target, error);
    return error ? target : place;
}

void replaceWithCopy(const SystemCalls& calls, const fs::path& target, const fs::path& place, const fs::path& source)
{
    // A file its owner made read-only is not ours to replace. Permissions
    // are the folder's, which the copy beside the file takes as well.
    const DWORD attributes = calls.fileAttributes(place.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY))
        fail(target, std::make_error_code(std::errc::permission_denied));
    TemporaryFile copy(calls, place, kAction, target);
    copy.copyFrom(source, FileError::Action::Read);
    copy.finish(true);
    if (!copy.replace(place))
        fail(target, heldOpenError());
}

std::string replaceAppendedFile(const SystemCalls& calls, const fs::path& target, FileReader& read,
                                const std::function<void()>& letGo, const fs::path& source)
{
    const fs::path place = realPlaceOf(target);
    checkOnlyAppended(calls, target, place, read);
    if (!waitForNoWriter(calls, place))
        fail(target, LiveFileError::HeldForWriting);
    checkOnlyAppended(calls, target, place, read);
    const DWORD attributes = calls.fileAttributes(place.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY))
        fail(target, std::make_error_code(std::errc::permission_denied));
    TemporaryFile copy(calls, place, kAction, target);
    copy.copyFrom(source, FileError::Action::Read);
    std::string taken = appendedSince(read);
    copy.write(taken);
    copy.finish(true);
    const SecondName secondName(calls, target, place, read);
    const std::uint64_t readUpTo = read.extent().bytes;
    letGo();
    if (!copy.replace(place))
        fail(target, LiveFileError::HeldForWriting);
    const std::string late = secondName.readFrom(readUpTo);
    if (!late.empty()) {
        appendTo(calls, target, place, late);
        taken += late;
    }
    return taken;
}

}  // namespace logweave
