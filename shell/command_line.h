#pragma once
// The windowed program's command line: a log to open, or a question answered
// on standard output before any window is made.

#include <optional>
#include <string>
#include <vector>

namespace logweave::shell {

struct WindowCommandLine {
    bool help = false;
    bool version = false;
    std::optional<std::string> log;  // bytes, as given
};

// nullopt with `error` set when the line cannot be read.
std::optional<WindowCommandLine> parseWindowCommandLine(const std::vector<std::string>& arguments,
                                                        std::string& error);

extern const char* const kWindowUsage;

}  // namespace logweave::shell
