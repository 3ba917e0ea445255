#include "shell/main_window.h"

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

void MainWindow::buildMenu()
{
    QMenuBar* bar = menuBar();
    bar->setNativeMenuBar(false);
    const auto item = [bar](const char* name, const QString& caption) {
        QAction* action = bar->addAction(caption);
        action->setObjectName(QString::fromLatin1(name));
        return action;
    };
    quitMenuAction_ = item("quitMenuAction", QStringLiteral("Quitter [Exit]"));
    openMenuAction_ = item("openMenuAction", QStringLiteral("Ouvrir [Open]"));
    addMenuAction_ = item("addMenuAction", QStringLiteral("Ajouter [Add]"));
    wsjtxMenuAction_ = item("wsjtxMenuAction", QStringLiteral("WSJT-X"));
    filterMenuAction_ = item("filterMenuAction", QStringLiteral("Filtrer [Filter]"));
    emptyMenuAction_ = item("emptyMenuAction", QString());
    helpMenuAction_ = item("helpMenuAction", QStringLiteral("Aide [Help]"));
    connect(quitMenuAction_, &QAction::triggered, this, &MainWindow::quit);
    connect(openMenuAction_, &QAction::triggered, this, &MainWindow::openLog);
    connect(addMenuAction_, &QAction::triggered, this, &MainWindow::addLog);
    connect(wsjtxMenuAction_, &QAction::triggered, this, &MainWindow::showWsjtxUpdate);
    connect(filterMenuAction_, &QAction::triggered, this, &MainWindow::filterLog);
    connect(helpMenuAction_, &QAction::triggered, this, &MainWindow::showHelp);
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

void MainWindow::showHelp()
{
    dialogs::showProgramHelp(platform_);
}

}  // namespace logweave::shell
