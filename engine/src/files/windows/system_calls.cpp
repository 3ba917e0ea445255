#include "logweave/system_calls.h"

#include <windows.h>

#include <thread>
#include <type_traits>

namespace logweave {
namespace {

static_assert(std::is_same_v<WinHandle, HANDLE> && std::is_same_v<WinDword, DWORD> && std::is_same_v<WinBool, BOOL>);

// FILETIME counts 100 ns from 1601.
constexpr std::int64_t kFrom1601To1970 = 116444736000000000LL;

WinBool informationOf(WinHandle file, WinFileInformation* information)
{
    BY_HANDLE_FILE_INFORMATION by{};
    if (!GetFileInformationByHandle(file, &by))
        return FALSE;
    const auto join = [](DWORD high, DWORD low) { return (static_cast<std::uint64_t>(high) << 32) | low; };
    information->attributes = by.dwFileAttributes;
    information->size = join(by.nFileSizeHigh, by.nFileSizeLow);
    const auto written = static_cast<std::int64_t>(join(by.ftLastWriteTime.dwHighDateTime, by.ftLastWriteTime.dwLowDateTime));
    information->lastWriteNanoseconds = (written - kFrom1601To1970) * 100;
    information->volume = by.dwVolumeSerialNumber;
    information->index = join(by.nFileIndexHigh, by.nFileIndexLow);
    SetLastError(NO_ERROR);
    information->type = GetFileType(file);
    return information->type != FILE_TYPE_UNKNOWN || GetLastError() == NO_ERROR;
}

// There is no list of who holds a file as /proc gives one. Opening it while
// denying others the right to write fails exactly while some handle holds it
// for writing (or keeps everyone out); the engine's own handles only read, so
// an exclusive open, which they would fail too, is no test. The open is
// closed at once: for that moment another program could not open the file
// for writing.
bool openForWritingByAnotherProgram(const wchar_t* path)
{
    const HANDLE probe = CreateFileW(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                     FILE_ATTRIBUTE_NORMAL, nullptr);
    if (probe != INVALID_HANDLE_VALUE) {
        CloseHandle(probe);
        return false;
    }
    return GetLastError() == ERROR_SHARING_VIOLATION;
}

}  // namespace

SystemCalls SystemCalls::real()
{
    SystemCalls calls;
    calls.createFile = [](const wchar_t* path, DWORD access, DWORD share, DWORD disposition, DWORD flags) {
        return CreateFileW(path, access, share, nullptr, disposition, flags, nullptr);
    };
    calls.readFile = [](HANDLE file, void* data, DWORD size, DWORD* read) {
        return ReadFile(file, data, size, read, nullptr);
    };
    calls.writeFile = [](HANDLE file, const void* data, DWORD size, DWORD* written) {
        return WriteFile(file, data, size, written, nullptr);
    };
    calls.seek = [](HANDLE file, std::int64_t distance, DWORD method, std::int64_t* position) {
        LARGE_INTEGER to{};
        to.QuadPart = distance;
        LARGE_INTEGER at{};
        const BOOL done = SetFilePointerEx(file, to, &at, method);
        if (done && position != nullptr)
            *position = at.QuadPart;
        return done;
    };
    calls.flushFileBuffers = [](HANDLE file) { return FlushFileBuffers(file); };
    calls.closeHandle = [](HANDLE file) { return CloseHandle(file); };
    calls.fileInformation = &informationOf;
    calls.fileAttributes = [](const wchar_t* path) { return GetFileAttributesW(path); };
    calls.moveFile = [](const wchar_t* from, const wchar_t* to, DWORD flags) { return MoveFileExW(from, to, flags); };
    calls.createHardLink = [](const wchar_t* link, const wchar_t* existing) {
        return CreateHardLinkW(link, existing, nullptr);
    };
    calls.deleteFile = [](const wchar_t* path) { return DeleteFileW(path); };
    calls.openForWritingElsewhere = &openForWritingByAnotherProgram;
    calls.pause = [](std::chrono::milliseconds time) { std::this_thread::sleep_for(time); };
    return calls;
}

}  // namespace logweave
