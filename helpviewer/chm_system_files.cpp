#include "helpviewer/chm_system_files.h"

#include <algorithm>

namespace logweave::helpviewer {
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
constexpr std::size_t kValidFields = 0x0C;
constexpr std::size_t kCaption = 0x14;
constexpr std::size_t kContents = 0x60;
constexpr std::size_t kIndex = 0x64;
constexpr std::size_t kDefault = 0x68;
constexpr std::size_t kHome = 0x6C;
constexpr std::size_t kShortestEntry = 0x70;
constexpr std::size_t kButtons = 0x70;
// The bit of the valid fields that says the buttons were given.
constexpr std::uint32_t kButtonsGiven = 0x100;

std::optional<std::uint32_t> buttonsOf(std::string_view entry)
{
    if (entry.size() < kButtons + 4 || (littleEndian(entry, kValidFields, 4) & kButtonsGiven) == 0)
        return std::nullopt;
    return littleEndian(entry, kButtons, 4);
}

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
        types.push_back({text(kName), text(kCaption), text(kContents), text(kIndex), text(kDefault), text(kHome),
                         buttonsOf(entry)});
    }
    return types;
}

std::map<std::int32_t, std::string> parseContextIds(std::string_view ivb, std::string_view strings)
{
    std::map<std::int32_t, std::string> pages;
    if (ivb.size() < 4)
        return pages;
    // The length of what follows, then pairs of a context number and a #STRINGS offset.
    const std::size_t end = std::min<std::size_t>(ivb.size(), 4 + std::size_t{littleEndian(ivb, 0, 4)});
    for (std::size_t at = 4; at + 8 <= end; at += 8) {
        std::string page = stringAt(strings, littleEndian(ivb, at + 4, 4));
        if (!page.empty())
            pages.emplace(static_cast<std::int32_t>(littleEndian(ivb, at, 4)), std::move(page));
    }
    return pages;
}

}  // namespace logweave::helpviewer
