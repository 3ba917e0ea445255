#include "count_of.h"
#include "engine_fixture.h"
#include "system_call_hooks.h"

#include "logweave/dated_copies.h"
#include "logweave/operations.h"

#include <algorithm>
#include <chrono>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

namespace logweave::testing {
namespace {

using namespace std::chrono_literals;

const std::string kWsjtxLog =
    "WSJT-X ADIF Export<eoh>\n"
    "<call:5>Q1AAA <gridsquare:4>JN18 <mode:3>FT8 <qso_date:8>20230101 <time_on:6>100000 <band:3>20m <eor>\n"
    "<call:5>Q1BBB <gridsquare:4>JN19 <mode:3>FT8 <qso_date:8>20230103 <time_on:6>100000 <band:3>20m <eor>\n";
const std::string kOther =
    "<CALL:5>Q1CCC <BAND:3>40M <QSO_DATE:8>20230102 <TIME_ON:6>080000 <MODE:2>CW <EOR>\n";
constexpr std::string_view kFieldOrder = "call\r\ngridsquare\r\nmode\r\nqso_date\r\ntime_on\r\nband\r\n";
// 2026-12-07 18:30:15 UTC.
const auto kWhen = std::chrono::system_clock::time_point(std::chrono::seconds(1796668215));

// A contact appended as the WSJT-X program appends it: open, append, close.
void appendContact(const std::string& log, const std::string& call)
{
    std::ofstream(log, std::ios::binary | std::ios::app)
        << "<call:" << call.size() << ">" << call << " <qso_date:8>20261207 <time_on:6>183000 <mode:3>FT8 <eor>\n";
}

class UpdateTest : public EngineTest {
protected:
    void SetUp() override
    {
        folder.write("AdifCodes_Liste_WSJT-X.txt", kFieldOrder);
        writeLogs();
    }
    // The two logs as they were before any update, and none of their copies.
    void writeLogs()
    {
        std::filesystem::remove_all(folder / "station");
        for (const auto& entry : std::filesystem::directory_iterator(folder.path()))
            if (entry.path().filename().string().starts_with("other.adi."))
                std::filesystem::remove(entry.path());
        folder.write("station/wsjtx_log.adi", kWsjtxLog);
        log = station("wsjtx_log.adi");
        other = folder.write("other.adi", kOther).string();
    }
    // The file system through these system calls.
    void useCalls(SystemCalls calls) { files.real = StdFileSystem(std::move(calls)); }
    Outcome update(std::chrono::system_clock::time_point when = kWhen)
    {
        return updateWsjtxLog(store, session, {log, other, ui.options, when});
    }
    std::string station(const std::string& name) const { return (folder / "station" / name).string(); }
    std::string dated(std::chrono::system_clock::time_point when) const { return datedBackupName(log, when); }
    std::size_t datedCopies() const
    {
        std::size_t n = 0;
        for (const auto& entry : std::filesystem::directory_iterator(folder / "station"))
            n += entry.path().extension() == ".bak" ? 1 : 0;
        return n;
    }

