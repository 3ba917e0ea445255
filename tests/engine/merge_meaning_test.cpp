// What a merge asks and what it lists: a question only where two values of
// one contact differ in meaning, identical records whatever the order of
// their fields, every change in Logweave_Changes.csv, and a cancel that
// leaves everything as it was.

#include "engine_fixture.h"

#include "logweave/change_list.h"

namespace logweave::testing {
namespace {

const ContactMatch kWindow{ContactRule::Window, 30};

std::string contact(const std::string& more)
{
    return qso("Q1ABC", "20230101", "183000", more);
}

using MergeMeaningTest = EngineTest;

TEST_F(MergeMeaningTest, AsksOnlyWhereTwoValuesDifferInMeaning)
{
    const struct {
        std::string open;
        std::string added;
        std::string kept;  // as the merged log writes it; empty when the user is asked
    } cases[] = {
        {"<BAND:3>20m ", "<BAND:3>20M ", "<band:3>20m "},
        {"<FREQ:6>14.074 ", "<FREQ:8>14.07400 ", "<freq:6>14.074 "},
        {"<QSL_RCVD:1>y ", "<QSL_RCVD:1>Y ", "<qsl_rcvd:1>y "},
        {"<GRIDSQUARE:4>FN42 ", "<GRIDSQUARE:6>fn42ab ", "<gridsquare:6>fn42ab "},
        {"<MODE:4>MFSK <SUBMODE:3>FT4 ", "<MODE:3>FT4 ", "<mode:4>MFSK <submode:3>FT4 "},
        {"<BAND:3>20m ", "<BAND:3>40m ", ""},
        {"<FREQ:6>14.074 ", "<FREQ:6>14.075 ", ""},
        {"<GRIDSQUARE:4>FN42 ", "<GRIDSQUARE:6>FN43ab ", ""},
        {"<COMMENT:2>ok ", "<COMMENT:2>OK ", ""},
    };
    for (const auto& [openFields, addedFields, kept] : cases) {
        SCOPED_TRACE(openFields + "against " + addedFields);
        ui.conflicts.clear();
        ASSERT_EQ(open(contact(openFields)), Outcome::Done);
        ASSERT_EQ(add(contact(addedFields)), Outcome::Done);
        EXPECT_EQ(ui.conflicts.size(), kept.empty() ? 1u : 0u);
        if (!kept.empty()) {
            EXPECT_NE(folder.read("Logweave.adi").find(kept), std::string::npos) << folder.read("Logweave.adi");
        }
    }
}

// The same contents, fields in another order and names in another letter
// case: identical, and the open record is what is written.
TEST_F(MergeMeaningTest, RecordsOfTheSameContentsAreIdentical)
{
    const std::string openLog = contact("<BAND:3>20m <RST_SENT:3>-10 <COMMENT:6>a, b c ") + qso("Q1XYZ", "20230102", "0800");
    const std::string reordered = "<comment:6>a, b c <rst_sent:3>-10 <band:3>20m <time_on:6>183000 <qso_date:8>20230101 "
                                  "<call:5>Q1ABC <eor>\n<TIME_ON:4>0800 <CALL:5>Q1XYZ <QSO_DATE:8>20230102 <eor>\n";
    ASSERT_EQ(open(openLog), Outcome::Done);
    const std::string written = folder.read("Adif_File.adi");
    ASSERT_EQ(add(reordered), Outcome::Done);
    EXPECT_TRUE(paneHas(pane::mergeCounts({2, 0, 2, 0}))) << ui.pane;
    EXPECT_TRUE(ui.conflicts.empty());
    EXPECT_EQ(folder.read("Logweave.adi"), "\r\n" + written);  // under the open log's header, none
}

// A WSJT-X log and a confirmation service's form of its contacts, under the
// window rule, with a contact of the download's own and a same choice.
TEST_F(MergeMeaningTest, ListsEveryChangeOfTheMergeAndNothingElse)
{
    const std::string wsjtx = qso("Q1AAA", "20230101", "183015", "<BAND:3>20m <MODE:4>MFSK <SUBMODE:3>FT4 <RST_SENT:3>-10 ")
        + qso("Q1BBB", "20230101", "190000", "<BAND:3>20m <MODE:3>FT8 <RST_SENT:3>-12 <GRIDSQUARE:4>FN42 ")
        + qso("Q1CCC", "20230101", "200000", "<BAND:3>40m <MODE:3>FT8 <RST_SENT:3>-15 <FREQ:8>7.074000 ")
        + qso("Q1DDD", "20230101", "210000", "<BAND:3>40m <MODE:3>FT8 <RST_SENT:3>-01 ");
    const std::string download =
        "<CALL:5>Q1AAA <QSO_DATE:8:D>20230101 <TIME_ON:4>1830 <BAND:3>20M <MODE:3>FT4 <RST_SENT:3>-11 <QSL_RCVD:1>Y <EOR>\n"
        "<CALL:5>Q1BBB <QSO_DATE:8:D>20230101 <TIME_ON:4>1900 <BAND:3>20M <MODE:3>FT8 <RST_SENT:3>-13 "
        "<GRIDSQUARE:6>fn42ab <EOR>\n"
        "<CALL:5>Q1CCC <QSO_DATE:8:D>20230101 <TIME_ON:4>2000 <BAND:3>40M <MODE:3>FT8 <RST_SENT:3>-15 "
        "<FREQ:5>7.074 <EOR>\n"
        "<CALL:5>Q1DDD <QSO_DATE:8:D>20230101 <TIME_ON:4>2100 <BAND:3>40M <MODE:3>FT8 <RST_SENT:3>-02 <EOR>\n"
        "<CALL:5>Q1EEE <QSO_DATE:8:D>20230102 <TIME_ON:4>0800 <BAND:3>20M <MODE:3>FT8 <EOR>\n";
    ASSERT_EQ(open(wsjtx), Outcome::Done);
    ui.answers = {{"-11", ConflictSide::Added}};  // every later report takes the download's
    ASSERT_EQ(add(download, kWindow), Outcome::Done);
    EXPECT_EQ(ui.conflicts.size(), 1u);
    EXPECT_TRUE(paneHas(pane::mergeCounts({5, 1, 1, 3}))) << ui.pane;
    EXPECT_TRUE(paneHas(pane::changesWritten((folder / "Logweave_Changes.csv").string(), 1, 5)));
    const auto rows = readChangeList(folder.read("Logweave_Changes.csv"));
    ASSERT_TRUE(rows);
    const std::vector<ChangeRow> expected = {
        {"change", "qso_date", "time_on", "call", "band", "mode", "field", "open_value", "added_value", "kept_value"},
        {"differs", "20230101", "183015", "Q1AAA", "20m", "MFSK", "rst_sent", "-10", "-11", "-11"},
        {"differs", "20230101", "183015", "Q1AAA", "20m", "MFSK", "qsl_rcvd", "", "Y", "Y"},
        {"differs", "20230101", "190000", "Q1BBB", "20m", "FT8", "rst_sent", "-12", "-13", "-13"},
        {"differs", "20230101", "190000", "Q1BBB", "20m", "FT8", "gridsquare", "FN42", "fn42ab", "fn42ab"},
        {"differs", "20230101", "210000", "Q1DDD", "40m", "FT8", "rst_sent", "-01", "-02", "-02"},
        {"added", "20230102", "0800", "Q1EEE", "20M", "FT8", "", "", "", ""},
    };
    EXPECT_EQ(*rows, expected);
}

// Cancelled at the first, a middle or the last question: no file is written,
// none is left behind, the open log stays, the pane says so.
TEST_F(MergeMeaningTest, ACancelledMergeChangesNothing)
{
    std::string openLog;
    std::string addedLog;
    for (const char* call : {"Q1AAA", "Q1BBB", "Q1CCC"}) {
        openLog += qso(call, "20230101", "183000", "<NAME:3>Ann ");
        addedLog += qso(call, "20230101", "183000", "<NAME:3>Bob ");
    }
    for (std::size_t question = 0; question < 3; ++question) {
        SCOPED_TRACE("cancelled at question " + std::to_string(question + 1));
        ASSERT_EQ(open(openLog), Outcome::Done);
        for (const char* name : {"Logweave.adi", "Logweave.log", "Logweave_Changes.csv", "added.adi"})
            folder.write(name, "earlier");
        const long entries = folder.entryCount();
        ui.conflicts.clear();
        ui.answers.assign(question, Settlement{"Cid", std::nullopt});
        ui.answers.push_back({"", std::nullopt, true});
        EXPECT_EQ(add(addedLog), Outcome::Stopped);
        EXPECT_EQ(ui.conflicts.size(), question + 1);
        EXPECT_TRUE(ui.pane.ends_with(pane::mergeCancelled())) << ui.pane;
        for (const char* name : {"Logweave.adi", "Logweave.log", "Logweave_Changes.csv"})
            EXPECT_EQ(folder.read(name), "earlier") << name;
        EXPECT_EQ(folder.entryCount(), entries);
        EXPECT_EQ(store.openRecordCount(), 3);
        EXPECT_EQ(value("NAME", 1), "Ann");
        EXPECT_EQ(store.openLogPath(), (folder / "open.adi").string());
    }
}

}  // namespace
}  // namespace logweave::testing
