#include "logweave/file_system.h"

#include "logweave/text.h"

#include <algorithm>
#ifdef _WIN32
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#endif

namespace logweave {

FileError::FileError(Action action, std::filesystem::path path, std::error_code code)
    : std::system_error(code, bytesFromPath(path)), action_(action), path_(std::move(path))
{
}

std::error_code systemError(int error) noexcept
{
    return {error, std::generic_category()};
}

namespace {

class LiveFileCategory final : public std::error_category {
public:
    const char* name() const noexcept override { return "live file"; }
    std::string message(int error) const override
    {
        switch (static_cast<LiveFileError>(error)) {
        case LiveFileError::Replaced:
            return "another file took its place while it was read";
        case LiveFileError::Rewritten:
            return "it was rewritten while it was read";
        case LiveFileError::HeldForWriting:
            return "another program keeps it open for writing";
        case LiveFileError::StillWritten:
            return "another program still writes into the file it replaced";
        }
        return "changed while it was read";
    }
};

class NotRegularFileCategory final : public std::error_category {
public:
    const char* name() const noexcept override { return "not a regular file"; }
    std::string message(int kind) const override
    {
        switch (static_cast<NotRegularFile>(kind)) {
        case NotRegularFile::Folder:
            return "not a regular file but a folder";
        case NotRegularFile::NamedPipe:
            return "not a regular file but a named pipe";
        case NotRegularFile::Device:
            return "not a regular file but a device";
        case NotRegularFile::Socket:
            return "not a regular file but a socket";
        case NotRegularFile::Other:
            break;
        }
        return "not a regular file";
    }
};

}  // namespace

const std::error_category& notRegularFileCategory() noexcept
{
    static const NotRegularFileCategory category;
    return category;
}

std::error_code make_error_code(NotRegularFile kind) noexcept
{
    return {static_cast<int>(kind), notRegularFileCategory()};
}

const std::error_category& liveFileCategory() noexcept
{
    static const LiveFileCategory category;
    return category;
}

std::error_code make_error_code(LiveFileError error) noexcept
{
    return {static_cast<int>(error), liveFileCategory()};
}

std::size_t FileReader::readInPieces(char* into, std::size_t size, std::size_t /*pieces*/)
{
    std::size_t done = 0;
    while (done < size) {
        const std::size_t n = read(into + done, size - done);
        if (n == 0)
            break;
        done += n;
    }
    return done;
}

Bytes readAll(FileReader& file, std::size_t expected, unsigned threads, const std::function<void(std::size_t)>& readSoFar)
{
    // Read in pieces so that a large file shows its progress, and may be cancelled, as it comes.
    constexpr std::size_t kPiece = std::size_t{16} << 20;
    std::size_t pieces = std::max(1u, threads);
    // One byte of room more than expected: the read that finds the end needs no larger buffer.
    Bytes bytes(expected + 1);
    std::size_t filled = 0;
    for (;;) {
        if (filled == bytes.size()) {
            Bytes larger(bytes.size() + bytes.size() / 2 + 65536);  // the file grew
            std::copy(bytes.data(), bytes.data() + filled, larger.data());
            bytes = std::move(larger);
        }
        const std::size_t room = bytes.size() - filled;
        std::size_t n = 0;
        if (pieces > 1 && room > kPiece * pieces) {
            n = file.readInPieces(bytes.data() + filled, kPiece * pieces, pieces);
            if (n < kPiece * pieces)
                pieces = 1;  // the file ended early: read finds where
        } else {
            n = file.read(bytes.data() + filled, std::min(kPiece, room));
            if (n == 0)
                break;
        }
        filled += n;
        if (readSoFar)
            readSoFar(filled);
    }
    bytes.shrink(filled);
    return bytes;
}

Bytes FileSystem::readFile(const std::filesystem::path& path, unsigned threads)
{
    const auto file = openForReading(path);
    return readAll(*file, file->stamp().size, threads);
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

std::filesystem::path folderOf(const std::filesystem::path& path)
{
    const std::filesystem::path parent = path.parent_path();
    return parent.empty() ? std::filesystem::path(".") : parent;
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

#ifdef _WIN32
std::vector<std::string> argumentsAsBytes(int, char**)
{
    int count = 0;
    wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &count);
    std::vector<std::string> words;
    for (int i = 1; wide != nullptr && i < count; ++i) {
        const int size = WideCharToMultiByte(CP_UTF8, 0, wide[i], -1, nullptr, 0, nullptr, nullptr);
        std::string word(static_cast<std::size_t>(std::max(size, 1)), '\0');
        WideCharToMultiByte(CP_UTF8, 0, wide[i], -1, word.data(), size, nullptr, nullptr);
        word.pop_back();  // its terminating null
        words.push_back(std::move(word));
    }
    LocalFree(wide);
    return words;
}
#else
std::vector<std::string> argumentsAsBytes(int argc, char** argv)
{
    return {argv + 1, argv + argc};
}
#endif

}  // namespace logweave
