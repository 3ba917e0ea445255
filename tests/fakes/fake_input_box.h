#pragma once
// The input box in tests: OK on the default text, or Cancel.

#include "platform/input_box.h"

namespace logweave::testing {

class FakeInputBox final : public platform::InputBox {
public:
    QString getText(QWidget*, const QString&, const QString&, const QString& defaultText) override
    {
        return useDefault ? defaultText : QString();
    }
    bool useDefault = false;  // else Cancel
};

}  // namespace logweave::testing
