#pragma once
// Settles one field of one contact while a log is merged: shows the contact,
// the open log's value, the added log's value and both joined, and hands back
// the value to record, and whether the field's later conflicts take its side.

#include "logweave/conflict.h"

#include <QDialog>
#include <QString>

#include <array>
#include <optional>
#include <string>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace logweave::dialogs {

class TwipsLayout;

class ConflictDialog final : public QDialog {
    Q_OBJECT

public:
    ConflictDialog(const Conflict& conflict, QWidget* parent = nullptr);
    ~ConflictDialog() override;

    // The value to record, as bytes: a value taken from the logs keeps its own.
    std::string chosenValue() const { return chosenValue_; }
    // Set when the later conflicts of this field are to take the same side without asking.
    std::optional<ConflictSide> sameChoiceUntilTheEnd() const { return sameChoice_; }
    // The user stopped the whole merge: by its button, Escape or the close box.
    bool mergeCancelled() const { return cancelled_; }

    void reject() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void changeEvent(QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void buildControls(const Conflict& conflict);
    void placeContact(const Conflict& conflict, TwipsLayout& form);
    void placeValues(const Conflict& conflict, TwipsLayout& form);
    void placeCommands(TwipsLayout& form);
    void focusOk();
    void takeOpenValue();
    void takeAddedValue();
    void takeBothValues();
    void recordChosenValue();
    void cancelMerge();
    void enableSameChoice();
    void take(ConflictSide side);
    std::string valueToRecord() const;

    std::string open_;
    std::string added_;
    std::string chosenValue_;
    std::optional<ConflictSide> sameChoice_;
    bool cancelled_ = false;
    // The value last taken from the logs into the box of the value to record,
    // and its side: two values can look alike on screen and differ in their bytes.
    std::string taken_;
    QString takenShown_;
    ConflictSide takenSide_{ConflictSide::Open};
    bool focusWasInTheProgram_{true};
    QObject* activationWatcher_{};

    std::array<QLabel*, kConflictRows> contactCaptions_{};
    std::array<QLineEdit*, kConflictRows> contactValues_{};
    QLabel* openPathLabel_{};
    QLabel* addedPathLabel_{};
    QLabel* bothHeadingLabel_{};
    QLabel* chosenValueLabel_{};
    QLabel* openHeadingLabel_{};
    QLabel* addedHeadingLabel_{};
    QLineEdit* openValueEdit_{};
    QLineEdit* addedValueEdit_{};
    QLineEdit* bothValuesEdit_{};
    QLineEdit* chosenValueEdit_{};
    QCheckBox* sameChoiceCheck_{};
    QPushButton* okButton_{};
    QPushButton* cancelMergeButton_{};
};

}  // namespace logweave::dialogs
