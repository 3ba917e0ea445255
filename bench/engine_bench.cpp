// The engine's operations on generated logs of 20000 records. Each case also
// reports x_baseline: its mean time as a multiple of reading the same file(s)
// into memory and counting their '<', timed in this process, so that figures
// from different machines or loads can be compared.

#include "log_generator.h"
#include "logweave/filter_open_log.h"
#include "logweave/load_output_options.h"
#include "logweave/log_store.h"
#include "logweave/merge_added_log.h"
#include "logweave/read_open_log.h"
#include "logweave/std_file_system.h"
#include "logweave/user_interface.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <stdexcept>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

using namespace logweave;
namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

constexpr std::uint64_t kSeed = 1;
constexpr int kRecords = kMaxRecords;
// With half of the contacts shared, 20000 a side merge into 30000 records,
// more than the store holds: the merge writes its file and stops. 13332 a
// side merge into 19998, so that the whole merge runs too.
constexpr int kFitRecords = 13332;
constexpr std::string_view kFilter = "BAND:20M;MODE:FT8";

class SilentInterface final : public UserInterface {
public:
    void appendToPane(std::string_view) override {}
    OutputOptions outputOptions() override
    {
        OutputOptions options;
        options.FieldOrderFile.clear();
        return options;
    }
    void showOptionsDialog() override {}
    Settlement settleConflict(const Conflict& conflict) override
    {
        ++conflicts;
        return {std::string(conflict.open), std::nullopt};
    }
    int conflicts = 0;
};

// A store with the options applied, as after Open's dialog.
struct Workbench {
    explicit Workbench(const fs::path& programFolder)
    {
        store.programFolder = programFolder;
        applyOutputOptions(session, ui.outputOptions());
    }
    LogStore store;
    SilentInterface ui;
    StdFileSystem files;
    Session session{store, ui, files};
};

void writeText(const fs::path& path, const std::string& text)
{
    std::ofstream out(path, std::ios::binary);
    out.write(text.data(), static_cast<std::streamsize>(text.size()));
    if (!out.flush())
        throw std::runtime_error("cannot write " + path.string());
}

long long countOf(std::string_view text, std::string_view what)
{
    long long n = 0;
    for (auto p = text.find(what); p != std::string_view::npos; p = text.find(what, p + what.size()))
        ++n;
    return n;
}

