#include "gui_testing.h"

#include "logweave/file_error.h"
#include "logweave/pane_texts.h"
#include "logweave/version.h"
#include "platform/program_folders.h"
#include "platform/settings.h"
#include "shell/command_line.h"
#include "shell/pane_texts.h"
#include "shell/qt_translations.h"
#include "shell/version_text.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QMimeData>
#include <QLibraryInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTableView>
#include <QTimer>
#include <QTranslator>

#include <cerrno>
#include <filesystem>
#include <memory>
#include <optional>
#include <unistd.h>

namespace logweave::testing {
namespace {

namespace fs = std::filesystem;

// Presses `key` ("ctrl+shift+a", "F1") as xdotool names it: through the X
// server when the test runs on one and xdotool is there, else as Qt's own events.
void press(QWidget* window, const QString& key)
{
    if (QGuiApplication::platformName() == QLatin1String("xcb") &&
        !QStandardPaths::findExecutable(QStringLiteral("xdotool")).isEmpty()) {
        QCOMPARE(QProcess::execute(QStringLiteral("xdotool"), {QStringLiteral("key"), key}), 0);
        return;
    }
    const QKeySequence keys = QKeySequence::fromString(key, QKeySequence::PortableText);
    QVERIFY(!keys.isEmpty());
    // To an open menu first, as the keyboard's grab sends them.
    QWidget* target = QApplication::activePopupWidget();
    if (target == nullptr)
        target = QApplication::focusWidget() != nullptr ? QApplication::focusWidget() : window;
    QTest::keySequence(target, keys);
}



const std::string kLog = "h<EOH>\r\n<CALL:5>Q1AAA <QSO_DATE:8>20230101 <TIME_ON:4>1000 <RST_SENT:2>59 <EOR>\r\n";
const std::string kOther = "<CALL:5>Q1BBB <QSO_DATE:8>20230102 <TIME_ON:4>1000 <EOR>\r\n";
// Q1AAA's RST_SENT differs: a conflict to settle in the middle of the merge.
const std::string kAdded = "<CALL:5>Q1AAA <QSO_DATE:8>20230101 <TIME_ON:4>1000 <RST_SENT:3>599 <EOR>\r\n" + kOther;

// Which of Open, Add and Filter are on.
QStringList commandsOn(Program& p)
{
    QStringList on;
    for (const char* name : {"openMenuAction", "addMenuAction", "filterMenuAction"})
        if (p.menu(name)->isEnabled())
            on << QString::fromLatin1(name);
    return on;
}

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

    std::optional<Program> p;  // started afresh for each test

    void openStation() { p->open(p->fakes.write("station.adi", kLog)); }
    // Add's file dialog then answers with kAdded.
    void offerAddedLog() { p->fakes.fileDialog.answers = {p->fakes.write("added.adi", kAdded)}; }

private slots:
    void init()
    {
        p.emplace();
        p->start();
    }
    void cleanup() { p.reset(); }

    void versionTextHasTwoDigitsOfMinorAndPatchAsALetter()
    {
        QCOMPARE(shell::versionText(1, 0, 0), std::string("1.00 "));
        QCOMPARE(shell::versionText(2, 7, 2), std::string("2.07b"));
    }

    void qtsOwnWordsAreInTheDesktopsLanguageWhenQtHasThem()
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

    // Open applies the options before the file is chosen; one that opens nothing leaves Open on.
    void anOpenThatOpensNothingLeavesOnlyOpenOn()
    {
        QCOMPARE(p->pane(), QString());
        p->open(QString(), ticking({"upperCaseNamesCheck"}));
        QCOMPARE(commandsOn(*p), QStringList{"openMenuAction"});
        const QString vanished = p->fakes.path("vanished.adi");
        p->open(vanished, [](QWidget* options) { QVERIFY(checked(options, "upperCaseNamesCheck")); });
        const FileError unread(FileError::Action::Read, vanished.toStdString(), systemError(ENOENT));
        QVERIFY(p->pane().contains(paneText(pane::fileError(unread))));
        QCOMPARE(commandsOn(*p), QStringList{"openMenuAction"});
        QCOMPARE(p->fakes.exit.ended, 0);
    }

