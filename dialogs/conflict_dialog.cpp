#include "dialogs/conflict_dialog.h"

#include "dialogs/twips.h"
#include "logweave/text.h"

#include <QApplication>
#include <QCheckBox>
#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShortcut>

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

// A value longer than its box shows its start, and whole in its tooltip.
void showWhole(QLineEdit* box, const QString& value)
{
    box->setText(value);
    box->setCursorPosition(0);
    box->setToolTip(value);
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
    box->setFont(dialogFont(12));
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
    buildControls(conflict);
}

void ConflictDialog::buildControls(const Conflict& conflict)
{
    // The window's height counts its frame and title bar; the client area is what is left.
    constexpr int kFrameAndTitle = 420;
    TwipsLayout form(13050, (kRows + 12) * kStep - kFrameAndTitle);
    placeContact(conflict, form);
    placeValues(conflict, form);
    placeCommands(form);
    form.apply(this);

    for (QLabel* path : {openPathLabel_, addedPathLabel_}) {
        // A path too long for its place shows its end, where the file's name is.
        path->setToolTip(path->text());
        if (path->fontMetrics().horizontalAdvance(path->text()) > path->contentsRect().width())
            path->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    }
    for (QLineEdit* box : {openValueEdit_, addedValueEdit_, bothValuesEdit_})
        box->installEventFilter(this);
    connect(chosenValueEdit_, &QLineEdit::textChanged, this, &ConflictDialog::enableSameChoice);
    connect(okButton_, &QPushButton::clicked, this, &ConflictDialog::recordChosenValue);
    connect(cancelMergeButton_, &QPushButton::clicked, this, &ConflictDialog::cancelMerge);
    const std::pair<QKeySequence, void (ConflictDialog::*)()> keys[] = {
        {QKeySequence(Qt::ALT | Qt::Key_O), &ConflictDialog::takeOpenValue},
        {QKeySequence(Qt::ALT | Qt::Key_A), &ConflictDialog::takeAddedValue},
        {QKeySequence(Qt::ALT | Qt::Key_S), &ConflictDialog::takeBothValues},
    };
    for (const auto& [key, take] : keys)
        connect(new QShortcut(key, this), &QShortcut::activated, this, take);
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
void ConflictDialog::placeCommands(TwipsLayout& form)
{
    sameChoiceCheck_ = new QCheckBox(
        QStringLiteral("Même choix pour ce champ jusqu'à la fin [Same choice for this field until the end]"), this);
    sameChoiceCheck_->setObjectName(QStringLiteral("sameChoiceCheck"));
    form.place(sameChoiceCheck_, 3360, kFirstTop + (kRows + 7) * kStep, 9480, 375);
    okButton_ = new QPushButton(QStringLiteral("OK Valider"), this);
    okButton_->setObjectName(QStringLiteral("okButton"));
    okButton_->setDefault(true);
    form.place(okButton_, 3360, kFirstTop + (kRows + 8) * kStep, 1815, 495);
    cancelMergeButton_ = new QPushButton(QStringLiteral("Annuler la fusion [Cancel the merge]"), this);
    cancelMergeButton_->setObjectName(QStringLiteral("cancelMergeButton"));
    cancelMergeButton_->setAutoDefault(false);
    form.place(cancelMergeButton_, 6240, kFirstTop + (kRows + 8) * kStep, 3120, 495);
}

void ConflictDialog::placeContact(const Conflict& conflict, TwipsLayout& form)
{
    for (int k = 0; k < kRows; ++k) {
        const ConflictRow& row = conflict.contact[static_cast<std::size_t>(k)];
        // A field the log lacks has an empty caption and value.
        auto* label = new QLabel(shown(row.caption), this);
        label->setObjectName(QStringLiteral("contactCaptions(%1)").arg(k));
        label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        label->setFont(dialogFont(12));
        form.place(label, 120, kFirstTop + kStep * k, 3375, 420);
        auto* value = new QLineEdit(this);
        value->setObjectName(QStringLiteral("contactValues(%1)").arg(k));
        showWhole(value, shown(row.value));
        value->setReadOnly(true);
        value->setFont(dialogFont(12));
        form.place(value, 3600, kFirstTop - 60 + kStep * k, 5415, 420);
        contactCaptions_[static_cast<std::size_t>(k)] = label;
        contactValues_[static_cast<std::size_t>(k)] = value;
    }
}

void ConflictDialog::placeValues(const Conflict& conflict, TwipsLayout& form)
{
    const int t0 = kFirstTop;
    // Each heading names the key that takes its value.
    openHeadingLabel_ =
        centredLabel(this, QStringLiteral("openHeadingLabel"), QStringLiteral("Fichier ouvert [File open]  Alt+O"));
    addedHeadingLabel_ =
        centredLabel(this, QStringLiteral("addedHeadingLabel"), QStringLiteral("Fichier ajouté [File added]  Alt+A"));
    openPathLabel_ = centredLabel(this, QStringLiteral("openPathLabel"), shown(conflict.openLogPath));
    addedPathLabel_ = centredLabel(this, QStringLiteral("addedPathLabel"), shown(conflict.addedLogPath));
    bothHeadingLabel_ = centredLabel(this, QStringLiteral("bothHeadingLabel"),
                                     QStringLiteral("Sigma = Ouvert+Ajouté [Open+Added]  Alt+S"));
    chosenValueLabel_ = centredLabel(this, QStringLiteral("chosenValueLabel"),
                                     QStringLiteral("Valeur à enregistrer [Value to record]"));
    for (QLabel* label : {openHeadingLabel_, addedHeadingLabel_, bothHeadingLabel_, chosenValueLabel_})
        label->setFont(dialogFont(12));
    form.place(openHeadingLabel_, 120, t0 + (kRows + 1) * kStep, 3480, 375);
    form.place(addedHeadingLabel_, 3960, t0 + (kRows + 1) * kStep, 3600, 375);
    // The paths keep their places: a long one shows its end.
    form.place(openPathLabel_, 120, t0 + (kRows + 2) * kStep, 3480, 375, TwipsLayout::Fit::AsPlaced);
    form.place(addedPathLabel_, 3960, t0 + (kRows + 2) * kStep, 3600, 375, TwipsLayout::Fit::AsPlaced);
    form.place(bothHeadingLabel_, 7920, t0 + (kRows + 2) * kStep, 4920, 375);

    openValueEdit_ = centredBox(this, QStringLiteral("openValueEdit"));
    addedValueEdit_ = centredBox(this, QStringLiteral("addedValueEdit"));
    bothValuesEdit_ = centredBox(this, QStringLiteral("bothValuesEdit"));
    chosenValueEdit_ = centredBox(this, QStringLiteral("chosenValueEdit"));
    form.place(openValueEdit_, 120, t0 + (kRows + 3) * kStep, 3480, 420);
    form.place(addedValueEdit_, 3960, t0 + (kRows + 3) * kStep, 3600, 420);
    form.place(bothValuesEdit_, 7920, t0 + (kRows + 3) * kStep, 5000, 420);
    form.place(chosenValueLabel_, 4080, t0 + (kRows + 5) * kStep, 4560, 375);
    form.place(chosenValueEdit_, 3360, t0 + (kRows + 6) * kStep, 6000, 420);
    showWhole(openValueEdit_, shown(open_));
    showWhole(addedValueEdit_, shown(added_));
    showWhole(bothValuesEdit_, shown(open_) + ' ' + shown(added_));
    take(ConflictSide::Open);  // the open log's value is proposed
}

bool ConflictDialog::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::MouseButtonDblClick) {
        if (watched == openValueEdit_)
            takeOpenValue();
        else if (watched == addedValueEdit_)
            takeAddedValue();
        else if (watched == bothValuesEdit_)
            takeBothValues();
    }
    return QDialog::eventFilter(watched, event);
}

