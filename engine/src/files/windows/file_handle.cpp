#include "files/windows/file_handle.h"

#include "files/windows/windows_error.h"

#include <windows.h>

#include <atomic>
#include <cwctype>
#include <string>
#include <utility>

namespace logweave {
namespace fs = std::filesystem;

FileHandle::FileHandle(const SystemCalls& calls, WinHandle handle) noexcept : calls_(&calls), handle_(handle) {}

FileHandle::~FileHandle()
{
    // Dropped on the way out of a failure: the error that failure left is the one reported.
    const DWORD error = GetLastError();
    static_cast<void>(close());
    SetLastError(error);
}

FileHandle& FileHandle::operator=(FileHandle&& other) noexcept
{
    if (this != &other) {
        static_cast<void>(close());
        calls_ = other.calls_;
        handle_ = other.release();
    }
    return *this;
}

FileHandle::operator bool() const noexcept
{
    return handle_ != INVALID_HANDLE_VALUE;
}

WinHandle FileHandle::release() noexcept
{
    return std::exchange(handle_, INVALID_HANDLE_VALUE);
}

unsigned long FileHandle::close() noexcept
{
    if (handle_ == INVALID_HANDLE_VALUE)
        return 0;
    return calls_->closeHandle(release()) ? 0 : GetLastError();
}

FileHandle openFile(const SystemCalls& calls, const fs::path& path, unsigned long access, unsigned long share,
                    unsigned long disposition, unsigned long flags)
{
    for (int poll = 0;; ++poll) {
        FileHandle handle(calls, calls.createFile(path.c_str(), access, share, disposition,
                                                  flags == 0 ? FILE_ATTRIBUTE_NORMAL : flags));
        if (handle || !isSharingError(GetLastError()) || poll == kHeldPolls)
            return handle;
        calls.pause(kHeldPoll);
    }
}

bool isDeviceName(const fs::path& path)
{
    const std::wstring& text = path.native();
    if (text.starts_with(L"\\\\.\\") || text.starts_with(L"//./"))
        return true;
    // "NUL.adi" names the device too, and trailing blanks go.
    std::wstring stem = path.filename().native();
    stem = stem.substr(0, stem.find(L'.'));
    while (!stem.empty() && stem.back() == L' ')
        stem.pop_back();
    for (wchar_t& c : stem)
        c = static_cast<wchar_t>(std::towupper(c));
    if (stem == L"CON" || stem == L"PRN" || stem == L"AUX" || stem == L"NUL" || stem == L"CONIN$"
        || stem == L"CONOUT$")
        return true;
    return stem.size() == 4 && (stem.starts_with(L"COM") || stem.starts_with(L"LPT")) && stem[3] >= L'1'
        && stem[3] <= L'9';
}

FileHandle openRegularFile(const SystemCalls& calls, const fs::path& path, FileError::Action action)
{
    const auto refuse = [&](std::error_code why) { throw FileError(action, path, why); };
    if (isDeviceName(path))
        refuse(NotRegularFile::Device);
    const DWORD attributes = calls.fileAttributes(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES)
        refuse(lastError());
    if (attributes & FILE_ATTRIBUTE_DIRECTORY)
        refuse(NotRegularFile::Folder);
    FileHandle handle = openFile(calls, path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                 OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN);
    if (!handle)
        refuse(lastError());
    // Another file may have taken the name meanwhile: what was opened is looked at again.
    WinFileInformation information;
    if (!calls.fileInformation(handle.get(), &information))
        refuse(lastError());
    if (information.attributes & FILE_ATTRIBUTE_DIRECTORY)
        refuse(NotRegularFile::Folder);
    if (information.type == FILE_TYPE_PIPE)
        refuse(NotRegularFile::NamedPipe);
    if (information.type == FILE_TYPE_CHAR)
        refuse(NotRegularFile::Device);
    if (information.type != FILE_TYPE_DISK)
        refuse(NotRegularFile::Other);
    return handle;
}

std::optional<FileId> fileIdOf(const SystemCalls& calls, const fs::path& path)
{
    // Attributes only: no other program's hold forbids that.
    const FileHandle handle(calls, calls.createFile(path.c_str(), FILE_READ_ATTRIBUTES,
                                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                                    OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS));
    WinFileInformation information;
    if (!handle || !calls.fileInformation(handle.get(), &information))
        return std::nullopt;
    return FileId{information.volume, information.index};
}

fs::path besideName(const fs::path& target, const wchar_t* suffix)
{
    static std::atomic<unsigned long long> made{0};
    // Unlikely to be taken: this process, the time, and a count; a taken one is tried again by the caller.
    unsigned long long seed = (static_cast<unsigned long long>(GetCurrentProcessId()) << 32) ^ GetTickCount64()
        ^ (++made * 0x9E3779B97F4A7C15ULL);
    std::wstring mark;
    for (int i = 0; i < 6; ++i, seed /= 36)
        mark += L"0123456789abcdefghijklmnopqrstuvwxyz"[seed % 36];
    return folderOf(target) / (L"." + target.filename().native() + L"." + mark + suffix);
}

}  // namespace logweave
