#pragma once
// Synthetic logs in the layout of a WSJT-X export, for the benchmarks. A seed
// gives the same bytes on every machine: the generator keeps its own random
// numbers rather than <random>'s distributions, whose output is not portable.
// Logs are written as they are made, so that a million records never stand
// in memory as contacts: at most one log's text does, to be shuffled.

#include <cstdint>
#include <filesystem>
#include <string_view>

namespace logweave::bench {

enum class Layout {
    Shuffled,      // one line a record, not in date order
    Sorted,        // the same records in date and time order
    FieldPerLine,  // the shuffled records, one field a line, a blank line after each
};

struct LogFacts {
    long long records = 0;
    long long filterMatches = 0;  // records on 20m in FT8 (mode FT8, not a submode)
    std::uint64_t bytes = 0;
};

// Half of each log's contacts are in the other, a quarter of those with one or
// two values changed (rst_sent, comment); the rest of each log is its own.
// No call is worked twice within an hour, so that "the same call, band and
// mode within 30 minutes" finds the same contacts as "the same date and time".
struct PairFacts {
    long long recordsEach = 0;
    long long shared = 0;           // contacts (date and time on) in both
    long long differing = 0;        // shared contacts whose records differ
    long long differingFields = 0;  // values that differ: the conflicts a merge settles
    long long mergedRecords = 0;    // contacts in A or B
    std::uint64_t openBytes = 0;
    std::uint64_t addedBytes = 0;
};

// Each throws std::runtime_error when a file cannot be written.
LogFacts writeLogFile(const std::filesystem::path& path, std::uint64_t seed, long long records, Layout layout);
// A, then B, both in date order.
PairFacts writeMergePairFiles(const std::filesystem::path& open, const std::filesystem::path& added, std::uint64_t seed,
                              long long recordsEach);

// "shuffled", "sorted", "field_per_line": the layout's name in file and case names.
std::string_view layoutName(Layout layout);

}  // namespace logweave::bench
