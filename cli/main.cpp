// logweave-cli: the program's work without windows, for scripts and scheduled jobs.

#include "batch_interface.h"
#include "command_line.h"
#include "interrupt.h"
#include "logweave/operations.h"
#include "logweave/pane_texts.h"
#include "logweave/program_folder.h"
#include "logweave/std_file_system.h"
#include "logweave/version.h"
#include "progress_bar.h"
#include "terminal.h"

#include <cstdio>
#include <optional>
#include <string>
#include <vector>
#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <windows.h>
#endif

namespace {

using namespace logweave;

constexpr int kStopped = 1;
constexpr int kUsageError = 2;

int usageError(const std::string& message)
{
    std::fprintf(stderr, "logweave-cli: %s\n\n%s", message.c_str(), cli::kUsage);
    return kUsageError;
}

int status(Outcome outcome)
{
    return outcome == Outcome::Done ? 0 : kStopped;
}

class Runner {
public:
    Runner(LogStore& store, const Session& session, const cli::CommandLine& line)
        : store_(store), session_(session), line_(line)
    {
    }

    // `last` when no command follows.
    int run(const cli::Command& command, bool last)
    {
        // Ctrl+C between two commands stops the next one before it starts.
        if (session_.ui.cancelRequested()) {
            session_.ui.appendToPane(pane::cancelled());
            return kStopped;
        }
        // The command line gives open, add and filter their one argument.
        const OutputOptions& options = line_.options;
        switch (command.kind) {
        case cli::Command::Kind::Open:
            return status(readOpenLog(store_, session_, command.arguments.front(), reviewOutputOptions(session_.ui)));
        case cli::Command::Kind::Add:
            // Nothing reads the merged log once the last command is done.
            return status(mergeAddedLog(store_, session_, command.arguments.front(), withRule(options),
                                        last ? AfterMerge::CloseLogs : AfterMerge::OpenMergedLog));
        case cli::Command::Kind::Filter:
            return status(filterOpenLog(store_, session_, command.arguments.front(), options));
        case cli::Command::Kind::WsjtxUpdate:
            return wsjtxUpdate(command.arguments);
        }
        return kUsageError;
    }

private:
    OutputOptions withRule(OutputOptions options) const
    {
        options.sameContact = line_.sameContact.value_or(ContactMatch{});
        return options;
    }

    int wsjtxUpdate(const std::vector<std::string>& paths)
    {
        if (paths.empty())
            return status(runSavedUpdate(store_, session_, line_.options, line_.sameContact));
        return status(updateWsjtxLog(store_, session_, {paths[0], paths[1], withRule(line_.options)}));
    }

    LogStore& store_;
    const Session& session_;
    const cli::CommandLine& line_;
};

// The window's program folder, unless --folder names another. Settled only
// when there is work, so that --help makes no folder.
std::string programFolder(const cli::CommandLine& line, FileSystem& files)
{
    if (line.folder)
        return *line.folder;
    // As the window finds its own, links followed: /usr/bin/logweave-cli is in /usr/lib/logweave.
    return bytesFromPath(settleProgramFolder(files, executableFolder(), systemUserDataFolder()).path);
}

// Each command in turn, up to the first that fails or that Ctrl+C (or SIGTERM,
// SIGHUP) stops; a command done when it came keeps its files, and none after it runs.
int runEach(Runner& runner, const std::vector<cli::Command>& commands, cli::ProgressBar* bar)
{
    for (const auto& command : commands) {
        const int result = runner.run(command, &command == &commands.back());
        if (bar)
            bar->clear();
        if (result != 0)
            return cli::interruptRequested() ? cli::interruptedStatus() : result;
    }
    return 0;
}

int runCommands(cli::CommandLine line)
{
    cli::catchInterrupts();
    StdFileSystem files;
    cli::useFolder(line, programFolder(line, files));
    LogStore store;
    std::optional<cli::ProgressBar> bar;
    if (cli::isTerminal(stderr))
        bar.emplace(stderr);
    cli::ProgressBar* const shown = bar ? &*bar : nullptr;
    cli::BatchInterface ui(line.options, line.conflict, stdout, shown);
    const Session session{ui, files, pathFromBytes(*line.folder), line.threads.value_or(machineThreads())};
    Runner runner(store, session, line);
    const int result = runEach(runner, line.commands, shown);
    if (std::fflush(stdout) != 0 && result == 0)
        return kStopped;
    return result;
}

}  // namespace

int main(int argc, char** argv)
{
#ifdef _WIN32
    // The pane's texts are UTF-8 and end their lines as the program's files
    // do: written as they are, to a console too.
    SetConsoleOutputCP(CP_UTF8);
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);
#endif
    const auto parsed = cli::parseCommandLine(argumentsAsBytes(argc, argv));
    if (const auto* error = std::get_if<cli::UsageError>(&parsed))
        return usageError(error->message);
    const auto& line = std::get<cli::CommandLine>(parsed);
    if (line.help) {
        std::fputs(cli::kUsage, stdout);
        return 0;
    }
    if (line.version) {
        std::printf("logweave-cli %s\n", kVersion);
        return 0;
    }
    return runCommands(line);
}
