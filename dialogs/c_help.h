#pragma once
// Access to the program's help file through the platform's help viewer.

#include "platform/help_viewer.h"

#include <cstdint>
#include <optional>
#include <string>

namespace logweave::dialogs {

class CHelp {
public:
    explicit CHelp(platform::HelpViewer& viewer) : viewer_(viewer) {}

    // The table of contents, or the topic of a context number.
    void Show(const std::string& NewFile, const std::optional<std::string>& WindowPane = std::nullopt,
              std::optional<std::int32_t> ContextID = std::nullopt);
    void ShowIndex(const std::string& NewFile, const std::optional<std::string>& WindowPane = std::nullopt);
    void ShowSearch(const std::string& NewFile, const std::optional<std::string>& WindowPane = std::nullopt);

private:
    platform::HelpViewer& viewer_;
};

// The file string: the file, then ">" and the window type when one is named.
std::string helpFileString(const std::string& file, const std::optional<std::string>& windowPane);

}  // namespace logweave::dialogs
