#pragma once
// The engine's only way to its user: the activity pane, the options, the
// options dialog and the settling of a conflict. The windowed program, the
// batch front end and the tests each implement it.

#include "logweave/conflict.h"
#include "logweave/output_options.h"

#include <string_view>

namespace logweave {

class UserInterface {
public:
    virtual ~UserInterface() = default;

    // UTF-8 text with its own CR LF line breaks, appended at the end of the pane.
    virtual void appendToPane(std::string_view utf8) = 0;

    // The options as they stand now.
    virtual OutputOptions outputOptions() = 0;

    // Lets the user review the options; false when he cancelled.
    virtual bool showOptionsDialog() = 0;

    // The value to record where the open and the added record of a contact differ.
    virtual Settlement settleConflict(const Conflict& conflict) = 0;
};

}  // namespace logweave
