#include "gui_testing.h"

#include "logweave/file_error.h"
#include "logweave/merge_counts.h"
#include "logweave/pane_texts.h"
#include "logweave/std_file_system.h"
#include "shell/main_window.h"
#include "shell/pane_texts.h"
#include "shell/qt_translations.h"
#include "shell/version_text.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QGuiApplication>
#include <QFileDialog>
#include <QLabel>
#include <QLibraryInfo>
#include <QLineEdit>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTranslator>

#include <cerrno>
#include <filesystem>
#include <memory>

namespace logweave::testing {
namespace {

// The update's last words: the WSJT-X log and the text log beside it replaced.
std::string replacedBeside(const std::filesystem::path& log)
{
    return pane::replaced(log.string(), (log.parent_path() / "Wsjtx.log").string());
}

const std::string kLog = "h<EOH>\r\n<CALL:5>Q1AAA <QSO_DATE:8>20230101 <TIME_ON:4>1000 <RST_SENT:2>59 <EOR>\r\n";

struct Program {
    FakePlatform fakes;
    LogStore store;
    StdFileSystem files;
    std::unique_ptr<shell::MainWindow> window;

    Program()
    {
        window = std::make_unique<shell::MainWindow>(store, files, fakes.platform);
    }
    void start() { window->Form_Load(); }
    QAction* menu(const char* name) const { return child<QAction>(window.get(), name); }
    QString pane() const { return child<QPlainTextEdit>(window.get(), "Text1")->toPlainText(); }
    // Open with the options dialog confirmed as `choose` leaves it.
    void open(const QString& path, std::function<void(QWidget*)> choose = {})
    {
        fakes.fileDialog.answers = {path};
        bool finished = false;
        whenModal(
            [choose](QWidget* options) {
                if (choose)
                    choose(options);
                child<QPushButton>(options, "Command2")->click();
            },
            &finished);
        menu("Mnu_Ouvrir")->trigger();
        QVERIFY(finished);
    }
};

}  // namespace

class MainWindowTest final : public QObject {
    Q_OBJECT

private slots:
    void startsWithItsTitleAnEmptyPaneAndOnlyOpenOfTheLogCommands()
    {
        Program p;
        p.start();
        QCOMPARE(p.window->windowTitle(), QStringLiteral("Logweave de Tolvan   V1.00 "));
        QCOMPARE(p.pane(), QString());
        QStringList captions;
        for (QAction* action : p.window->menuBar()->actions())
            captions << action->objectName() + "=" + action->text() + (action->isEnabled() ? "" : " (off)");
        QCOMPARE(captions, (QStringList{"Mnu_Quitter=Quitter [Exit]", "Mnu_Ouvrir=Ouvrir [Open]",
                                        "Mnu_Ajouter=Ajouter [Add] (off)", "Mnu_WSJTX=WSJT-X",
                                        "Mnu_Filtre=Filtrer [Filter] (off)", "Mnu_Dummy=", "Mnu_Aide=Aide [Help]"}));
        QCOMPARE(QDir(p.fakes.folders.currentFolder()).canonicalPath(), QDir(p.fakes.folders.programFolder()).canonicalPath());
    }

    void startingInTheUserDataFolderNamesItOnceBeforeAnyReport()
    {
        Program p;
        p.fakes.folders.userDataFolder = true;
        p.fakes.folder.write("AdifCodes_Liste_WSJT-X.txt", "call\r\n");
        const auto log = p.fakes.folder.write("wsjtx_log.adi", kLog);
        const auto other = p.fakes.folder.write("other.adi", kLog);
        p.fakes.folder.write("Logweave.cfg", "FicToUpdate = " + log.string() + "\r\nFicToMerge = " + other.string() + "\r\n");
        p.start();
        const QString line = paneText(shell::programFolderParagraph(p.fakes.folders.programFolder()));
        QVERIFY(p.pane().startsWith(line));
        QCOMPARE(p.pane().count(line), 1);
        QVERIFY(p.pane().endsWith(paneText(replacedBeside(log))));
    }

    void qtsOwnWordsComeInTheDesktopsLanguage()
    {
        const QLocale french(QLocale::French, QLocale::France);
        const QString folder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
        if (!QFile::exists(folder + QStringLiteral("/qtbase_fr.qm")))
            QSKIP(qPrintable(QStringLiteral("Qt's French translation is not installed in %1").arg(folder)));
        QCOMPARE(QDialogButtonBox(QDialogButtonBox::Cancel).button(QDialogButtonBox::Cancel)->text(),
                 QStringLiteral("Cancel"));
        const std::unique_ptr<QTranslator> translator(shell::installQtTranslations(*qApp, french));
        QVERIFY(translator != nullptr);
        QCOMPARE(QDialogButtonBox(QDialogButtonBox::Cancel).button(QDialogButtonBox::Cancel)->text(),
                 QStringLiteral("Annuler"));
        QFileDialog files;
        files.setOption(QFileDialog::DontUseNativeDialog);
        QCOMPARE(child<QLabel>(&files, "fileTypeLabel")->text(), QStringLiteral("Fichiers de type :"));
        // The program's own words stay as they are.
        Program p;
        p.start();
        QCOMPARE(p.menu("Mnu_Quitter")->text(), QStringLiteral("Quitter [Exit]"));
    }

