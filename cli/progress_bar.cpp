#include "progress_bar.h"

#include "logweave/pane_texts.h"

#include <algorithm>
#include <string>
#include <string_view>

namespace logweave::cli {

namespace {

constexpr auto kRedrawPause = std::chrono::milliseconds(100);
constexpr int kBarCells = 20;
// The longest phase name and a blank: bars of every phase line up.
constexpr std::size_t kPhaseColumns = 21;

// Columns on a terminal: UTF-8 continuation bytes take none.
std::size_t columnsOf(std::string_view text)
{
    return static_cast<std::size_t>(std::count_if(text.begin(), text.end(), [](char c) {
        return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    }));
}

// Bytes while reading and sorting, records in the later phases.
std::string amount(const Progress& progress)
{
    if (progress.phase != Phase::Reading && progress.phase != Phase::Sorting)
        return std::to_string(progress.done) + " / " + std::to_string(progress.total) + " enr. [rec.]";
    char text[64];
    constexpr double kMebibyte = 1024.0 * 1024.0;
    std::snprintf(text, sizeof text, "%.1f / %.1f Mio [MiB]", static_cast<double>(progress.done) / kMebibyte,
                  static_cast<double>(progress.total) / kMebibyte);
    return text;
}

std::string lineOf(const Progress& progress, int percent)
{
    std::string line(pane::phaseName(progress.phase));
    line.append(kPhaseColumns - std::min(kPhaseColumns - 1, columnsOf(line)), ' ');
    const int filled = percent * kBarCells / 100;
    line += '[';
    line.append(static_cast<std::size_t>(filled), '#').append(static_cast<std::size_t>(kBarCells - filled), '-');
    line += "] ";
    const std::string shown = std::to_string(percent);
    line.append(3 - shown.size(), ' ').append(shown).append(" %  ").append(amount(progress));
    return line;
}

int percentOf(const Progress& progress)
{
    if (progress.total == 0)
        return 100;
    return static_cast<int>(std::min<std::uint64_t>(100, progress.done * 100 / progress.total));
}

}  // namespace

void ProgressBar::show(const Progress& progress)
{
    const int percent = percentOf(progress);
    const auto now = std::chrono::steady_clock::now();
    if (phase_ == progress.phase && (percent == percent_ || now - drawnAt_ < kRedrawPause))
        return;
    phase_ = progress.phase;
    percent_ = percent;
    drawnAt_ = now;
    draw(progress, percent);
}

void ProgressBar::draw(const Progress& progress, int percent)
{
    const std::string line = lineOf(progress, percent);
    const std::size_t columns = columnsOf(line);
    // A shorter line than the last leaves none of it behind.
    const std::string text = "\r" + line + std::string(columns_ > columns ? columns_ - columns : 0, ' ');
    std::fwrite(text.data(), 1, text.size(), terminal_);
    std::fflush(terminal_);
    columns_ = std::max(columns_, columns);
}

void ProgressBar::clear()
{
    if (columns_ == 0)
        return;
    std::string blank(columns_ + 2, ' ');
    blank.front() = blank.back() = '\r';
    std::fwrite(blank.data(), 1, blank.size(), terminal_);
    std::fflush(terminal_);
    columns_ = 0;
    phase_.reset();
    percent_ = -1;
}

}  // namespace logweave::cli
