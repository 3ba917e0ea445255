#include "shell/command_line.h"

namespace logweave::shell {

const char* const kWindowUsage =
    "Usage: logweave [FILE]\n"
    "Opens the ADIF log FILE with the options as last saved, or starts with no log open.\n"
    "\n"
    "  --help     print this help and exit\n"
    "  --version  print the version and exit\n"
    "\n"
    "logweave-cli is the batch front end: logweave-cli --help.\n";

std::optional<WindowCommandLine> parseWindowCommandLine(const std::vector<std::string>& arguments,
                                                        std::string& error)
{
    WindowCommandLine line;
    bool optionsEnded = false;
    for (const std::string& argument : arguments) {
        if (!optionsEnded && argument == "--") {
            optionsEnded = true;
        } else if (!optionsEnded && (argument == "--help" || argument == "-h")) {
            line.help = true;
        } else if (!optionsEnded && argument == "--version") {
            line.version = true;
        } else if (!optionsEnded && argument.size() > 1 && argument[0] == '-') {
            error = "unknown option: " + argument;
            return std::nullopt;
        } else if (line.log) {
            error = "one log at most: " + argument;
            return std::nullopt;
        } else {
            line.log = argument;
        }
    }
    return line;
}

}  // namespace logweave::shell
