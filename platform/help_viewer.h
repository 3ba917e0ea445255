#pragma once
// The help viewer receives one request: a help file (with ">" and the window
// type it names, when one is given), a command and its data.

#include <cstdint>
#include <optional>
#include <string>

namespace logweave::platform {

enum class HelpCommand : int {
    DisplayToc = 1,
    DisplayIndex = 2,
    DisplaySearch = 3,
    HelpContext = 15,
};

// What a full-text search asks for.
struct HelpSearchQuery {
    int structSize = 32;
    bool unicode = false;
    std::string query;
    long proximity = 0;
    bool stemmedSearch = false;
    bool titleOnly = false;
    bool execute = true;
    std::string windowName;
    bool operator==(const HelpSearchQuery&) const = default;
};

struct HelpRequest {
    std::string file;
    HelpCommand command = HelpCommand::DisplayToc;
    std::int32_t data = 0;
    std::optional<HelpSearchQuery> search;
    bool operator==(const HelpRequest&) const = default;
};

class Settings;

class HelpViewer {
public:
    virtual ~HelpViewer() = default;
    virtual void show(const HelpRequest& request) = 0;
    // Where a window of the viewer's own finds the size and place it was
    // closed at, and leaves them; a viewer without one keeps nothing.
    virtual void keepPlaceIn(Settings& /*settings*/) {}
};

}  // namespace logweave::platform
