#pragma once
// The engine's user, without windows: the pane goes to standard output as it
// is written, the options come from the command line, conflicts follow a rule,
// progress goes to a bar when there is one, and Ctrl+C cancels.

#include "command_line.h"
#include "logweave/user_interface.h"
#include "progress_bar.h"

#include <cstdio>

namespace logweave::cli {

class BatchInterface final : public UserInterface {
public:
    // `bar` may be none: a script sees the pane alone.
    BatchInterface(OutputOptions options, ConflictSide policy, std::FILE* out, ProgressBar* bar)
        : options_(std::move(options)), policy_(policy), out_(out), bar_(bar) {}

    void appendToPane(std::string_view utf8) override;
    OutputOptions outputOptions() override { return options_; }
    bool showOptionsDialog() override { return true; }
    Settlement settleConflict(const Conflict& conflict) override;
    void showProgress(const Progress& progress) override;
    bool cancelRequested() override;

private:
    OutputOptions options_;
    ConflictSide policy_;
    std::FILE* out_;
    ProgressBar* bar_;
};

}  // namespace logweave::cli