    void openWritesTheLogAsTheOptionsSayFromTheProgramFolder()
    {
        p->fakes.folder.write("AdifCodes_Liste.txt", "RST_SENT\r\n");
        p->open(p->fakes.write("station.adi", kLog), ticking({"upperCaseNamesCheck", "doubleSpacingCheck"}));
        QCOMPARE(p->fakes.fileDialog.requests.back().startFolder, p->fakes.folders.programFolder());
        QCOMPARE(p->fakes.folder.read("Adif_File.adi"),
                 std::string("h<EOH>\r\n\r\n<RST_SENT:2>59 <CALL:5>Q1AAA <QSO_DATE:8>20230101 <TIME_ON:4>1000 <EOR>\r\n\r\n"));
        QCOMPARE(commandsOn(*p), (QStringList{"openMenuAction", "addMenuAction", "filterMenuAction"}));
    }

    void filterTakesTheTermsTypedAndCancelWritesNothing()
    {
        openStation();
        p->fakes.inputBox.useDefault = true;
        p->menu("filterMenuAction")->trigger();
        p->finish();
        QVERIFY(p->pane().endsWith(paneText(pane::recordsKept(1))));
        p->fakes.folder.write("Adif_Filtre1.adi", "mine");
        p->fakes.inputBox.useDefault = false;  // Cancel
        p->menu("filterMenuAction")->trigger();
        QVERIFY(p->pane().endsWith(paneText(pane::cancelled())));
        QCOMPARE(p->fakes.folder.read("Adif_Filtre1.adi"), std::string("mine"));
    }

    // The pointer is busy while the program works and as usual while it asks.
    // The merge's worker waits for the answer of a dialog modal to the window.
    void addMergesUnderTheBusyPointerAndAsksUnderTheUsualOne()
    {
        openStation();
        offerAddedLog();
        QList<bool> busyAtEachReport;
        connect(child<QPlainTextEdit>(&p->window, "activityPane"), &QPlainTextEdit::textChanged, this, [&] {
            const QCursor* cursor = QGuiApplication::overrideCursor();
            busyAtEachReport << (cursor != nullptr && cursor->shape() == Qt::BusyCursor);
        });
        bool usualWhileAsking = false;
        bool askedModallyWhileRunning = false;
        whenModal([&] { p->menu("addMenuAction")->trigger(); },
                  [&](QWidget* dialog) {
                      usualWhileAsking = QGuiApplication::overrideCursor() == nullptr;
                      QTest::qWait(50);  // the worker goes no further meanwhile
                      askedModallyWhileRunning = dialog->isModal() && p->window.operationRunning()
                                                 && !p->fakes.folder.exists("Logweave.adi");
                      click(dialog, "okButton");
                  });
        p->finish();
        QVERIFY(usualWhileAsking);
        QVERIFY(askedModallyWhileRunning);
        QVERIFY(busyAtEachReport.size() >= 2);
        QVERIFY(!busyAtEachReport.contains(false));
        QVERIFY(QGuiApplication::overrideCursor() == nullptr);
        QCOMPARE(p->store.openRecordCount(), 2LL);
        QCOMPARE(p->fakes.fileDialog.requests.back().startFolder, p->fakes.folders.programFolder());
    }

    void theChangesCommandSaysWhenNoMergeHasListedAny()
    {
        p->menu("changesMenuAction")->trigger();
        QVERIFY(p->pane().endsWith(paneText(shell::noChangeListParagraph(p->fakes.path("Logweave_Changes.csv")))));
    }

    // Escape at its question cancels the merge: the open log stays and nothing is written.
    void aMergeCancelledAtItsQuestionChangesNothing()
    {
        openStation();
        offerAddedLog();
        whenModal([&] { p->menu("addMenuAction")->trigger(); },
                  [](QWidget* dialog) { QTest::keyClick(dialog, Qt::Key_Escape); });
        p->finish();
        QVERIFY(p->pane().endsWith(paneText(pane::mergeCancelled())));
        QVERIFY(!p->fakes.folder.exists("Logweave.adi"));
        QVERIFY(!p->fakes.folder.exists("Logweave_Changes.csv"));
        QCOMPARE(p->store.openRecordCount(), 1LL);
        QCOMPARE(QString::fromStdString(p->store.openLogPath()), p->fakes.path("station.adi"));
    }

    // The merged log is then the one open, and the next question names it.
    void aMergesChangesShowInATableSortedByTheColumnClicked()
    {
        openStation();
        offerAddedLog();
        whenModal([&] { p->menu("addMenuAction")->trigger(); }, [](QWidget* dialog) { click(dialog, "okButton"); });
        p->finish();
        QCOMPARE(QString::fromStdString(p->store.openLogPath()), p->fakes.path("Logweave.adi"));
        QStringList calls;
        whenModal([&] { p->menu("changesMenuAction")->trigger(); }, [&](QWidget* dialog) {
            auto* table = child<QTableView>(dialog, "changesTable");
            QCOMPARE(table->model()->rowCount(), 2);
            table->sortByColumn(0, Qt::AscendingOrder);  // "added" before "differs"
            for (int row = 0; row < 2; ++row)
                calls << table->model()->index(row, 3).data().toString() + ' ' + table->model()->index(row, 6).data().toString();
            dialog->close();
        });
        QCOMPARE(calls, (QStringList{"Q1BBB ", "Q1AAA rst_sent"}));
    }

