#pragma once
// The engine's user, without windows: the pane goes to standard output as it
// is written, the options come from the command line, conflicts follow a rule,
// and Ctrl+C cancels.

#include "command_line.h"
#include "logweave/user_interface.h"

#include <cstdio>

namespace logweave::cli {

class BatchInterface final : public UserInterface {
public:
    BatchInterface(OutputOptions options, ConflictSide policy, std::FILE* out)
        : options_(std::move(options)), policy_(policy), out_(out) {}

    void appendToPane(std::string_view utf8) override;
    OutputOptions outputOptions() override { return options_; }
    bool showOptionsDialog() override { return true; }
    Settlement settleConflict(const Conflict& conflict) override;
    bool cancelRequested() override;

private:
    OutputOptions options_;
    ConflictSide policy_;
    std::FILE* out_;
};

}  // namespace logweave::cli
