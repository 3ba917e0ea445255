#pragma once
// The batch front end's command line: options first, then commands run in order.

#include "logweave/conflict.h"
#include "logweave/output_options.h"

#include <optional>
#include <string>
#include <vector>

namespace logweave::cli {

using ConflictPolicy = ConflictSide;

struct Command {
    enum class Kind { Open, Add, Filter, WsjtxUpdate };
    Kind kind;
    std::vector<std::string> arguments;
};

struct CommandLine {
    std::string folder = ".";
    OutputOptions options;
    ConflictPolicy conflict = ConflictPolicy::Open;
    std::vector<Command> commands;
    bool help = false;
    bool version = false;
};

// nullopt after writing what is wrong into `error`.
std::optional<CommandLine> parseCommandLine(const std::vector<std::string>& arguments, std::string& error);

extern const char* const kUsage;

}  // namespace logweave::cli
