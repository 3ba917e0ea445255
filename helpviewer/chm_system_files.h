#pragma once
// The system files of a compiled help file that say how to show it: #SYSTEM
// (title, contents and index files, default topic and window type), #WINDOWS
// with #STRINGS (the window types, their captions and buttons) and #IVB with
// #STRINGS (the pages of context numbers).

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace logweave::helpviewer {

struct ChmSystemInfo {
    std::string contentsFile;
    std::string indexFile;
    std::string defaultTopic;
    std::string title;
    std::string defaultWindow;
};

struct ChmWindowType {
    std::string name;
    std::string caption;
    std::string contentsFile;
    std::string indexFile;
    std::string defaultFile;
    std::string homeFile;
    // The tool bar buttons, as flags, when the file records them.
    std::optional<std::uint32_t> buttons;
};

// What the buttons flags of a window type mean.
namespace ChmButton {
inline constexpr std::uint32_t Back = 0x4;
inline constexpr std::uint32_t Forward = 0x8;
inline constexpr std::uint32_t Home = 0x40;
inline constexpr std::uint32_t Print = 0x2000;
}  // namespace ChmButton

// Damaged or short files give what could be read, never an error.
ChmSystemInfo parseSystemFile(std::string_view system);
std::vector<ChmWindowType> parseWindowTypes(std::string_view windows, std::string_view strings);
// Context number to the file name of its page, as the help project wrote it.
std::map<std::int32_t, std::string> parseContextIds(std::string_view ivb, std::string_view strings);

}  // namespace logweave::helpviewer
