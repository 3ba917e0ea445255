#include "gui_testing.h"

#include "logweave/file_error.h"
#include "logweave/pane_texts.h"
#include "platform/program_folders.h"
#include "shell/pane_texts.h"
#include "shell/qt_translations.h"
#include "shell/version_text.h"

#include <QDialogButtonBox>
#include <QTableView>
#include <QLibraryInfo>
#include <QStandardPaths>
#include <QTranslator>

#include <cerrno>
#include <filesystem>
#include <memory>
#include <unistd.h>

namespace logweave::testing {
namespace {

const std::string kLog = "h<EOH>\r\n<CALL:5>Q1AAA <QSO_DATE:8>20230101 <TIME_ON:4>1000 <RST_SENT:2>59 <EOR>\r\n";
const std::string kOther = "<CALL:5>Q1BBB <QSO_DATE:8>20230102 <TIME_ON:4>1000 <EOR>\r\n";

// Which of Open, Add and Filter are on.
QStringList commandsOn(Program& p)
{
    QStringList on;
    for (const char* name : {"openMenuAction", "addMenuAction", "filterMenuAction"})
        if (p.menu(name)->isEnabled())
            on << QString::fromLatin1(name);
    return on;
}

namespace fs = std::filesystem;

QString text(const fs::path& path)
{
    return QString::fromStdString(path.string());
}

// A program installed into lib/ with its field order lists, and a user whose data folders are under home/.
struct Installed {
    TemporaryFolder folder;
    QString lib = text(folder / "lib");
    QString userData = text(folder / "home/.local/share/Logweave");
    QString sharedData = text(folder / "home/.local/share");