    std::string log;
    std::string other;
};

TEST_F(UpdateTest, ReplacesBothLogsAndTheTextLogWithTheMergedOnesKeepingACopyOfTheFileToMerge)
{
    // Names follow the option, end tags are the WSJT-X program's own.
    ui.options.upperCaseNames = true;
    ASSERT_EQ(update(), Outcome::Done) << ui.pane;
    const std::string merged = folder.read("Logweave.adi");
    EXPECT_EQ(merged,
              "WSJT-X ADIF Export<eoh>\r\n"
              "<CALL:5>Q1AAA <GRIDSQUARE:4>JN18 <MODE:3>FT8 <QSO_DATE:8>20230101 <TIME_ON:6>100000 <BAND:3>20m <eor>\r\n"
              "<CALL:5>Q1CCC <MODE:2>CW <QSO_DATE:8>20230102 <TIME_ON:6>080000 <BAND:3>40M <eor>\r\n"
              "<CALL:5>Q1BBB <GRIDSQUARE:4>JN19 <MODE:3>FT8 <QSO_DATE:8>20230103 <TIME_ON:6>100000 <BAND:3>20m <eor>\r\n");
    EXPECT_EQ(readBytes(log), merged);
    EXPECT_EQ(readBytes(other), merged);
    EXPECT_EQ(readBytes(station("Wsjtx.log")), folder.read("Logweave.log"));
    EXPECT_EQ(readBytes(datedBackupName(other, kWhen)), kOther);
    EXPECT_TRUE(paneHas(pane::fileToMergeReplaced(other, datedBackupName(other, kWhen))));
    EXPECT_TRUE(ui.pane.ends_with(pane::replaced(log, station("Wsjtx.log"))));
}

TEST_F(UpdateTest, KeepsTheNewestTenDatedCopiesAndTheFirstCopy)
{
    folder.write("station/wsjtx_log.adi.20200101-000000.bak.txt", "not a copy");
    folder.write("station/other.adi.20200101-000000.bak", "another log's");
    for (int i = 0; i <= 10; ++i)
        ASSERT_EQ(update(kWhen + std::chrono::hours(i)), Outcome::Done) << ui.pane;
    const std::string before = readBytes(log);
    folder.write("other.adi", "<CALL:5>Q1DDD <QSO_DATE:8>20230104 <TIME_ON:6>080000 <EOR>\n");
    // Within the same second: the copy takes the next one.
    ASSERT_EQ(update(kWhen + 10h), Outcome::Done) << ui.pane;
    EXPECT_EQ(readBytes(dated(kWhen + 10h + 1s)), before);
    EXPECT_NE(readBytes(log).find("Q1DDD"), std::string::npos);
    EXPECT_EQ(readBytes(log + "_old"), kWsjtxLog);
    EXPECT_TRUE(paneHas(pane::backupKept(log + "_old")));
    EXPECT_EQ(datedCopies(), 11u);  // ten of this log, one of another
    EXPECT_FALSE(std::filesystem::exists(dated(kWhen + 1h)));
    EXPECT_TRUE(std::filesystem::exists(dated(kWhen + 2h)));
    EXPECT_TRUE(folder.exists("station/wsjtx_log.adi.20200101-000000.bak.txt"));
}

// The WSJT-X program appends a contact, and another goes into the file to
// merge, before one system call of the update after another: each is in its
// file once when the update ends.
TEST_F(UpdateTest, KeepsWhatIsAppendedAtAnyStepOfTheUpdate)
{
    int calls = 0;
    int appendBefore = 0;
    SystemCalls hooked = withoutWaits();
    // The update's own calls: the earlier versions of the files it replaces
    // are freed on a thread apart, at no fixed step. An append begun there
    // before a rename could end after the update's last look for one, as
    // nothing here waits.
    const std::thread::id updating = std::this_thread::get_id();
    runBeforeEveryCall(hooked, [&] {
        if (std::this_thread::get_id() != updating)
            return;
        if (++calls == appendBefore) {
            appendContact(log, "Q9LOG");
            appendContact(other, "Q9MRG");
        }
    });
    useCalls(hooked);
    ASSERT_EQ(update(), Outcome::Done) << ui.pane;
    // Counted as each update below runs: over the files the one before wrote.
    writeLogs();
    calls = 0;
    ASSERT_EQ(update(), Outcome::Done) << ui.pane;
    const int steps = calls;
    ASSERT_GT(steps, 30);
    RecordProperty("steps", steps);
    for (appendBefore = 1; appendBefore <= steps; ++appendBefore) {
        SCOPED_TRACE("appended before call " + std::to_string(appendBefore) + " of " + std::to_string(steps));
        writeLogs();
        calls = 0;
        ASSERT_EQ(update(), Outcome::Done) << ui.pane;
        EXPECT_EQ(countOf(readBytes(log), "Q9LOG"), 1);
        EXPECT_EQ(countOf(readBytes(other), "Q9MRG"), 1);
    }
}

TEST_F(UpdateTest, SaysWhatWasAppendedAfterTheReadingAndKeepsItAsItWasWritten)
{
    SystemCalls hooked = withoutWaits();
    bool appended = false;
    runBeforeSecondName(hooked, [&] {
        if (!std::exchange(appended, true))
            appendContact(log, "Q9LOG");
    });
    useCalls(hooked);
    ASSERT_EQ(update(), Outcome::Done) << ui.pane;
    EXPECT_TRUE(paneHas(pane::takenIn(log, 1)));
    EXPECT_TRUE(readBytes(log).ends_with(
        "<eor>\r\n<call:5>Q9LOG <qso_date:8>20261207 <time_on:6>183000 <mode:3>FT8 <eor>\n"));
    // The dated copy is the file replaced: the contact appended to it is there too.
    EXPECT_NE(readBytes(dated(kWhen)).find("Q9LOG"), std::string::npos);
}

// Whatever keeps it from replacing every file safely, the update replaces
// none, leaves no copy and says why: an input missing, a dated copy that
// cannot be made, or another program that keeps the log open for writing,
// puts another file in its place or writes it anew (the next update tries
// again).
TEST_F(UpdateTest, ReplacesNothingWhenItCannotReplaceEverythingSafely)
{
    const std::string list = (folder / "AdifCodes_Liste_WSJT-X.txt").string();
    const std::string changed = "<call:5>Q1NEW <eor>\n";
    const auto noDatedCopyOf = [this](std::string file) {
        files.fault = [file](FileError::Action action, const std::filesystem::path& path) {
            const bool datedCopy = action == FileError::Action::Backup && path.extension() == ".bak"
                && path.filename().string().starts_with(file);
            return datedCopy ? std::make_error_code(std::errc::no_space_on_device) : std::error_code{};
        };
    };
    int waits = 0;
    // Another program's doing, just before the update's first second name.
    const auto meanwhile = [&](bool heldOpen, std::function<void()> change) {
        SystemCalls calls = withoutWaits(&waits);
        reportWriters(calls, heldOpen);
        runBeforeSecondName(calls, [change = std::move(change)]() mutable {
            if (change)
                std::exchange(change, nullptr)();
        });
        useCalls(calls);
    };
    const auto changing = [this](FileError::Action action, LiveFileError why) {
        return pane::changingDuringUpdate(FileError(action, log, why));
    };
    const struct {
        const char* name;
        std::function<void()> arrange;
        std::string said;
        bool beforeAnyCopy;  // then not even the first copy is made
        std::string logAfter = kWsjtxLog;
    } cases[] = {
        {"no field order list", [&] { std::filesystem::remove(list); }, pane::updateInputMissing(list), true},
        {"no file to merge", [&] { std::filesystem::remove(other); }, pane::updateInputMissing(other), true},
        {"no dated copy of the log", [&] { noDatedCopyOf("wsjtx_log.adi"); }, pane::noCopyNothingReplaced(log), true},
        {"no dated copy of the file to merge", [&] { noDatedCopyOf("other.adi"); }, pane::noCopyOfFileToMerge(other),
         true},
        {"held open for writing", [&] { meanwhile(true, nullptr); },
         changing(FileError::Action::Replace, LiveFileError::HeldForWriting), false},
        {"another file in its place",
         [&] {
             meanwhile(false, [&] {
#ifdef _WIN32
                 // No file takes the name of one the update holds open: the log is moved away first.
                 std::filesystem::rename(log, log + ".moved");
#endif
                 writeBytes(log + ".new", changed);
                 std::filesystem::rename(log + ".new", log);
             });
         },
         changing(FileError::Action::Backup, LiveFileError::Replaced), false, changed},
        {"written anew", [&] { meanwhile(false, [&] { writeBytes(log, changed); }); },
         changing(FileError::Action::Replace, LiveFileError::Rewritten), false, changed},
    };
    for (const auto& [name, arrange, said, beforeAnyCopy, logAfter] : cases) {
        SCOPED_TRACE(name);
        folder.write("AdifCodes_Liste_WSJT-X.txt", kFieldOrder);
        writeLogs();
        ui.pane.clear();
        files.fault = nullptr;
        useCalls(withoutWaits(&waits));
        waits = 0;
        arrange();
        EXPECT_EQ(update(), Outcome::Stopped);
        EXPECT_TRUE(ui.pane.ends_with(said)) << ui.pane;
        EXPECT_EQ(readBytes(log), logAfter);
        if (std::filesystem::exists(other)) {
            EXPECT_EQ(readBytes(other), kOther);
        }
        EXPECT_FALSE(std::filesystem::exists(station("Wsjtx.log")));
        if (beforeAnyCopy) {
            EXPECT_FALSE(std::filesystem::exists(log + "_old"));
        }
        EXPECT_EQ(datedCopies(), 0u);  // the log's own copy, made first, goes again
        EXPECT_FALSE(std::filesystem::exists(datedBackupName(other, kWhen)));
        if (std::string_view(name) == "held open for writing") {
            EXPECT_GE(waits, 100);  // it waited a while for the program to let go
        }
    }
}

// The text log is found beside the WSJT-X log in the letter case it has, in the
// current folder when the log is named without one.
TEST_F(UpdateTest, ReplacesTheTextLogBesideTheLogInTheLetterCaseItHas)
{
    folder.write("station/wsjtx.log", "old lines\n");
    const auto previous = std::filesystem::current_path();
    std::filesystem::current_path(folder / "station");
    log = "wsjtx_log.adi";
    const Outcome outcome = update();
    std::filesystem::current_path(previous);
    ASSERT_EQ(outcome, Outcome::Done) << ui.pane;
    EXPECT_EQ(readBytes(station("wsjtx_log.adi_old")), kWsjtxLog);
    EXPECT_EQ(readBytes(station("wsjtx.log")), folder.read("Logweave.log"));
    // Asked by name, a file system blind to letter case would find it under the other.
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder / "station"))
        names.push_back(entry.path().filename().string());
    EXPECT_EQ(std::count(names.begin(), names.end(), "wsjtx.log"), 1);
    EXPECT_EQ(std::count(names.begin(), names.end(), "Wsjtx.log"), 0);
    EXPECT_TRUE(ui.pane.ends_with(pane::replaced("wsjtx_log.adi", "wsjtx.log")));
}

TEST_F(UpdateTest, ReportsEachReplacementThatFailsAndGoesOn)
{
    files.failOn(FileError::Action::Replace, "other.adi", std::make_error_code(std::errc::permission_denied));
    EXPECT_EQ(update(), Outcome::Stopped);
    EXPECT_TRUE(paneHas("[Cannot replace the file] : " + other + " (Permission denied)"));
    EXPECT_TRUE(ui.pane.ends_with(pane::notReplaced({other})));
    EXPECT_EQ(readBytes(other), kOther);
    EXPECT_EQ(readBytes(log), folder.read("Logweave.adi"));  // the steps after it ran
    EXPECT_TRUE(std::filesystem::exists(station("Wsjtx.log")));
}

}  // namespace
}  // namespace logweave::testing
