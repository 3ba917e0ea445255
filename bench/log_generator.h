#pragma once
// Synthetic logs in the layout of a WSJT-X export, for the benchmarks. A seed
// gives the same bytes on every machine: the generator keeps its own random
// numbers rather than <random>'s distributions, whose output is not portable.

#include <cstdint>
#include <string>

namespace logweave::bench {

struct LogSet {
    std::string shuffled;      // one line a record, not in date order
    std::string sorted;        // the same records in date and time order
    std::string fieldPerLine;  // the shuffled records, one field a line, a blank line after each
    int records = 0;
    int filterMatches = 0;     // records on 20m in FT8 (mode FT8, not a submode)
};

struct MergePair {
    std::string open;   // A, in date order
    std::string added;  // B, in date order
    int recordsEach = 0;
    int shared = 0;           // contacts (date and time on) in both
    int differing = 0;        // shared contacts whose records differ
    int differingFields = 0;  // values that differ: the conflicts a merge settles
    int mergedRecords = 0;    // contacts in A or B
};

LogSet makeLogSet(std::uint64_t seed, int records);

// Half of each log's contacts are in the other, a quarter of those with one or
// two values changed (rst_sent, comment); the rest of each log is its own.
MergePair makeMergePair(std::uint64_t seed, int recordsEach);

}  // namespace logweave::bench
