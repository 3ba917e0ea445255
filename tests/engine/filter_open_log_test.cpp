#include "engine_fixture.h"

#include "logweave/filter_open_log.h"
#include "logweave/pane_texts.h"
#include "logweave/write_record.h"

namespace logweave::testing {
namespace {

class FilterTest : public EngineTest {
protected:
    void SetUp() override
    {
        ASSERT_EQ(open("h<EOH>\r\n<BAND:2>6m <MODE:3>FT8 <EOR>\r\n<BAND:2>6M <MODE:3>FT4 <EOR>\r\n"
                       "<BAND:3>20M <MODE:3>FT8 <NOTES:1>x <EOR>\r\n"),
                  Outcome::Done);
        ui.pane.clear();
    }
    // The records that go to the removed file, by number.
    std::string removedBy(std::string_view expression)
    {
        EXPECT_EQ(FilterOpenLog(session, expression), Outcome::Done) << ui.pane;
        std::string which;
        const std::string removed = folder.read("Adif_Filtre2.adi");
        for (long long r = 1; r <= store.OpenRecordCount(); ++r) {
            std::string line;
            OutputNames names(store.fields, false);
            WriteRecord(line, store.record(r), names);
            if (removed.find(line + "<eor>") != std::string::npos)
                which += std::to_string(r);
        }
        return which;
    }
};

TEST_F(FilterTest, SplitsTheLogAndReportsTheRecordsKept)
{
    EXPECT_EQ(removedBy("BAND:6M;MODE:FT8"), "1");
    EXPECT_EQ(folder.read("Adif_Filtre1.adi"),
              "h<eoh>\r\n<band:2>6M <mode:3>FT4 <eor>\r\n<band:3>20M <mode:3>FT8 <notes:1>x <eor>\r\n");
    EXPECT_EQ(folder.read("Adif_Filtre2.adi"), "h<eoh>\r\n<band:2>6m <mode:3>FT8 <eor>\r\n");
    EXPECT_EQ(ui.pane, pane::filterFiles() + pane::recordsKept(2));
}

TEST_F(FilterTest, ComparesWholeValuesIgnoringLetterCase)
{
    EXPECT_EQ(removedBy("band:6m"), "12");
    EXPECT_EQ(removedBy("MODE:FT"), "");
    EXPECT_EQ(removedBy("BAND:6M "), "");           // the blank is part of the value
    EXPECT_EQ(removedBy("BAND:6M; MODE:FT8"), "");  // " MODE" names no field
    EXPECT_EQ(removedBy("BAND:6M;BAND:20M"), "");
}

TEST_F(FilterTest, AnAbsentFieldOrValueIsTheEmptyValue)
{
    EXPECT_EQ(removedBy("NOTES:"), "12");
    EXPECT_EQ(removedBy("XYZ:1"), "");
    EXPECT_EQ(removedBy("XYZ:"), "123");
    EXPECT_EQ(removedBy(""), "123");  // no term: everything matches
    EXPECT_TRUE(ui.pane.ends_with(pane::recordsKept(0)));
}

TEST_F(FilterTest, RefusesATermWithoutColonAndTakesAnyNumberOfTerms)
{
    folder.write("Adif_Filtre1.adi", "kept before");
    EXPECT_EQ(FilterOpenLog(session, "BAND:6M;;MODE:FT8"), Outcome::Stopped);
    EXPECT_EQ(ui.pane, pane::filterRefused(""));
    EXPECT_EQ(FilterOpenLog(session, "band6m"), Outcome::Stopped);
    EXPECT_TRUE(ui.pane.ends_with(pane::filterRefused("BAND6M")));
    EXPECT_EQ(folder.read("Adif_Filtre1.adi"), "kept before");
    EXPECT_FALSE(folder.exists("Adif_Filtre2.adi"));

    std::string twenty = "BAND:6M";
    for (int i = 0; i < 19; ++i)
        twenty += ";MODE:FT8";
    EXPECT_EQ(removedBy(twenty), "1");
}

TEST_F(FilterTest, FiltersALogPastTheOldBound)
{
    std::string log;
    for (int i = 0; i < 30000; ++i)
        log += std::string("<BAND:3>") + (i % 3 == 0 ? "20M" : "40M") + " <MODE:3>FT8 <EOR>\n";
    ASSERT_EQ(open(log), Outcome::Done);
    ASSERT_EQ(FilterOpenLog(session, "BAND:20M;MODE:FT8"), Outcome::Done);
    EXPECT_TRUE(ui.pane.ends_with(pane::recordsKept(20000)));
}

TEST_F(FilterTest, TakesTheHeaderTheOptionsChooseAndTheirSpacing)
{
    ui.options.DoubleSpacing = true;
    ui.options.headerSource = HeaderSource::Program;
    applyOptions();
    EXPECT_EQ(removedBy("BAND:20M"), "3");
    EXPECT_EQ(folder.read("Adif_Filtre2.adi"), "Logweave <eoh>\r\n\r\n<band:3>20M <mode:3>FT8 <notes:1>x <eor>\r\n\r\n");

    ui.options.headerSource = HeaderSource::AddedLog;
    ui.options.DoubleSpacing = false;
    applyOptions();
    ASSERT_EQ(add("added<EOH>"), Outcome::Done);
    EXPECT_EQ(removedBy("BAND:20M"), "3");
    EXPECT_TRUE(folder.read("Adif_Filtre1.adi").starts_with("added<eoh>\r\n"));
}

TEST_F(FilterTest, ATypedNameMatchesItInEitherEncoding)
{
    ASSERT_EQ(open("<NAME:4>J\xF6rg <EOR>\r\n<NAME:5>J\xC3\xB6rg <EOR>\r\n<NAME:4>Jorg <EOR>\r\n"), Outcome::Done);
    EXPECT_EQ(removedBy("name:j\xC3\xB6rg"), "12");
}

TEST_F(FilterTest, ATypedFieldCannotBeNamed)
{
    ASSERT_EQ(open("<QSO_DATE:8:D>20230101 <EOR>\r\n"), Outcome::Done);
    EXPECT_EQ(removedBy("QSO_DATE:20230101"), "");
    EXPECT_EQ(removedBy("QSO_DATE:D:20230101"), "");
}

TEST_F(FilterTest, NamesAFileItCannotWriteAndWritesNeither)
{
    files.failOn(FileError::Action::Write, "Adif_Filtre2.adi", std::make_error_code(std::errc::read_only_file_system));
    EXPECT_EQ(FilterOpenLog(session, "BAND:6M"), Outcome::Stopped);
    EXPECT_NE(ui.pane.find("Adif_Filtre2.adi (Read-only file system)"), std::string::npos);
    EXPECT_FALSE(folder.exists("Adif_Filtre1.adi"));
}

}  // namespace
}  // namespace logweave::testing
