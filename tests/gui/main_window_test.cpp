#include "gui_testing.h"

#include "logweave/file_error.h"
#include "logweave/pane_texts.h"
#include "shell/pane_texts.h"
#include "shell/qt_translations.h"
#include "shell/version_text.h"

#include <QDialogButtonBox>
#include <QLibraryInfo>
#include <QPlainTextEdit>
#include <QTranslator>

#include <cerrno>
#include <memory>

namespace logweave::testing {
namespace {

const std::string kLog = "h<EOH>\r\n<CALL:5>Q1AAA <QSO_DATE:8>20230101 <TIME_ON:4>1000 <RST_SENT:2>59 <EOR>\r\n";
const std::string kOther = "<CALL:5>Q1BBB <QSO_DATE:8>20230102 <TIME_ON:4>1000 <EOR>\r\n";

// Which of Open, Add and Filter are on.
QStringList commandsOn(Program& p)
{
    QStringList on;
    for (const char* name : {"Mnu_Ouvrir", "Mnu_Ajouter", "Mnu_Filtre"})
        if (p.menu(name)->isEnabled())
            on << QString::fromLatin1(name);
    return on;
}

}  // namespace

class MainWindowTest final : public QObject {
    Q_OBJECT

private slots:
    void startUpInTheUserDataFolderNamesItThenRunsTheSavedUpdate()
    {
        Program p;
        p.fakes.folders.userDataFolder = true;
        p.fakes.folder.write("AdifCodes_Liste_WSJT-X.txt", "call\r\n");
        const auto log = p.fakes.folder.write("station/wsjtx_log.adi", kLog);
        const auto other = p.fakes.folder.write("other.adi", kOther);
        p.fakes.folder.write("Logweave.cfg", "FicToUpdate = " + log.string() + "\r\nFicToMerge = " + other.string() + "\r\n");
        p.window.Form_Load();
        const QString line = paneText(shell::programFolderParagraph(p.fakes.folders.programFolder()));
        QVERIFY(p.pane().startsWith(line));
        QCOMPARE(p.pane().count(line), 1);
        QVERIFY(p.pane().endsWith(paneText(pane::replaced(log.string(), (log.parent_path() / "Wsjtx.log").string()))));
        QVERIFY(p.fakes.folder.exists("station/wsjtx_log.adi_old"));
        QCOMPARE(commandsOn(p), QStringList{"Mnu_Ouvrir"});
    }

    void qtsOwnWordsComeInTheDesktopsLanguageWhenQtHasIt()
    {
        QVERIFY(shell::installQtTranslations(*qApp, QLocale(QLocale::Yoruba)) == nullptr);
        const QString folder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
        if (!QFile::exists(folder + QStringLiteral("/qtbase_fr.qm")))
            QSKIP(qPrintable(QStringLiteral("Qt's French translation is not installed in %1").arg(folder)));
        const auto cancel = [] {
            return QDialogButtonBox(QDialogButtonBox::Cancel).button(QDialogButtonBox::Cancel)->text();
        };
        QCOMPARE(cancel(), QStringLiteral("Cancel"));
        const std::unique_ptr<QTranslator> translator(
            shell::installQtTranslations(*qApp, QLocale(QLocale::French, QLocale::France)));
        QCOMPARE(cancel(), QStringLiteral("Annuler"));
    }

    void versionTextFollowsTheVersionNumbers()
    {
        QCOMPARE(shell::versionText(1, 0, 0), std::string("1.00 "));
        QCOMPARE(shell::versionText(2, 7, 2), std::string("2.07b"));
    }

    void openAppliesTheOptionsBeforeTheFileIsChosenAndFilterTakesTheExpression()
    {
        Program p;
        p.window.Form_Load();
        p.fakes.folder.write("AdifCodes_Liste.txt", "RST_SENT\r\n");
        QString tagWhileChoosing;
        p.fakes.fileDialog.onShow = [&] { tagWhileChoosing = QString::fromStdString(p.store.EorTag); };
        p.open(p.fakes.write("station.adi", kLog),
               [](QWidget* options) { child<QCheckBox>(options, "Check1")->setChecked(true); });
        QCOMPARE(tagWhileChoosing, QStringLiteral("<EOR>"));
        QCOMPARE(p.fakes.fileDialog.requests.front().startFolder, p.fakes.folders.programFolder());
        QCOMPARE(p.fakes.folder.read("Adif_File.adi"),
                 std::string("h<EOH>\r\n<RST_SENT:2>59 <CALL:5>Q1AAA <QSO_DATE:8>20230101 <TIME_ON:4>1000 <EOR>\r\n"));
        QCOMPARE(commandsOn(p), (QStringList{"Mnu_Ajouter", "Mnu_Filtre"}));

        p.fakes.inputBox.useDefault = true;
        p.menu("Mnu_Filtre")->trigger();
        QVERIFY(p.pane().endsWith(paneText(pane::recordsKept(1))));
        p.fakes.inputBox.useDefault = false;  // Cancel: no term, every record matches
        p.menu("Mnu_Filtre")->trigger();
        QVERIFY(p.pane().endsWith(paneText(pane::recordsKept(0))));
    }

