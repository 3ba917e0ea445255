#pragma once
// The program's end in tests: counted, not done.

#include "platform/program_exit.h"

namespace logweave::testing {

class FakeProgramExit final : public platform::ProgramExit {
public:
    void endNow() override { ++ended; }
    int ended = 0;
};

}  // namespace logweave::testing
