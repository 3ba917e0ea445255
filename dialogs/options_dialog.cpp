#include "dialogs/options_dialog.h"

#include "dialogs/program_help.h"
#include "platform/path_text.h"
#include "platform/twips.h"

#include <QCheckBox>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
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

QLabel* rightLabel(QWidget* parent, const char* name, const QString& text)
{
    QLabel* label = make<QLabel>(parent, name, text);
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    label->setWordWrap(true);
    label->setFont(platform::dialogFont(12));
    return label;
}

}  // namespace

OptionsDialog::OptionsDialog(platform::Platform& platform, QWidget* parent)
    : EscapeKeptDialog(parent), platform_(platform)
{
    setObjectName(QStringLiteral("OptionsDialog"));
    setWindowTitle(QStringLiteral("Logweave      Configuration"));
    // Modal to the main window only: the help it opens stays usable.
    setWindowModality(Qt::WindowModal);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->setMenuBar(buildMenu());
    auto* area = new QWidget(this);
    layout->addWidget(area);
    platform::TwipsLayout form(11610, 7170);
    buildControls(area, form);
    form.apply(area);
    setOptions(OutputOptions{});
}

QMenuBar* OptionsDialog::buildMenu()
{
    auto* bar = new QMenuBar(this);
    bar->setNativeMenuBar(false);
    Mnu_Aide = bar->addAction(QStringLiteral("Aide [Help]"));
    Mnu_Aide->setObjectName(QStringLiteral("Mnu_Aide"));
    Mnu_Dummy = bar->addAction(QString());
    Mnu_Dummy->setObjectName(QStringLiteral("Mnu_Dummy"));
    Mnu_Quitter = bar->addAction(QStringLiteral("Quitter [Exit]"));
    Mnu_Quitter->setObjectName(QStringLiteral("Mnu_Quitter"));
    connect(Mnu_Aide, &QAction::triggered, this, &OptionsDialog::Mnu_Aide_Click);
    connect(Mnu_Quitter, &QAction::triggered, this, &OptionsDialog::Mnu_Quitter_Click);
    return bar;
}

void OptionsDialog::buildControls(QWidget* area, platform::TwipsLayout& form)
{
    placeListAndChecks(area, form);
    placeHeaderChoice(area, form);
    placeSameContact(area, form);
    Command2 = make<QPushButton>(area, "Command2", QStringLiteral("OK"));
    Command2->setFont(platform::dialogFont(13.5, true));
    Command2->setDefault(true);
    form.place(Command2, 4800, 5640, 1695, 735);  // last, under every choice

    // Tab order of the form: list, check boxes, OK, Browse, then the header and contact choices.
    QWidget::setTabOrder(Text1, Check1);
    QWidget::setTabOrder(Check1, Check2);
    QWidget::setTabOrder(Check2, Command2);
    QWidget::setTabOrder(Command2, Command1);
    QWidget::setTabOrder(Command1, Option1[0]);
    QWidget::setTabOrder(Option1[2], Option2[0]);

    connect(Command1, &QPushButton::clicked, this, &OptionsDialog::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &OptionsDialog::Command2_Click);
}

void OptionsDialog::placeListAndChecks(QWidget* area, platform::TwipsLayout& form)
{
    Label1 = rightLabel(area, "Label1", QStringLiteral("Fichier liste d'ordre des champs  [File with a fields order list] "));
    form.place(Label1, 120, 480, 3735, 615);
    Text1 = make<QLineEdit>(area, "Text1");
    Text1->setFont(platform::dialogFont(12));
    form.place(Text1, 4200, 580, 6015, 420);
    Command1 = make<QPushButton>(area, "Command1", QStringLiteral("Chercher [Browse]"));
    form.place(Command1, 10320, 465, 975, 615);
    Label2 = rightLabel(area, "Label2", QStringLiteral("Noms des champs en Majuscules [Field names in upper case] "));
    form.place(Label2, 120, 1300, 3735, 615);
    Check1 = make<QCheckBox>(area, "Check1");
    form.place(Check1, 4200, 1420, 375, 375);
    Label3 = rightLabel(area, "Label3", QStringLiteral("Interligne double [Double line spacing] "));
    form.place(Label3, 1320, 2040, 2535, 615);
    Check2 = make<QCheckBox>(area, "Check2");
    form.place(Check2, 4200, 2160, 375, 375);
}

