#pragma once
// A prompt for one line of text; Cancel gives the empty text.

#include <QString>

class QWidget;

namespace logweave::platform {

class InputBox {
public:
    virtual ~InputBox() = default;
    virtual QString getText(QWidget* parent, const QString& prompt, const QString& title,
                            const QString& defaultText) = 0;
};

class QtInputBox final : public InputBox {
public:
    QString getText(QWidget* parent, const QString& prompt, const QString& title,
                    const QString& defaultText) override;
};

}  // namespace logweave::platform
