#pragma once
// The output options: field order list, upper-case names, double spacing, the
// header of merged and filtered files, and what makes two records one contact.
// They hold for one run.

#include "logweave/output_options.h"
#include "platform/platform.h"

#include "dialogs/escape_kept_dialog.h"

#include <array>

class QAction;
class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenuBar;
class QPushButton;
class QRadioButton;

namespace logweave::platform {
class TwipsLayout;
}

namespace logweave::dialogs {

class OptionsDialog final : public EscapeKeptDialog {
    Q_OBJECT

public:
    OptionsDialog(platform::Platform& platform, QWidget* parent = nullptr);

    void setOptions(const OutputOptions& options);
    OutputOptions options() const;

private:
    void buildControls(QWidget* area, platform::TwipsLayout& form);
    void placeListAndChecks(QWidget* area, platform::TwipsLayout& form);
    void placeHeaderChoice(QWidget* area, platform::TwipsLayout& form);
    void placeSameContact(QWidget* area, platform::TwipsLayout& form);
    QMenuBar* buildMenu();
    void Command1_Click();
    void Command2_Click();
    void Mnu_Aide_Click();
    void Mnu_Quitter_Click();

    platform::Platform& platform_;

    QLabel* Label1{};
    QLineEdit* Text1{};
    QPushButton* Command1{};
    QLabel* Label2{};
    QCheckBox* Check1{};
    QLabel* Label3{};
    QCheckBox* Check2{};
    QLabel* Label4{};
    std::array<QRadioButton*, 3> Option1{};
    QLabel* Label5{};
    QLabel* Label6{};
    QLabel* Label7{};
    QGroupBox* Frame1{};
    std::array<QRadioButton*, 2> Option2{};
    QPushButton* Command2{};
    QAction* Mnu_Aide{};
    QAction* Mnu_Dummy{};
    QAction* Mnu_Quitter{};
};

}  // namespace logweave::dialogs
