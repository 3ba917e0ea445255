#include "shell/main_window.h"

#include "dialogs/changes_dialog.h"
#include "dialogs/program_help.h"
#include "dialogs/twips.h"
#include "dialogs/wsjtx_update_dialog.h"
#include "logweave/operations.h"
#include "logweave/pane_texts.h"
#include "logweave/version.h"
#include "platform/busy_cursor.h"
#include "platform/path_text.h"
#include "shell/operation_status_bar.h"
#include "shell/pane_texts.h"
#include "shell/version_text.h"

#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QIcon>
#include <QMessageBox>
#include <QMimeData>
#include <QFontDatabase>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>

#include <algorithm>

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

const QString kGeometryKey = QStringLiteral("main");

}  // namespace

MainWindow::MainWindow(LogStore& store, FileSystem& files, platform::Platform& platform, QWidget* parent)
    : QMainWindow(parent), store_(store), platform_(platform)
{
    setObjectName(QStringLiteral("MainWindow"));
    setWindowTitle(QStringLiteral("Logweave de Tolvan"));
    setWindowIcon(QIcon(QStringLiteral(":/logweave.png")));
    setAcceptDrops(true);
    resize(dialogs::twipsSize(11895, 8865));
    restoreGeometry(platform_.settings.windowGeometry(kGeometryKey));

    activityPane_ = new QPlainTextEdit(this);
    activityPane_->setObjectName(QStringLiteral("activityPane"));
    // The program appends; the user reads, selects and copies. Its lines wrap
    // at its width, which follows the window's.
    activityPane_->setReadOnly(true);
    activityPane_->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    activityPane_->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    activityPane_->setAcceptDrops(false);  // files dropped on it go to the window
    activityPane_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    activityPane_->setFont(paneFont());
    setCentralWidget(activityPane_);

    ui_.emplace(*activityPane_, platform_, this);
    session_.emplace(Session{*ui_, files, {}});
    runner_ = std::make_unique<OperationRunner>(*ui_);
    connect(runner_.get(), &OperationRunner::ended, this, &MainWindow::operationEnded);
    operationStatusBar_ = new OperationStatusBar(this);
    setStatusBar(operationStatusBar_);
    // Cancel stops the logs waiting their turn too: one click for the files dropped together.
    connect(operationStatusBar_, &OperationStatusBar::cancelClicked, this, [this] {
        waitingLogs_.clear();
        runner_->cancel();
    });
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
    recentLogsMenu_ = file->addMenu(QStringLiteral("Logs &récents [Recent logs]"));
    recentLogsMenu_->setObjectName(QStringLiteral("recentLogsMenu"));
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
    aboutMenuAction_ = command(help, "aboutMenuAction", QStringLiteral("À &propos de Logweave [About Logweave]"),
                               QKeySequence(), &MainWindow::showAbout);
    fillRecentLogs();
    enableCommands();
}

void MainWindow::startUp()
{
    setWindowTitle(QString::fromStdString(
        shell::windowTitle(kVersionMajor, kVersionMinor, kVersionRevision)));
    const QString folder = platform_.folders.programFolder();
    // Only a folder other than the program's own is named: the user would not look for results there.
    if (platform_.folders.inUserDataFolder())
        ui_->appendToPane(programFolderParagraph(folder));
    session_->programFolder = pathFromBytes(platform::pathBytes(folder));
    runOperation([this, options = options()](const Session& session) {
        return runSavedUpdate(store_, session, options);
    });
}

// Add and Filter work on a log the user opened; the update at start-up opens
// none for them. No command that works on logs starts while an operation runs.
void MainWindow::enableCommands()
{
    const bool idle = !runner_->running();
    openMenuAction_->setEnabled(idle);
    recentLogsMenu_->setEnabled(idle && !recentLogsMenu_->isEmpty());
    addMenuAction_->setEnabled(idle && logOpened_);
    filterMenuAction_->setEnabled(idle && logOpened_);
    changesMenuAction_->setEnabled(idle);  // its list may be being replaced
    wsjtxMenuAction_->setEnabled(idle);
}

// The operation runs on the worker with the session as it stands now; the
// window answers meanwhile, under the busy pointer.
void MainWindow::runOperation(std::function<Outcome(const Session&)> operation, OperationRunner::Then then)
{
    busy_.emplace();
    FileSystem& files = session_->files;
    runner_->start([operation = std::move(operation), &files, folder = session_->programFolder](UserInterface& ui) {
        return operation(Session{ui, files, folder, machineThreads()});
    }, std::move(then));
    operationStatusBar_->follow([this] { return runner_->progress(); });
    enableCommands();
}

void MainWindow::operationEnded()
{
    operationStatusBar_->stop();
    busy_.reset();
    enableCommands();
    if (quitting_)
        quit();
    else
        takeNextLog();
}

// Closing while an operation runs cancels it; the program ends once it has
// stopped, leaving no file half-written.
void MainWindow::closeEvent(QCloseEvent* event)
{
    if (runner_->running())
        event->ignore();
    else
        event->accept();
    quit();
}

void MainWindow::quit()
{
    if (runner_->running()) {
        quitting_ = true;
        waitingLogs_.clear();
        runner_->cancel();
        return;
    }
    platform_.settings.saveWindowGeometry(kGeometryKey, saveGeometry());
    platform_.exit.endNow();
}