void OptionsDialog::placeHeaderChoice(QWidget* area, platform::TwipsLayout& form)
{
    Label4 = rightLabel(area, "Label4", QStringLiteral("Entête du fichier [File header] "));
    form.place(Label4, 1800, 2880, 2055, 615);
    const std::array<int, 3> lefts{4200, 6240, 8280};
    for (std::size_t i = 0; i < Option1.size(); ++i) {
        Option1[i] = new QRadioButton(area);
        Option1[i]->setObjectName(QStringLiteral("Option1(%1)").arg(i));
        form.place(Option1[i], lefts[i], 3000, 375, 375);
    }
    Label5 = make<QLabel>(area, "Label5", QStringLiteral("Fichier ajouté [Adde file]"));
    form.place(Label5, 4080, 3360, 1935, 615);
    Label6 = make<QLabel>(area, "Label6", QStringLiteral("Fichier ouvert [Open file]"));
    form.place(Label6, 6120, 3360, 1935, 615);
    Label7 = make<QLabel>(area, "Label7", QStringLiteral("Logweave"));
    form.place(Label7, 8160, 3480, 1935, 375);
    for (QLabel* label : {Label5, Label6, Label7}) {
        label->setWordWrap(true);
        label->setFont(platform::dialogFont(12));
    }
}

// Under the header choice, across the form, with OK moved below it.
void OptionsDialog::placeSameContact(QWidget* area, platform::TwipsLayout& form)
{
    Frame1 = new QGroupBox(QStringLiteral("Même contact [Same contact]"), area);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    platform::TwipsLayout& group = form.placeGroup(Frame1, 120, 4200, 11175, 1215);
    const std::array<QString, 2> captions{
        QStringLiteral("Même date et heure [Same date and time]"),
        QStringLiteral("Même indicatif, bande et mode à 30 min près [Same call, band and mode within 30 min]")};
    for (std::size_t i = 0; i < Option2.size(); ++i) {
        Option2[i] = new QRadioButton(captions[i], Frame1);
        Option2[i]->setObjectName(QStringLiteral("Option2(%1)").arg(i));
        group.place(Option2[i], 240, 360 + 420 * static_cast<int>(i), 10695, 315);
    }
}

void OptionsDialog::setOptions(const OutputOptions& options)
{
    Text1->setText(platform::pathText(options.FieldOrderFile));
    Check1->setChecked(options.UpperCaseNames);
    Check2->setChecked(options.DoubleSpacing);
    Option1[static_cast<std::size_t>(options.headerSource)]->setChecked(true);
    Option2[options.sameContact.rule == ContactRule::Window ? 1 : 0]->setChecked(true);
}

OutputOptions OptionsDialog::options() const
{
    OutputOptions options;
    options.FieldOrderFile = platform::pathBytes(Text1->text());
    options.UpperCaseNames = Check1->isChecked();
    options.DoubleSpacing = Check2->isChecked();
    options.headerSource = Option1[2]->isChecked()   ? HeaderSource::Program
                           : Option1[1]->isChecked() ? HeaderSource::OpenLog
                                                     : HeaderSource::AddedLog;
    // The dialog offers the one window its caption names.
    options.sameContact = Option2[1]->isChecked() ? ContactMatch{ContactRule::Window} : ContactMatch{};
    return options;
}

void OptionsDialog::Command1_Click()
{
    const QString name = platform_.fileDialog.getOpenFileName(
        this, {platform_.folders.programFolder(), platform::fieldOrderFilters()});
    if (name.isEmpty()) {
        platform_.exit.endNow();
        return;
    }
    Text1->setText(QFileInfo(name).absoluteFilePath());
}

void OptionsDialog::Command2_Click()
{
    accept();
}

void OptionsDialog::Mnu_Aide_Click()
{
    showProgramHelp(platform_);
}

void OptionsDialog::Mnu_Quitter_Click()
{
    platform_.exit.endNow();
}

}  // namespace logweave::dialogs