    Installed()
    {
        folder.write("lib/AdifCodes_Liste.txt", "CALL\r\n");
        folder.write("lib/AdifCodes_Liste_WSJT-X.txt", "call\r\n");
    }
    // Every folder can be written but, when `readOnly`, the executable's.
    platform::FolderPlaces places(bool readOnly) const
    {
        return {lib, userData, sharedData, [readOnly, lib = lib](const QString& asked) { return !(readOnly && asked == lib); }};
    }
};

}  // namespace

class MainWindowTest final : public QObject {
    Q_OBJECT

private slots:
    void versionTextAndQtsOwnWordsInTheDesktopsLanguageWhenQtHasThem()
    {
        QCOMPARE(shell::versionText(1, 0, 0), std::string("1.00 "));
        QCOMPARE(shell::versionText(2, 7, 2), std::string("2.07b"));
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

    // Open applies the options before the file is chosen; one that opens nothing leaves Open on.
    void startUpThenOpenTheOptionsAndTheFileThenFilter()
    {
        Program p;
        p.window.startUp();
        QCOMPARE(p.pane(), QString());

        p.open(QString(), [](QWidget* options) { child<QCheckBox>(options, "upperCaseNamesCheck")->setChecked(true); });
        QCOMPARE(p.fakes.exit.ended, 0);
        QCOMPARE(commandsOn(p), QStringList{"openMenuAction"});
        const QString vanished = p.fakes.path("vanished.adi");
        p.open(vanished,
               [](QWidget* options) { QVERIFY(child<QCheckBox>(options, "upperCaseNamesCheck")->isChecked()); });
        const FileError unread(FileError::Action::Read, vanished.toStdString(), systemError(ENOENT));
        QVERIFY(p.pane().contains(paneText(pane::fileError(unread))));
        QCOMPARE(commandsOn(p), QStringList{"openMenuAction"});

        p.fakes.folder.write("AdifCodes_Liste.txt", "RST_SENT\r\n");
        p.open(p.fakes.write("station.adi", kLog),
               [](QWidget* options) { child<QCheckBox>(options, "doubleSpacingCheck")->setChecked(true); });
        QCOMPARE(p.fakes.fileDialog.requests.back().startFolder, p.fakes.folders.programFolder());
        QCOMPARE(p.fakes.folder.read("Adif_File.adi"),
                 std::string("h<EOH>\r\n\r\n<RST_SENT:2>59 <CALL:5>Q1AAA <QSO_DATE:8>20230101 <TIME_ON:4>1000 <EOR>\r\n\r\n"));
        QCOMPARE(commandsOn(p), (QStringList{"addMenuAction", "filterMenuAction"}));

        p.fakes.inputBox.useDefault = true;
        p.menu("filterMenuAction")->trigger();
        QVERIFY(p.pane().endsWith(paneText(pane::recordsKept(1))));
        p.fakes.inputBox.useDefault = false;  // Cancel: no term, every record matches
        p.menu("filterMenuAction")->trigger();
        QVERIFY(p.pane().endsWith(paneText(pane::recordsKept(0))));
    }

    // The pointer is busy while the program works and as usual while it asks.
    void addMergesTheChosenLogUnderTheBusyPointerAndEveryWayOutEndsTheProgram()
    {
        Program p;
        p.window.startUp();
        p.open(p.fakes.write("station.adi", kLog));
        // Q1AAA's RST_SENT differs: a conflict to settle in the middle of the merge.
        p.fakes.fileDialog.answers = {p.fakes.write(
            "added.adi", "<CALL:5>Q1AAA <QSO_DATE:8>20230101 <TIME_ON:4>1000 <RST_SENT:3>599 <EOR>\r\n" + kOther)};
        QList<bool> busyAtEachReport;
        connect(child<QPlainTextEdit>(&p.window, "activityPane"), &QPlainTextEdit::textChanged, this, [&] {
            const QCursor* cursor = QGuiApplication::overrideCursor();
            busyAtEachReport << (cursor != nullptr && cursor->shape() == Qt::WaitCursor);
        });
        bool usualWhileAsking = false;
        whenModal([&] { p.menu("addMenuAction")->trigger(); },
                  [&](QWidget* dialog) {
                      usualWhileAsking = QGuiApplication::overrideCursor() == nullptr;
                      click(dialog, "okButton");
                  });
        QVERIFY(usualWhileAsking);
        QVERIFY(busyAtEachReport.size() >= 2);
        QVERIFY(!busyAtEachReport.contains(false));
        QVERIFY(QGuiApplication::overrideCursor() == nullptr);
        QCOMPARE(p.store.openRecordCount(), 2LL);
        QCOMPARE(p.fakes.fileDialog.requests.back().startFolder, p.fakes.folders.programFolder());
        QCOMPARE(p.fakes.exit.ended, 0);

        p.menu("addMenuAction")->trigger();  // no answer left: Cancel
        QCOMPARE(p.fakes.exit.ended, 1);
        p.menu("quitMenuAction")->trigger();
        QCOMPARE(p.fakes.exit.ended, 2);
        p.window.show();
        p.window.close();
        QCOMPARE(p.fakes.exit.ended, 3);
    }

    // A merge cancelled at its question leaves the open log and writes nothing;
    // the next one's changes are listed in a table sorted by the column clicked.
    void aCancelledMergeChangesNothingAndTheChangesOfTheNextShowInATable()
    {
        Program p;
        p.window.startUp();
        p.menu("changesMenuAction")->trigger();
        QVERIFY(p.pane().endsWith(paneText(shell::noChangeListParagraph(p.fakes.path("Logweave_Changes.csv")))));
        p.open(p.fakes.write("station.adi", kLog));
        const QString added = p.fakes.write(
            "added.adi", "<CALL:5>Q1AAA <QSO_DATE:8>20230101 <TIME_ON:4>1000 <RST_SENT:3>599 <EOR>\r\n" + kOther);
        p.fakes.fileDialog.answers = {added};
        whenModal([&] { p.menu("addMenuAction")->trigger(); },
                  [](QWidget* dialog) { QTest::keyClick(dialog, Qt::Key_Escape); });
        QVERIFY(p.pane().endsWith(paneText(pane::mergeCancelled())));
        QVERIFY(!p.fakes.folder.exists("Logweave.adi"));
        QCOMPARE(p.store.openRecordCount(), 1LL);

        p.fakes.fileDialog.answers = {added};
        whenModal([&] { p.menu("addMenuAction")->trigger(); }, [](QWidget* dialog) { click(dialog, "okButton"); });
        QStringList calls;
        whenModal([&] { p.menu("changesMenuAction")->trigger(); }, [&](QWidget* dialog) {
            auto* table = child<QTableView>(dialog, "changesTable");
            QCOMPARE(table->model()->rowCount(), 2);
            table->sortByColumn(0, Qt::AscendingOrder);  // "added" before "differs"
            for (int row = 0; row < 2; ++row)
                calls << table->model()->index(row, 3).data().toString() + ' ' + table->model()->index(row, 6).data().toString();
            dialog->close();
        });
        QCOMPARE(calls, (QStringList{"Q1BBB ", "Q1AAA rst_sent"}));
        // The merged log is now the one open, and the next question names it.
        QCOMPARE(QString::fromStdString(p.store.openLogPath()), p.fakes.path("Logweave.adi"));
    }

    void theProgramFolderIsTheExecutablesUnlessItCannotBeWritten()
    {
        Installed installed;
        const TemporaryFolder& f = installed.folder;
        const platform::QtProgramFolders writable(installed.places(false));
        QVERIFY(!writable.inUserDataFolder());
        QCOMPARE(writable.programFolder(), installed.lib);
        QCOMPARE(writable.helpFolder(), installed.lib);
        QVERIFY(!QFileInfo::exists(installed.userData));
        // The WSJT-X log folder is offered only once it exists.
        QCOMPARE(writable.wsjtxLogFolder(), QString());
        QVERIFY(QDir().mkpath(installed.sharedData + "/WSJT-X"));
        QCOMPARE(writable.wsjtxLogFolder(), installed.sharedData + "/WSJT-X");

        f.write("home/.local/share/Logweave/AdifCodes_Liste_WSJT-X.txt", "mine\r\n");
        fs::permissions(f / "lib/AdifCodes_Liste.txt", fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
        const platform::QtProgramFolders readOnly(installed.places(true));  // copies the lists the user lacks
        QCOMPARE(f.read("home/.local/share/Logweave/AdifCodes_Liste.txt"), std::string("CALL\r\n"));
        QCOMPARE(f.read("home/.local/share/Logweave/AdifCodes_Liste_WSJT-X.txt"), std::string("mine\r\n"));
        const auto copied = fs::status(f / "home/.local/share/Logweave/AdifCodes_Liste.txt");
        QVERIFY((copied.permissions() & fs::perms::owner_write) != fs::perms::none);

        // Whether a folder can be written is tried, not read from its permissions.
        QVERIFY(platform::canCreateFileIn(installed.lib));
        QCOMPARE(QDir(installed.lib).entryList(QDir::Files | QDir::Hidden).size(), 2);  // the trial leaves nothing
        QVERIFY(!platform::canCreateFileIn(installed.lib + "/absent"));
#ifdef __linux__
        QVERIFY(!platform::canCreateFileIn(QStringLiteral("/proc")));  // not even root may
#endif
        // Root writes through these permissions, any other user does not.
        fs::create_directory(f / "locked");
        fs::permissions(f / "locked", fs::perms::owner_write, fs::perm_options::remove);
        QCOMPARE(platform::canCreateFileIn(text(f / "locked")), ::geteuid() == 0);
    }

    // The folder logweave-cli works in too is the one Qt gives the program's
    // name, where earlier versions kept their files.
    void theUserDataFolderIsQtsForTheProgramsName()
    {
        const QString name = QCoreApplication::applicationName();
        QCoreApplication::setApplicationName(QStringLiteral("Logweave"));
        const QString qts = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
        QCoreApplication::setApplicationName(name);
        QCOMPARE(platform::systemFolderPlaces().userDataFolder, qts);
    }

    // Installed read-only: the window names the folder it works in, runs the saved
    // update there and reads the user's lists there, but the help where installed.
    void startUpInTheUserDataFolderRunsTheSavedUpdateAfterNamingIt()
    {
        Installed installed;
        platform::QtProgramFolders folders(installed.places(true));
        const TemporaryFolder& f = installed.folder;
        f.write("home/.local/share/Logweave/AdifCodes_Liste.txt", "TIME_ON\r\n");  // edited by the user
        const auto log = f.write("station/wsjtx_log.adi", kLog);
        const auto other = f.write("other.adi", kOther);
        f.write("home/.local/share/Logweave/Logweave.cfg",
                "FicToUpdate = " + log.string() + "\r\nFicToMerge = " + other.string() + "\r\n");
        const QString before = QDir::currentPath();
        Program p(&folders);
        p.window.startUp();
        QCOMPARE(QDir::currentPath(), before);  // the program folder is joined to names, never made current
        const QString line = paneText(shell::programFolderParagraph(installed.userData));
        QVERIFY(p.pane().startsWith(line));
        QCOMPARE(p.pane().count(line), 1);
        QVERIFY(f.exists("station/wsjtx_log.adi_old"));
        QCOMPARE(commandsOn(p), QStringList{"openMenuAction"});

        p.open(text(f.write("logs/station.adi", kLog)));
        QCOMPARE(f.read("home/.local/share/Logweave/Adif_File.adi"),
                 std::string("h<eoh>\r\n<time_on:4>1000 <call:5>Q1AAA <qso_date:8>20230101 <rst_sent:2>59 <eor>\r\n"));
        p.menu("helpMenuAction")->trigger();
        QVERIFY((p.fakes.helpViewer.requests.back() == platform::HelpRequest{(installed.lib + "/Logweave.chm>W1").toStdString(),
                                                                             platform::HelpCommand::DisplayToc, 0, std::nullopt}));
    }
};

}  // namespace logweave::testing

QTEST_MAIN(logweave::testing::MainWindowTest)
#include "main_window_test.moc"
