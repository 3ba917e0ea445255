#include "engine_fixture.h"

#include "logweave/update_wsjtx_log.h"

#include <chrono>

namespace logweave::testing {
namespace {

using namespace std::chrono_literals;

const std::string kWsjtxLog =
    "WSJT-X ADIF Export<eoh>\n"
    "<call:5>Q1AAA <gridsquare:4>JN18 <mode:3>FT8 <qso_date:8>20230101 <time_on:6>100000 <band:3>20m <eor>\n"
    "<call:5>Q1BBB <gridsquare:4>JN19 <mode:3>FT8 <qso_date:8>20230103 <time_on:6>100000 <band:3>20m <eor>\n";
const std::string kOther =
    "<CALL:5>Q1CCC <BAND:3>40M <QSO_DATE:8>20230102 <TIME_ON:6>080000 <MODE:2>CW <EOR>\n";
// 2026-12-07 18:30:15 UTC.
const auto kWhen = std::chrono::system_clock::time_point(std::chrono::seconds(1796668215));

class UpdateTest : public EngineTest {
protected:
    void SetUp() override
    {
        folder.write("AdifCodes_Liste_WSJT-X.txt", "call\r\ngridsquare\r\nmode\r\nqso_date\r\ntime_on\r\nband\r\n");
        log = folder.write("station/wsjtx_log.adi", kWsjtxLog).string();
        other = folder.write("other.adi", kOther).string();
    }
    Outcome update(std::chrono::system_clock::time_point when = kWhen)
    {
        return UpdateWsjtxLog(session, {log, other, {}, when});
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

TEST_F(UpdateTest, ReplacesBothLogsAndTheTextLogWithTheMergedOnes)
{
    // Names follow the option, end tags are the WSJT-X program's own.
    ui.options.UpperCaseNames = true;
    applyOptions();
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

TEST_F(UpdateTest, WithoutADatedCopyNothingIsReplaced)
{
    files.fault = [](FileError::Action action, const std::filesystem::path& path) {
        const bool datedCopy = action == FileError::Action::Backup && path.extension() == ".bak";
        return datedCopy ? std::make_error_code(std::errc::no_space_on_device) : std::error_code{};
    };
    EXPECT_EQ(update(), Outcome::Stopped);
    EXPECT_TRUE(ui.pane.ends_with(pane::noCopyNothingReplaced(log)));
    EXPECT_EQ(readBytes(log), kWsjtxLog);
    EXPECT_EQ(readBytes(other), kOther);
    EXPECT_FALSE(std::filesystem::exists(station("Wsjtx.log")));
    EXPECT_FALSE(std::filesystem::exists(log + "_old"));
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
    EXPECT_FALSE(std::filesystem::exists(station("Wsjtx.log")));
    EXPECT_TRUE(ui.pane.ends_with(pane::replaced("wsjtx_log.adi", "wsjtx.log")));
}

TEST_F(UpdateTest, AMissingInputStopsBeforeAnyFileIsTouched)
{
    for (const auto& missing : {folder / "AdifCodes_Liste_WSJT-X.txt", folder / "other.adi"}) {
        const std::string kept = readBytes(missing);
        std::filesystem::remove(missing);
        ui.pane.clear();
        EXPECT_EQ(update(), Outcome::Stopped);
        EXPECT_EQ(ui.pane, pane::updateInputMissing(missing.string()));
        EXPECT_EQ(readBytes(log), kWsjtxLog);
        EXPECT_EQ(datedCopies(), 0u);
        writeBytes(missing, kept);
    }
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
