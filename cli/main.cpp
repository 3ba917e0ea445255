// logweave-cli: the program's work without windows, for scripts and scheduled jobs.

#include "batch_interface.h"
#include "command_line.h"
#include "logweave/automation_config.h"
#include "logweave/filter_open_log.h"
#include "logweave/load_output_options.h"
#include "logweave/log_store.h"
#include "logweave/merge_added_log.h"
#include "logweave/read_open_log.h"
#include "logweave/std_file_system.h"
#include "logweave/update_wsjtx_log.h"
#include "logweave/version.h"

#include <cstdio>
#include <string>
#include <vector>

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
    Runner(Session& session, const cli::CommandLine& line) : session_(session), line_(line) {}

    int run(const cli::Command& command)
    {
        // The command line gives open, add and filter their one argument.
        switch (command.kind) {
        case cli::Command::Kind::Open:
            return open(command.arguments.front());
        case cli::Command::Kind::Add:
            session_.store.AddedLogPath = command.arguments.front();
            return status(mergeAddedLog(session_, command.arguments.front(), line_.sameContact.value_or(ContactMatch{})));
        case cli::Command::Kind::Filter:
            return status(filterOpenLog(session_, command.arguments.front()));
        case cli::Command::Kind::WsjtxUpdate:
            return wsjtxUpdate(command.arguments);
        }
        return kUsageError;
    }

private:
    int open(const std::string& path)
    {
        reviewOutputOptions(session_);
        session_.store.OpenLogPath = path;
        return status(readOpenLog(session_, path));
    }

    int wsjtxUpdate(const std::vector<std::string>& paths)
    {
        if (!paths.empty())
            return status(updateWsjtxLog(session_, {paths[0], paths[1], line_.sameContact.value_or(ContactMatch{})}));
        LogStore& store = session_.store;
        const auto saved =
            readAutomationFile(session_.files, store.programFolder, {store.logToUpdate, store.logToMerge, {}});
        if (!saved || saved->logToUpdate.empty() || saved->logToMerge.empty())
            return 0;  // nothing to update, as at a start without the file
        // The window reads them from the program folder, its current folder.
        store.logToUpdate = inProgramFolder(saved->logToUpdate);
        store.logToMerge = inProgramFolder(saved->logToMerge);
        const ContactMatch rule = line_.sameContact.value_or(saved->sameContact);
        return status(updateWsjtxLog(session_, {store.logToUpdate, store.logToMerge, rule}));
    }

    std::string inProgramFolder(const std::string& path) const
    {
        const auto p = pathFromBytes(path);
        return p.is_absolute() ? path : bytesFromPath(session_.store.programFolder / p);
    }

    Session& session_;
    const cli::CommandLine& line_;
};

int runCommands(const cli::CommandLine& line)
{
    LogStore store;
    store.programFolder = pathFromBytes(line.folder);
    cli::BatchInterface ui(line.options, line.conflict, stdout);
    StdFileSystem files;
    Session session{store, ui, files};
    Runner runner(session, line);
    int result = 0;
    for (const auto& command : line.commands) {
        if (result = runner.run(command); result != 0)
            break;
    }
    return std::fflush(stdout) == 0 ? result : kStopped;
}

}  // namespace

int main(int argc, char** argv)
{
    const auto parsed = cli::parseCommandLine(std::vector<std::string>(argv + 1, argv + argc));
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
