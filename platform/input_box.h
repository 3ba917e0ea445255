#pragma once
// A prompt for one line of text.

#include <QString>

#include <optional>

class QWidget;

namespace logweave::platform {

class InputBox {
public:
    virtual ~InputBox() = default;
    // The text typed; none when the user cancelled.
    virtual std::optional<QString> getText(QWidget* parent, const QString& prompt, const QString& title,
                                           const QString& defaultText) = 0;
};

class QtInputBox final : public InputBox {
public:
    std::optional<QString> getText(QWidget* parent, const QString& prompt, const QString& title,
                                   const QString& defaultText) override;
};

}  // namespace logweave::platform
