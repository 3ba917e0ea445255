#include "shell/main_window.h"

#include "dialogs/changes_dialog.h"
#include "dialogs/program_help.h"
#include "dialogs/twips.h"
#include "dialogs/wsjtx_update_dialog.h"
#include "logweave/operations.h"
#include "logweave/version.h"
#include "platform/busy_cursor.h"
#include "platform/path_text.h"
#include "shell/pane_texts.h"
#include "shell/version_text.h"

#include <QCloseEvent>
#include <QFontDatabase>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>

namespace logweave::shell {
namespace {

QFont paneFont()
{
    QFont font = QFontDatabase::families().contains(QStringLiteral("Arial"))
        ? QFont(QStringLiteral("Arial"))
        : QFontDatabase::systemFont(QFontDatabase::GeneralFont);
    font.setPointSize(12);
    return font;
}

}  // namespace

MainWindow::MainWindow(LogStore& store, FileSystem& files, platform::Platform& platform, QWidget* parent)
    : QMainWindow(parent), store_(store), platform_(platform)
{
    setObjectName(QStringLiteral("MainWindow"));
    setWindowTitle(QStringLiteral("Logweave de Tolvan"));
    auto* area = new QWidget(this);
    area->setFixedSize(dialogs::twipsSize(11895, 8865));
    setCentralWidget(area);

    activityPane_ = new QPlainTextEdit(area);
    activityPane_->setObjectName(QStringLiteral("activityPane"));
    // The program appends; the user reads, selects and copies.
    activityPane_->setReadOnly(true);
    activityPane_->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    activityPane_->setLineWrapMode(QPlainTextEdit::NoWrap);
    activityPane_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    activityPane_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    activityPane_->setFont(paneFont());
    dialogs::placeInTwips(activityPane_, 120, 120, 11655, 8685);

    ui_.emplace(*activityPane_, platform_, this);
    session_.emplace(Session{*ui_, files, {}});
    buildMenu();
}

MainWindow::~MainWindow() = default;

// The commands in menus, each with its mnemonic and its key.
void MainWindow::buildMenu()
{
    QMenuBar* bar = menuBar();
    bar->setNativeMenuBar(false);
    const auto command = [this](QMenu* menu, const char* name, const QString& caption, const QKeySequence& key,
                                void (MainWindow::*run)()) {
        QAction* action = menu->addAction(caption);
        action->setObjectName(QString::fromLatin1(name));
        action->setShortcut(key);
        connect(action, &QAction::triggered, this, run);
        return action;
    };
    QMenu* file = bar->addMenu(QStringLiteral("&Fichier [File]"));
    file->setObjectName(QStringLiteral("fileMenu"));
    openMenuAction_ = command(file, "openMenuAction", QStringLiteral("&Ouvrir… [Open]"), QKeySequence::Open,
                              &MainWindow::openLog);
    addMenuAction_ = command(file, "addMenuAction", QStringLiteral("&Ajouter… [Add]"),
                             QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_A), &MainWindow::addLog);
    file->addSeparator();
    quitMenuAction_ = command(file, "quitMenuAction", QStringLiteral("&Quitter [Exit]"),
                              QKeySequence(Qt::CTRL | Qt::Key_Q), &MainWindow::quit);
    QMenu* log = bar->addMenu(QStringLiteral("&Log"));
    log->setObjectName(QStringLiteral("logMenu"));
    filterMenuAction_ = command(log, "filterMenuAction", QStringLiteral("&Filtrer… [Filter]"),
                                QKeySequence(Qt::CTRL | Qt::Key_F), &MainWindow::filterLog);
    changesMenuAction_ = command(log, "changesMenuAction", QStringLiteral("&Changements de la fusion [Changes of the merge]"),
                                 QKeySequence(Qt::CTRL | Qt::Key_H), &MainWindow::showChanges);
    wsjtxMenuAction_ = command(log, "wsjtxMenuAction", QStringLiteral("Mise à jour &WSJT-X… [WSJT-X update]"),
                               QKeySequence(Qt::CTRL | Qt::Key_U), &MainWindow::showWsjtxUpdate);
    QMenu* help = bar->addMenu(QStringLiteral("&Aide [Help]"));
    help->setObjectName(QStringLiteral("helpMenu"));
    helpMenuAction_ = command(help, "helpMenuAction", QStringLiteral("&Aide [Help]"), QKeySequence::HelpContents,
                              &MainWindow::showHelp);
}

