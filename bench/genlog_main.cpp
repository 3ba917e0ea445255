// logweave_genlog: writes the benchmark logs into a folder, so that
// whole-process timings read the same bytes as logweave_bench.

#include "log_generator.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace {

namespace fs = std::filesystem;
using namespace logweave::bench;

constexpr const char* kUsage =
    "usage: logweave_genlog [--seed N] [--records N] FOLDER [WHICH...]\n"
    "writes into FOLDER the logs named by WHICH, all of them when none is named:\n"
    "  shuffled        shuffled.adi, N records, one line a record, not in date order\n"
    "  sorted          sorted.adi, the same records in date and time order\n"
    "  field_per_line  field_per_line.adi, the shuffled records one field a line\n"
    "  merge           merge_a.adi and merge_b.adi, N records each, half of them shared\n"
    "--records N: 1000000 unless given (about 290 bytes a record); --seed N: 1.\n"
    "Prints one line a file: its name, then key=value facts about it.\n";

int usage()
{
    std::fputs(kUsage, stderr);
    return 2;
}

struct Request {
    std::uint64_t seed = 1;
    long long records = 1000000;
    fs::path folder;
    std::vector<std::string_view> which;
};

bool parse(int argc, char** argv, Request& request)
{
    for (int i = 1; i < argc; ++i) {
        const std::string_view a = argv[i];
        const bool hasValue = i + 1 < argc;
        if (a == "--seed" && hasValue)
            request.seed = std::strtoull(argv[++i], nullptr, 10);
        else if (a == "--records" && hasValue)
            request.records = std::atoll(argv[++i]);
        else if (a.starts_with("-"))
            return false;
        else if (request.folder.empty())
            request.folder = argv[i];
        else
            request.which.push_back(a);
    }
    return !request.folder.empty() && request.records > 0;
}

void describe(const std::string& name, long long records, std::uint64_t bytes, const std::string& facts)
{
    std::printf("%-19s records=%lld bytes=%llu bytes_per_record=%llu %s\n", name.c_str(), records,
                static_cast<unsigned long long>(bytes), static_cast<unsigned long long>(bytes / records), facts.c_str());
}

void writeLogNamed(const Request& request, Layout layout)
{
    const std::string name = std::string(layoutName(layout)) + ".adi";
    const LogFacts facts = writeLogFile(request.folder / name, request.seed, request.records, layout);
    describe(name, facts.records, facts.bytes, "filter_matches=" + std::to_string(facts.filterMatches));
}

void writePair(const Request& request)
{
    const PairFacts pair =
        writeMergePairFiles(request.folder / "merge_a.adi", request.folder / "merge_b.adi", request.seed, request.records);
    const std::string facts = "shared=" + std::to_string(pair.shared) + " differing=" + std::to_string(pair.differing)
        + " conflicts=" + std::to_string(pair.differingFields) + " merged=" + std::to_string(pair.mergedRecords);
    describe("merge_a.adi", pair.recordsEach, pair.openBytes, facts);
    describe("merge_b.adi", pair.recordsEach, pair.addedBytes, facts);
}

constexpr std::array<Layout, 3> kLayouts{Layout::Shuffled, Layout::Sorted, Layout::FieldPerLine};

bool known(std::string_view kind)
{
    return kind == "merge"
        || std::any_of(kLayouts.begin(), kLayouts.end(), [kind](Layout l) { return layoutName(l) == kind; });
}

void write(const Request& request, std::string_view kind)
{
    if (kind == "merge")
        return writePair(request);
    for (const Layout layout : kLayouts)
        if (kind == layoutName(layout))
            writeLogNamed(request, layout);
}

}  // namespace

int main(int argc, char** argv)
{
    Request request;
    if (!parse(argc, argv, request))
        return usage();
    if (request.which.empty())
        request.which = {"shuffled", "sorted", "field_per_line", "merge"};
    if (!std::all_of(request.which.begin(), request.which.end(), known))
        return usage();
    try {
        fs::create_directories(request.folder);
        for (const std::string_view kind : request.which)
            write(request, kind);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "logweave_genlog: %s\n", error.what());
        return 1;
    }
    return 0;
}
