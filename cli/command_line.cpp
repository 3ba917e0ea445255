#include "command_line.h"

#include "logweave/file_system.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <optional>
#include <string_view>

namespace logweave::cli {

const char* const kUsage =
    "usage: logweave-cli [--folder DIR] [--order FILE | --no-order] [--upper] [--double]\n"
    "                    [--header added|open|program] [--conflict open|added|both]\n"
    "                    [--match exact|window[=MINUTES]] [--threads N]\n"
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
    "  --folder DIR     the program folder: results are written there, Logweave.cfg\n"
    "                   and the field order lists read there (--folder . for the\n"
    "                   current folder); default: the one logweave works in, the\n"
#ifdef _WIN32
    "                   folder of logweave-cli when it can be written and is not\n"
    "                   in Program Files, else %APPDATA%\\Logweave, given the\n"
    "                   installed field order lists at first use\n"
#else
    "                   folder of logweave-cli when it can be written, else\n"
    "                   $XDG_DATA_HOME/Logweave or ~/.local/share/Logweave, given\n"
    "                   the installed field order lists at first use\n"
#endif
    "  --order FILE     field order list (default: DIR/AdifCodes_Liste.txt)\n"
    "  --no-order       no field order list\n"
    "  --upper          field names and end tags in upper case\n"
    "  --double         an empty line after the header and every record\n"
    "  --header SOURCE  header of merged and filtered files: added (default), open, program\n"
    "  --conflict WHICH value kept where two records of a contact differ:\n"
    "                   open (default), added, or both joined by a blank\n"
    "  --match RULE     what is one contact: exact (the same QSO_DATE and TIME_ON,\n"
    "                   the default), or window: the same call, band and mode\n"
    "                   started within 30 minutes (window=MINUTES for another span)\n"
    "  --threads N      share the work of big logs among at most N threads\n"
    "                   (default: as many as the machine runs at once)\n";

namespace {

struct Parsing {
    CommandLine line;
    std::optional<std::string> order;
    bool noOrder = false;
};

using Apply = std::optional<UsageError> (*)(Parsing&, std::string_view value);

struct Option {
    std::string_view name;
    bool takesValue;
    Apply apply;
};

std::optional<UsageError> refused(std::string_view option, std::string_view takes, std::string_view value)
{
    return UsageError{std::string(option) + " takes " + std::string(takes) + ", not '" + std::string(value) + "'"};
}

std::optional<UsageError> header(Parsing& p, std::string_view value)
{
    constexpr std::array<std::pair<std::string_view, HeaderSource>, 3> sources{
        {{"added", HeaderSource::AddedLog}, {"open", HeaderSource::OpenLog}, {"program", HeaderSource::Program}}};
    for (const auto& [word, source] : sources)
        if (value == word) {
            p.line.options.headerSource = source;
            return std::nullopt;
        }
    return refused("--header", "added, open or program", value);
}

std::optional<UsageError> conflict(Parsing& p, std::string_view value)
{
    constexpr std::array<std::pair<std::string_view, ConflictSide>, 3> sides{
        {{"open", ConflictSide::Open}, {"added", ConflictSide::Added}, {"both", ConflictSide::Both}}};
    for (const auto& [word, side] : sides)
        if (value == word) {
            p.line.conflict = side;
            return std::nullopt;
        }
    return refused("--conflict", "open, added or both", value);
}

std::optional<UsageError> match(Parsing& p, std::string_view value)
{
    if (value == "exact") {
        p.line.sameContact = ContactMatch{};
        return std::nullopt;
    }
    std::optional<int> minutes = ContactMatch{}.minutes;
    if (value.starts_with("window="))
        minutes = windowMinutes(value.substr(7));
    else if (value != "window")
        minutes.reset();
    if (!minutes)
        return refused("--match", "exact, window or window=MINUTES", value);
    p.line.sameContact = ContactMatch{ContactRule::Window, *minutes};
    return std::nullopt;
}

std::optional<UsageError> threads(Parsing& p, std::string_view value)
{
    unsigned count = 0;
    const auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), count);
    if (error != std::errc{} || end != value.data() + value.size() || count == 0 || count > 256)
        return refused("--threads", "a number from 1 to 256", value);
    p.line.threads = count;
    return std::nullopt;
}

constexpr std::array<Option, 12> kOptions{{
    {"--help", false, [](Parsing& p, std::string_view) { p.line.help = true; return std::optional<UsageError>{}; }},
    {"-h", false, [](Parsing& p, std::string_view) { p.line.help = true; return std::optional<UsageError>{}; }},
    {"--version", false, [](Parsing& p, std::string_view) { p.line.version = true; return std::optional<UsageError>{}; }},
    {"--upper", false, [](Parsing& p, std::string_view) { p.line.options.upperCaseNames = true; return std::optional<UsageError>{}; }},
    {"--double", false, [](Parsing& p, std::string_view) { p.line.options.doubleSpacing = true; return std::optional<UsageError>{}; }},
    {"--no-order", false, [](Parsing& p, std::string_view) { p.noOrder = true; return std::optional<UsageError>{}; }},
    {"--folder", true, [](Parsing& p, std::string_view v) { p.line.folder = std::string(v); return std::optional<UsageError>{}; }},
    {"--order", true, [](Parsing& p, std::string_view v) { p.order = std::string(v); return std::optional<UsageError>{}; }},
    {"--header", true, header},
    {"--conflict", true, conflict},
    {"--match", true, match},
    {"--threads", true, threads},
}};

