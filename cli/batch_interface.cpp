#include "batch_interface.h"

#include "interrupt.h"

namespace logweave::cli {

void BatchInterface::appendToPane(std::string_view utf8)
{
    // The bar goes first: on one terminal the two would run into each other.
    if (bar_)
        bar_->clear();
    // Shown as it happens: a long update is followed line by line.
    std::fwrite(utf8.data(), 1, utf8.size(), out_);
    std::fflush(out_);
}

Settlement BatchInterface::settleConflict(const Conflict& conflict)
{
    return {sideValue(policy_, conflict.open, conflict.added), std::nullopt};
}

void BatchInterface::showProgress(const Progress& progress)
{
    if (bar_)
        bar_->show(progress);
}

bool BatchInterface::cancelRequested()
{
    return interruptRequested();
}

}  // namespace logweave::cli
