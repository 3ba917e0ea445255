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

}  // namespace logweave
