#pragma once
// The user interface of the steps an operation takes after it has put its
// files in place, which a stop would leave half done.

#include "logweave/user_interface.h"

namespace logweave {

// Passes everything on to `ui` but the wish to stop: for the steps after an
// operation has put its files in place, which a stop would leave half done.
class Uncancellable : public UserInterface {
public:
    explicit Uncancellable(UserInterface& ui) : ui_(ui) {}
    void appendToPane(std::string_view utf8) override { ui_.appendToPane(utf8); }
    OutputOptions outputOptions() override { return ui_.outputOptions(); }
    bool showOptionsDialog() override { return ui_.showOptionsDialog(); }
    Settlement settleConflict(const Conflict& conflict) override { return ui_.settleConflict(conflict); }
    void showProgress(const Progress& progress) override { ui_.showProgress(progress); }

private:
    UserInterface& ui_;
};

}  // namespace logweave
