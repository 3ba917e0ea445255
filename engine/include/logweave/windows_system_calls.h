#pragma once
// The Windows calls the file system makes, each replaceable by a test as on
// other systems. Paths are UTF-16; a call that fails leaves its error where
// GetLastError finds it. <windows.h> stays out: its macros would reach every
// file that includes the engine's headers.

#include <chrono>
#include <cstdint>
#include <functional>

namespace logweave {

// Windows' own types, by their sizes: HANDLE, DWORD, BOOL.
using WinHandle = void*;
using WinDword = unsigned long;
using WinBool = int;

// What GetFileInformationByHandle and GetFileType tell of an open file.
struct WinFileInformation {
    WinDword attributes = 0;
    WinDword type = 0;  // FILE_TYPE_DISK for a file on a disk
    std::uint64_t size = 0;
    std::int64_t lastWriteNanoseconds = 0;  // since 1970
    std::uint64_t volume = 0;
    std::uint64_t index = 0;  // the file's number on its volume
};

struct SystemCalls {
    // CreateFileW without security attributes or template.
    std::function<WinHandle(const wchar_t* path, WinDword access, WinDword share, WinDword disposition,
                            WinDword flags)>
        createFile;
    std::function<WinBool(WinHandle file, void* data, WinDword size, WinDword* read)> readFile;
    std::function<WinBool(WinHandle file, const void* data, WinDword size, WinDword* written)> writeFile;
    // SetFilePointerEx.
    std::function<WinBool(WinHandle file, std::int64_t distance, WinDword method, std::int64_t* position)> seek;
    std::function<WinBool(WinHandle file)> flushFileBuffers;
    std::function<WinBool(WinHandle file)> closeHandle;
    std::function<WinBool(WinHandle file, WinFileInformation* information)> fileInformation;
    // GetFileAttributesW: INVALID_FILE_ATTRIBUTES when there is nothing there.
    std::function<WinDword(const wchar_t* path)> fileAttributes;
    // MoveFileExW.
    std::function<WinBool(const wchar_t* from, const wchar_t* to, WinDword flags)> moveFile;
    std::function<WinBool(const wchar_t* link, const wchar_t* existing)> createHardLink;
    std::function<WinBool(const wchar_t* path)> deleteFile;
    // Whether another program holds the file open for writing.
    std::function<bool(const wchar_t* path)> openForWritingElsewhere;
    // Lets other programs finish what they are writing.
    std::function<void(std::chrono::milliseconds)> pause;

    static SystemCalls real();
};

}  // namespace logweave