    // A second Open replaces the open log; a recent log, a file from the command
    // line or a dropped one opens with the saved options and no dialog; a file
    // dropped once a log is open is added.
    void logsOpenAgainFromTheMenuTheRecentListTheCommandLineAndTheDesktop()
    {
        const QString station = p->fakes.write("station.adi", kLog);
        const QString other = p->fakes.write("other.adi", "o<EOH>\r\n" + kOther);
        p->open(station);
        p->open(other);
        QCOMPARE(QString::fromStdString(p->store.openLogPath()), other);
        QVERIFY(p->pane().contains(paneText(pane::fileRead(other.toStdString()))));
        QCOMPARE(p->fakes.settings.recent, (QStringList{other, station}));

        p->menu("recentLog(1)")->trigger();
        p->finish();
        QCOMPARE(QString::fromStdString(p->store.openLogPath()), station);
        QCOMPARE(p->fakes.settings.recent, (QStringList{station, other}));
        p->window.openFile(p->fakes.path("vanished.adi"));  // as from the command line; not remembered
        p->finish();
        QCOMPARE(p->fakes.settings.recent.size(), 2);
        QCOMPARE(commandsOn(*p), QStringList{"openMenuAction"});  // and no log open any more

        Program dropped;
        dropped.start();
        const auto drop = [&](const QString& path) {
            QMimeData data;
            data.setUrls({QUrl::fromLocalFile(path)});
            // Onto the pane, which covers the window; a drop goes only where the drag entered.
            auto* pane = child<QPlainTextEdit>(&dropped.window, "activityPane");
            QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(pane, &enter);
            QVERIFY(enter.isAccepted());
            QDropEvent release(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(pane, &release);
            dropped.finish();
        };
        drop(station);
        QCOMPARE(dropped.store.openRecordCount(), 1LL);
        QCOMPARE(commandsOn(dropped), (QStringList{"openMenuAction", "addMenuAction", "filterMenuAction"}));
        drop(other);
        QVERIFY(dropped.pane().contains(paneText(pane::fileAdded(other.toStdString()))));
        QCOMPARE(dropped.store.openRecordCount(), 2LL);
    }

    // Every way out of a dialog comes back to the window, says so, and changes no file.
    void eachCancelReturnsToTheWindowAndChangesNothing()
    {
        const auto cancelledOnce = [this] {
            return p->pane().endsWith(paneText(pane::cancelled())) && p->fakes.exit.ended == 0;
        };
        whenModal([&] { p->menu("openMenuAction")->trigger(); },
                  [](QWidget* options) { options->close(); });
        QVERIFY(cancelledOnce());
        QVERIFY(p->fakes.fileDialog.requests.empty());  // no file asked for
        p->open(QString());
        QVERIFY(cancelledOnce());
        QVERIFY(fs::is_empty(p->fakes.folder.path()));
    }

    // The window's size, the folder each file dialog was left in, the recent
    // logs and the options are found again by the next run.
    void theWindowAndItsDialogsAreAsTheLastRunLeftThem()
    {
        TemporaryFolder home;
        FakeProgramFolders folders(text(home.path()));
        platform::QtSettings settings(folders);
        const QString log = text(home.write("logs/station.adi", kLog));
        const QSize size(1000, 640);
        {
            Program first(&folders, {}, &settings);
            first.start();
            first.window.show();
            first.window.resize(size);
            QVERIFY(QTest::qWaitForWindowExposed(&first.window));
            auto* pane = child<QPlainTextEdit>(&first.window, "activityPane");
            const int paneWidth = pane->width();
            first.window.resize(size.width() + 300, size.height());
            QTRY_VERIFY(pane->width() >= paneWidth + 300);  // the pane follows the window
            first.window.resize(size);
            QTRY_COMPARE(pane->width(), paneWidth);
            first.open(log, [](QWidget* options) { child<QCheckBox>(options, "upperCaseNamesCheck")->setChecked(true); });
            first.window.close();
        }
        Program next(&folders, {}, &settings);
        next.start();
        QCOMPARE(next.window.size(), size);
        QCOMPARE(next.menu("recentLog(0)")->text(), QStringLiteral("&1 ") + log);
        next.open(QString(), [](QWidget* options) { QVERIFY(child<QCheckBox>(options, "upperCaseNamesCheck")->isChecked()); });
        QCOMPARE(next.fakes.fileDialog.requests.back().startFolder, text(home / "logs"));
    }

    void theCommandLineNamesOneLogOrAsksAQuestionAnsweredWithoutAWindow()
    {
        std::string error;
        const auto parsed = [&](std::vector<std::string> arguments) {
            return shell::parseWindowCommandLine(arguments, error);
        };
        QCOMPARE(parsed({"-"})->log.value_or(""), std::string("-"));
        QCOMPARE(parsed({"--", "--help"})->log.value_or(""), std::string("--help"));
        QVERIFY(!parsed({"a.adi", "b.adi"}));
        QCOMPARE(error, std::string("one log at most: b.adi"));

        // The real program, with no display to open a window on.
        const auto run = [](const QStringList& arguments) {
            QProcess program;
            QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
            for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
                environment.remove(QString::fromLatin1(name));
            program.setProcessEnvironment(environment);
            program.start(QStringLiteral(LOGWEAVE_WINDOW_PROGRAM), arguments);
            program.waitForFinished(10000);
            return std::pair{program.exitCode(), QString::fromUtf8(program.readAllStandardOutput() + program.readAllStandardError())};
        };
        QCOMPARE(run({"--version"}), std::pair(0, QStringLiteral("logweave %1\n").arg(QString::fromLatin1(kVersion))));
        QCOMPARE(run({"--help"}), std::pair(0, QString::fromLatin1(shell::kWindowUsage)));
        QCOMPARE(run({"--frobnicate"}).first, 2);
    }

    void cancellingAddReturnsAndQuittingOrClosingEndsTheProgram()
    {
        openStation();
        p->menu("addMenuAction")->trigger();  // no answer left: Cancel, back to the window
        QCOMPARE(p->fakes.exit.ended, 0);
        QVERIFY(p->pane().endsWith(paneText(pane::cancelled())));
        p->menu("quitMenuAction")->trigger();
        QCOMPARE(p->fakes.exit.ended, 1);
        p->window.show();
        p->window.close();
        QCOMPARE(p->fakes.exit.ended, 2);
    }

    // Each command from the keyboard alone: its shortcut, or its menu's mnemonic
    // then its own. On an X display the keys go through the X server.
    void everyCommandAnswersItsKeys_data()
    {
        QTest::addColumn<QStringList>("keys");
        QTest::addColumn<QString>("answer");
        QTest::newRow("Ctrl+O: the options, then the file") << QStringList{"ctrl+o"} << "OptionsDialog";
        QTest::newRow("Alt+F O: the same") << QStringList{"alt+f", "o"} << "OptionsDialog";
        QTest::newRow("Ctrl+Shift+A: Add's file dialog") << QStringList{"ctrl+shift+a"} << "file dialog";
        QTest::newRow("Alt+F A: the same") << QStringList{"alt+f", "a"} << "file dialog";
        QTest::newRow("Ctrl+F: the filter box") << QStringList{"ctrl+f"} << "filter box";
        QTest::newRow("Alt+L F: the same") << QStringList{"alt+l", "f"} << "filter box";
        QTest::newRow("Ctrl+H: the changes") << QStringList{"ctrl+h"} << "ChangesDialog";
        QTest::newRow("Ctrl+U: the WSJT-X update") << QStringList{"ctrl+u"} << "WsjtxUpdateDialog";
        QTest::newRow("Alt+L W: the same") << QStringList{"alt+l", "w"} << "WsjtxUpdateDialog";
        QTest::newRow("F1: the help") << QStringList{"F1"} << "help";
        QTest::newRow("Alt+A A: the same") << QStringList{"alt+a", "a"} << "help";
        QTest::newRow("Alt+A P: About") << QStringList{"alt+a", "p"} << "QMessageBox";
        QTest::newRow("Ctrl+Q: quit") << QStringList{"ctrl+q"} << "quit";
    }

    void everyCommandAnswersItsKeys()
    {
        QFETCH(QStringList, keys);
        QFETCH(QString, answer);
        openStation();
        offerAddedLog();
        whenModal([&] { p->menu("addMenuAction")->trigger(); }, [](QWidget* dialog) { click(dialog, "okButton"); });
        p->finish();
        const auto asked = p->fakes.fileDialog.requests.size();
        const auto helped = p->fakes.helpViewer.requests.size();
        const QString pane = p->pane();
        p->window.show();
        p->window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&p->window));

