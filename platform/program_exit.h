#pragma once
// Ending the program at once: every window goes, nothing is asked or saved.
// Results are written whole or not at all, so nothing is left half-written.

namespace logweave::platform {

class ProgramExit {
public:
    virtual ~ProgramExit() = default;
    virtual void endNow() = 0;
};

class QtProgramExit final : public ProgramExit {
public:
    [[noreturn]] void endNow() override;
};

}  // namespace logweave::platform
