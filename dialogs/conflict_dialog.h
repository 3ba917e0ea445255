#pragma once
// Settles one field of one contact while a log is merged: shows the contact,
// the open log's value, the added log's value and both joined, and hands back
// the value to record, and whether the field's later conflicts take its side.

#include "logweave/conflict.h"

#include <QDialog>

#include <array>
#include <optional>
#include <string>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace logweave::platform {
class TwipsLayout;
}

namespace logweave::dialogs {

class ConflictDialog final : public QDialog {
    Q_OBJECT

public:
    ConflictDialog(const Conflict& conflict, QWidget* parent = nullptr);
    ~ConflictDialog() override;

    // The value to record, as bytes: a value taken from the logs keeps its own.
    std::string ChosenValue() const { return chosenValue_; }
    // Set when the later conflicts of this field are to take the same side without asking.
    std::optional<ConflictSide> SameChoiceUntilTheEnd() const { return sameChoice_; }

    // Closing other than by OK (Escape, the close box) does what OK does.
    void reject() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void changeEvent(QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void Form_Load(const Conflict& conflict);
    void placeContact(const Conflict& conflict, platform::TwipsLayout& form);
    void placeValues(const Conflict& conflict, platform::TwipsLayout& form);
    void placeCommands(platform::TwipsLayout& form);
    void Form_Activate();
    void Text2_DblClick();
    void Text3_DblClick();
    void Text4_DblClick();
    void Command1_Click();
    void Text5_Change();
    void take(ConflictSide side);
    std::string valueOfText5() const;

    std::string open_;
    std::string added_;
    std::string chosenValue_;
    std::optional<ConflictSide> sameChoice_;
    // The value last taken from the logs into Text5, and its side: two values
    // can look alike on screen and differ in their bytes.
    std::string taken_;
    ConflictSide takenSide_{ConflictSide::Open};
    bool focusWasInTheProgram_{true};
    QObject* activationWatcher_{};

    std::array<QLabel*, kConflictRows> Label1{};
    std::array<QLineEdit*, kConflictRows> Text1{};
    QLabel* Label2{};
    QLabel* Label3{};
    QLabel* Label4{};
    QLabel* Label5{};
    QLabel* Label6{};
    QLabel* Label7{};
    QLineEdit* Text2{};
    QLineEdit* Text3{};
    QLineEdit* Text4{};
    QLineEdit* Text5{};
    QCheckBox* Check1{};
    QPushButton* Command1{};
};

}  // namespace logweave::dialogs
