#include "dialogs/options_dialog.h"

#include "dialogs/choice_group.h"
#include "dialogs/program_help.h"
#include "dialogs/twips.h"
#include "platform/last_folder.h"
#include "platform/path_text.h"

#include <QCheckBox>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace logweave::dialogs {
namespace {

template <typename Widget>
Widget* make(QWidget* parent, const char* name, const QString& text = {})
{
    auto* widget = new Widget(text, parent);
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

// The caption of a check box or a radio button, standing apart from it: a
// click on it is a click on the button.
class ButtonCaption final : public QLabel {
public:
    ButtonCaption(const QString& text, QWidget* parent) : QLabel(text, parent) {}

protected:
    void mousePressEvent(QMouseEvent* event) override { event->setAccepted(event->button() == Qt::LeftButton); }
    void mouseReleaseEvent(QMouseEvent* event) override
    {
        auto* button = qobject_cast<QAbstractButton*>(buddy());
        if (button == nullptr || event->button() != Qt::LeftButton || !rect().contains(event->position().toPoint())) {
            event->ignore();
            return;
        }
        button->setFocus(Qt::MouseFocusReason);
        button->click();
    }
};

// A caption on one line at the left of its control: the form grows to hold it.
template <typename Label = QLabel>
QLabel* rightLabel(QWidget* parent, const char* name, const QString& text)
{
    QLabel* label = make<Label>(parent, name, text);
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    label->setFont(dialogFont(12));
    return label;
}

}  // namespace

OptionsDialog::OptionsDialog(platform::Platform& platform, QWidget* parent)
    : QDialog(parent), platform_(platform)
{
    setObjectName(QStringLiteral("OptionsDialog"));
    setWindowTitle(QStringLiteral("Logweave Configuration"));
    // Modal to the main window only: the help it opens stays usable.
    setWindowModality(Qt::WindowModal);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->setMenuBar(buildMenu());
    auto* area = new QWidget(this);
    layout->addWidget(area);
    TwipsLayout form(11610, 7170);
    buildControls(area, form);
    form.apply(area);
    setOptions(OutputOptions{});
}

QMenuBar* OptionsDialog::buildMenu()
{
    auto* bar = new QMenuBar(this);
    bar->setNativeMenuBar(false);
    helpMenuAction_ = bar->addAction(QStringLiteral("Aide [Help]"));
    helpMenuAction_->setObjectName(QStringLiteral("helpMenuAction"));
    emptyMenuAction_ = bar->addAction(QString());
    emptyMenuAction_->setObjectName(QStringLiteral("emptyMenuAction"));
    quitMenuAction_ = bar->addAction(QStringLiteral("Quitter [Exit]"));
    quitMenuAction_->setObjectName(QStringLiteral("quitMenuAction"));
    connect(helpMenuAction_, &QAction::triggered, this, &OptionsDialog::showHelp);
    connect(quitMenuAction_, &QAction::triggered, this, &OptionsDialog::quit);
    return bar;
}

void OptionsDialog::buildControls(QWidget* area, TwipsLayout& form)
{
    placeListAndChecks(area, form);
    placeHeaderChoice(area, form);
    placeSameContact(area, form);
    okButton_ = make<QPushButton>(area, "okButton", QStringLiteral("OK"));
    okButton_->setFont(dialogFont(13.5, true));
    okButton_->setDefault(true);
    form.place(okButton_, 4800, 5640, 1695, 735);  // last, under every choice

    // Tab goes as the controls stand, top to bottom and left to right.
    const std::array<QWidget*, 10> order{fieldOrderFileEdit_,     browseFieldOrderFileButton_, upperCaseNamesCheck_,
                                         doubleSpacingCheck_,     headerSourceButtons_[0],     headerSourceButtons_[1],
                                         headerSourceButtons_[2], sameContactButtons_[0],      sameContactButtons_[1],
                                         okButton_};
    for (std::size_t i = 1; i < order.size(); ++i)
        QWidget::setTabOrder(order[i - 1], order[i]);

    connect(browseFieldOrderFileButton_, &QPushButton::clicked, this, &OptionsDialog::browseFieldOrderFile);
    connect(okButton_, &QPushButton::clicked, this, &OptionsDialog::keepChoices);
}

void OptionsDialog::placeListAndChecks(QWidget* area, TwipsLayout& form)
{
    fieldOrderFileLabel_ = rightLabel(
        area, "fieldOrderFileLabel", QStringLiteral("Fichier liste d'ordre des champs  [File with a fields order list] "));
    form.place(fieldOrderFileLabel_, 120, 480, 3735, 615);
    fieldOrderFileEdit_ = make<QLineEdit>(area, "fieldOrderFileEdit");
    fieldOrderFileEdit_->setFont(dialogFont(12));
    form.place(fieldOrderFileEdit_, 4200, 580, 6015, 420);
    browseFieldOrderFileButton_ =
        make<QPushButton>(area, "browseFieldOrderFileButton", QStringLiteral("Chercher [Browse]"));
    form.place(browseFieldOrderFileButton_, 10320, 465, 975, 615);
    upperCaseNamesLabel_ = rightLabel<ButtonCaption>(
        area, "upperCaseNamesLabel", QStringLiteral("Noms des champs en Majuscules [Field names in upper case] "));
    form.place(upperCaseNamesLabel_, 120, 1300, 3735, 615);
    upperCaseNamesCheck_ = make<QCheckBox>(area, "upperCaseNamesCheck");
    upperCaseNamesLabel_->setBuddy(upperCaseNamesCheck_);
    form.place(upperCaseNamesCheck_, 4200, 1420, 375, 375);
    doubleSpacingLabel_ = rightLabel<ButtonCaption>(area, "doubleSpacingLabel",
                                                    QStringLiteral("Interligne double [Double line spacing] "));
    form.place(doubleSpacingLabel_, 1320, 2040, 2535, 615);
    doubleSpacingCheck_ = make<QCheckBox>(area, "doubleSpacingCheck");
    doubleSpacingLabel_->setBuddy(doubleSpacingCheck_);
    form.place(doubleSpacingCheck_, 4200, 2160, 375, 375);
}

void OptionsDialog::placeHeaderChoice(QWidget* area, TwipsLayout& form)
{
    headerSourceLabel_ = rightLabel(area, "headerSourceLabel", QStringLiteral("Entête du fichier [File header] "));
    form.place(headerSourceLabel_, 1800, 2880, 2055, 615);
    const std::array<int, 3> lefts{4200, 6240, 8280};
    for (std::size_t i = 0; i < headerSourceButtons_.size(); ++i) {
        headerSourceButtons_[i] = new QRadioButton(area);
        headerSourceButtons_[i]->setObjectName(QStringLiteral("headerSourceButtons(%1)").arg(i));
        form.place(headerSourceButtons_[i], lefts[i], 3000, 375, 375);
    }
    groupChoices(this, {headerSourceButtons_.begin(), headerSourceButtons_.end()});
    addedLogHeaderLabel_ =
        make<ButtonCaption>(area, "addedLogHeaderLabel", QStringLiteral("Fichier ajouté [Added file]"));
    form.place(addedLogHeaderLabel_, 4080, 3360, 1935, 615);
    openLogHeaderLabel_ = make<ButtonCaption>(area, "openLogHeaderLabel", QStringLiteral("Fichier ouvert [Open file]"));
    form.place(openLogHeaderLabel_, 6120, 3360, 1935, 615);
    programHeaderLabel_ = make<ButtonCaption>(area, "programHeaderLabel", QStringLiteral("Logweave"));
    form.place(programHeaderLabel_, 8160, 3480, 1935, 375);
    const std::array<QLabel*, 3> captions{addedLogHeaderLabel_, openLogHeaderLabel_, programHeaderLabel_};
    for (std::size_t i = 0; i < captions.size(); ++i) {
        captions[i]->setWordWrap(true);
        captions[i]->setFont(dialogFont(12));
        captions[i]->setBuddy(headerSourceButtons_[i]);
    }
}

// Under the header choice, across the form, with OK moved below it.
void OptionsDialog::placeSameContact(QWidget* area, TwipsLayout& form)
{
    sameContactGroup_ = new QGroupBox(QStringLiteral("Même contact [Same contact]"), area);
    sameContactGroup_->setObjectName(QStringLiteral("sameContactGroup"));
    TwipsLayout& group = form.placeGroup(sameContactGroup_, 120, 4200, 11175, 1215);
    const std::array<QString, 2> captions{
        QStringLiteral("Même date et heure [Same date and time]"),
        QStringLiteral("Même indicatif, bande et mode à 30 min près [Same call, band and mode within 30 min]")};
    for (std::size_t i = 0; i < sameContactButtons_.size(); ++i) {
        sameContactButtons_[i] = new QRadioButton(captions[i], sameContactGroup_);
        sameContactButtons_[i]->setObjectName(QStringLiteral("sameContactButtons(%1)").arg(i));
        group.place(sameContactButtons_[i], 240, 360 + 420 * static_cast<int>(i), 10695, 315);
    }
    groupChoices(this, {sameContactButtons_.begin(), sameContactButtons_.end()});
}

void OptionsDialog::setOptions(const OutputOptions& options)
{
    fieldOrderFileEdit_->setText(platform::pathText(options.fieldOrderFile));
    upperCaseNamesCheck_->setChecked(options.upperCaseNames);
    doubleSpacingCheck_->setChecked(options.doubleSpacing);
    headerSourceButtons_[static_cast<std::size_t>(options.headerSource)]->setChecked(true);
    sameContactButtons_[options.sameContact.rule == ContactRule::Window ? 1 : 0]->setChecked(true);
}

OutputOptions OptionsDialog::options() const
{
    OutputOptions options;
    options.fieldOrderFile = platform::pathBytes(fieldOrderFileEdit_->text());
    options.upperCaseNames = upperCaseNamesCheck_->isChecked();
    options.doubleSpacing = doubleSpacingCheck_->isChecked();
    options.headerSource = headerSourceButtons_[2]->isChecked()   ? HeaderSource::Program
                           : headerSourceButtons_[1]->isChecked() ? HeaderSource::OpenLog
                                                                  : HeaderSource::AddedLog;
    // The dialog offers the one window its caption names.
    options.sameContact = sameContactButtons_[1]->isChecked() ? ContactMatch{ContactRule::Window} : ContactMatch{};
    return options;
}

void OptionsDialog::browseFieldOrderFile()
{
    const QString role = QStringLiteral("fieldOrder");
    const QString programFolder = platform_.folders.programFolder();
    const QString name = platform_.fileDialog.getOpenFileName(
        this, {platform::startFolder(platform_.settings, role, programFolder), platform::fieldOrderFilters()});
    if (name.isEmpty())
        return;  // cancelled: back to the dialog as it was
    // A name without folder is the program folder's, as everywhere in the program.
    const QString path = QDir(programFolder).absoluteFilePath(name);
    platform::keepFolderOf(platform_.settings, role, path);
    fieldOrderFileEdit_->setText(path);
}

void OptionsDialog::keepChoices()
{
    accept();
}

void OptionsDialog::showHelp()
{
    showProgramHelp(platform_);
}

void OptionsDialog::quit()
{
    platform_.exit.endNow();
}

}  // namespace logweave::dialogs
