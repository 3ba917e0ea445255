#pragma once
// Settings in tests: kept in memory, for as long as the test keeps them.

#include "platform/settings.h"

namespace logweave::testing {

class FakeSettings final : public platform::Settings {
public:
    OutputOptions outputOptions() const override { return saved; }
    void saveOutputOptions(const OutputOptions& options) override { saved = options; }

    OutputOptions saved;
};

}  // namespace logweave::testing
