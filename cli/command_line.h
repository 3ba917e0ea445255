#pragma once
// The batch front end's command line: options first, then commands run in order.

#include "logweave/conflict.h"
#include "logweave/output_options.h"

#include <optional>
#include <string>
#include <variant>
#include <vector>

namespace logweave::cli {

struct Command {
    enum class Kind { Open, Add, Filter, WsjtxUpdate };
    Kind kind;
    std::vector<std::string> arguments;
};

struct CommandLine {
    std::optional<std::string> folder;  // --folder; none: the program folder the window works in
    OutputOptions options;
    bool fieldOrderInFolder = false;  // neither --order nor --no-order: the folder's own list
    std::optional<ContactMatch> sameContact;  // --match, which wins over a rule saved in Logweave.cfg
    ConflictSide conflict = ConflictSide::Open;
    std::optional<unsigned> threads;  // --threads; none: the machine's
    std::vector<Command> commands;
    bool help = false;
    bool version = false;
};

struct UsageError {
    std::string message;
};

std::variant<CommandLine, UsageError> parseCommandLine(const std::vector<std::string>& arguments);

// The program folder settled, the options that depend on it are set.
void useFolder(CommandLine& line, const std::string& folder);

extern const char* const kUsage;

}  // namespace logweave::cli
