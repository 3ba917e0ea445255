#pragma once
// Where an operation cannot go on (bad input, a file that cannot be read or
// written, not memory enough for the log), it stops: the pane says why, and
// the caller puts back what the operation had changed.

#include "logweave/outcome.h"
#include "logweave/pane_texts.h"
#include "logweave/user_interface.h"

#include <new>
#include <optional>
#include <stdexcept>
#include <string_view>

namespace logweave {

// The steps' result, or nullopt after saying in the pane why they stopped;
// `file` is the log they work on.
template <typename Steps>
auto reportingStops(UserInterface& ui, std::string_view file, Steps&& steps) -> std::optional<decltype(steps())>
{
    try {
        return steps();
    } catch (const OperationStopped& stop) {
        ui.appendToPane(stop.paneText());
    } catch (const FileError& error) {
        ui.appendToPane(pane::fileError(error));
    } catch (const std::bad_alloc&) {
        ui.appendToPane(pane::tooLargeForMemory(file));
    } catch (const std::length_error&) {
        ui.appendToPane(pane::tooLargeForMemory(file));
    }
    return std::nullopt;
}

}  // namespace logweave
