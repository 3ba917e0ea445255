#pragma once
// Access to the program's help file through the platform's help viewer.
// Names are UTF-8.

#include "platform/help_viewer.h"

#include <cstdint>
#include <optional>
#include <string>

namespace logweave::dialogs {

class HelpFile {
public:
    explicit HelpFile(platform::HelpViewer& viewer) : viewer_(viewer) {}

    // The table of contents, or the topic of a context number.
    void showContents(const std::string& file, const std::optional<std::string>& windowType = std::nullopt,
                      std::optional<std::int32_t> contextId = std::nullopt);
    void showIndex(const std::string& file, const std::optional<std::string>& windowType = std::nullopt);
    void showSearch(const std::string& file, const std::optional<std::string>& windowType = std::nullopt);

private:
    platform::HelpViewer& viewer_;
};

// The file string: the file, then ">" and the window type when one is named.
std::string helpFileString(const std::string& file, const std::optional<std::string>& windowType);

}  // namespace logweave::dialogs
