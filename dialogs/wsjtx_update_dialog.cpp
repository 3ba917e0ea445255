#include "dialogs/wsjtx_update_dialog.h"

#include "dialogs/choice_group.h"
#include "dialogs/twips.h"
#include "logweave/automation_config.h"
#include "logweave/pane_texts.h"
#include "logweave/operations.h"
#include "platform/last_folder.h"
#include "platform/path_text.h"

#include <QDir>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>

namespace logweave::dialogs {
namespace {

const char* const kExplanation =
    "La mise à jour lit le log de WSJT-X (fichier à mettre à jour), y fusionne le fichier à fusionner, "
    "garde de chacun une copie datée à côté de lui (NOM.AAAAMMJJ-HHMMSS.bak, les dix dernières), puis remplace le "
    "log de WSJT-X, le fichier à fusionner et Wsjtx.log par le résultat. Sauvegarder inscrit les deux fichiers et "
    "la règle du même contact dans Logweave.cfg : la mise à jour se fait alors à chaque démarrage du programme.\n"
    "[The update reads the WSJT-X log (file to update), merges the file to merge into it, keeps a dated copy of "
    "each beside it (NAME.YYYYMMDD-HHMMSS.bak, the last ten), then replaces the WSJT-X log, the file to merge and "
    "Wsjtx.log by the result. Save writes both files and the same-contact rule into Logweave.cfg: the update then "
    "runs at every start of the program.]";

QPushButton* button(QWidget* parent, const char* name, const QString& text)
{
    auto* b = new QPushButton(text, parent);
    b->setObjectName(QString::fromLatin1(name));
    b->setAutoDefault(false);  // no default button: Enter presses the focused one only
    return b;
}

}  // namespace

WsjtxUpdateDialog::WsjtxUpdateDialog(const Session& session, platform::Platform& platform, OutputOptions options,
                                     std::function<void(const WsjtxUpdate&)> startUpdate, QWidget* parent)
    : QDialog(parent), session_(session), options_(std::move(options)), startUpdate_(std::move(startUpdate)),
      platform_(platform)
{
    setObjectName(QStringLiteral("WsjtxUpdateDialog"));
    setWindowTitle(QStringLiteral("Mise à jour du log WSJT-X [WSJT-X log update]"));
    setWindowModality(Qt::WindowModal);
    TwipsLayout form(11895, 6090);
    placeFiles(form);
    placeSameContact(form);
    placeCommands(form);
    form.apply(this);

    // Tab goes as the controls stand, top to bottom and left to right: Save before OK.
    const std::array<QWidget*, 9> order{logToUpdateEdit_,       browseLogToUpdateButton_, logToMergeEdit_,
                                        browseLogToMergeButton_, sameContactButtons_[0],  sameContactButtons_[1],
                                        saveButton_,             runUpdateButton_,        cancelButton_};
    for (std::size_t i = 1; i < order.size(); ++i)
        QWidget::setTabOrder(order[i - 1], order[i]);

    connect(logToUpdateEdit_, &QLineEdit::textChanged, this, &WsjtxUpdateDialog::enableCommands);
    connect(logToMergeEdit_, &QLineEdit::textChanged, this, &WsjtxUpdateDialog::enableCommands);
    connect(browseLogToUpdateButton_, &QPushButton::clicked, this, &WsjtxUpdateDialog::browseLogToUpdate);
    connect(browseLogToMergeButton_, &QPushButton::clicked, this, &WsjtxUpdateDialog::browseLogToMerge);
    connect(runUpdateButton_, &QPushButton::clicked, this, &WsjtxUpdateDialog::runUpdate);
    connect(saveButton_, &QPushButton::clicked, this, &WsjtxUpdateDialog::saveAutomation);
    connect(cancelButton_, &QPushButton::clicked, this, &WsjtxUpdateDialog::cancel);
    clearPaths();
}

void WsjtxUpdateDialog::placeFiles(TwipsLayout& form)
{
    explanationLabel_ = new QLabel(QString::fromUtf8(kExplanation), this);
    explanationLabel_->setObjectName(QStringLiteral("explanationLabel"));
    explanationLabel_->setWordWrap(true);
    explanationLabel_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    form.place(explanationLabel_, 360, 240, 11415, 1695);

    const QFont font = dialogFont(9.75);
    logToUpdateLabel_ = new QLabel(QStringLiteral("Fichier à mettre à jour [File to update] "), this);
    logToUpdateLabel_->setObjectName(QStringLiteral("logToUpdateLabel"));
    form.place(logToUpdateLabel_, 240, 2160, 1920, 615);
    logToUpdateEdit_ = new QLineEdit(this);
    logToUpdateEdit_->setObjectName(QStringLiteral("logToUpdateEdit"));
    form.place(logToUpdateEdit_, 2280, 2160, 7575, 615);
    browseLogToUpdateButton_ = button(this, "browseLogToUpdateButton", QStringLiteral("Chercher [Browse]"));
    form.place(browseLogToUpdateButton_, 9960, 2160, 1695, 615);
    logToMergeLabel_ = new QLabel(QStringLiteral("Fichier à fusionner [File to merge]  "), this);
    logToMergeLabel_->setObjectName(QStringLiteral("logToMergeLabel"));
    form.place(logToMergeLabel_, 480, 2880, 1680, 615);
    logToMergeEdit_ = new QLineEdit(this);
    logToMergeEdit_->setObjectName(QStringLiteral("logToMergeEdit"));
    form.place(logToMergeEdit_, 2280, 2880, 7575, 615);
    browseLogToMergeButton_ = button(this, "browseLogToMergeButton", QStringLiteral("Chercher [Browse]"));
    form.place(browseLogToMergeButton_, 9960, 2880, 1695, 615);
    // Each on one line, ending a little before its box.
    for (QLabel* label : {logToUpdateLabel_, logToMergeLabel_}) {
        label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        label->setFont(font);
    }
    logToUpdateEdit_->setFont(font);
    logToMergeEdit_->setFont(font);
}

// The rule the update merges by, as the options dialog offers it.
void WsjtxUpdateDialog::placeSameContact(TwipsLayout& form)
{
    const ContactMatch shown = ruleFollowed();
    if (shown.rule == ContactRule::Window)
        windowMinutes_ = shown.minutes;
    sameContactGroup_ = new QGroupBox(QStringLiteral("Même contact [Same contact]"), this);
    sameContactGroup_->setObjectName(QStringLiteral("sameContactGroup"));
    TwipsLayout& group = form.placeGroup(sameContactGroup_, 240, 3600, 11415, 1095);
    const QString captions[] = {
        QStringLiteral("Même date et heure [Same date and time]"),
        QStringLiteral("Même indicatif, bande et mode à %1 min près [Same call, band and mode within %1 min]")
            .arg(windowMinutes_)};
    for (std::size_t i = 0; i < sameContactButtons_.size(); ++i) {
        sameContactButtons_[i] = new QRadioButton(captions[i], sameContactGroup_);
        sameContactButtons_[i]->setObjectName(QStringLiteral("sameContactButtons(%1)").arg(i));
        group.place(sameContactButtons_[i], 240, 330 + 360 * static_cast<int>(i), 10935, 315);
    }
    groupChoices(this, {sameContactButtons_.begin(), sameContactButtons_.end()});
    sameContactButtons_[shown.rule == ContactRule::Window ? 1 : 0]->setChecked(true);
}

void WsjtxUpdateDialog::placeCommands(TwipsLayout& form)
{
    saveButton_ = button(this, "saveButton", QStringLiteral("Sauvegarder [Save]"));
    form.place(saveButton_, 1560, 5040, 1695, 615);
    runUpdateButton_ = button(this, "runUpdateButton", QStringLiteral("OK"));
    form.place(runUpdateButton_, 5160, 5040, 1935, 615);
    cancelButton_ = button(this, "cancelButton", QStringLiteral("Annuler [Escape]"));
    form.place(cancelButton_, 9000, 5040, 1815, 615);
}

// The rule of the unattended update once it is saved, so that every update
// follows one rule; before that, the rule of the options.
ContactMatch WsjtxUpdateDialog::ruleFollowed() const
{
    const auto saved = readAutomationFile(session_.files, session_.programFolder, {});
    if (saved && !saved->logToUpdate.empty() && !saved->logToMerge.empty())
        return saved->sameContact;
    return options_.sameContact;
}

ContactMatch WsjtxUpdateDialog::sameContact() const
{
    return sameContactButtons_[1]->isChecked() ? ContactMatch{ContactRule::Window, windowMinutes_} : ContactMatch{};
}

void WsjtxUpdateDialog::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        // As on Windows: Enter presses the button that has the focus, and no other.
        if (auto* focused = qobject_cast<QPushButton*>(focusWidget()))
            focused->click();
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void WsjtxUpdateDialog::clearPaths()
{
    // Earlier paths are never shown: each showing starts empty.
    logToUpdateEdit_->clear();
    logToMergeEdit_->clear();
    enableCommands();
}

void WsjtxUpdateDialog::enableCommands()
{
    saveButton_->setEnabled(!logToUpdateEdit_->text().isEmpty() && !logToMergeEdit_->text().isEmpty());
    runUpdateButton_->setEnabled(saveButton_->isEnabled());
}

QString WsjtxUpdateDialog::browse(const QString& role)
{
    // Each where it was left, at first where WSJT-X keeps its log, the file this dialog is about.
    const QString programFolder = platform_.folders.programFolder();
    const QString wsjtx = platform_.folders.wsjtxLogFolder();
    const QString first = wsjtx.isEmpty() ? programFolder : wsjtx;
    const QString name = platform_.fileDialog.getOpenFileName(
        this, {platform::startFolder(platform_.settings, role, first), platform::adifFilters()});
    if (!name.isEmpty())
        platform::keepFolderOf(platform_.settings, role, QDir(programFolder).absoluteFilePath(name));
    return name;
}

void WsjtxUpdateDialog::browseLogToUpdate()
{
    if (const QString name = browse(QStringLiteral("logToUpdate")); !name.isEmpty())
        logToUpdateEdit_->setText(name);
}

void WsjtxUpdateDialog::browseLogToMerge()
{
    if (const QString name = browse(QStringLiteral("logToMerge")); !name.isEmpty())
        logToMergeEdit_->setText(name);
}

void WsjtxUpdateDialog::runUpdate()
{
    WsjtxUpdate update{platform::pathBytes(logToUpdateEdit_->text()), platform::pathBytes(logToMergeEdit_->text()),
                       options_};
    update.options.sameContact = sameContact();
    if (!update.logToUpdate.empty() && !update.logToMerge.empty())
        startUpdate_(update);
    accept();
}

void WsjtxUpdateDialog::saveAutomation()
{
    try {
        const auto file = saveAutomationFile(session_.files, session_.programFolder,
                                             platform::pathBytes(logToUpdateEdit_->text()),
                                             platform::pathBytes(logToMergeEdit_->text()), sameContact());
        session_.ui.appendToPane(pane::automationSaved(bytesFromPath(file)));
    } catch (const FileError& error) {
        // Otherwise the user would believe the update is set up for every start.
        QMessageBox::warning(this, windowTitle(), QString::fromStdString(pane::fileError(error)).trimmed());
    }
}

void WsjtxUpdateDialog::cancel()
{
    reject();
}

}  // namespace logweave::dialogs
