#include "command_line.h"

#include <filesystem>
#include <string_view>

namespace logweave::cli {

const char* const kUsage =
    "usage: logweave-cli [--folder DIR] [--order FILE | --no-order] [--upper] [--double]\n"
    "                    [--header added|open|program] [--conflict open|added|both]\n"
    "                    COMMAND [ARG] [COMMAND [ARG] ...]\n"
    "\n"
    "commands, run in the order given on one log:\n"
    "  open LOG                       read LOG as the open log\n"
    "  add LOG                        merge LOG into the open log\n"
    "  filter EXPR                    split the open log by FIELD:VALUE;FIELD:VALUE\n"
    "  wsjtx-update [TO_UPDATE TO_MERGE]\n"
    "                                 bring TO_MERGE into the WSJT-X log TO_UPDATE;\n"
    "                                 without paths, as named in DIR/Logweave.cfg\n"
    "\n"
    "options:\n"
    "  --folder DIR     the program folder: results are written there (default: .)\n"
    "  --order FILE     field order list (default: DIR/AdifCodes_Liste.txt)\n"
    "  --no-order       no field order list\n"
    "  --upper          field names and end tags in upper case\n"
    "  --double         an empty line after the header and every record\n"
    "  --header SOURCE  header of merged and filtered files: added (default), open, program\n"
    "  --conflict WHICH value kept where two records of a contact differ:\n"
    "                   open (default), added, or both joined by a blank\n";

namespace {

std::optional<Command::Kind> commandNamed(std::string_view word)
{
    if (word == "open")
        return Command::Kind::Open;
    if (word == "add")
        return Command::Kind::Add;
    if (word == "filter")
        return Command::Kind::Filter;
    if (word == "wsjtx-update")
        return Command::Kind::WsjtxUpdate;
    return std::nullopt;
}

}  // namespace

std::optional<CommandLine> parseCommandLine(const std::vector<std::string>& arguments, std::string& error)
{
    CommandLine line;
    std::optional<std::string> order;
    bool noOrder = false;
    std::size_t i = 0;
    const auto valueOf = [&](std::string_view option) -> std::optional<std::string> {
        if (i + 1 >= arguments.size()) {
            error = std::string(option) + " needs a value";
            return std::nullopt;
        }
        return arguments[++i];
    };

    for (; i < arguments.size(); ++i) {
        const std::string& a = arguments[i];
        if (a.empty() || a.front() != '-' || a == "-")
            break;
        if (a == "--help" || a == "-h") {
            line.help = true;
        } else if (a == "--version") {
            line.version = true;
        } else if (a == "--upper") {
            line.options.UpperCaseNames = true;
        } else if (a == "--double") {
            line.options.DoubleSpacing = true;
        } else if (a == "--no-order") {
            noOrder = true;
        } else if (a == "--folder" || a == "--order" || a == "--header" || a == "--conflict") {
            const auto value = valueOf(a);
            if (!value)
                return std::nullopt;
            if (a == "--folder") {
                line.folder = *value;
            } else if (a == "--order") {
                order = *value;
            } else if (a == "--header") {
                if (*value == "added")
                    line.options.headerSource = HeaderSource::AddedLog;
                else if (*value == "open")
                    line.options.headerSource = HeaderSource::OpenLog;
                else if (*value == "program")
                    line.options.headerSource = HeaderSource::Program;
                else {
                    error = "--header takes added, open or program, not '" + *value + "'";
                    return std::nullopt;
                }
            } else {
                if (*value == "open")
                    line.conflict = ConflictPolicy::Open;
                else if (*value == "added")
                    line.conflict = ConflictPolicy::Added;
                else if (*value == "both")
                    line.conflict = ConflictPolicy::Both;
                else {
                    error = "--conflict takes open, added or both, not '" + *value + "'";
                    return std::nullopt;
                }
            }
        } else {
            error = "unknown option '" + a + "'";
            return std::nullopt;
        }
    }
    if (line.help || line.version)
        return line;
    if (order && noOrder) {
        error = "--order and --no-order exclude each other";
        return std::nullopt;
    }
    if (noOrder)
        line.options.FieldOrderFile.clear();
    else if (order)
        line.options.FieldOrderFile = *order;
    else
        line.options.FieldOrderFile = (std::filesystem::path(line.folder) / "AdifCodes_Liste.txt").string();

    while (i < arguments.size()) {
        const auto kind = commandNamed(arguments[i]);
        if (!kind) {
            error = "unknown command '" + arguments[i] + "'";
            return std::nullopt;
        }
        Command command{*kind, {}};
        ++i;
        if (*kind == Command::Kind::WsjtxUpdate) {
            // Either two paths or none (then the configuration file names them).
            const bool pathsFollow = i < arguments.size() && !commandNamed(arguments[i]);
            if (pathsFollow) {
                if (i + 1 >= arguments.size() || commandNamed(arguments[i + 1])) {
                    error = "wsjtx-update takes two paths or none";
                    return std::nullopt;
                }
                command.arguments = {arguments[i], arguments[i + 1]};
                i += 2;
            }
        } else {
            if (i >= arguments.size()) {
                error = "'" + arguments[i - 1] + "' needs an argument";
                return std::nullopt;
            }
            command.arguments = {arguments[i++]};
        }
        line.commands.push_back(std::move(command));
    }
    if (line.commands.empty()) {
        error = "no command given";
        return std::nullopt;
    }
    // Refused before anything runs: a script then knows that nothing was done.
    bool logOpen = false;
    for (const auto& command : line.commands) {
        logOpen = logOpen || command.kind == Command::Kind::Open;
        if ((command.kind == Command::Kind::Add || command.kind == Command::Kind::Filter) && !logOpen) {
            error = std::string(command.kind == Command::Kind::Add ? "add" : "filter")
                + " needs a log: put 'open LOG' before it";
            return std::nullopt;
        }
        if (command.kind == Command::Kind::WsjtxUpdate && !command.arguments.empty()
            && (command.arguments[0].empty() || command.arguments[1].empty())) {
            error = "wsjtx-update needs two paths that are not empty";
            return std::nullopt;
        }
    }
    return line;
}

}  // namespace logweave::cli
