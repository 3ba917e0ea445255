#pragma once
// The engine's only way to its user: the activity pane, the options, the
// options dialog, the settling of a conflict, and the progress of a long
// operation with the user's wish to stop it. The windowed program, the batch
// front end and the tests each implement it.

#include "logweave/conflict.h"
#include "logweave/output_options.h"
#include "logweave/progress.h"

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

    // How far the operation has got; called a few hundred times a phase.
    virtual void showProgress(const Progress&) {}

    // Whether the user asked to stop the operation. Read only where stopping
    // leaves every file and the open log as they were; may be called from a
    // thread other than the user's.
    virtual bool cancelRequested() { return false; }
};

}  // namespace logweave
