#include "batch_interface.h"

#include "interrupt.h"

namespace logweave::cli {

void BatchInterface::appendToPane(std::string_view utf8)
{
    // Shown as it happens: a long update is followed line by line.
    std::fwrite(utf8.data(), 1, utf8.size(), out_);
    std::fflush(out_);
}

Settlement BatchInterface::settleConflict(const Conflict& conflict)
{
    return {sideValue(policy_, conflict.open, conflict.added), std::nullopt};
}

bool BatchInterface::cancelRequested()
{
    return interruptRequested();
}

}  // namespace logweave::cli
