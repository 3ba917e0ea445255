#include "dialogs/wsjtx_update_dialog.h"

#include "logweave/automation_config.h"
#include "logweave/pane_texts.h"
#include "logweave/update_wsjtx_log.h"
#include "platform/busy_cursor.h"
#include "platform/path_text.h"
#include "platform/twips.h"

#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>

namespace logweave::dialogs {
namespace {

const char* const kExplanation =
    "La mise à jour lit le log de WSJT-X (fichier à mettre à jour), y fusionne le fichier à fusionner, "
    "en garde une copie datée à côté de lui (NOM.AAAAMMJJ-HHMMSS.bak, les dix dernières), puis remplace le log "
    "de WSJT-X, le fichier à fusionner et Wsjtx.log par le résultat. Sauvegarder inscrit les deux fichiers dans "
    "Logweave.cfg : la mise à jour se fait alors à chaque démarrage du programme.\n"
    "[The update reads the WSJT-X log (file to update), merges the file to merge into it, keeps a dated copy of "
    "it beside it (NAME.YYYYMMDD-HHMMSS.bak, the last ten), then replaces the WSJT-X log, the file to merge and "
    "Wsjtx.log by the result. Save writes both files into Logweave.cfg: the update then runs at every start of "
    "the program.]";

QPushButton* button(QWidget* parent, const char* name, const QString& text)
{
    auto* b = new QPushButton(text, parent);
    b->setObjectName(QString::fromLatin1(name));
    b->setAutoDefault(false);  // no default button: Enter presses the focused one only
    return b;
}

}  // namespace

WsjtxUpdateDialog::WsjtxUpdateDialog(Session& session, platform::Platform& platform, QWidget* parent)
    : EscapeKeptDialog(parent), session_(session), platform_(platform)
{
    setObjectName(QStringLiteral("WsjtxUpdateDialog"));
    setWindowTitle(QStringLiteral("Mise à jour du log WSJT-X [WSJT-X log update]"));
    setWindowModality(Qt::WindowModal);
    platform::TwipsLayout form(11895, 6090);
    placeFiles(form);
    placeCommands(form);
    form.apply(this);

    QWidget::setTabOrder(Text1, Command1);
    QWidget::setTabOrder(Command1, Text2);
    QWidget::setTabOrder(Text2, Command2);
    QWidget::setTabOrder(Command2, Command3);
    QWidget::setTabOrder(Command3, Command4);
    QWidget::setTabOrder(Command4, Command5);

    connect(Text1, &QLineEdit::textChanged, this, &WsjtxUpdateDialog::enableCommands);
    connect(Text2, &QLineEdit::textChanged, this, &WsjtxUpdateDialog::enableCommands);
    connect(Command1, &QPushButton::clicked, this, &WsjtxUpdateDialog::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &WsjtxUpdateDialog::Command2_Click);
    connect(Command3, &QPushButton::clicked, this, &WsjtxUpdateDialog::Command3_Click);
    connect(Command4, &QPushButton::clicked, this, &WsjtxUpdateDialog::Command4_Click);
    connect(Command5, &QPushButton::clicked, this, &WsjtxUpdateDialog::Command5_Click);
    Form_Load();
}

void WsjtxUpdateDialog::placeFiles(platform::TwipsLayout& form)
{
    Label3 = new QLabel(QString::fromUtf8(kExplanation), this);
    Label3->setObjectName(QStringLiteral("Label3"));
    Label3->setWordWrap(true);
    Label3->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    form.place(Label3, 360, 240, 11415, 1695);

    const QFont font = platform::dialogFont(9.75);
    Label1 = new QLabel(QStringLiteral("Fichier à mettre à jour [File to update] "), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    form.place(Label1, 240, 2160, 2055, 495);
    Text1 = new QLineEdit(this);
    Text1->setObjectName(QStringLiteral("Text1"));
    form.place(Text1, 2280, 2160, 7575, 615);
    Command1 = button(this, "Command1", QStringLiteral("Chercher [Browse]"));
    form.place(Command1, 9960, 2160, 1695, 615);
    Label2 = new QLabel(QStringLiteral("Fichier à fusionner [File to merge]  "), this);
    Label2->setObjectName(QStringLiteral("Label2"));
    form.place(Label2, 480, 2880, 1815, 495);
    Text2 = new QLineEdit(this);
    Text2->setObjectName(QStringLiteral("Text2"));
    form.place(Text2, 2280, 2880, 7575, 615);
    Command2 = button(this, "Command2", QStringLiteral("Chercher [Browse]"));
    form.place(Command2, 9960, 2880, 1695, 615);
    for (QLabel* label : {Label1, Label2}) {
        label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        label->setWordWrap(true);
        label->setFont(font);
    }
    Text1->setFont(font);
    Text2->setFont(font);
}

void WsjtxUpdateDialog::placeCommands(platform::TwipsLayout& form)
{
    Command4 = button(this, "Command4", QStringLiteral("Sauvegarder [Save]"));
    form.place(Command4, 1560, 3960, 1695, 615);
    Command3 = button(this, "Command3", QStringLiteral("OK"));
    form.place(Command3, 5160, 3960, 1935, 615);
    Command5 = button(this, "Command5", QStringLiteral("Annuler [Escape]"));
    form.place(Command5, 9000, 3960, 1815, 615);
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
    EscapeKeptDialog::keyPressEvent(event);
}

void WsjtxUpdateDialog::Form_Load()
{
    // Earlier paths are never shown: each showing starts empty.
    Text1->clear();
    Text2->clear();
    enableCommands();
}

void WsjtxUpdateDialog::enableCommands()
{
    Command4->setEnabled(!Text1->text().isEmpty() && !Text2->text().isEmpty());
    Command3->setEnabled(Command4->isEnabled());
}

QString WsjtxUpdateDialog::browse()
{
    // Both start where WSJT-X keeps its log, the file this dialog is about.
    const QString wsjtx = platform_.folders.wsjtxLogFolder();
    const QString start = wsjtx.isEmpty() ? platform_.folders.programFolder() : wsjtx;
    return platform_.fileDialog.getOpenFileName(this, {start, platform::adifFilters()});
}

void WsjtxUpdateDialog::Command1_Click()
{
    if (const QString name = browse(); !name.isEmpty())
        Text1->setText(name);
}

void WsjtxUpdateDialog::Command2_Click()
{
    if (const QString name = browse(); !name.isEmpty())
        Text2->setText(name);
}

void WsjtxUpdateDialog::Command3_Click()
{
    LogStore& store = session_.store;
    store.FicToUpdate = platform::pathBytes(Text1->text());
    store.FicToMerge = platform::pathBytes(Text2->text());
    if (!store.FicToUpdate.empty() && !store.FicToMerge.empty()) {
        const platform::BusyCursor busy;
        UpdateWsjtxLog(session_, {store.FicToUpdate, store.FicToMerge, session_.ui.outputOptions().sameContact});
    }
    accept();
}

void WsjtxUpdateDialog::Command4_Click()
{
    try {
        // The unattended update merges by the rule of what is one contact chosen now.
        SaveAutomationConfig(session_.files, session_.store.programFolder, platform::pathBytes(Text1->text()),
                             platform::pathBytes(Text2->text()), session_.ui.outputOptions().sameContact);
    } catch (const FileError& error) {
        // Otherwise the user would believe the update is set up for every start.
        QMessageBox::warning(this, windowTitle(), QString::fromStdString(pane::fileError(error)).trimmed());
    }
}

void WsjtxUpdateDialog::Command5_Click()
{
    reject();
}

}  // namespace logweave::dialogs
