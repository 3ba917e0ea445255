#include "progress_meter.h"

#include "logweave/outcome.h"
#include "logweave/pane_texts.h"

#include <algorithm>

namespace logweave {

namespace {
// A few hundred looks a phase: a bar that moves smoothly, a stop within a
// fraction of a second, and no cost worth measuring.
constexpr std::uint64_t kSteps = 512;
}  // namespace

ProgressMeter::ProgressMeter(UserInterface& ui, Phase phase, std::uint64_t total)
    : ui_(ui), phase_(phase), total_(total), stride_(std::max<std::uint64_t>(1, total / kSteps))
{
    step(0);
}

void ProgressMeter::step(std::uint64_t done)
{
    ui_.showProgress({phase_, std::min(done, total_), total_});
    stopIfCancelled(ui_);
    next_ = done + stride_;
}

void stopIfCancelled(UserInterface& ui)
{
    if (ui.cancelRequested())
        throw OperationStopped(pane::cancelled());
}

}  // namespace logweave
