#pragma once
// Settings in tests: kept in memory, for as long as the test keeps them.

#include "platform/settings.h"

namespace logweave::platform {

class FakeSettings final : public Settings {
public:
    OutputOptions outputOptions() const override { return saved; }
    void saveOutputOptions(const OutputOptions& options) override { saved = options; }

    OutputOptions saved;
};

}  // namespace logweave::platform