void MainWindow::startUp()
{
    setWindowTitle(QString::fromStdString(
        shell::windowTitle(kVersionMajor, kVersionMinor, kVersionRevision)));
    filterMenuAction_->setEnabled(false);
    const QString folder = platform_.folders.programFolder();
    // Only a folder other than the program's own is named: the user would not look for results there.
    if (platform_.folders.inUserDataFolder())
        ui_->appendToPane(programFolderParagraph(folder));
    session_->programFolder = pathFromBytes(platform::pathBytes(folder));
    const platform::BusyCursor busy;
    runSavedUpdate(store_, *session_, options());
    addMenuAction_->setEnabled(false);
}

void MainWindow::closeEvent(QCloseEvent* event)
{
    event->accept();
    platform_.exit.endNow();
}

void MainWindow::quit()
{
    platform_.exit.endNow();
}

QString MainWindow::chooseLog(const QString& startFolder)
{
    return platform_.fileDialog.getOpenFileName(this, {startFolder, platform::adifFilters()});
}

// The options as the user left them, a field order list named without a
// folder being the program folder's.
OutputOptions MainWindow::options()
{
    OutputOptions options = ui_->outputOptions();
    if (!options.fieldOrderFile.empty())
        options.fieldOrderFile = bytesFromPath(inProgramFolder(session_->programFolder, options.fieldOrderFile));
    return options;
}

void MainWindow::openLog()
{
    ui_->showOptionsDialog();
    fileDialogFolder_ = platform_.folders.programFolder();
    const QString name = chooseLog(fileDialogFolder_);
    if (name.isEmpty())
        return;  // the options stay chosen; Open can be chosen again
    openMenuAction_->setEnabled(false);
    const platform::BusyCursor busy;
    if (readOpenLog(store_, *session_, platform::pathBytes(name), options()) != Outcome::Done) {
        // Nothing was opened: the program is as after start-up.
        openMenuAction_->setEnabled(true);
        return;
    }
    addMenuAction_->setEnabled(true);
    filterMenuAction_->setEnabled(true);
}

void MainWindow::addLog()
{
    const QString name = chooseLog(fileDialogFolder_);
    if (name.isEmpty()) {
        platform_.exit.endNow();
        return;
    }
    const platform::BusyCursor busy;
    mergeAddedLog(store_, *session_, platform::pathBytes(name), options());
}

void MainWindow::showWsjtxUpdate()
{
    // From its first showing on, the dialog's update may replace the open log: Open stays off.
    openMenuAction_->setEnabled(false);
    dialogs::WsjtxUpdateDialog dialog(store_, *session_, platform_, options(), this);
    dialog.exec();
}

void MainWindow::filterLog()
{
    const QString expression = platform_.inputBox.getText(this, QStringLiteral("Entrez le filtre [enter the filter]"),
                                                          QStringLiteral("Filtre"), QStringLiteral("BAND:6M;MODE:FT8"));
    const platform::BusyCursor busy;
    filterOpenLog(store_, *session_, expression.toStdString(), options());
}

void MainWindow::showChanges()
{
    const auto path = session_->programFolder / kChangesFileName;
    std::optional<std::vector<ChangeRow>> rows;
    try {
        rows = readChangeList(session_->files.readFile(path).view());
    } catch (const FileError&) {
        // No merge yet, or its list gone: said below as one.
    }
    const QString file = platform::pathText(bytesFromPath(path));
    if (!rows) {
        ui_->appendToPane(noChangeListParagraph(file));
        return;
    }
    dialogs::ChangesDialog dialog(file, std::move(*rows), this);
    dialog.exec();
}

void MainWindow::showHelp()
{
    dialogs::showProgramHelp(platform_);
}

}  // namespace logweave::shell
