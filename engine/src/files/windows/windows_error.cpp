#include "files/windows/windows_error.h"

#include <windows.h>

#include <string>

namespace logweave {
namespace {

class WindowsCategory final : public std::error_category {
public:
    const char* name() const noexcept override { return "windows"; }
    std::string message(int error) const override
    {
        switch (static_cast<DWORD>(error)) {
        case ERROR_SHARING_VIOLATION:
            return "another program has it open";
        case ERROR_LOCK_VIOLATION:
            return "another program has locked part of it";
        default:
            break;
        }
        // The system's own sentence, without its full stop and line end.
        std::string text = std::system_category().message(error);
        while (!text.empty() && (text.back() == '\n' || text.back() == '\r' || text.back() == ' ' || text.back() == '.'))
            text.pop_back();
        return text;
    }
};

const WindowsCategory& windowsCategory() noexcept
{
    static const WindowsCategory category;
    return category;
}

}  // namespace

std::error_code windowsError(unsigned long error) noexcept
{
    switch (error) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_DRIVE:
    case ERROR_BAD_NETPATH:
    case ERROR_BAD_NET_NAME:
        return std::make_error_code(std::errc::no_such_file_or_directory);
    case ERROR_ACCESS_DENIED:
        return std::make_error_code(std::errc::permission_denied);
    case ERROR_WRITE_PROTECT:
        return std::make_error_code(std::errc::read_only_file_system);
    case ERROR_FILE_EXISTS:
    case ERROR_ALREADY_EXISTS:
        return std::make_error_code(std::errc::file_exists);
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
        return std::make_error_code(std::errc::no_space_on_device);
    case ERROR_NOT_SAME_DEVICE:
        return std::make_error_code(std::errc::cross_device_link);
    case ERROR_NOT_ENOUGH_MEMORY:
    case ERROR_OUTOFMEMORY:
        return std::make_error_code(std::errc::not_enough_memory);
    case ERROR_TOO_MANY_OPEN_FILES:
        return std::make_error_code(std::errc::too_many_files_open);
    case ERROR_CRC:
    case ERROR_READ_FAULT:
    case ERROR_WRITE_FAULT:
    case ERROR_GEN_FAILURE:
        return std::make_error_code(std::errc::io_error);
    default:
        return {static_cast<int>(error), windowsCategory()};
    }
}

std::error_code lastError() noexcept
{
    return windowsError(GetLastError());
}

std::error_code heldOpenError() noexcept
{
    return windowsError(ERROR_SHARING_VIOLATION);
}

bool isSharingError(unsigned long error) noexcept
{
    return error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION;
}

}  // namespace logweave
