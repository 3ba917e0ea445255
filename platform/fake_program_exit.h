#pragma once
// The program's end in tests: counted, not done.

#include "platform/program_exit.h"

namespace logweave::platform {

class FakeProgramExit final : public ProgramExit {
public:
    void endNow() override { ++ended; }
    int ended = 0;
};

}  // namespace logweave::platform
