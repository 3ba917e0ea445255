#include "dialogs/conflict_dialog.h"

#include "logweave/text.h"
#include "platform/twips.h"

#include <QApplication>
#include <QCheckBox>
#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <functional>
#include <limits>

namespace logweave::dialogs {
namespace {

constexpr int kRows = static_cast<int>(kConflictRows);
constexpr int kStep = 500;
constexpr int kFirstTop = 420;

QString shown(std::string_view bytes)
{
    return QString::fromStdString(displayText(bytes));
}

QLabel* centredLabel(QWidget* parent, const QString& name, const QString& text)
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    label->setAlignment(Qt::AlignCenter);
    return label;
}

QLineEdit* centredBox(QWidget* parent, const QString& name)
{
    auto* box = new QLineEdit(parent);
    box->setObjectName(name);
    box->setAlignment(Qt::AlignCenter);
    box->setFont(platform::dialogFont(12));
    box->setMaxLength(std::numeric_limits<int>::max());  // a long value is never cut
    return box;
}

// Says when the active window changes, but for `dialog` becoming it: any
// window of the program losing it, or another one taking it.
class ActivationWatcher final : public QObject {
public:
    ActivationWatcher(QWidget* dialog, std::function<void()> changed)
        : QObject(dialog), dialog_(dialog), changed_(std::move(changed))
    {
    }

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        // Sent to the window and to each of its controls.
        const bool lost = event->type() == QEvent::WindowDeactivate;
        if ((lost || event->type() == QEvent::WindowActivate) && watched->isWidgetType()
            && (lost || static_cast<QWidget*>(watched)->window() != dialog_))
            changed_();
        return false;
    }

private:
    QWidget* dialog_;
    std::function<void()> changed_;
};

}  // namespace

ConflictDialog::ConflictDialog(const Conflict& conflict, QWidget* parent)
    : QDialog(parent), open_(conflict.open), added_(conflict.added)
{
    setObjectName(QStringLiteral("ConflictDialog"));
    // The field in conflict is named, so that the two values are read for what they are.
    setWindowTitle(QStringLiteral("Conflit : %1 [Conflict: %1]").arg(shown(conflict.field)));
    Form_Load(conflict);
}

void ConflictDialog::Form_Load(const Conflict& conflict)
{
    // The window's height counts its frame and title bar; the client area is what is left.
    constexpr int kFrameAndTitle = 420;
    platform::TwipsLayout form(13050, (kRows + 12) * kStep - kFrameAndTitle);
    placeContact(conflict, form);
    placeValues(conflict, form);
    placeCommands(form);
    form.apply(this);

    for (QLabel* path : {Label2, Label3}) {
        // A path too long for its place shows its end, where the file's name is.
        path->setToolTip(path->text());
        if (path->fontMetrics().horizontalAdvance(path->text()) > path->contentsRect().width())
            path->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    }
    for (QLineEdit* box : {Text2, Text3, Text4})
        box->installEventFilter(this);
    connect(Text5, &QLineEdit::textChanged, this, &ConflictDialog::Text5_Change);
    connect(Command1, &QPushButton::clicked, this, &ConflictDialog::Command1_Click);
    // To know where the focus was before it comes back: the new active window
    // is already known when the old one hears it lost.
    activationWatcher_ =
        new ActivationWatcher(this, [this] { focusWasInTheProgram_ = QApplication::activeWindow() != nullptr; });
    qApp->installEventFilter(activationWatcher_);
}

ConflictDialog::~ConflictDialog()
{
    // Gone before QWidget's destructor hides the window, whose deactivation
    // would otherwise reach this half-destroyed dialog.
    delete activationWatcher_;
}

// Under the value to record: the same choice for the rest of the merge, then OK.
void ConflictDialog::placeCommands(platform::TwipsLayout& form)
{
    Check1 = new QCheckBox(
        QStringLiteral("Même choix pour ce champ jusqu'à la fin [Same choice for this field until the end]"), this);
    Check1->setObjectName(QStringLiteral("Check1"));
    form.place(Check1, 3360, kFirstTop + (kRows + 7) * kStep, 9480, 375);
    Command1 = new QPushButton(QStringLiteral("OK Valider"), this);
    Command1->setObjectName(QStringLiteral("Command1"));
    Command1->setDefault(true);
    form.place(Command1, 5280, kFirstTop + (kRows + 8) * kStep, 1815, 495);
}

void ConflictDialog::placeContact(const Conflict& conflict, platform::TwipsLayout& form)
{
    for (int k = 0; k < kRows; ++k) {
        const ConflictRow& row = conflict.contact[static_cast<std::size_t>(k)];
        // A field the log lacks has an empty caption and value.
        auto* label = new QLabel(shown(row.caption), this);
        label->setObjectName(QStringLiteral("Label1(%1)").arg(k));
        label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        label->setFont(platform::dialogFont(12));
        form.place(label, 120, kFirstTop + kStep * k, 3375, 420);
        auto* value = new QLineEdit(shown(row.value), this);
        value->setObjectName(QStringLiteral("Text1(%1)").arg(k));
        value->setEnabled(false);
        value->setFont(platform::dialogFont(12));
        form.place(value, 3600, kFirstTop - 60 + kStep * k, 5415, 420);
        Label1[static_cast<std::size_t>(k)] = label;
        Text1[static_cast<std::size_t>(k)] = value;
    }
}

