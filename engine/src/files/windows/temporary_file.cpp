#include "files/windows/temporary_file.h"

#include "files/windows/windows_error.h"

#include <windows.h>

#include <algorithm>
#include <vector>

namespace logweave {
namespace fs = std::filesystem;

namespace {

constexpr std::size_t kBlock = std::size_t{1} << 20;
constexpr int kNamesTried = 100;

// Whether a rename onto `place` failed because another program holds the
// file there: a sharing violation says so, but a file open elsewhere refuses
// to be replaced with "access denied", as a read-only one does.
bool heldByAnother(const SystemCalls& calls, const fs::path& place, DWORD error)
{
    if (isSharingError(error))
        return true;
    if (error != ERROR_ACCESS_DENIED)
        return false;
    const DWORD attributes = calls.fileAttributes(place.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)))
        return false;
    const FileHandle alone(calls, calls.createFile(place.c_str(), GENERIC_READ, 0, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL));
    return !alone && GetLastError() == ERROR_SHARING_VIOLATION;
}

}  // namespace

bool writeAll(const SystemCalls& calls, WinHandle file, std::string_view bytes)
{
    while (!bytes.empty()) {
        const auto size = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), std::size_t{1} << 30));
        DWORD written = 0;
        if (!calls.writeFile(file, bytes.data(), size, &written))
            return false;
        if (written == 0) {
            SetLastError(ERROR_WRITE_FAULT);
            return false;
        }
        bytes.remove_prefix(written);
    }
    return true;
}

TemporaryFile::TemporaryFile(const SystemCalls& calls, fs::path target, FileError::Action action, fs::path shown)
    : calls_(calls), action_(action), shown_(shown.empty() ? target : std::move(shown))
{
    for (int tried = 0; tried < kNamesTried; ++tried) {
        path_ = besideName(target);
        handle_ = FileHandle(calls_, calls_.createFile(path_.c_str(), GENERIC_WRITE, FILE_SHARE_READ, CREATE_NEW,
                                                       FILE_ATTRIBUTE_NORMAL));
        if (handle_)
            return;
        if (GetLastError() != ERROR_FILE_EXISTS && GetLastError() != ERROR_ALREADY_EXISTS)
            break;
    }
    path_.clear();
    fail(lastError());
}

TemporaryFile::~TemporaryFile()
{
    static_cast<void>(handle_.close());  // what it held is dropped anyway
    if (!placed_ && !path_.empty())
        calls_.deleteFile(path_.c_str());
}

void TemporaryFile::fail(std::error_code error) const
{
    throw FileError(action_, shown_, error);
}

void TemporaryFile::write(std::string_view bytes)
{
    if (!writeAll(calls_, handle_.get(), bytes))
        fail(lastError());
}

void TemporaryFile::copyFrom(const fs::path& source, FileError::Action sourceAction)
{
    // Only read from: a failing close loses nothing of ours.
    const FileHandle in = openRegularFile(calls_, source, sourceAction);
    std::vector<char> block(kBlock);
    for (;;) {
        DWORD n = 0;
        if (!calls_.readFile(in.get(), block.data(), static_cast<DWORD>(block.size()), &n))
            throw FileError(sourceAction, source, lastError());
        if (n == 0)
            break;
        write({block.data(), n});
    }
}

void TemporaryFile::finish(bool durable)
{
    if (durable && !calls_.flushFileBuffers(handle_.get()))
        fail(lastError());
    if (const unsigned long error = handle_.close())
        fail(windowsError(error));
}

bool TemporaryFile::replace(const fs::path& place)
{
    for (int poll = 0;; ++poll) {
        if (calls_.moveFile(path_.c_str(), place.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
            placed_ = true;
            return true;
        }
        const DWORD error = GetLastError();
        if (!heldByAnother(calls_, place, error))
            fail(windowsError(error));
        if (poll == kHeldPolls)
            return false;
        calls_.pause(kHeldPoll);
    }
}

bool TemporaryFile::placeWhereNone(const fs::path& place)
{
    if (calls_.moveFile(path_.c_str(), place.c_str(), MOVEFILE_WRITE_THROUGH)) {
        placed_ = true;
        return true;
    }
    const DWORD error = GetLastError();
    if (error == ERROR_ALREADY_EXISTS || error == ERROR_FILE_EXISTS)
        return false;
    fail(windowsError(error));
}

}  // namespace logweave