    void noTranslationForALanguageQtLacks()
    {
        QVERIFY(shell::installQtTranslations(*qApp, QLocale(QLocale::Yoruba)) == nullptr);
    }

    void versionTextFollowsTheVersionNumbers()
    {
        QCOMPARE(shell::versionText(1, 0, 0), std::string("1.00 "));
        QCOMPARE(shell::versionText(2, 7, 2), std::string("2.07b"));
    }

    void openAppliesTheOptionsBeforeTheFileIsChosen()
    {
        Program p;
        p.start();
        p.fakes.folder.write("AdifCodes_Liste.txt", "RST_SENT\r\n");
        const QString log = QString::fromStdString(p.fakes.folder.write("station.adi", kLog).string());
        QString tagWhileChoosing;
        p.fakes.fileDialog.onShow = [&] { tagWhileChoosing = QString::fromStdString(p.store.EorTag); };
        p.open(log, [](QWidget* options) { child<QCheckBox>(options, "Check1")->setChecked(true); });

        QCOMPARE(tagWhileChoosing, QStringLiteral("<EOR>"));
        QCOMPARE(p.fakes.fileDialog.requests.front().startFolder, p.fakes.folders.programFolder());
        QCOMPARE(p.fakes.fileDialog.requests.front().nameFilters.front(), QStringLiteral("Fichiers Adif (*.adi)"));
        QCOMPARE(QString::fromStdString(p.fakes.folder.read("Adif_File.adi")),
                 QStringLiteral("h<EOH>\r\n<RST_SENT:2>59 <CALL:5>Q1AAA <QSO_DATE:8>20230101 <TIME_ON:4>1000 <EOR>\r\n"));
        QCOMPARE(p.pane(), paneText(pane::fieldOrder("AdifCodes_Liste.txt") + pane::fileRead(log.toStdString())
                                    + pane::header("h<EOH>") + pane::recordsProcessed(1)));
        QVERIFY(!p.menu("Mnu_Ouvrir")->isEnabled());
        QVERIFY(p.menu("Mnu_Ajouter")->isEnabled());
        QVERIFY(p.menu("Mnu_Filtre")->isEnabled());
    }

    void openCancelledKeepsTheOptionsAndCanBeChosenAgain()
    {
        Program p;
        p.start();
        p.fakes.folder.write("AdifCodes_Liste.txt", "CALL\r\n");
        p.open(QString(), [](QWidget* options) { child<QCheckBox>(options, "Check2")->setChecked(true); });
        QCOMPARE(p.store.LineSpacer, std::string("\r\n"));
        QVERIFY(p.pane().startsWith(paneText(pane::fieldOrder("AdifCodes_Liste.txt"))));
        QVERIFY(p.menu("Mnu_Ouvrir")->isEnabled());
        QVERIFY(!p.menu("Mnu_Ajouter")->isEnabled());
        QCOMPARE(p.fakes.exit.ended, 0);

        bool doubleSpacingKept = false;
        p.open(QString::fromStdString(p.fakes.folder.write("station.adi", kLog).string()), [&](QWidget* options) {
            doubleSpacingKept = child<QCheckBox>(options, "Check2")->isChecked();
        });
        QVERIFY(doubleSpacingKept);
        QVERIFY(!p.menu("Mnu_Ouvrir")->isEnabled());
    }

    void aFailedOpenLeavesTheProgramAsAfterStartUp()
    {
        Program p;
        p.start();
        const QString vanished = p.fakes.path("vanished.adi");
        p.open(vanished);
        const FileError unread(FileError::Action::Read, vanished.toStdString(), systemError(ENOENT));
        QVERIFY(p.pane().contains(paneText(pane::fileError(unread))));
        QVERIFY(p.menu("Mnu_Ouvrir")->isEnabled());
        QVERIFY(!p.menu("Mnu_Ajouter")->isEnabled());
        QVERIFY(!p.menu("Mnu_Filtre")->isEnabled());
    }

    void addMergesTheChosenLogAndCancelEndsTheProgram()
    {
        Program p;
        p.start();
        p.open(QString::fromStdString(p.fakes.folder.write("station.adi", kLog).string()));
        const auto added = p.fakes.folder.write("added.adi", "<CALL:5>Q1BBB <QSO_DATE:8>20230102 <TIME_ON:4>1000 <EOR>\r\n");
        p.fakes.fileDialog.answers = {QString::fromStdString(added.string())};
        p.menu("Mnu_Ajouter")->trigger();
        QVERIFY(p.pane().contains(paneText(pane::mergeCounts({.processed = 1, .added = 1}))));
        QCOMPARE(p.store.OpenRecordCount(), 2LL);
        QCOMPARE(p.fakes.fileDialog.requests.back().startFolder, p.fakes.folders.programFolder());

        p.menu("Mnu_Ajouter")->trigger();  // no answer left: Cancel
        QCOMPARE(p.fakes.exit.ended, 1);
    }