// The generated logs in a temporary folder, removed at the end.
class Workspace {
public:
    Workspace()
    {
        std::string pattern = (fs::temp_directory_path() / "logweave-bench-XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr)
            throw std::runtime_error("cannot make a temporary folder");
        root_ = pattern;
        const auto write = [this](const char* name, const std::string& text) {
            writeText(root_ / name, text);
            sizes_[name] = text.size();
        };
        const bench::LogSet set = bench::makeLogSet(kSeed, kRecords);
        filterMatches = set.filterMatches;
        write("shuffled.adi", set.shuffled);
        write("sorted.adi", set.sorted);
        write("field_per_line.adi", set.fieldPerLine);
        full = writePair(bench::makeMergePair(kSeed, kRecords), "merge_a.adi", "merge_b.adi", write);
        fit = writePair(bench::makeMergePair(kSeed, kFitRecords), "merge_fit_a.adi", "merge_fit_b.adi", write);
    }
    ~Workspace()
    {
        std::error_code ignored;
        fs::remove_all(root_, ignored);
    }
    Workspace(const Workspace&) = delete;
    Workspace& operator=(const Workspace&) = delete;

    struct Merge {
        fs::path open;
        fs::path added;
        int mergedRecords;
        int differingFields;
    };

    fs::path log(const std::string& name) const { return root_ / name; }
    std::size_t size(const fs::path& log) const { return sizes_.at(log.filename().string()); }

    // A program folder of its own for each case, so that a check never reads
    // another case's output.
    fs::path programFolder(const std::string& name) const
    {
        const fs::path folder = root_ / ("out-" + name);
        fs::create_directories(folder);
        return folder;
    }

    int filterMatches = 0;
    Merge full;
    Merge fit;

private:
    template <typename Write>
    Merge writePair(const bench::MergePair& pair, const char* a, const char* b, Write& write)
    {
        write(a, pair.open);
        write(b, pair.added);
        return {root_ / a, root_ / b, pair.mergedRecords, pair.differingFields};
    }

    fs::path root_;
    std::map<std::string, std::size_t> sizes_;
};

// Plain POSIX reads into one string, as the engine's own reader does.
std::string readText(const fs::path& path)
{
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    struct stat info {};
    if (fd < 0 || ::fstat(fd, &info) != 0)
        throw std::runtime_error("cannot read " + path.string());
    std::string text(static_cast<std::size_t>(info.st_size), '\0');
    std::size_t filled = 0;
    while (filled < text.size()) {
        const ssize_t n = ::read(fd, text.data() + filled, text.size() - filled);
        if (n <= 0)
            break;
        filled += static_cast<std::size_t>(n);
    }
    ::close(fd);
    text.resize(filled);
    return text;
}

std::size_t readAndCount(const fs::path& path)
{
    const std::string text = readText(path);
    return static_cast<std::size_t>(std::count(text.begin(), text.end(), '<'));
}

double secondsSince(Clock::time_point start)
{
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// Median of many reads of `files`, taken once per set of files and process.
double baselineSeconds(const std::vector<fs::path>& files)
{
    static std::map<std::vector<fs::path>, double> measured;
    if (const auto it = measured.find(files); it != measured.end())
        return it->second;
    constexpr int kWarmUp = 5;
    constexpr int kRuns = 51;
    std::vector<double> runs;
    for (int i = 0; i < kWarmUp + kRuns; ++i) {
        const auto start = Clock::now();
        for (const auto& file : files)
            benchmark::DoNotOptimize(readAndCount(file));
        if (i >= kWarmUp)
            runs.push_back(secondsSince(start));
    }
    std::nth_element(runs.begin(), runs.begin() + kRuns / 2, runs.end());
    return measured[files] = runs[kRuns / 2];
}

// Runs `step` once per iteration, with the timers paused: it times its
// operation with timed(), and returns those seconds, or a negative number
// after a failed check (it has called SkipWithError). Setting up and tearing
// down stay out of both the reported time and the CPU time.
void measure(benchmark::State& state, const Workspace& ws, const std::vector<fs::path>& files,
             const std::function<double()>& step)
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
    std::size_t bytes = 0;
    for (const auto& file : files)
        bytes += ws.size(file);
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(bytes));
    state.counters["baseline_ms"] = baseline * 1e3;
    state.counters["x_baseline"] = total / static_cast<double>(state.iterations()) / baseline;
}

template <typename Operation>
double timed(benchmark::State& state, Operation&& operation)
{
    state.ResumeTiming();
    const auto start = Clock::now();
    operation();
    const double seconds = secondsSince(start);
    state.PauseTiming();
    return seconds;
}

bool anyCheckFailed = false;

// For a failed check: the case reports `why` instead of figures, and the
// program's exit status says so.
double skip(benchmark::State& state, const std::string& why)
{
    state.SkipWithError(why.c_str());
    anyCheckFailed = true;
    return -1;
}

// Whether `file` holds `records` records in the layout the program writes.
bool holdsRecords(benchmark::State& state, const fs::path& file, long long records)
{
    const long long found = countOf(readText(file), "<eor>\r\n");
    if (found == records)
        return true;
    skip(state, file.filename().string() + " holds " + std::to_string(found) + " records, not " + std::to_string(records));
    return false;
}

void readCase(benchmark::State& state, const Workspace& ws, const fs::path& log, const std::string& name)
{
    const fs::path folder = ws.programFolder("read-" + name);
    measure(state, ws, {log}, [&] {
        Workbench w(folder);
        Outcome outcome{};
        const double seconds = timed(state, [&] { outcome = ReadOpenLog(w.session, bytesFromPath(log)); });
        if (outcome != Outcome::Done || w.store.OpenRecordCount != kRecords)
            return skip(state, "the log was not read whole");
        return seconds;
    });
    if (!state.error_occurred())
        holdsRecords(state, folder / "Adif_File.adi", kRecords);
}

