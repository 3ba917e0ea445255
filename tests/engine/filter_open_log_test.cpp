#include "engine_fixture.h"

namespace logweave::testing {
namespace {

class FilterTest : public EngineTest {
protected:
    void SetUp() override
    {
        // A name in Windows-1252 and in UTF-8, a typed date; each record's call is its number.
        ASSERT_EQ(open("h<EOH>\r\n<CALL:1>1 <BAND:2>6m <MODE:3>FT8 <NAME:4>J\xF6rg <EOR>\r\n"
                       "<CALL:1>2 <BAND:2>6M <MODE:3>FT4 <NAME:5>J\xC3\xB6rg <EOR>\r\n"
                       "<CALL:1>3 <BAND:3>20M <MODE:3>FT8 <NOTES:1>x <QSO_DATE:8:D>20230101 <EOR>\r\n"),
                  Outcome::Done);
        ui.pane.clear();
    }
    // The records that go to the removed file, by number.
    std::string removedBy(std::string_view expression)
    {
        EXPECT_EQ(filterOpenLog(store, session, expression, ui.options), Outcome::Done) << ui.pane;
        std::string which;
        for (const char* call : {"1", "2", "3"})
            if (folder.read("Adif_Filtre2.adi").find(std::string("<call:1>") + call) != std::string::npos)
                which += call;
        return which;
    }
};

TEST_F(FilterTest, SplitsTheLogAndReportsTheRecordsKept)
{
    EXPECT_EQ(removedBy("BAND:6M;MODE:FT8"), "1");
    EXPECT_EQ(folder.read("Adif_Filtre1.adi"), "h<eoh>\r\n<call:1>2 <band:2>6M <mode:3>FT4 <name:5>J\xC3\xB6rg <eor>\r\n"
                                               "<call:1>3 <band:3>20M <mode:3>FT8 <notes:1>x <qso_date:8:d>20230101 <eor>\r\n");
    EXPECT_EQ(folder.read("Adif_Filtre2.adi"), "h<eoh>\r\n<call:1>1 <band:2>6m <mode:3>FT8 <name:4>J\xF6rg <eor>\r\n");
    EXPECT_EQ(ui.pane, pane::filterFiles() + pane::recordsKept(2));
}

TEST_F(FilterTest, MatchesWholeValuesIgnoringLetterCaseAndEveryTerm)
{
    std::string twenty = "BAND:6M";
    for (int i = 0; i < 19; ++i)
        twenty += ";MODE:FT8";
    const std::pair<std::string, std::string> cases[] = {
        {"band:6m", "12"},
        {"MODE:FT", ""},
        {"BAND:6M ", ""},           // the blank is part of the value
        {"BAND:6M; MODE:FT8", ""},  // " MODE" names no field
        {"BAND:6M;BAND:20M", ""},
        {twenty, "1"},
        // An absent field or value is the empty value; no term matches everything.
        {"NOTES:", "12"},
        {"XYZ:1", ""},
        {"XYZ:", "123"},
        {"", "123"},
        {"name:j\xC3\xB6rg", "12"},  // typed, it matches both encodings
        // A typed field cannot be named.
        {"QSO_DATE:20230101", ""},
        {"QSO_DATE:D:20230101", ""},
    };
    for (const auto& [expression, removed] : cases)
        EXPECT_EQ(removedBy(expression), removed) << expression;
}

TEST_F(FilterTest, RefusesATermWithoutColonAndWritesNothing)
{
    folder.write("Adif_Filtre1.adi", "kept before");
    EXPECT_EQ(filterOpenLog(store, session, "BAND:6M;;MODE:FT8", ui.options), Outcome::Stopped);
    EXPECT_EQ(ui.pane, pane::filterRefused(""));
    EXPECT_EQ(filterOpenLog(store, session, "band6m", ui.options), Outcome::Stopped);
    EXPECT_TRUE(ui.pane.ends_with(pane::filterRefused("BAND6M")));
    EXPECT_EQ(folder.read("Adif_Filtre1.adi"), "kept before");
    EXPECT_FALSE(folder.exists("Adif_Filtre2.adi"));
}

TEST_F(FilterTest, TakesTheHeaderTheOptionsChooseAndTheirSpacing)
{
    ui.options.doubleSpacing = true;
    ui.options.headerSource = HeaderSource::Program;
    EXPECT_EQ(removedBy("BAND:20M"), "3");
    EXPECT_EQ(folder.read("Adif_Filtre2.adi"),
              "Logweave <eoh>\r\n\r\n<call:1>3 <band:3>20M <mode:3>FT8 <notes:1>x <qso_date:8:d>20230101 <eor>\r\n\r\n");

    ui.options.headerSource = HeaderSource::AddedLog;
    ui.options.doubleSpacing = false;
    ASSERT_EQ(add("added<EOH>"), Outcome::Done);
    EXPECT_EQ(removedBy("BAND:20M"), "3");
    EXPECT_TRUE(folder.read("Adif_Filtre1.adi").starts_with("added<eoh>\r\n<call:1>1"));
}

}  // namespace
}  // namespace logweave::testing
