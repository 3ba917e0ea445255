#include "shell/main_window.h"

#include "dialogs/program_help.h"
#include "dialogs/wsjtx_update_dialog.h"
#include "logweave/automation_config.h"
#include "logweave/filter_open_log.h"
#include "logweave/load_output_options.h"
#include "logweave/merge_added_log.h"
#include "logweave/read_open_log.h"
#include "logweave/version.h"
#include "platform/busy_cursor.h"
#include "platform/path_text.h"
#include "platform/twips.h"
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
    area->setFixedSize(platform::twipsSize(11895, 8865));
    setCentralWidget(area);

    Text1 = new QPlainTextEdit(area);
    Text1->setObjectName(QStringLiteral("Text1"));
    // The program appends; the user reads, selects and copies.
    Text1->setReadOnly(true);
    Text1->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    Text1->setLineWrapMode(QPlainTextEdit::NoWrap);
    Text1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Text1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Text1->setFont(paneFont());
    platform::placeInTwips(Text1, 120, 120, 11655, 8685);

    ui_.emplace(*Text1, platform_, this);
    session_.emplace(Session{store_, *ui_, files});
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
    Mnu_Quitter = item("Mnu_Quitter", QStringLiteral("Quitter [Exit]"));
    Mnu_Ouvrir = item("Mnu_Ouvrir", QStringLiteral("Ouvrir [Open]"));
    Mnu_Ajouter = item("Mnu_Ajouter", QStringLiteral("Ajouter [Add]"));
    Mnu_WSJTX = item("Mnu_WSJTX", QStringLiteral("WSJT-X"));
    Mnu_Filtre = item("Mnu_Filtre", QStringLiteral("Filtrer [Filter]"));
    Mnu_Dummy = item("Mnu_Dummy", QString());
    Mnu_Aide = item("Mnu_Aide", QStringLiteral("Aide [Help]"));
    connect(Mnu_Quitter, &QAction::triggered, this, &MainWindow::Mnu_Quitter_Click);
    connect(Mnu_Ouvrir, &QAction::triggered, this, &MainWindow::Mnu_Ouvrir_Click);
    connect(Mnu_Ajouter, &QAction::triggered, this, &MainWindow::Mnu_Ajouter_Click);
    connect(Mnu_WSJTX, &QAction::triggered, this, &MainWindow::Mnu_WSJTX_Click);
    connect(Mnu_Filtre, &QAction::triggered, this, &MainWindow::Mnu_Filtre_Click);
    connect(Mnu_Aide, &QAction::triggered, this, &MainWindow::Mnu_Aide_Click);
}

void MainWindow::Form_Load()
{
    setWindowTitle(QString::fromStdString(
        shell::windowTitle(kVersionMajor, kVersionMinor, kVersionRevision)));
    Mnu_Filtre->setEnabled(false);
    const QString folder = platform_.folders.programFolder();
    // Only a folder other than the program's own is named: the user would not look for results there.
    if (platform_.folders.inUserDataFolder())
        ui_->appendToPane(programFolderParagraph(folder));
    platform_.folders.setCurrentFolder(folder);
    store_.programFolder = pathFromBytes(platform::pathBytes(folder));
    const platform::BusyCursor busy;
    ReadAutomationConfig(*session_);
    Mnu_Ajouter->setEnabled(false);
}

void MainWindow::closeEvent(QCloseEvent* event)
{
    event->accept();
    platform_.exit.endNow();
}

void MainWindow::Mnu_Quitter_Click()
{
    platform_.exit.endNow();
}

QString MainWindow::chooseLog(const QString& startFolder)
{
    return platform_.fileDialog.getOpenFileName(this, {startFolder, platform::adifFilters()});
}

void MainWindow::Mnu_Ouvrir_Click()
{
    LoadOutputOptions(*session_);
    fileDialogFolder_ = platform_.folders.programFolder();
    const QString name = chooseLog(fileDialogFolder_);
    if (name.isEmpty())
        return;  // the options stay applied; Open can be chosen again
    Mnu_Ouvrir->setEnabled(false);
    store_.OpenLogPath = platform::pathBytes(name);
    const platform::BusyCursor busy;
    if (ReadOpenLog(*session_, store_.OpenLogPath) != Outcome::Done) {
        // Nothing was opened: the program is as after start-up.
        Mnu_Ouvrir->setEnabled(true);
        return;
    }
    Mnu_Ajouter->setEnabled(true);
    Mnu_Filtre->setEnabled(true);
}

void MainWindow::Mnu_Ajouter_Click()
{
    const QString name = chooseLog(fileDialogFolder_);
    if (name.isEmpty()) {
        platform_.exit.endNow();
        return;
    }
    store_.AddedLogPath = platform::pathBytes(name);
    const platform::BusyCursor busy;
    MergeAddedLog(*session_, store_.AddedLogPath, ui_->outputOptions().sameContact);
}

void MainWindow::Mnu_WSJTX_Click()
{
    // From its first showing on, the dialog's update may replace the open log: Open stays off.
    Mnu_Ouvrir->setEnabled(false);
    dialogs::WsjtxUpdateDialog dialog(*session_, platform_, this);
    dialog.exec();
}

void MainWindow::Mnu_Filtre_Click()
{
    const QString expression = platform_.inputBox.getText(this, QStringLiteral("Entrez le filtre [enter the filter]"),
                                                          QStringLiteral("Filtre"), QStringLiteral("BAND:6M;MODE:FT8"));
    const platform::BusyCursor busy;
    FilterOpenLog(*session_, expression.toStdString());
}

void MainWindow::Mnu_Aide_Click()
{
    dialogs::showProgramHelp(platform_);
}

}  // namespace logweave::shell