    void startUpInTheProgramFolderThenOpensThatOpenNothingKeepOpenOnAndTheOptions()
    {
        Program p;
        p.window.Form_Load();
        QCOMPARE(p.pane(), QString());
        QCOMPARE(QDir::current().canonicalPath(), QDir(p.fakes.folders.programFolder()).canonicalPath());
        QCOMPARE(commandsOn(p), QStringList{"Mnu_Ouvrir"});

        p.open(QString(), [](QWidget* options) { child<QCheckBox>(options, "Check2")->setChecked(true); });
        QCOMPARE(p.store.LineSpacer, std::string("\r\n"));
        QCOMPARE(p.fakes.exit.ended, 0);
        QCOMPARE(commandsOn(p), QStringList{"Mnu_Ouvrir"});

        const QString vanished = p.fakes.path("vanished.adi");
        p.open(vanished, [](QWidget* options) { QVERIFY(child<QCheckBox>(options, "Check2")->isChecked()); });
        const FileError unread(FileError::Action::Read, vanished.toStdString(), systemError(ENOENT));
        QVERIFY(p.pane().contains(paneText(pane::fileError(unread))));
        QCOMPARE(commandsOn(p), QStringList{"Mnu_Ouvrir"});
    }

    // The pointer is busy while the program works and as usual while it asks.
    void addMergesTheChosenLogUnderTheBusyPointerAndEveryWayOutEndsTheProgram()
    {
        Program p;
        p.window.Form_Load();
        p.open(p.fakes.write("station.adi", kLog));
        // Q1AAA's RST_SENT differs: a conflict to settle in the middle of the merge.
        p.fakes.fileDialog.answers = {p.fakes.write(
            "added.adi", "<CALL:5>Q1AAA <QSO_DATE:8>20230101 <TIME_ON:4>1000 <RST_SENT:3>599 <EOR>\r\n" + kOther)};
        QList<bool> busyAtEachReport;
        connect(child<QPlainTextEdit>(&p.window, "Text1"), &QPlainTextEdit::textChanged, this, [&] {
            const QCursor* cursor = QGuiApplication::overrideCursor();
            busyAtEachReport << (cursor != nullptr && cursor->shape() == Qt::WaitCursor);
        });
        bool usualWhileAsking = false;
        whenModal([&] { p.menu("Mnu_Ajouter")->trigger(); },
                  [&](QWidget* dialog) {
                      usualWhileAsking = QGuiApplication::overrideCursor() == nullptr;
                      click(dialog, "Command1");
                  });
        QVERIFY(usualWhileAsking);
        QVERIFY(busyAtEachReport.size() >= 2);
        QVERIFY(!busyAtEachReport.contains(false));
        QVERIFY(QGuiApplication::overrideCursor() == nullptr);
        QCOMPARE(p.store.OpenRecordCount(), 2LL);
        QCOMPARE(p.fakes.fileDialog.requests.back().startFolder, p.fakes.folders.programFolder());
        QCOMPARE(p.fakes.exit.ended, 0);

        p.menu("Mnu_Ajouter")->trigger();  // no answer left: Cancel
        QCOMPARE(p.fakes.exit.ended, 1);
        p.menu("Mnu_Quitter")->trigger();
        QCOMPARE(p.fakes.exit.ended, 2);
        p.window.show();
        p.window.close();
        QCOMPARE(p.fakes.exit.ended, 3);
    }

    void helpFromTheWindowAndFromTheOptionsShowsTheContents()
    {
        Program p;
        p.window.Form_Load();
        p.menu("Mnu_Aide")->trigger();
        whenModal([&] { p.menu("Mnu_Ouvrir")->trigger(); },
                  [](QWidget* options) {
                      child<QAction>(options, "Mnu_Aide")->trigger();
                      click(options, "Command2");
                  });
        const platform::HelpRequest contents{(p.fakes.path("Logweave.chm") + ">W1").toStdString(),
                                             platform::HelpCommand::DisplayToc, 0, std::nullopt};
        QCOMPARE(p.fakes.helpViewer.requests.size(), std::size_t{2});
        for (const auto& request : p.fakes.helpViewer.requests)
            QVERIFY(request == contents);
    }
};

}  // namespace logweave::testing

QTEST_MAIN(logweave::testing::MainWindowTest)
#include "main_window_test.moc"
