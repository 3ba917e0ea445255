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

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#if defined(__GLIBC__)
#include <malloc.h>
#include <sys/mman.h>
#include <unistd.h>
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

// A run reads whole logs and builds whole files: one large heap, kept once
// freed and backed by huge pages where the system offers them, costs far
// fewer first touches of memory than many small pages do.
void prepareHeap()
{
#if defined(__GLIBC__) && defined(MADV_HUGEPAGE)
    constexpr std::size_t kHeap = std::size_t{256} << 20;
    constexpr std::uintptr_t kHugePage = std::uintptr_t{2} << 20;
    mallopt(M_MMAP_THRESHOLD, 32 << 20);
    mallopt(M_TRIM_THRESHOLD, static_cast<int>(kHeap));
    mallopt(M_TOP_PAD, static_cast<int>(kHeap));
    const auto start = reinterpret_cast<std::uintptr_t>(sbrk(0));
    void* volatile grow = std::malloc(std::size_t{1} << 20);  // grows the heap by the pad; kept from the optimiser
    std::free(grow);
    const auto end = reinterpret_cast<std::uintptr_t>(sbrk(0));
    const std::uintptr_t aligned = (start + kHugePage - 1) & ~(kHugePage - 1);
    if (end > aligned)
        madvise(reinterpret_cast<void*>(aligned), end - aligned, MADV_HUGEPAGE);
#endif
}

struct Runner {
    Session& session;

    int run(const cli::Command& command)
    {
        switch (command.kind) {
        case cli::Command::Kind::Open:
            return open(command.arguments.front());
        case cli::Command::Kind::Add:
            return add(command.arguments.front());
        case cli::Command::Kind::Filter:
            return filter(command.arguments.front());
        case cli::Command::Kind::WsjtxUpdate:
            return wsjtxUpdate(command.arguments);
        }
        return kUsageError;
    }

    int open(const std::string& path)
    {
        LoadOutputOptions(session);
        session.store.OpenLogPath = path;
        session.store.DialogFileName = path;
        return status(ReadOpenLog(session, path));
    }

    int add(const std::string& path)
    {
        session.store.AddedLogPath = path;
        session.store.DialogFileName = path;
        return status(MergeAddedLog(session, path));
    }

    int filter(const std::string& expression) { return status(FilterOpenLog(session, expression)); }

    int wsjtxUpdate(const std::vector<std::string>& paths)
    {
        LogStore& store = session.store;
        if (paths.empty()) {
            const auto saved = readAutomationFile(session.files, store.programFolder, {store.FicToUpdate, store.FicToMerge, {}});
            if (!saved || saved->FicToUpdate.empty() || saved->FicToMerge.empty())
                return 0;  // nothing to update, as at a start without the file
            // The window reads them from the program folder, its current folder.
            store.FicToUpdate = inProgramFolder(saved->FicToUpdate);
            store.FicToMerge = inProgramFolder(saved->FicToMerge);
        } else {
            store.FicToUpdate = paths[0];
            store.FicToMerge = paths[1];
        }
        return status(UpdateWsjtxLog(session));
    }

    std::string inProgramFolder(const std::string& path) const
    {
        const auto p = pathFromBytes(path);
        return p.is_absolute() ? path : bytesFromPath(session.store.programFolder / p);
    }

    static int status(Outcome outcome) { return outcome == Outcome::Done ? 0 : kStopped; }
};

}  // namespace

int main(int argc, char** argv)
{
    prepareHeap();
    std::string error;
    const auto line = cli::parseCommandLine(std::vector<std::string>(argv + 1, argv + argc), error);
    if (!line)
        return usageError(error);
    if (line->help) {
        std::fputs(cli::kUsage, stdout);
        return 0;
    }
    if (line->version) {
        std::puts("logweave-cli " LOGWEAVE_VERSION);
        return 0;
    }

    LogStore store;
    store.programFolder = pathFromBytes(line->folder);
    cli::BatchInterface ui(line->options, line->conflict, stdout);
    StdFileSystem files;
    Session session{store, ui, files};
    Runner runner{session};
    int status = 0;
    for (const auto& command : line->commands) {
        if (status = runner.run(command); status != 0)
            break;
    }
    if (std::fflush(stdout) != 0)
        status = kStopped;
    // Every file is written and closed: the system takes back the log's memory
    // at once, faster than taking the store apart record by record.
    std::_Exit(status);
}
