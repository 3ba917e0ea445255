#pragma once
// The progress of an operation as one line on a terminal, drawn again in
// place: the phase, a bar, the percent, how much of how much.

#include "logweave/progress.h"

#include <chrono>
#include <cstddef>
#include <cstdio>
#include <optional>

namespace logweave::cli {

class ProgressBar {
public:
    explicit ProgressBar(std::FILE* terminal) : terminal_(terminal) {}

    // Drawn when the phase changes, else at most ten times a second and
    // only when the percent moved: a redraw costs the engine its time.
    void show(const Progress& progress);

    // Wipes the line, for the pane's text or the end of an operation.
    void clear();

private:
    void draw(const Progress& progress, int percent);

    std::FILE* terminal_;
    std::optional<Phase> phase_;
    int percent_ = -1;
    std::chrono::steady_clock::time_point drawnAt_;
    std::size_t columns_ = 0;  // of the line on the terminal; none when 0
};

}  // namespace logweave::cli