        // Whatever dialog comes up is named, then closed.
        QStringList shown;
        QTimer closer;
        connect(&closer, &QTimer::timeout, this, [&] {
            if (QWidget* dialog = QApplication::activeModalWidget()) {
                shown << (dialog->objectName().isEmpty() ? QString::fromLatin1(dialog->metaObject()->className())
                                                         : dialog->objectName());
                dialog->close();
            }
        });
        closer.start(10);
        for (const QString& key : keys)
            press(&p->window, key);
        const auto answered = [&]() -> QString {
            if (!shown.isEmpty())
                return shown.first();
            if (p->fakes.fileDialog.requests.size() > asked)
                return QStringLiteral("file dialog");
            if (p->fakes.helpViewer.requests.size() > helped)
                return QStringLiteral("help");
            if (p->fakes.exit.ended > 0)
                return QStringLiteral("quit");
            if (p->pane() != pane && p->fakes.fileDialog.requests.size() == asked)
                return QStringLiteral("filter box");  // which cancels, being a fake
            return {};
        };
        QTRY_COMPARE(answered(), answer);
    }

    void aWritableInstallWorksInItsOwnFolder()
    {
        Installed installed;
        const platform::QtProgramFolders writable(installed.places(false));
        QVERIFY(!writable.inUserDataFolder());
        QCOMPARE(writable.programFolder(), installed.lib);
        QCOMPARE(writable.helpFolder(), installed.lib);
        QVERIFY(!QFileInfo::exists(installed.userData));
        // The WSJT-X log folder is offered only once it exists.
        QCOMPARE(writable.wsjtxLogFolder(), QString());
        QVERIFY(QDir().mkpath(installed.sharedData + "/WSJT-X"));
        QCOMPARE(writable.wsjtxLogFolder(), installed.sharedData + "/WSJT-X");
    }

