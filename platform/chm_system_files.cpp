#include "platform/chm_system_files.h"

#include <cstdint>

namespace logweave::platform {
namespace {

std::uint32_t littleEndian(std::string_view bytes, std::size_t at, std::size_t width)
{
    std::uint32_t value = 0;
    for (std::size_t i = width; i-- > 0;)
        value = (value << 8) | static_cast<unsigned char>(bytes[at + i]);
    return value;
}

// Text up to the first NUL, or the whole field when it has none.
std::string untilNul(std::string_view bytes)
{
    return std::string(bytes.substr(0, bytes.find('\0')));
}

std::string stringAt(std::string_view strings, std::uint32_t offset)
{
    // Offset 0 is the empty string every #STRINGS file starts with.
    if (offset == 0 || offset >= strings.size())
        return {};
    return untilNul(strings.substr(offset));
}

// Where the fields of a window type entry lie.
constexpr std::size_t kName = 0x08;
constexpr std::size_t kCaption = 0x14;
constexpr std::size_t kContents = 0x60;
constexpr std::size_t kIndex = 0x64;
constexpr std::size_t kDefault = 0x68;
constexpr std::size_t kHome = 0x6C;
constexpr std::size_t kShortestEntry = 0x70;

}  // namespace

ChmSystemInfo parseSystemFile(std::string_view system)
{
    ChmSystemInfo info;
    // A version number, then entries of a 16-bit code, a 16-bit length and the data.
    std::size_t at = 4;
    while (at + 4 <= system.size()) {
        const auto code = littleEndian(system, at, 2);
        const auto length = littleEndian(system, at + 2, 2);
        at += 4;
        if (length > system.size() - at)
            break;
        const std::string_view data = system.substr(at, length);
        at += length;
        switch (code) {
        case 0: info.contentsFile = untilNul(data); break;
        case 1: info.indexFile = untilNul(data); break;
        case 2: info.defaultTopic = untilNul(data); break;
        case 3: info.title = untilNul(data); break;
        case 5: info.defaultWindow = untilNul(data); break;
        default: break;
        }
    }
    return info;
}

std::vector<ChmWindowType> parseWindowTypes(std::string_view windows, std::string_view strings)
{
    std::vector<ChmWindowType> types;
    if (windows.size() < 8)
        return types;
    const std::uint32_t count = littleEndian(windows, 0, 4);
    const std::uint32_t entrySize = littleEndian(windows, 4, 4);
    if (entrySize < kShortestEntry)
        return types;
    for (std::uint32_t i = 0; i < count; ++i) {
        const std::size_t start = 8 + std::size_t{i} * entrySize;
        if (start + entrySize > windows.size())
            break;
        const std::string_view entry = windows.substr(start, entrySize);
        const auto text = [&](std::size_t field) { return stringAt(strings, littleEndian(entry, field, 4)); };
        types.push_back({text(kName), text(kCaption), text(kContents), text(kIndex), text(kDefault), text(kHome)});
    }
    return types;
}

}  // namespace logweave::platform