void ConflictDialog::changeEvent(QEvent* event)
{
    // Back from another window of the program, OK has the focus again; back from
    // another application, the focus is where the user left it (typing, perhaps).
    if (event->type() == QEvent::ActivationChange && isActiveWindow() && focusWasInTheProgram_)
        focusOk();
    QDialog::changeEvent(event);
}

void ConflictDialog::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    focusOk();
}

void ConflictDialog::focusOk()
{
    // Enter then records the proposed value at once.
    okButton_->setFocus(Qt::ActiveWindowFocusReason);
}

void ConflictDialog::take(ConflictSide side)
{
    taken_ = sideValue(side, open_, added_);
    takenSide_ = side;
    // Both values joined show as each does alone, whatever their encodings.
    takenShown_ = side == ConflictSide::Both ? bothValuesEdit_->text() : shown(taken_);
    showWhole(chosenValueEdit_, takenShown_);
    // A text set as it stood says nothing, yet it may now be a side's value.
    if (sameChoiceCheck_ != nullptr)
        enableSameChoice();
}

void ConflictDialog::enableSameChoice()
{
    // A value typed by hand is no side of the conflict that later ones could take.
    chosenValueEdit_->setToolTip(chosenValueEdit_->text());
    const bool taken = chosenValueEdit_->text() == takenShown_;
    if (!taken)
        sameChoiceCheck_->setChecked(false);
    sameChoiceCheck_->setEnabled(taken);
}

// Each takes the value from the logs, not from the box clicked.
void ConflictDialog::takeOpenValue()
{
    take(ConflictSide::Open);
}

void ConflictDialog::takeAddedValue()
{
    take(ConflictSide::Added);
}

void ConflictDialog::takeBothValues()
{
    take(ConflictSide::Both);
}

void ConflictDialog::recordChosenValue()
{
    chosenValue_ = valueToRecord();
    if (sameChoiceCheck_->isChecked())
        sameChoice_ = takenSide_;
    accept();
}

void ConflictDialog::cancelMerge()
{
    cancelled_ = true;
    QDialog::reject();
}

void ConflictDialog::reject()
{
    cancelMerge();
}

std::string ConflictDialog::valueToRecord() const
{
    // A value taken from the logs, still shown as it was, goes back as the bytes it was read as.
    if (chosenValueEdit_->text() == takenShown_)
        return taken_;
    const std::string typed = chosenValueEdit_->text().toStdString();
    // Typed among values read as Windows-1252, it is written the same way where it can be.
    if (!isValidUtf8(open_) || !isValidUtf8(added_)) {
        if (auto legacy = utf8ToWindows1252(typed))
            return *legacy;
    }
    return typed;
}

}  // namespace logweave::dialogs
