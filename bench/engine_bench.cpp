// The engine's operations on generated logs of 20,000, 200,000 and 1,000,000
// records; each case runs at the three sizes and gets a complexity fit. Each
// also reports x_baseline: its mean time as a multiple of reading the same
// file(s) into memory and counting their '<', timed in this process, so that
// figures from different machines or loads can be compared.

#include "count_of.h"
#include "family_fits.h"
#include "log_generator.h"
#include "temporary_folder.h"
#include "workbench.h"

#include "logweave/filter_expression.h"
#include "logweave/operations.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
#include <fcntl.h>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <stdexcept>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

using namespace logweave;
using testing::countOf;
using testing::TemporaryFolder;
using testing::Workbench;
namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

constexpr std::uint64_t kSeed = 1;
constexpr std::array<long long, 3> kSizes{20000, 200000, 1000000};
constexpr std::string_view kFilter = "BAND:20M;MODE:FT8";

// The generated logs, each written when a case first needs it, in a
// temporary folder removed at the end: a filtered run makes only its own.
class Workspace {
public:
    struct Log {
        fs::path path;
        bench::LogFacts facts;
    };
    struct Pair {
        fs::path open;
        fs::path added;
        bench::PairFacts facts;
    };

    const Log& log(bench::Layout layout, long long records)
    {
        const auto key = std::pair{layout, records};
        if (const auto it = logs_.find(key); it != logs_.end())
            return it->second;
        const fs::path path = folder_ / (std::string(bench::layoutName(layout)) + "-" + std::to_string(records) + ".adi");
        return logs_[key] = {path, bench::writeLogFile(path, kSeed, records, layout)};
    }

    const Pair& pair(long long records)
    {
        if (const auto it = pairs_.find(records); it != pairs_.end())
            return it->second;
        const std::string each = std::to_string(records);
        const fs::path a = folder_ / ("merge_a-" + each + ".adi");
        const fs::path b = folder_ / ("merge_b-" + each + ".adi");
        return pairs_[records] = {a, b, bench::writeMergePairFiles(a, b, kSeed, records)};
    }

    // A program folder of its own for each case and size, so that a check
    // never reads another case's output; the Workbench makes it.
    fs::path programFolder(const std::string& name, long long records) const
    {
        return folder_ / ("out-" + name + "-" + std::to_string(records));
    }

private:
    TemporaryFolder folder_;
    std::map<std::pair<bench::Layout, long long>, Log> logs_;
    std::map<long long, Pair> pairs_;
};

// The baseline's reads: plain POSIX reads of the whole file into `into`; the bytes read.
std::size_t readInto(const fs::path& path, char* into, std::size_t size)
{
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        throw std::runtime_error("cannot read " + path.string());
    std::size_t filled = 0;
    while (filled < size) {
        const ssize_t n = ::read(fd, into + filled, size - filled);
        if (n <= 0)
            break;
        filled += static_cast<std::size_t>(n);
    }
    ::close(fd);
    return filled;
}

// Into memory not cleared first, as the engine's reader reads a log.
std::size_t readAndCount(const fs::path& path)
{
    const auto size = static_cast<std::size_t>(fs::file_size(path));
    const auto bytes = std::make_unique_for_overwrite<char[]>(size);
    const std::size_t filled = readInto(path, bytes.get(), size);
    return static_cast<std::size_t>(std::count(bytes.get(), bytes.get() + filled, '<'));
}

