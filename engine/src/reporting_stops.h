#pragma once
// Where an operation cannot go on (bad input, a file that cannot be read or
// written), it stops: the pane says why, and the caller puts back what the
// operation had changed.

#include "logweave/outcome.h"
#include "logweave/pane_texts.h"
#include "logweave/user_interface.h"

#include <optional>

namespace logweave {

// The steps' result, or nullopt after saying in the pane why they stopped.
template <typename Steps>
auto reportingStops(UserInterface& ui, Steps&& steps) -> std::optional<decltype(steps())>
{
    try {
        return steps();
    } catch (const OperationStopped& stop) {
        ui.appendToPane(stop.paneText());
    } catch (const FileError& error) {
        ui.appendToPane(pane::fileError(error));
    }
    return std::nullopt;
}

}  // namespace logweave
