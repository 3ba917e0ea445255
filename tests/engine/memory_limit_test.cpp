// A log too large for the memory there is: the operation stops with one pane
// paragraph that names the file, the store keeps what it held, and no file is
// half-written. Run for real, in a child process whose address space is
// limited; the cli's tests open such a log.

#include "engine_fixture.h"
#include "sanitizers.h"

#include <cstdio>
#include <fstream>
#if defined(__GLIBC__)
#include <malloc.h>
#endif
#ifndef _WIN32
#include <sys/resource.h>
#endif

namespace logweave::testing {
namespace {

#ifndef _WIN32

std::size_t addressSpaceInUse()
{
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.starts_with("VmSize:"))
            return std::stoull(line.substr(7)) * 1024;
    return 0;
}

// In the child: `operation`, with only `more` bytes of address space beyond
// what is in use; the checks after it have all they need.
template <typename Operation>
auto withOnly(std::size_t more, Operation operation)
{
#if defined(__GLIBC__)
    malloc_trim(0);  // what earlier tests freed is not memory to count on
#endif
    rlimit limits{};
    getrlimit(RLIMIT_AS, &limits);
    const rlim_t unlimited = limits.rlim_cur;
    limits.rlim_cur = addressSpaceInUse() + more;
    setrlimit(RLIMIT_AS, &limits);
    const auto result = operation();
    limits.rlim_cur = unlimited;
    setrlimit(RLIMIT_AS, &limits);
    return result;
}

// Ends the child: 0 when every check held, else 1, each failed one named on the
// error output, which the parent shows.
[[noreturn]] void exitNamingFailures(std::initializer_list<std::pair<const char*, bool>> checks)
{
    int failed = 0;
    for (const auto& [check, held] : checks) {
        if (!held) {
            std::fprintf(stderr, "failed: %s\n", check);
            ++failed;
        }
    }
    std::_Exit(failed == 0 ? 0 : 1);
}

#endif

using MemoryLimitTest = EngineTest;

TEST_F(MemoryLimitTest, AMergeStopsCleanlyAndKeepsTheOpenLog)
{
#ifdef _WIN32
    GTEST_SKIP() << "Windows: no RLIMIT_AS to limit the memory; a job object's limit, the nearest, "
                    "is not enforced under Wine";
#else
    if (kAddressSanitizer)
        GTEST_SKIP() << "the address sanitizer reserves more address space than a limit leaves";
    // A child that starts afresh: what earlier tests left (a thread's malloc
    // arena, freed pages) would change how far the limit lets the merge go.
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    ASSERT_EQ(open("<CALL:5>Q1AAA <QSO_DATE:8>20230101 <TIME_ON:4>1000 <EOR>\n"), Outcome::Done);
    const auto path = folder.writeLargeLog("big.adi", 24);
    folder.write("Logweave.adi", "earlier merge");
    ui.pane.clear();
    const auto inTheChild = [&] {
        const Outcome outcome =
            withOnly(std::size_t{32} << 20, [&] { return mergeAddedLog(store, session, path.string(), ui.options); });
        std::size_t temporaryFiles = 0;
        for (const auto& entry : std::filesystem::directory_iterator(folder.path()))
            temporaryFiles += entry.path().filename().string().starts_with(".") ? 1 : 0;
        exitNamingFailures({
            {"the merge stopped", outcome == Outcome::Stopped},
            // Wherever it stopped, the last paragraph says why, and no count came before it.
            {"the pane ends with the reason", ui.pane.ends_with(pane::tooLargeForMemory(path.string()))},
            {"no count in the pane", ui.pane.find("enregistrements") == std::string::npos},
            {"the earlier merge kept", folder.read("Logweave.adi") == "earlier merge"},
            {"no temporary file left", temporaryFiles == 0},
            {"the open log kept", store.openRecordCount() == 1},
        });
    };
    EXPECT_EXIT(inTheChild(), ::testing::ExitedWithCode(0), "");
#endif
}

}  // namespace
}  // namespace logweave::testing