double secondsSince(Clock::time_point start)
{
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// Median of reads of `files`, taken once per set of files and process: as
// many as fit in about a second, no fewer than 5 nor more than 51.
double baselineSeconds(const std::vector<fs::path>& files)
{
    static std::map<std::vector<fs::path>, double> measured;
    if (const auto it = measured.find(files); it != measured.end())
        return it->second;
    constexpr int kWarmUp = 2;
    std::vector<double> runs;
    const auto budget = Clock::now() + std::chrono::seconds(1);
    for (int i = 0; i < kWarmUp + 51 && (runs.size() < 5 || Clock::now() < budget); ++i) {
        const auto start = Clock::now();
        for (const auto& file : files)
            benchmark::DoNotOptimize(readAndCount(file));
        if (i >= kWarmUp)
            runs.push_back(secondsSince(start));
    }
    const auto middle = runs.begin() + static_cast<std::ptrdiff_t>(runs.size() / 2);
    std::nth_element(runs.begin(), middle, runs.end());
    return measured[files] = *middle;
}

std::int64_t totalBytes(const std::vector<fs::path>& files)
{
    std::int64_t bytes = 0;
    for (const auto& file : files)
        bytes += static_cast<std::int64_t>(fs::file_size(file));
    return bytes;
}

// Runs `step` once per iteration, with the timers paused: it times its
// operation with timed(), and returns those seconds, or a negative number
// after a failed check (it has called SkipWithError). Setting up and tearing
// down stay out of both the reported time and the CPU time.
void measure(benchmark::State& state, const std::vector<fs::path>& files, const std::function<double()>& step)
{
    const double baseline = baselineSeconds(files);
    double total = 0;
    for (auto _ : state) {
        state.PauseTiming();
        const double seconds = step();
        if (seconds < 0)
            return;
        state.ResumeTiming();
        state.SetIterationTime(seconds);
        total += seconds;
    }
    state.SetComplexityN(state.range(0));
    state.SetBytesProcessed(state.iterations() * totalBytes(files));
    state.counters["baseline_ms"] = baseline * 1e3;
    state.counters["x_baseline"] = total / static_cast<double>(state.iterations()) / baseline;
}

// The earlier writes reach the disk first, so that their dirty pages do not
// throttle the writes timed.
template <typename Operation>
double timed(benchmark::State& state, Operation&& operation)
{
    ::sync();
    state.ResumeTiming();
    const auto start = Clock::now();
    operation();
    const double seconds = secondsSince(start);
    state.PauseTiming();
    return seconds;
}

bool anyCheckFailed = false;
std::string lastFailure;

// For a failed check: the case reports `why` instead of figures, and the
// program's exit status says so.
double skip(benchmark::State& state, const std::string& why)
{
    state.SkipWithError(why.c_str());
    anyCheckFailed = true;
    lastFailure = why;
    return -1;
}

std::string counted(long long found, long long wanted, const char* what)
{
    return std::to_string(found) + " " + what + ", not " + std::to_string(wanted);
}

// Whether `file` holds `records` records in the layout the program writes.
bool holdsRecords(benchmark::State& state, const fs::path& file, long long records)
{
    const long long found = countOf(testing::readBytes(file), "<eor>\r\n");
    if (found == records)
        return true;
    skip(state, file.filename().string() + " holds " + counted(found, records, "records"));
    return false;
}

// The pane's last line: why an operation stopped.
std::string lastLine(std::string_view pane)
{
    while (!pane.empty() && (pane.back() == '\n' || pane.back() == '\r'))
        pane.remove_suffix(1);
    const auto cut = pane.find_last_of('\n');
    return std::string(cut == std::string_view::npos ? pane : pane.substr(cut + 1));
}

void readCase(benchmark::State& state, Workspace& ws, bench::Layout layout)
{
    const long long records = state.range(0);
    const fs::path log = ws.log(layout, records).path;
    const fs::path folder = ws.programFolder("read-" + std::string(bench::layoutName(layout)), records);
    measure(state, {log}, [&] {
        Workbench w(folder);
        Outcome outcome{};
        const double seconds =
            timed(state, [&] { outcome = readOpenLog(w.store, w.session, bytesFromPath(log), w.ui.options); });
        if (outcome != Outcome::Done)
            return skip(state, "the read stopped: " + lastLine(w.ui.pane));
        if (w.store.openRecordCount() != records)
            return skip(state, "read " + counted(w.store.openRecordCount(), records, "records"));
        return seconds;
    });
    if (!state.error_occurred())
        holdsRecords(state, folder / "Adif_File.adi", records);
}

// What a merge of the pair must have done; empty when it did.
std::string mergeFault(Outcome outcome, const Workbench& w, const bench::PairFacts& facts)
{
    if (outcome != Outcome::Done)
        return "the merge stopped: " + lastLine(w.ui.pane);
    if (w.store.openRecordCount() != facts.mergedRecords)
        return "merged " + counted(w.store.openRecordCount(), facts.mergedRecords, "records");
    const auto settled = static_cast<long long>(w.ui.conflicts.size());
    if (settled != facts.differingFields)
        return counted(settled, facts.differingFields, "conflicts settled");
    return {};
}

void mergeCase(benchmark::State& state, Workspace& ws, const ContactMatch& rule, const std::string& name)
{
    const long long records = state.range(0);
    const Workspace::Pair& pair = ws.pair(records);
    const fs::path folder = ws.programFolder("merge-" + name, records);
    measure(state, {pair.open, pair.added}, [&] {
        Workbench w(folder);
        if (readOpenLog(w.store, w.session, bytesFromPath(pair.open), w.ui.options) != Outcome::Done)
            return skip(state, "the open log was not read: " + lastLine(w.ui.pane));
        Outcome outcome{};
        OutputOptions options = w.ui.options;
        options.sameContact = rule;
        const double seconds = timed(
            state, [&] { outcome = mergeAddedLog(w.store, w.session, bytesFromPath(pair.added), options); });
        if (const std::string fault = mergeFault(outcome, w, pair.facts); !fault.empty())
            return skip(state, fault);
        return seconds;
    });
    if (!state.error_occurred())
        holdsRecords(state, folder / "Logweave.adi", pair.facts.mergedRecords);
}

void filterCase(benchmark::State& state, Workspace& ws)
{
    const long long records = state.range(0);
    const Workspace::Log& log = ws.log(bench::Layout::Shuffled, records);
    Workbench w(ws.programFolder("filter", records));
    if (readOpenLog(w.store, w.session, bytesFromPath(log.path), w.ui.options) != Outcome::Done) {
        skip(state, "the log was not read: " + lastLine(w.ui.pane));
        return;
    }
    measure(state, {log.path}, [&] {
        Outcome outcome{};
        const double seconds =
            timed(state, [&] { outcome = filterOpenLog(w.store, w.session, kFilter, w.ui.options); });
        return outcome == Outcome::Done ? seconds : skip(state, "the filter stopped: " + lastLine(w.ui.pane));
    });
    const fs::path& out = w.session.programFolder;
    if (!state.error_occurred() && holdsRecords(state, out / "Adif_Filtre2.adi", log.facts.filterMatches))
        holdsRecords(state, out / "Adif_Filtre1.adi", records - log.facts.filterMatches);
}

using Case = std::function<void(benchmark::State&)>;

// A case at every size, with a complexity fit where the filter leaves two sizes or more.
void registerCase(bench::FamilyFits& fits, const std::string& family, Case body)
{
    const auto run = [&fits, family, body = std::move(body)](benchmark::State& state) {
        lastFailure.clear();
        body(state);
        fits.ran(family, state.range(0), lastFailure);
    };
    benchmark::internal::Benchmark* b = benchmark::RegisterBenchmark(family.c_str(), run);
    for (const long long records : kSizes)
        b->Arg(records);
    b->UseManualTime()->Unit(benchmark::kMillisecond);
    if (fits.fitted(family, "/manual_time", kSizes))
        b->Complexity(benchmark::oNLogN);
}

void registerCases(Workspace& ws, bench::FamilyFits& fits)
{
    for (const auto layout : {bench::Layout::Shuffled, bench::Layout::Sorted, bench::Layout::FieldPerLine})
        registerCase(fits, "readOpenLog/" + std::string(bench::layoutName(layout)),
                     [&ws, layout](benchmark::State& s) { readCase(s, ws, layout); });
    registerCase(fits, "mergeAddedLog/exact", [&ws](benchmark::State& s) { mergeCase(s, ws, {}, "exact"); });
    registerCase(fits, "mergeAddedLog/window",
                 [&ws](benchmark::State& s) { mergeCase(s, ws, {ContactRule::Window, 30}, "window"); });
    registerCase(fits, "filterOpenLog/BAND:20M;MODE:FT8", [&ws](benchmark::State& s) { filterCase(s, ws); });
}

}  // namespace

int main(int argc, char** argv)
{
    bench::FamilyFits fits(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    try {
        static Workspace ws;  // its logs are removed on a stop by std::exit too
        benchmark::AddCustomContext("logweave_seed", std::to_string(kSeed));
        registerCases(ws, fits);
        if (benchmark::RunSpecifiedBenchmarks() == 0) {
            std::fprintf(stderr, "logweave_bench: no case matches the filter\n");
            benchmark::Shutdown();
            return 1;
        }
    } catch (const std::exception& error) {
        std::fprintf(stderr, "logweave_bench: %s\n", error.what());
        benchmark::Shutdown();
        return 1;
    }
    benchmark::Shutdown();
    return anyCheckFailed ? 1 : 0;
}