void ConflictDialog::placeValues(const Conflict& conflict, platform::TwipsLayout& form)
{
    const int t0 = kFirstTop;
    Label6 = centredLabel(this, QStringLiteral("Label6"), QStringLiteral("Fichier ouvert [File open]"));
    Label7 = centredLabel(this, QStringLiteral("Label7"), QStringLiteral("Fichier ajouté [File added]"));
    Label2 = centredLabel(this, QStringLiteral("Label2"), shown(conflict.openLogPath));
    Label3 = centredLabel(this, QStringLiteral("Label3"), shown(conflict.addedLogPath));
    Label4 = centredLabel(this, QStringLiteral("Label4"), QStringLiteral("Sigma = Ouvert+Ajouté [Open+Added]"));
    Label5 = centredLabel(this, QStringLiteral("Label5"), QStringLiteral("Valeur à enregistrer [Value to record]"));
    for (QLabel* label : {Label6, Label7, Label4, Label5})
        label->setFont(platform::dialogFont(12));
    form.place(Label6, 120, t0 + (kRows + 1) * kStep, 3480, 375);
    form.place(Label7, 3960, t0 + (kRows + 1) * kStep, 3600, 375);
    // The paths keep their places: a long one shows its end.
    form.place(Label2, 120, t0 + (kRows + 2) * kStep, 3480, 375, platform::TwipsLayout::Fit::AsPlaced);
    form.place(Label3, 3960, t0 + (kRows + 2) * kStep, 3600, 375, platform::TwipsLayout::Fit::AsPlaced);
    form.place(Label4, 7920, t0 + (kRows + 2) * kStep, 4920, 375);

    Text2 = centredBox(this, QStringLiteral("Text2"));
    Text3 = centredBox(this, QStringLiteral("Text3"));
    Text4 = centredBox(this, QStringLiteral("Text4"));
    Text5 = centredBox(this, QStringLiteral("Text5"));
    form.place(Text2, 120, t0 + (kRows + 3) * kStep, 3480, 420);
    form.place(Text3, 3960, t0 + (kRows + 3) * kStep, 3600, 420);
    form.place(Text4, 7920, t0 + (kRows + 3) * kStep, 5000, 420);
    form.place(Label5, 4080, t0 + (kRows + 5) * kStep, 4560, 375);
    form.place(Text5, 3360, t0 + (kRows + 6) * kStep, 6000, 420);
    Text2->setText(shown(open_));
    Text3->setText(shown(added_));
    Text4->setText(shown(open_) + ' ' + shown(added_));
    take(ConflictSide::Open);  // the open log's value is proposed
}

bool ConflictDialog::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::MouseButtonDblClick) {
        if (watched == Text2)
            Text2_DblClick();
        else if (watched == Text3)
            Text3_DblClick();
        else if (watched == Text4)
            Text4_DblClick();
    }
    return QDialog::eventFilter(watched, event);
}

void ConflictDialog::changeEvent(QEvent* event)
{
    // Back from another window of the program, OK has the focus again; back from
    // another application, the focus is where the user left it (typing, perhaps).
    if (event->type() == QEvent::ActivationChange && isActiveWindow() && focusWasInTheProgram_)
        Form_Activate();
    QDialog::changeEvent(event);
}

void ConflictDialog::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    Form_Activate();
}

void ConflictDialog::Form_Activate()
{
    // Enter then records the proposed value at once.
    Command1->setFocus(Qt::ActiveWindowFocusReason);
}

void ConflictDialog::take(ConflictSide side)
{
    taken_ = sideValue(side, open_, added_);
    takenSide_ = side;
    Text5->setText(shown(taken_));
    // A text set as it stood says nothing, yet it may now be a side's value.
    if (Check1 != nullptr)
        Text5_Change();
}

void ConflictDialog::Text5_Change()
{
    // A value typed by hand is no side of the conflict that later ones could take.
    const bool taken = Text5->text() == shown(taken_);
    if (!taken)
        Check1->setChecked(false);
    Check1->setEnabled(taken);
}

// Each takes the value from the logs, not from the box clicked.
void ConflictDialog::Text2_DblClick()
{
    take(ConflictSide::Open);
}

void ConflictDialog::Text3_DblClick()
{
    take(ConflictSide::Added);
}

void ConflictDialog::Text4_DblClick()
{
    take(ConflictSide::Both);
}

void ConflictDialog::Command1_Click()
{
    chosenValue_ = valueOfText5();
    if (Check1->isChecked())
        sameChoice_ = takenSide_;
    accept();
}

void ConflictDialog::reject()
{
    Command1_Click();
}

std::string ConflictDialog::valueOfText5() const
{
    // A value taken from the logs, still shown as it was, goes back as the bytes it was read as.
    if (Text5->text() == shown(taken_))
        return taken_;
    const std::string typed = Text5->text().toStdString();
    // Typed among values read as Windows-1252, it is written the same way where it can be.
    if (!isValidUtf8(open_) || !isValidUtf8(added_)) {
        if (auto legacy = utf8ToWindows1252(typed))
            return *legacy;
    }
    return typed;
}

}  // namespace logweave::dialogs