void mergeCase(benchmark::State& state, const Workspace& ws, const Workspace::Merge& merge, const std::string& name)
{
    const fs::path folder = ws.programFolder("merge-" + name);
    const bool fits = merge.mergedRecords <= kMaxRecords;
    measure(state, ws, {merge.open, merge.added}, [&] {
        Workbench w(folder);
        if (ReadOpenLog(w.session, bytesFromPath(merge.open)) != Outcome::Done)
            return skip(state, "the open log was not read");
        Outcome outcome{};
        const double seconds = timed(state, [&] { outcome = MergeAddedLog(w.session, bytesFromPath(merge.added)); });
        // Past the store's limit the merge writes its file, then stops.
        if (outcome != (fits ? Outcome::Done : Outcome::Stopped))
            return skip(state, "the merge ended otherwise than expected");
        if (fits && w.store.OpenRecordCount != merge.mergedRecords)
            return skip(state, "the merged log has " + std::to_string(w.store.OpenRecordCount) + " records");
        if (w.ui.conflicts != merge.differingFields)
            return skip(state, std::to_string(w.ui.conflicts) + " conflicts settled, not "
                                   + std::to_string(merge.differingFields));
        return seconds;
    });
    if (!state.error_occurred())
        holdsRecords(state, folder / "Logweave.adi", merge.mergedRecords);
}

void filterCase(benchmark::State& state, const Workspace& ws)
{
    const fs::path log = ws.log("shuffled.adi");
    Workbench w(ws.programFolder("filter"));
    if (ReadOpenLog(w.session, bytesFromPath(log)) != Outcome::Done) {
        skip(state, "the log was not read");
        return;
    }
    measure(state, ws, {log}, [&] {
        Outcome outcome{};
        const double seconds = timed(state, [&] { outcome = FilterOpenLog(w.session, kFilter); });
        return outcome == Outcome::Done ? seconds : skip(state, "the filter stopped");
    });
    if (!state.error_occurred() && holdsRecords(state, w.store.programFolder / "Adif_Filtre2.adi", ws.filterMatches))
        holdsRecords(state, w.store.programFolder / "Adif_Filtre1.adi", kRecords - ws.filterMatches);
}

void baselineCase(benchmark::State& state, const Workspace& ws, const fs::path& log)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(readAndCount(log));
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(ws.size(log)));
}

}  // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    try {
        const Workspace ws;
        benchmark::AddCustomContext("logweave_seed", std::to_string(kSeed));
        for (const char* name : {"shuffled", "sorted", "field_per_line"}) {
            const fs::path log = ws.log(std::string(name) + ".adi");
            benchmark::AddCustomContext(std::string("bytes_") + name, std::to_string(ws.size(log)));
            benchmark::RegisterBenchmark((std::string("ReadAndCount/") + name).c_str(),
                                         [&ws, log](benchmark::State& s) { baselineCase(s, ws, log); })
                ->Unit(benchmark::kMillisecond);
            benchmark::RegisterBenchmark((std::string("ReadOpenLog/") + name).c_str(),
                                         [&ws, log, name](benchmark::State& s) { readCase(s, ws, log, name); })
                ->UseManualTime()
                ->Unit(benchmark::kMillisecond);
        }
        const auto mergeName = [](int each, const Workspace::Merge& m) {
            return "MergeAddedLog/each:" + std::to_string(each) + "/merged:" + std::to_string(m.mergedRecords);
        };
        benchmark::RegisterBenchmark(mergeName(kRecords, ws.full).c_str(),
                                     [&ws](benchmark::State& s) { mergeCase(s, ws, ws.full, "full"); })
            ->UseManualTime()
            ->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark(mergeName(kFitRecords, ws.fit).c_str(),
                                     [&ws](benchmark::State& s) { mergeCase(s, ws, ws.fit, "fit"); })
            ->UseManualTime()
            ->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark("FilterOpenLog/BAND:20M;MODE:FT8",
                                     [&ws](benchmark::State& s) { filterCase(s, ws); })
            ->UseManualTime()
            ->Unit(benchmark::kMillisecond);
        benchmark::RunSpecifiedBenchmarks();
    } catch (const std::exception& error) {
        std::fprintf(stderr, "logweave_bench: %s\n", error.what());
        benchmark::Shutdown();
        return 1;
    }
    benchmark::Shutdown();
    return anyCheckFailed ? 1 : 0;
}
