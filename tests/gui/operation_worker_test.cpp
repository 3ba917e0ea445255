// The main window while a large operation works on its worker: the window
// keeps answering and shows how far the operation has got, and its Cancel,
// or closing the window, stops it with every file and the open log as before.

#include "gui_testing.h"

#include "logweave/pane_texts.h"
#include "shell/operation_status_bar.h"

#include <QElapsedTimer>
#include <QProgressBar>
#include <QRegularExpression>
#include <QTimer>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <thread>

namespace logweave::testing {
namespace {

namespace fs = std::filesystem;

constexpr long long kRecordsEach = 100000;  // two logs: a merge of 200 000 records

// The real system calls, reading and writing at 10 MB/s as a slow disk does:
// the operations last seconds on any machine, long enough to watch and cancel.
SystemCalls slowDisk()
{
    SystemCalls calls = SystemCalls::real();
    const auto pace = [](ssize_t bytes) {
        if (bytes > 0)
            std::this_thread::sleep_for(std::chrono::microseconds(bytes / 10));
    };
    calls.read = [read = calls.read, pace](int fd, void* data, std::size_t size) {
        const ssize_t done = read(fd, data, size);
        pace(done);
        return done;
    };
    calls.pread = [pread = calls.pread, pace](int fd, void* data, std::size_t size, off_t offset) {
        const ssize_t done = pread(fd, data, size, offset);
        pace(done);
        return done;
    };
    calls.write = [write = calls.write, pace](int fd, const void* data, std::size_t size) {
        const ssize_t done = write(fd, data, size);
        pace(done);
        return done;
    };
    return calls;
}

// `records` contacts a second apart from the start of `year`, none in another year's log.
QString writeContacts(const TemporaryFolder& folder, const char* name, int year, long long records)
{
    const fs::path path = folder / name;
    std::ofstream log(path, std::ios::binary);
    char line[128];
    for (long long i = 0; i < records; ++i) {
        const long long second = i % 86400;
        std::snprintf(line, sizeof line,
                      "<CALL:6>Q1%04lld <QSO_DATE:8>%04d01%02lld <TIME_ON:6>%02lld%02lld%02lld <BAND:3>20m "
                      "<MODE:3>FT8 <EOR>\n",
                      i % 10000, year, 1 + i / 86400, second / 3600, second / 60 % 60, second % 60);
        log << line;
    }
    return QString::fromStdString(path.string());
}

// Every file under the folder, with its bytes: what a cancelled operation must leave as it was.
std::map<std::string, std::string> filesIn(const TemporaryFolder& folder)
{
    std::map<std::string, std::string> files;
    for (const auto& entry : fs::recursive_directory_iterator(folder.path()))
        if (entry.is_regular_file())
            files[fs::relative(entry.path(), folder.path()).string()] = readBytes(entry.path());
    return files;
}

QWidget* cancelButton(Program& p)
{
    return child<QWidget>(&p.window, "cancelOperationButton");
}

// Clicks Cancel once the status bar offers it, as a user would.
void cancelWhenOffered(Program& p)
{
    QVERIFY2(QTest::qWaitFor([&] { return cancelButton(p)->isVisible(); }, kOperationWaitMs),
             "the operation ended before Cancel was offered");
    QVERIFY(p.window.operationRunning());
    QTest::mouseClick(cancelButton(p), Qt::LeftButton);
    p.finish();
}

// The commands that start an operation.
const QStringList kAllOn{"openMenuAction", "addMenuAction", "filterMenuAction", "wsjtxMenuAction"};

QStringList commandsOn(Program& p)
{
    QStringList on;
    for (const QString& name : kAllOn)
        if (p.menu(qPrintable(name))->isEnabled())
            on << name;
    return on;
}

}  // namespace

class OperationWorkerTest final : public QObject {
    Q_OBJECT