    void thePointerIsBusyWhileTheProgramWorksAndUsualWhileItAsks()
    {
        Program p;
        p.start();
        p.open(QString::fromStdString(p.fakes.folder.write("station.adi", kLog).string()));
        const auto added = p.fakes.folder.write("added.adi", "<CALL:5>Q1AAA <QSO_DATE:8>20230101 <TIME_ON:4>1000 "
                                                             "<RST_SENT:3>599 <EOR>\r\n");
        p.fakes.fileDialog.answers = {QString::fromStdString(added.string())};
        QList<bool> busyAtEachReport;
        connect(child<QPlainTextEdit>(p.window.get(), "Text1"), &QPlainTextEdit::textChanged, this, [&] {
            const QCursor* cursor = QGuiApplication::overrideCursor();
            busyAtEachReport << (cursor != nullptr && cursor->shape() == Qt::WaitCursor);
        });
        bool usualWhileAsking = false;
        bool finished = false;
        whenModal(
            [&](QWidget* dialog) {
                usualWhileAsking = QGuiApplication::overrideCursor() == nullptr;
                child<QPushButton>(dialog, "Command1")->click();
            },
            &finished);
        p.menu("Mnu_Ajouter")->trigger();
        QVERIFY(finished);
        QVERIFY(usualWhileAsking);
        QVERIFY(busyAtEachReport.size() >= 2);
        QVERIFY(!busyAtEachReport.contains(false));
        QVERIFY(QGuiApplication::overrideCursor() == nullptr);
    }

    void filterAsksForTheExpressionWithItsDefault()
    {
        Program p;
        p.start();
        p.open(QString::fromStdString(p.fakes.folder.write("station.adi", kLog).string()));
        p.fakes.inputBox.useDefault = true;
        p.menu("Mnu_Filtre")->trigger();
        QCOMPARE(p.fakes.inputBox.prompt, QStringLiteral("Entrez le filtre [enter the filter]"));
        QCOMPARE(p.fakes.inputBox.title, QStringLiteral("Filtre"));
        QCOMPARE(p.fakes.inputBox.defaultText, QStringLiteral("BAND:6M;MODE:FT8"));
        QVERIFY(p.pane().endsWith(paneText(pane::recordsKept(1))));

        p.fakes.inputBox.useDefault = false;  // Cancel: no term, every record matches
        p.menu("Mnu_Filtre")->trigger();
        QVERIFY(p.pane().endsWith(paneText(pane::recordsKept(0))));
    }

    void quitAndClosingTheWindowEndTheProgram()
    {
        Program p;
        p.start();
        p.menu("Mnu_Quitter")->trigger();
        QCOMPARE(p.fakes.exit.ended, 1);
        p.window->show();
        p.window->close();
        QCOMPARE(p.fakes.exit.ended, 2);
    }

    void helpMenusAskTheViewerForTheSameTableOfContents()
    {
        Program p;
        p.start();
        p.menu("Mnu_Aide")->trigger();
        QCOMPARE(p.fakes.helpViewer.requests.size(), std::size_t{1});
        const platform::HelpRequest request = p.fakes.helpViewer.requests.front();
        QCOMPARE(QString::fromStdString(request.file), p.fakes.path("Logweave.chm") + ">W1");
        QVERIFY(request.command == platform::HelpCommand::DisplayToc);

        whenModal([](QWidget* options) {
            child<QAction>(options, "Mnu_Aide")->trigger();
            child<QPushButton>(options, "Command2")->click();
        });
        p.menu("Mnu_Ouvrir")->trigger();
        QCOMPARE(p.fakes.helpViewer.requests.size(), std::size_t{2});
        QVERIFY(p.fakes.helpViewer.requests[1] == request);
    }

    void aSavedUpdateRunsBeforeTheWindowShows()
    {
        Program p;
        p.fakes.folder.write("AdifCodes_Liste_WSJT-X.txt", "call\r\n");
        const auto log = p.fakes.folder.write("station/wsjtx_log.adi", kLog);
        const auto other = p.fakes.folder.write("other.adi", "<CALL:5>Q1BBB <QSO_DATE:8>20230102 <TIME_ON:4>1000 <EOR>\r\n");
        p.fakes.folder.write("Logweave.cfg", "FicToUpdate = " + log.string() + "\r\nFicToMerge = " + other.string() + "\r\n");
        p.start();  // what the program does before it shows the window
        QVERIFY(p.pane().endsWith(paneText(replacedBeside(log))));
        QVERIFY(p.fakes.folder.exists("station/wsjtx_log.adi_old"));
        QVERIFY(p.menu("Mnu_Ouvrir")->isEnabled());
        QVERIFY(!p.menu("Mnu_Ajouter")->isEnabled());
        QVERIFY(!p.menu("Mnu_Filtre")->isEnabled());
    }
};

}  // namespace logweave::testing

QTEST_MAIN(logweave::testing::MainWindowTest)
#include "main_window_test.moc"