void MainWindow::cancelled()
{
    ui_->appendToPane(pane::cancelled());
}

// Open and Add each start where they were left, at first in the program folder.
QString MainWindow::chooseLog(const QString& role)
{
    QString start = platform_.settings.lastFolder(role);
    if (start.isEmpty() || !QFileInfo(start).isDir())
        start = platform_.folders.programFolder();
    const QString name = platform_.fileDialog.getOpenFileName(this, {start, platform::adifFilters()});
    if (!name.isEmpty())
        platform_.settings.saveLastFolder(role, QFileInfo(name).absolutePath());
    return name;
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
    if (!ui_->showOptionsDialog()) {
        cancelled();
        return;
    }
    const QString name = chooseLog(QStringLiteral("openLog"));
    if (name.isEmpty()) {
        cancelled();
        return;
    }
    openFile(name);
}

void MainWindow::openFile(const QString& path)
{
    takeIn({path, false});
}

// Logs given while an operation runs, or dropped together, are taken in turn.
void MainWindow::takeIn(const WaitingLog& log)
{
    waitingLogs_.push_back(log);
    if (!runner_->running())
        takeNextLog();
}

void MainWindow::takeNextLog()
{
    if (waitingLogs_.empty())
        return;
    const WaitingLog log = waitingLogs_.front();
    waitingLogs_.pop_front();
    if (log.addWhenOpen && logOpened_)
        addFile(log.path);
    else
        startOpen(log.path);
}

void MainWindow::startOpen(const QString& path)
{
    const bool wasOpened = logOpened_;
    runOperation([this, bytes = platform::pathBytes(path), options = options()](const Session& session) {
            return readOpenLog(store_, session, bytes, options);
        },
        [this, path, wasOpened](Outcome outcome) {
            // An Open that fails leaves no log open, not the one before; a cancelled one puts that back.
            const bool putBack = runner_->cancelRequested() && wasOpened && !store_.openLogPath().empty();
            logOpened_ = outcome == Outcome::Done || putBack;
            if (outcome == Outcome::Done)
                rememberLog(path);
        });
}

void MainWindow::addLog()
{
    const QString name = chooseLog(QStringLiteral("addLog"));
    if (name.isEmpty()) {
        cancelled();
        return;
    }
    addFile(name);
}

void MainWindow::addFile(const QString& path)
{
    runOperation([this, bytes = platform::pathBytes(path), options = options()](const Session& session) {
            return mergeAddedLog(store_, session, bytes, options);
        },
        [this, path](Outcome outcome) {
            if (outcome == Outcome::Done)
                rememberLog(path);
        });
}

// Files from the desktop: the first opens unless a log is open, the others are added.
void MainWindow::dragEnterEvent(QDragEnterEvent* event)
{
    const QList<QUrl> urls = event->mimeData()->urls();
    if (std::any_of(urls.begin(), urls.end(), [](const QUrl& url) { return url.isLocalFile(); }))
        event->acceptProposedAction();
}

void MainWindow::dropEvent(QDropEvent* event)
{
    for (const QUrl& url : event->mimeData()->urls())
        if (url.isLocalFile())
            takeIn({url.toLocalFile(), true});
    event->acceptProposedAction();
}

// The eight logs opened or added last, the newest first.
void MainWindow::rememberLog(const QString& name)
{
    constexpr qsizetype kRecentLogs = 8;
    // A name given on the command line is relative to where the program started, not to the next start.
    const QString path = QFileInfo(name).absoluteFilePath();
    QStringList logs = platform_.settings.recentLogs();
    logs.removeAll(path);
    logs.prepend(path);
    platform_.settings.saveRecentLogs(logs.mid(0, kRecentLogs));
    fillRecentLogs();
}

void MainWindow::fillRecentLogs()
{
    recentLogsMenu_->clear();
    const QStringList logs = platform_.settings.recentLogs();
    for (qsizetype i = 0; i < logs.size(); ++i) {
        QAction* item = recentLogsMenu_->addAction(QStringLiteral("&%1 %2").arg(i + 1).arg(logs[i]));
        item->setObjectName(QStringLiteral("recentLog(%1)").arg(i));
        connect(item, &QAction::triggered, this, [this, path = logs[i]] { openFile(path); });
    }
    recentLogsMenu_->setEnabled(!logs.isEmpty() && !runner_->running());
}

void MainWindow::showWsjtxUpdate()
{
    const auto startUpdate = [this](const WsjtxUpdate& update) {
        runOperation([this, update](const Session& session) { return updateWsjtxLog(store_, session, update); });
    };
    dialogs::WsjtxUpdateDialog dialog(*session_, platform_, options(), startUpdate, this);
    dialog.exec();
}

void MainWindow::filterLog()
{
    const auto expression = platform_.inputBox.getText(
        this, QStringLiteral("Entrez le filtre [enter the filter]"), QStringLiteral("Filtre"),
        QStringLiteral("BAND:6M;MODE:FT8"));
    if (!expression) {
        cancelled();
        return;
    }
    runOperation([this, expression = expression->toStdString(), options = options()](const Session& session) {
        return filterOpenLog(store_, session, expression, options);
    });
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

void MainWindow::showAbout()
{
    QMessageBox::about(this, QStringLiteral("À propos de Logweave [About Logweave]"), aboutText());
}

}  // namespace logweave::shell
