#pragma once
// How far a long operation has got, for a progress bar.

#include <cstdint>

namespace logweave {

enum class Phase { Reading, Sorting, Merging, Filtering, Writing };

struct Progress {
    Phase phase = Phase::Reading;
    // Bytes of the log while Reading and Sorting, records in the other phases.
    std::uint64_t done = 0;
    std::uint64_t total = 0;
};

}  // namespace logweave
