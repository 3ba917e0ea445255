#pragma once
// The output options: field order list, upper-case names, double spacing, the
// header of merged and filtered files, and what makes two records one contact.
// They hold for one run. Escape, like the close box, keeps none of the choices made.

#include "logweave/output_options.h"
#include "platform/platform.h"

#include <QDialog>

#include <array>

class QAction;
class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenuBar;
class QPushButton;
class QRadioButton;

namespace logweave::dialogs {

class TwipsLayout;

class OptionsDialog final : public QDialog {
    Q_OBJECT

public:
    OptionsDialog(platform::Platform& platform, QWidget* parent = nullptr);

    void setOptions(const OutputOptions& options);
    OutputOptions options() const;

private:
    void buildControls(QWidget* area, TwipsLayout& form);
    void placeListAndChecks(QWidget* area, TwipsLayout& form);
    void placeHeaderChoice(QWidget* area, TwipsLayout& form);
    void placeSameContact(QWidget* area, TwipsLayout& form);
    QMenuBar* buildMenu();
    void browseFieldOrderFile();
    void keepChoices();
    void showHelp();
    void quit();

    platform::Platform& platform_;

    QLabel* fieldOrderFileLabel_{};
    QLineEdit* fieldOrderFileEdit_{};
    QPushButton* browseFieldOrderFileButton_{};
    QLabel* upperCaseNamesLabel_{};
    QCheckBox* upperCaseNamesCheck_{};
    QLabel* doubleSpacingLabel_{};
    QCheckBox* doubleSpacingCheck_{};
    QLabel* headerSourceLabel_{};
    std::array<QRadioButton*, 3> headerSourceButtons_{};
    QLabel* addedLogHeaderLabel_{};
    QLabel* openLogHeaderLabel_{};
    QLabel* programHeaderLabel_{};
    QGroupBox* sameContactGroup_{};
    std::array<QRadioButton*, 2> sameContactButtons_{};
    QPushButton* okButton_{};
    QAction* helpMenuAction_{};
    QAction* emptyMenuAction_{};
    QAction* quitMenuAction_{};
};

}  // namespace logweave::dialogs