    std::optional<Program> p;  // a large log open, a second one offered to Add
    QString station;
    QString added;

private slots:
    void init()
    {
        p.emplace(nullptr, OutputOptions{}, nullptr, slowDisk());
        p->window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&p->window));
        p->start();
        station = writeContacts(p->fakes.folder, "station.adi", 2023, kRecordsEach);
        added = writeContacts(p->fakes.folder, "added.adi", 2024, kRecordsEach);
        p->open(station);
        QCOMPARE(p->store.openRecordCount(), kRecordsEach);
        p->fakes.fileDialog.answers = {added};
    }
    void cleanup() { p.reset(); }

    void theProgressTextNamesThePhaseAndCountsInThousands()
    {
        // Written with "_" for the space that never breaks a line.
        const auto expected = [](QString text) { return text.replace(QLatin1Char('_'), QChar(0x00A0)); };
        QCOMPARE(shell::progressText({Phase::Merging, 120000, 2000000}),
                 expected(QStringLiteral("Fusion [Merging] 120_000 / 2_000_000")));
        QCOMPARE(shell::progressText({Phase::Reading, 999, 1000}),
                 expected(QStringLiteral("Lecture [Reading] 999 / 1_000 octets [bytes]")));
        QCOMPARE(shell::progressText({Phase::Writing, 0, 0}), QStringLiteral("Écriture [Writing]"));
    }

    // Ticks of a 10 ms timer never more than 100 ms apart, the bar and Cancel
    // up after half a second, the commands that start operations off until the end.
    void theWindowAnswersAndShowsProgressWhileALargeMergeWorks()
    {
        QElapsedTimer clock;
        qint64 last = 0;
        qint64 longestGap = 0;
        qint64 barFirstShown = -1;
        QStringList barTexts;
        QTimer tick;
        tick.setInterval(10);
        connect(&tick, &QTimer::timeout, this, [&] {
            longestGap = std::max(longestGap, clock.elapsed() - last);
            last = clock.elapsed();
            auto* bar = child<QProgressBar>(&p->window, "progressBar");
            if (bar->isVisible() && cancelButton(*p)->isVisible() && barFirstShown < 0)
                barFirstShown = last;
            if (bar->isVisible() && (barTexts.isEmpty() || barTexts.back() != bar->text()))
                barTexts << bar->text();
        });
        clock.start();
        tick.start();
        p->menu("addMenuAction")->trigger();
        QCOMPARE(commandsOn(*p), QStringList());
        QVERIFY(p->menu("quitMenuAction")->isEnabled());
        p->finish();
        tick.stop();

        QVERIFY2(longestGap <= 100, qPrintable(QStringLiteral("no answer for %1 ms").arg(longestGap)));
        QVERIFY2(barFirstShown >= 500, qPrintable(QStringLiteral("progress shown after %1 ms").arg(barFirstShown)));
        const QRegularExpression merging(QStringLiteral("^Fusion \\[Merging\\] [\\d\\x{a0}]+ / 200\\x{a0}000$"));
        QVERIFY2(barTexts.indexOf(merging) >= 0, qPrintable(barTexts.join(u'|')));
        QVERIFY(!child<QWidget>(&p->window, "operationStatusBar")->isVisible());
        QCOMPARE(p->store.openRecordCount(), 2 * kRecordsEach);
        QVERIFY(p->pane().contains(paneText(pane::fileAdded(added.toStdString()))));
        QCOMPARE(commandsOn(*p), kAllOn);
    }

    // Cancel during a merge, and during an Open that would replace the open log.
    void cancelLeavesEveryFileAndTheOpenLogAsTheyWere_data()
    {
        QTest::addColumn<bool>("opening");
        QTest::newRow("Add") << false;
        QTest::newRow("Open") << true;
    }
    void cancelLeavesEveryFileAndTheOpenLogAsTheyWere()
    {
        QFETCH(bool, opening);
        const auto before = filesIn(p->fakes.folder);
        if (opening)
            whenModal([&] { p->menu("openMenuAction")->trigger(); },
                      [](QWidget* options) { click(options, "okButton"); });
        else
            p->menu("addMenuAction")->trigger();
        cancelWhenOffered(*p);

        QVERIFY2(p->pane().endsWith(paneText(pane::cancelled())), qPrintable(p->pane().right(200)));
        QVERIFY(filesIn(p->fakes.folder) == before);  // no temporary file left either
        QCOMPARE(QString::fromStdString(p->store.openLogPath()), station);
        QCOMPARE(p->store.openRecordCount(), kRecordsEach);
        QCOMPARE(commandsOn(*p), kAllOn);
        QVERIFY(!child<QWidget>(&p->window, "operationStatusBar")->isVisible());
    }

    // As from the command line during the update at start-up: the log waits its turn.
    void aLogGivenWhileAMergeWorksOpensOnceItHasEnded()
    {
        p->menu("addMenuAction")->trigger();
        p->window.openFile(added);
        QVERIFY(p->window.operationRunning());
        p->finish();
        const std::string changes = p->fakes.path("Logweave_Changes.csv").toStdString();
        const qsizetype merged = p->pane().indexOf(paneText(pane::changesWritten(changes, kRecordsEach, 0)));
        QVERIFY(merged >= 0);
        QVERIFY(p->pane().indexOf(paneText(pane::fileRead(added.toStdString()))) > merged);
        QCOMPARE(QString::fromStdString(p->store.openLogPath()), added);
        QCOMPARE(p->store.openRecordCount(), kRecordsEach);
    }

    // The program ends only once the merge has stopped, having written nothing.
    void closingTheWindowCancelsTheMergeThenEnds()
    {
        const auto before = filesIn(p->fakes.folder);
        p->menu("addMenuAction")->trigger();
        QVERIFY(QTest::qWaitFor([&] { return cancelButton(*p)->isVisible(); }, kOperationWaitMs));
        p->window.close();
        QCOMPARE(p->fakes.exit.ended, 0);
        p->finish();
        QCOMPARE(p->fakes.exit.ended, 1);
        QVERIFY(p->pane().endsWith(paneText(pane::cancelled())));
        QVERIFY(filesIn(p->fakes.folder) == before);
    }
};

}  // namespace logweave::testing

QTEST_MAIN(logweave::testing::OperationWorkerTest)
#include "operation_worker_test.moc"
