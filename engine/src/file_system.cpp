#include "logweave/file_system.h"

#include "logweave/text.h"

namespace logweave {

FileError::FileError(Action action, std::filesystem::path path, std::error_code code)
    : std::system_error(code, path.string()), action_(action), path_(std::move(path))
{
}

std::error_code systemError(int error) noexcept
{
    return {error, std::generic_category()};
}

void FileSystem::writeFile(const std::filesystem::path& path, std::string_view content)
{
    const auto batch = writeFiles({path});
    batch->file(0).write(content);
    batch->commit();
}

std::optional<std::filesystem::path> findIgnoringCase(FileSystem& files, const std::filesystem::path& folder,
                                                      std::string_view name)
{
    std::optional<std::string> found;
    for (const std::string& entry : files.fileNames(folder)) {
        if (!equalsIgnoringCase(entry, name))
            continue;
        if (entry == name)
            return folder / entry;
        if (!found || entry < *found)
            found = entry;
    }
    if (!found)
        return std::nullopt;
    return folder / *found;
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