    void aReadOnlyInstallCopiesTheListsTheUserLacks()
    {
        Installed installed;
        const TemporaryFolder& f = installed.folder;
        f.write("home/.local/share/Logweave/AdifCodes_Liste_WSJT-X.txt", "mine\r\n");
        fs::permissions(f / "lib/AdifCodes_Liste.txt", fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
        const platform::QtProgramFolders readOnly(installed.places(true));
        QCOMPARE(f.read("home/.local/share/Logweave/AdifCodes_Liste.txt"), std::string("CALL\r\n"));
        QCOMPARE(f.read("home/.local/share/Logweave/AdifCodes_Liste_WSJT-X.txt"), std::string("mine\r\n"));
        const auto copied = fs::status(f / "home/.local/share/Logweave/AdifCodes_Liste.txt");
        QVERIFY((copied.permissions() & fs::perms::owner_write) != fs::perms::none);
    }

    // Whether a folder can be written is tried, not read from its permissions.
    void aFolderCanBeWrittenWhenAFileCanBeMadeInIt()
    {
        TemporaryFolder f;
        QVERIFY(platform::canCreateFileIn(text(f.path())));
        QCOMPARE(f.entryCount(), 0L);  // the trial leaves nothing
        QVERIFY(!platform::canCreateFileIn(text(f / "absent")));
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
        Program q(&folders);
        q.start();
        QCOMPARE(QDir::currentPath(), before);  // the program folder is joined to names, never made current
        const QString line = paneText(shell::programFolderParagraph(installed.userData));
        QVERIFY(q.pane().startsWith(line));
        QCOMPARE(q.pane().count(line), 1);
        QVERIFY(f.exists("station/wsjtx_log.adi_old"));
        QCOMPARE(commandsOn(q), QStringList{"openMenuAction"});  // the update opened no log for Add or Filter

        q.open(text(f.write("logs/station.adi", kLog)));
        QCOMPARE(f.read("home/.local/share/Logweave/Adif_File.adi"),
                 std::string("h<eoh>\r\n<time_on:4>1000 <call:5>Q1AAA <qso_date:8>20230101 <rst_sent:2>59 <eor>\r\n"));
        q.menu("helpMenuAction")->trigger();
        QVERIFY((q.fakes.helpViewer.requests.back() == platform::HelpRequest{(installed.lib + "/Logweave.chm>W1").toStdString(),
                                                                              platform::HelpCommand::DisplayToc, 0, std::nullopt}));
    }
};

}  // namespace logweave::testing

QTEST_MAIN(logweave::testing::MainWindowTest)
#include "main_window_test.moc"
