#pragma once
// The system files of a compiled help file that say how to show it: #SYSTEM
// (title, contents and index files, default topic and window type) and
// #WINDOWS with #STRINGS (the window types and their captions).

#include <string>
#include <string_view>
#include <vector>

namespace logweave::platform {

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
};

// Damaged or short files give what could be read, never an error.
ChmSystemInfo parseSystemFile(std::string_view system);
std::vector<ChmWindowType> parseWindowTypes(std::string_view windows, std::string_view strings);

}  // namespace logweave::platform
