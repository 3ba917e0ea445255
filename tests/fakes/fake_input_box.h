#pragma once
// The input box in tests: OK on the default text, or Cancel.

#include "platform/input_box.h"

namespace logweave::testing {

class FakeInputBox final : public platform::InputBox {
public:
    std::optional<QString> getText(QWidget*, const QString&, const QString&, const QString& defaultText) override
    {
        if (!useDefault)
            return std::nullopt;
        return defaultText;
    }
    bool useDefault = false;  // else Cancel
};

}  // namespace logweave::testing
