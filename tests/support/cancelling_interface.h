#pragma once
// A user who asks to stop an operation from the Nth progress shown of one
// phase on, as a click on Cancel at that moment would; the rest goes to a
// recording user, who keeps the pane.

#include "recording_interface.h"

#include <string>

namespace logweave::testing {

class CancellingInterface final : public UserInterface {
public:
    // From the `nth` (1 for the first) progress shown of `phase` on.
    CancellingInterface(RecordingInterface& recording, Phase phase, int nth)
        : recording_(recording), phase_(phase), nth_(nth) {}

    void appendToPane(std::string_view utf8) override { recording_.appendToPane(utf8); }
    OutputOptions outputOptions() override { return recording_.outputOptions(); }
    bool showOptionsDialog() override { return recording_.showOptionsDialog(); }
    Settlement settleConflict(const Conflict& conflict) override { return recording_.settleConflict(conflict); }
    void showProgress(const Progress& progress) override
    {
        if (progress.phase == phase_ && ++shown_ >= nth_)
            asked_ = true;
    }
    bool cancelRequested() override { return asked_; }

    // Whether the operation reached the moment to stop at.
    bool asked() const noexcept { return asked_; }
    // How often the phase's progress was shown.
    int shown() const noexcept { return shown_; }

private:
    RecordingInterface& recording_;
    Phase phase_;
    int nth_;
    int shown_ = 0;
    bool asked_ = false;
};

}  // namespace logweave::testing