std::optional<Command::Kind> commandNamed(std::string_view word)
{
    constexpr std::array<std::pair<std::string_view, Command::Kind>, 4> kinds{
        {{"open", Command::Kind::Open}, {"add", Command::Kind::Add}, {"filter", Command::Kind::Filter},
         {"wsjtx-update", Command::Kind::WsjtxUpdate}}};
    for (const auto& [name, kind] : kinds)
        if (word == name)
            return kind;
    return std::nullopt;
}

// The options, up to the first word that is not one; `i` is left on it.
std::optional<UsageError> readOptions(const std::vector<std::string>& arguments, std::size_t& i, Parsing& p)
{
    for (; i < arguments.size(); ++i) {
        const std::string& a = arguments[i];
        if (a.empty() || a.front() != '-' || a == "-")
            return std::nullopt;
        const auto option = std::find_if(kOptions.begin(), kOptions.end(), [&a](const Option& o) { return o.name == a; });
        if (option == kOptions.end())
            return UsageError{"unknown option '" + a + "'"};
        std::string_view value;
        if (option->takesValue) {
            if (i + 1 >= arguments.size())
                return UsageError{a + " needs a value"};
            value = arguments[++i];
        }
        if (auto error = option->apply(p, value))
            return error;
    }
    return std::nullopt;
}

std::optional<UsageError> settleFieldOrder(Parsing& p)
{
    if (p.order && p.noOrder)
        return UsageError{"--order and --no-order exclude each other"};
    if (p.noOrder)
        p.line.options.fieldOrderFile.clear();
    else if (p.order)
        p.line.options.fieldOrderFile = *p.order;
    else
        p.line.fieldOrderInFolder = true;
    return std::nullopt;
}

// One command and its arguments from `i`; the update takes two paths or none.
std::variant<Command, UsageError> readCommand(const std::vector<std::string>& arguments, std::size_t& i)
{
    const auto kind = commandNamed(arguments[i]);
    if (!kind)
        return UsageError{"unknown command '" + arguments[i] + "'"};
    Command command{*kind, {}};
    const std::string& word = arguments[i++];
    if (*kind != Command::Kind::WsjtxUpdate) {
        if (i >= arguments.size())
            return UsageError{"'" + word + "' needs an argument"};
        command.arguments = {arguments[i++]};
        return command;
    }
    if (i >= arguments.size() || commandNamed(arguments[i]))
        return command;
    if (i + 1 >= arguments.size() || commandNamed(arguments[i + 1]))
        return UsageError{"wsjtx-update takes two paths or none"};
    command.arguments = {arguments[i], arguments[i + 1]};
    i += 2;
    if (command.arguments[0].empty() || command.arguments[1].empty())
        return UsageError{"wsjtx-update needs two paths that are not empty"};
    return command;
}

// Refused before anything runs: a script then knows that nothing was done.
std::optional<UsageError> checkOrder(const std::vector<Command>& commands)
{
    if (commands.empty())
        return UsageError{"no command given"};
    bool logOpen = false;
    for (const auto& command : commands) {
        logOpen = logOpen || command.kind == Command::Kind::Open;
        if ((command.kind == Command::Kind::Add || command.kind == Command::Kind::Filter) && !logOpen)
            return UsageError{std::string(command.kind == Command::Kind::Add ? "add" : "filter")
                              + " needs a log: put 'open LOG' before it"};
    }
    return std::nullopt;
}

}  // namespace

void useFolder(CommandLine& line, const std::string& folder)
{
    line.folder = folder;
    if (line.fieldOrderInFolder)
        // Through the engine's own conversions: on Windows string() is not UTF-8 both ways.
        line.options.fieldOrderFile = bytesFromPath(pathFromBytes(folder) / "AdifCodes_Liste.txt");
}

std::variant<CommandLine, UsageError> parseCommandLine(const std::vector<std::string>& arguments)
{
    Parsing p;
    std::size_t i = 0;
    if (auto error = readOptions(arguments, i, p))
        return *error;
    if (p.line.help || p.line.version)
        return p.line;
    if (auto error = settleFieldOrder(p))
        return *error;
    while (i < arguments.size()) {
        auto command = readCommand(arguments, i);
        if (auto* error = std::get_if<UsageError>(&command))
            return *error;
        p.line.commands.push_back(std::get<Command>(std::move(command)));
    }
    if (auto error = checkOrder(p.line.commands))
        return *error;
    return p.line;
}

}  // namespace logweave::cli
