#pragma once
// Shows the progress of one phase every so often, and stops the operation
// there when the user asked it to: a stop that every operation already
// handles, before it puts anything in place.

#include "logweave/user_interface.h"

#include <cstdint>

namespace logweave {

class ProgressMeter {
public:
    // Shows the phase begun; stops at once when the user asked.
    ProgressMeter(UserInterface& ui, Phase phase, std::uint64_t total);

    // Cheap enough to call for every record.
    void advanceTo(std::uint64_t done)
    {
        if (done >= next_)
            step(done);
    }

private:
    void step(std::uint64_t done);

    UserInterface& ui_;
    Phase phase_;
    std::uint64_t total_;
    std::uint64_t stride_;
    std::uint64_t next_ = 0;
};

// Throws the stop that says "Cancelled" when the user asked for it.
void stopIfCancelled(UserInterface& ui);

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
