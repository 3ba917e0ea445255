#include "logweave/file_system.h"

namespace logweave {

FileError::FileError(Action action, std::filesystem::path path, std::string reason)
    : std::runtime_error(path.string() + ": " + reason),
      action_(action), path_(std::move(path)), reason_(std::move(reason))
{
}

std::filesystem::path pathFromBytes(std::string_view bytes)
{
#ifdef _WIN32
    return std::filesystem::path(std::u8string(bytes.begin(), bytes.end()));
#else
    return std::filesystem::path(std::string(bytes));
#endif
}

std::string bytesFromPath(const std::filesystem::path& path)
{
#ifdef _WIN32
    const auto u8 = path.u8string();
    return std::string(u8.begin(), u8.end());
#else
    return path.native();
#endif
}

}  // namespace logweave
