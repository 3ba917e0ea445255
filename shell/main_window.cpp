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
    const platform::BusyCursor busy;
    runSavedUpdate(store_, *session_, options());
    enableCommands();
}

// Add and Filter work on a log the user opened; the update at start-up opens none for them.
void MainWindow::enableCommands()
{
    addMenuAction_->setEnabled(logOpened_);
    filterMenuAction_->setEnabled(logOpened_);
}

void MainWindow::closeEvent(QCloseEvent* event)
{
    event->accept();
    quit();
}

void MainWindow::quit()
{
    platform_.settings.saveWindowGeometry(kGeometryKey, saveGeometry());
    platform_.exit.endNow();
}

void MainWindow::cancelled()
{
    ui_->appendToPane(cancelledParagraph());
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
    {
        const platform::BusyCursor busy;
        // An Open that fails leaves no log open, not the one before.
        logOpened_ = readOpenLog(store_, *session_, platform::pathBytes(path), options()) == Outcome::Done;
    }
    enableCommands();
    if (logOpened_)
        rememberLog(path);
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
    {
        const platform::BusyCursor busy;
        if (mergeAddedLog(store_, *session_, platform::pathBytes(path), options()) != Outcome::Done)
            return;
    }
    rememberLog(path);
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
    for (const QUrl& url : event->mimeData()->urls()) {
        if (!url.isLocalFile())
            continue;
        if (!logOpened_)
            openFile(url.toLocalFile());
        else
            addFile(url.toLocalFile());
    }
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
    recentLogsMenu_->setEnabled(!logs.isEmpty());
}

void MainWindow::showWsjtxUpdate()
{
    dialogs::WsjtxUpdateDialog dialog(store_, *session_, platform_, options(), this);
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
    const platform::BusyCursor busy;
    filterOpenLog(store_, *session_, expression->toStdString(), options());
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
