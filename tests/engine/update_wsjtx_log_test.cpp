#include "engine_fixture.h"

#include "logweave/update_wsjtx_log.h"

namespace logweave::testing {
namespace {

const std::string kWsjtxLog =
    "WSJT-X ADIF Export<eoh>\n"
    "<call:5>Q1AAA <gridsquare:4>JN18 <mode:3>FT8 <qso_date:8>20230101 <time_on:6>100000 <band:3>20m <eor>\n"
    "<call:5>Q1BBB <gridsquare:4>JN19 <mode:3>FT8 <qso_date:8>20230103 <time_on:6>100000 <band:3>20m <eor>\n";
const std::string kOther =
    "<CALL:5>Q1CCC <BAND:3>40M <QSO_DATE:8>20230102 <TIME_ON:6>080000 <MODE:2>CW <EOR>\n";

class UpdateTest : public EngineTest {
protected:
    void SetUp() override
    {
        folder.write("AdifCodes_Liste_WSJT-X.txt", "call\r\ngridsquare\r\nmode\r\nqso_date\r\ntime_on\r\nband\r\n");
        store.FicToUpdate = folder.write("station/wsjtx_log.adi", kWsjtxLog).string();
        store.FicToMerge = folder.write("other.adi", kOther).string();
    }
    std::string station(const char* name) const { return (folder / "station" / name).string(); }
};

TEST_F(UpdateTest, ReplacesTheLogsAndKeepsABackup)
{
    ASSERT_EQ(UpdateWsjtxLog(session), Outcome::Done) << ui.pane;
    const std::string merged = folder.read("Logweave.adi");
    EXPECT_EQ(merged,
              "WSJT-X ADIF Export<eoh>\r\n"
              "<call:5>Q1AAA <gridsquare:4>JN18 <mode:3>FT8 <qso_date:8>20230101 <time_on:6>100000 <band:3>20m <eor>\r\n"
              "<call:5>Q1CCC <mode:2>CW <qso_date:8>20230102 <time_on:6>080000 <band:3>40M <eor>\r\n"
              "<call:5>Q1BBB <gridsquare:4>JN19 <mode:3>FT8 <qso_date:8>20230103 <time_on:6>100000 <band:3>20m <eor>\r\n");
    EXPECT_EQ(readBytes(station("wsjtx_log.adi_old")), kWsjtxLog);
    EXPECT_EQ(readBytes(station("wsjtx_log.adi")), merged);
    EXPECT_EQ(folder.read("other.adi"), merged);
    EXPECT_EQ(readBytes(station("Wsjtx.log")), folder.read("Logweave.log"));
    EXPECT_TRUE(ui.pane.ends_with(station("wsjtx_log.adi") + "   et [and]\r\n" + station("Wsjtx.log")
                                  + "   remplacés [replaced]"));
}

TEST_F(UpdateTest, ASecondUpdateKeepsTheFirstBackup)
{
    ASSERT_EQ(UpdateWsjtxLog(session), Outcome::Done);
    folder.write("other.adi", "<CALL:5>Q1DDD <QSO_DATE:8>20230104 <TIME_ON:6>080000 <EOR>\n");
    ASSERT_EQ(UpdateWsjtxLog(session), Outcome::Done) << ui.pane;
    EXPECT_EQ(readBytes(station("wsjtx_log.adi_old")), kWsjtxLog);
    EXPECT_NE(readBytes(station("wsjtx_log.adi")).find("Q1DDD"), std::string::npos);
    EXPECT_NE(ui.pane.find("[The existing backup is kept as it is] : " + station("wsjtx_log.adi_old")),
              std::string::npos);
    EXPECT_TRUE(ui.pane.ends_with("   remplacés [replaced]"));
}

TEST_F(UpdateTest, ReplacesTheTextLogInTheLetterCaseItHas)
{
    folder.write("station/wsjtx.log", "old lines\n");
    ASSERT_EQ(UpdateWsjtxLog(session), Outcome::Done);
    EXPECT_EQ(readBytes(station("wsjtx.log")), folder.read("Logweave.log"));
    EXPECT_FALSE(std::filesystem::exists(station("Wsjtx.log")) && std::filesystem::exists(station("wsjtx.log"))
                 && readBytes(station("Wsjtx.log")) != readBytes(station("wsjtx.log")));
    EXPECT_TRUE(ui.pane.ends_with(station("wsjtx.log") + "   remplacés [replaced]"));
}

TEST_F(UpdateTest, AFileToUpdateWithoutFolderIsBesideTheCurrentFolder)
{
    EXPECT_EQ(folderPrefix("wsjtx_log.adi"), "");
    EXPECT_EQ(folderPrefix("/home/op/wsjtx_log.adi"), "/home/op/");
    const auto previous = std::filesystem::current_path();
    std::filesystem::current_path(folder / "station");
    store.FicToUpdate = "wsjtx_log.adi";
    const Outcome outcome = UpdateWsjtxLog(session);
    std::filesystem::current_path(previous);
    ASSERT_EQ(outcome, Outcome::Done) << ui.pane;
    EXPECT_EQ(readBytes(station("wsjtx_log.adi_old")), kWsjtxLog);
    EXPECT_EQ(readBytes(station("Wsjtx.log")), folder.read("Logweave.log"));
    EXPECT_TRUE(ui.pane.ends_with("wsjtx_log.adi   et [and]\r\nWsjtx.log   remplacés [replaced]"));
}

TEST_F(UpdateTest, AMissingInputStopsBeforeAnyFileIsTouched)
{
    for (const auto& missing : {folder / "AdifCodes_Liste_WSJT-X.txt", folder / "other.adi"}) {
        const std::string kept = readBytes(missing);
        std::filesystem::remove(missing);
        ui.pane.clear();
        EXPECT_EQ(UpdateWsjtxLog(session), Outcome::Stopped);
        EXPECT_NE(ui.pane.find("[File not found, the WSJT-X log update stops before it replaces any file] : "
                               + missing.string()),
                  std::string::npos);
        EXPECT_EQ(readBytes(station("wsjtx_log.adi")), kWsjtxLog);
        EXPECT_FALSE(std::filesystem::exists(station("wsjtx_log.adi_old")));
        writeBytes(missing, kept);
    }
}

TEST_F(UpdateTest, ReportsEachReplacementThatFailsAndGoesOn)
{
    files.failOn(FileError::Action::Replace, "other.adi", "Permission denied");
    EXPECT_EQ(UpdateWsjtxLog(session), Outcome::Stopped);
    EXPECT_NE(ui.pane.find("[Cannot replace the file] : " + (folder / "other.adi").string() + " (Permission denied)"),
              std::string::npos);
    EXPECT_TRUE(ui.pane.ends_with("[Files not replaced] : " + (folder / "other.adi").string() + "\r\n\r\n"));
    EXPECT_EQ(folder.read("other.adi"), kOther);
    EXPECT_EQ(readBytes(station("wsjtx_log.adi")), folder.read("Logweave.adi"));  // the steps after it ran
    EXPECT_TRUE(std::filesystem::exists(station("Wsjtx.log")));
}

TEST_F(UpdateTest, ABackupThatFailsIsNotAReplacementThatSucceeded)
{
    // A file to merge whose own name ends in "_old" is still named when it is not replaced.
    store.FicToMerge = folder.write("restore.adi_old", kOther).string();
    files.fault = [](FileError::Action action, const std::filesystem::path& path) {
        const bool replaced = action == FileError::Action::Replace && path.filename() == "restore.adi_old";
        return replaced ? "Injected fault" : "";
    };
    EXPECT_EQ(UpdateWsjtxLog(session), Outcome::Stopped);
    EXPECT_TRUE(ui.pane.ends_with("[Files not replaced] : " + store.FicToMerge + "\r\n\r\n")) << ui.pane;
    files.failOn(FileError::Action::Backup, "wsjtx_log.adi_old");
    ui.pane.clear();
    EXPECT_EQ(UpdateWsjtxLog(session), Outcome::Stopped);
    EXPECT_NE(ui.pane.find("[No backup could be made, these files are replaced] : " + station("wsjtx_log.adi")),
              std::string::npos)
        << ui.pane;
}

TEST_F(UpdateTest, WritesLowerCaseEndTagsWhateverTheOptions)
{
    ui.options.UpperCaseNames = true;
    applyOptions();
    ASSERT_EQ(UpdateWsjtxLog(session), Outcome::Done);
    // Names follow the option, end tags are the WSJT-X program's own.
    EXPECT_NE(folder.read("Logweave.adi").find("<CALL:5>Q1AAA "), std::string::npos);
    EXPECT_NE(folder.read("Logweave.adi").find("<eor>\r\n"), std::string::npos);
    EXPECT_EQ(folder.read("Logweave.adi").find("<EOR>"), std::string::npos);
}

}  // namespace
}  // namespace logweave::testing
