#include "engine_fixture.h"

#include "logweave/pane_texts.h"

namespace logweave::testing {
namespace {

std::string contact(const char* date, const char* time, const char* call, const std::string& more = "")
{
    return std::string("<CALL:5>") + call + " <QSO_DATE:8>" + date + " <TIME_ON:6>" + time + " " + more + "<EOR>\r\n";
}

// The same contact as the program writes it (lower case, table order CALL, QSO_DATE, TIME_ON...).
std::string written(const char* date, const char* time, const char* call, const std::string& more = "")
{
    return std::string("<call:5>") + call + " <qso_date:8>" + date + " <time_on:6>" + time + " " + more + "<eor>\r\n";
}

std::string counts(long long processed, long long added, long long identical, long long different)
{
    return pane::mergeCounts({processed, added, identical, different});
}

class MergeTest : public EngineTest {
protected:
    bool paneEndsWith(const std::string& text) const { return ui.pane.ends_with(text); }
};

const std::string kOpen = "open<EOH>\r\n" + contact("20230101", "100000", "Q1AAA", "<RST_SENT:2>59 ")
    + contact("20230102", "100000", "Q1BBB") + contact("20230103", "100000", "Q1CCC");

TEST_F(MergeTest, AnEmptyAddedLogGivesTheOpenLog)
{
    ASSERT_EQ(open(kOpen), Outcome::Done);
    ASSERT_EQ(add("added<EOH>\r\n"), Outcome::Done);
    EXPECT_TRUE(paneEndsWith(counts(0, 0, 0, 0)));
    EXPECT_EQ(folder.read("Logweave.adi"), "added<eoh>\r\n" + written("20230101", "100000", "Q1AAA", "<rst_sent:2>59 ")
                                               + written("20230102", "100000", "Q1BBB")
                                               + written("20230103", "100000", "Q1CCC"));
}

TEST_F(MergeTest, TheOpenLogAddedToItselfIsIdenticalThroughout)
{
    ASSERT_EQ(open(kOpen), Outcome::Done);
    ASSERT_EQ(add(kOpen), Outcome::Done);
    EXPECT_TRUE(paneEndsWith(counts(3, 0, 3, 0)));
    EXPECT_EQ(store.OpenRecordCount(), 3);
    // A second merge meets the records in the program's own form.
    ASSERT_EQ(add(folder.read("Logweave.adi")), Outcome::Done);
    EXPECT_TRUE(paneEndsWith(counts(3, 0, 3, 0)));
    ASSERT_EQ(add(kOpen), Outcome::Done);
    EXPECT_TRUE(paneEndsWith(counts(3, 0, 0, 3)));
    EXPECT_TRUE(ui.conflicts.empty());
}

TEST_F(MergeTest, WalksBothLogsInDateAndTimeOrder)
{
    ASSERT_EQ(open(kOpen), Outcome::Done);
    ASSERT_EQ(add(contact("20230104", "000000", "Q1EEE") + contact("20221231", "000000", "Q1DDD")
                  + contact("20230102", "120000", "Q1FFF")),
              Outcome::Done);
    EXPECT_TRUE(paneEndsWith(counts(3, 3, 0, 0)));
    EXPECT_EQ(folder.read("Logweave.adi"),
              "open<eoh>\r\n" + written("20221231", "000000", "Q1DDD")
                  + written("20230101", "100000", "Q1AAA", "<rst_sent:2>59 ") + written("20230102", "100000", "Q1BBB")
                  + written("20230102", "120000", "Q1FFF") + written("20230103", "100000", "Q1CCC")
                  + written("20230104", "000000", "Q1EEE"));
}

TEST_F(MergeTest, IntoAnOpenLogWithoutRecordsEveryRecordIsAdded)
{
    // The list gives the empty log its date and time fields.
    applyOptions(folder.write("order.txt", "QSO_DATE\r\nTIME_ON\r\n").string());
    ASSERT_EQ(open("<EOH>\r\n"), Outcome::Done);
    ASSERT_EQ(add("a<EOH>\r\n" + contact("20230102", "000000", "Q1BBB") + contact("20230101", "000000", "Q1AAA")),
              Outcome::Done);
    EXPECT_TRUE(paneEndsWith(counts(2, 2, 0, 0)));
    EXPECT_EQ(store.OpenRecordCount(), 2);
    EXPECT_EQ(value("CALL", 1), "Q1AAA");
}

TEST_F(MergeTest, AsksOnlyWhereBothRecordsHoldDifferentValues)
{
    ASSERT_EQ(open(kOpen), Outcome::Done);
    // Other blanks and tag case, a value in another letter case, a field of the added record only.
    ASSERT_EQ(add("<call:5>Q1AAA  <qso_date:8>20230101 <time_on:6>100000 <RST_SENT:2>59 <NAME:3>Ann <EOR>\r\n"
                  "<CALL:5>q1bbb <QSO_DATE:8>20230102 <TIME_ON:6>100000 <EOR>\r\n"),
              Outcome::Done);
    EXPECT_TRUE(paneEndsWith(counts(2, 0, 0, 2)));
    ASSERT_EQ(ui.conflicts.size(), 1u);
    EXPECT_EQ(ui.conflicts[0].field, "call");
    EXPECT_EQ(ui.conflicts[0].open, "Q1BBB");
    EXPECT_EQ(ui.conflicts[0].added, "q1bbb");
    EXPECT_EQ(ui.conflicts[0].record, 2);
    EXPECT_EQ(value("NAME", 1), "Ann");
    EXPECT_EQ(value("RST_SENT", 1), "59");
}

TEST_F(MergeTest, WritesTheChosenValueEvenAnEmptyOne)
{
    ASSERT_EQ(open(kOpen), Outcome::Done);
    ui.answers = {{"", {}}, {"599 59", {}}};
    ASSERT_EQ(add(contact("20230101", "100000", "Q1XXX", "<RST_SENT:3>599 ")), Outcome::Done);
    EXPECT_EQ(ui.conflicts.size(), 2u);
    EXPECT_NE(folder.read("Logweave.adi").find("<call:0> <qso_date:8>20230101 <time_on:6>100000 <rst_sent:6>599 59 <eor>"),
              std::string::npos);
}

TEST_F(MergeTest, ASameChoiceSettlesTheLaterConflictsOfItsFieldOnly)
{
    ASSERT_EQ(open("<CALL:1>A <QSO_DATE:8>20230101 <TIME_ON:4>1000 <RST_SENT:2>59 <NAME:1>x <EOR>\r\n"
                   "<CALL:1>B <QSO_DATE:8>20230102 <TIME_ON:4>1000 <RST_SENT:2>57 <NAME:1>y <EOR>\r\n"
                   "<CALL:1>C <QSO_DATE:8>20230103 <TIME_ON:4>1000 <RST_SENT:2>55 <EOR>\r\n"),
              Outcome::Done);
    ui.answers = {{"599", ConflictSide::Added}, {"x", {}}, {"y", {}}};
    ASSERT_EQ(add("<CALL:1>A <QSO_DATE:8>20230101 <TIME_ON:4>1000 <RST_SENT:3>599 <NAME:1>X <EOR>\r\n"
                  "<CALL:1>B <QSO_DATE:8>20230102 <TIME_ON:4>1000 <RST_SENT:3>577 <NAME:1>Y <EOR>\r\n"
                  "<CALL:1>C <QSO_DATE:8>20230103 <TIME_ON:4>1000 <RST_SENT:3>555 <EOR>\r\n"),
              Outcome::Done);
    // Asked for the first report and for each name; the later reports take the added side.
    ASSERT_EQ(ui.conflicts.size(), 3u);
    EXPECT_EQ(value("RST_SENT", 2), "577");
    EXPECT_EQ(value("RST_SENT", 3), "555");
    EXPECT_EQ(value("NAME", 2), "y");
    EXPECT_TRUE(paneEndsWith(pane::sameChoices({{"rst_sent", 2}})));
}

TEST_F(MergeTest, MergesRepeatedContactsAsTheWalkMeetsThem)
{
    // Two added records on an open contact that is not the last: the second meets the next open record.
    ASSERT_EQ(open(kOpen), Outcome::Done);
    ASSERT_EQ(add(contact("20230101", "100000", "Q1AAA", "<NAME:3>Ann ") + contact("20230101", "100000", "Q1AAA", "<NAME:3>Bob ")),
              Outcome::Done);
    EXPECT_TRUE(paneEndsWith(counts(2, 1, 0, 1)));
    EXPECT_EQ(store.OpenRecordCount(), 4);

    // On the last open contact both merge with it, and no plain copy of it stays.
    ASSERT_EQ(open(kOpen), Outcome::Done);
    ASSERT_EQ(add(contact("20230103", "100000", "Q1CCC", "<NAME:3>Ann ") + contact("20230103", "100000", "Q1CCC", "<QTH:3>Bay ")),
              Outcome::Done);
    EXPECT_TRUE(paneEndsWith(counts(2, 0, 0, 2)));
    EXPECT_EQ(store.OpenRecordCount(), 4);
    EXPECT_EQ(value("NAME", 3), "Ann");
    EXPECT_EQ(value("QTH", 4), "Bay");
}

TEST_F(MergeTest, AContactHeldTwiceMeetsItsFirstRecord)
{
    ASSERT_EQ(open(contact("20230101", "100000", "Q1AAA") + contact("20230101", "100000", "Q1BBB")), Outcome::Done);
    ASSERT_EQ(add(contact("20230101", "100000", "Q1BBB")), Outcome::Done);
    EXPECT_TRUE(paneEndsWith(counts(1, 0, 0, 1)));
    ASSERT_EQ(ui.conflicts.size(), 1u);
    EXPECT_EQ(store.OpenRecordCount(), 2);
    EXPECT_EQ(value("CALL", 2), "Q1BBB");
}

TEST_F(MergeTest, ComparesTimesAsText)
{
    ASSERT_EQ(open("<QSO_DATE:8>20230101 <TIME_ON:6>123400 <EOR>\r\n"), Outcome::Done);
    ASSERT_EQ(add("<QSO_DATE:8>20230101 <TIME_ON:4>1234 <EOR>\r\n"), Outcome::Done);
    EXPECT_TRUE(paneEndsWith(counts(1, 1, 0, 0)));
    EXPECT_EQ(value("TIME_ON", 1), "1234");
}

TEST_F(MergeTest, CountsOneLetterCaseOfTheEndTag)
{
    ASSERT_EQ(open(kOpen), Outcome::Done);
    ASSERT_EQ(add("<CALL:1>A <EOR><CALL:1>B <eor><CALL:1>C <EOR>"), Outcome::Done);
    EXPECT_TRUE(paneEndsWith(counts(2, 3, 0, 0)));
}

TEST_F(MergeTest, DoubleSpacesTheMergedLog)
{
    ui.options.DoubleSpacing = true;
    applyOptions();
    ASSERT_EQ(open("<CALL:5>Q1AAA <EOR>"), Outcome::Done);
    ASSERT_EQ(add("a<EOH>"), Outcome::Done);
    EXPECT_EQ(folder.read("Logweave.adi"), "a<eoh>\r\n\r\n<call:5>Q1AAA <eor>\r\n\r\n");
}

TEST_F(MergeTest, HeadsTheMergedLogAsTheOptionsSay)
{
    ASSERT_EQ(open(kOpen), Outcome::Done);
    ASSERT_EQ(add(contact("20230101", "100000", "Q1AAA")), Outcome::Done);
    EXPECT_TRUE(folder.read("Logweave.adi").starts_with("open<eoh>\r\n"));  // no header of its own
    ui.options.headerSource = HeaderSource::Program;
    applyOptions();
    ASSERT_EQ(add("added<EOH>"), Outcome::Done);
    EXPECT_TRUE(folder.read("Logweave.adi").starts_with("Logweave <eoh>\r\n"));
    EXPECT_EQ(store.AddedHeader, "added<eoh>");
}

TEST_F(MergeTest, WritesTheContactList)
{
    ASSERT_EQ(open("<QSO_DATE:8>20200822 <TIME_ON:4>1234 <CALL:5>Q1ABC <MODE:4>MFSK <SUBMODE:3>FT4 <EOR>\r\n"
                   "<QSO_DATE:8>20200823 <TIME_ON:6>123456 <QSO_DATE_OFF:8>20200823 <TIME_OFF:6>124000 <CALL:5>Q2ABC "
                   "<GRIDSQUARE:4>JN18 <FREQ:6>14.074 <MODE:3>FT8 <RST_SENT:3>-10 <RST_RCVD:3>-12 <TX_PWR:2>50 "
                   "<COMMENT:7>a, b, c <NAME:3>Ann <EOR>\r\n"),
              Outcome::Done);
    ASSERT_EQ(add(""), Outcome::Done);
    EXPECT_EQ(folder.read("Logweave.log"),
              "2020-08-22,12:34:,,,Q1ABC,,,FT4,,,,,\r\n"
              "2020-08-23,12:34:56,2020-08-23,12:40:00,Q2ABC,JN18,14.074,FT8,-10,-12,50,a, b, c,Ann\r\n");
}

TEST_F(MergeTest, AStoppedMergeChangesNothing)
{
    ASSERT_EQ(open(kOpen), Outcome::Done);
    folder.write("Logweave.adi", "earlier merge");
    folder.write("Logweave.log", "earlier list");
    const int fieldsBefore = store.fields.FieldCount();

    files.failOn(FileError::Action::Write, "Logweave.log", std::make_error_code(std::errc::no_space_on_device));
    EXPECT_EQ(add(contact("20230105", "000000", "Q1DDD", "<NAME:3>Ann ")), Outcome::Stopped);
    EXPECT_NE(ui.pane.find("Logweave.log (No space left on device)"), std::string::npos);
    files.fault = nullptr;

    EXPECT_EQ(folder.read("Logweave.adi"), "earlier merge");
    EXPECT_EQ(folder.read("Logweave.log"), "earlier list");
    EXPECT_EQ(store.OpenRecordCount(), 3);
    EXPECT_EQ(store.fields.FieldCount(), fieldsBefore);
    EXPECT_EQ(value("CALL", 3), "Q1CCC");
}

TEST_F(MergeTest, MergesPastTheOldBounds)
{
    // 15000 open and 15000 added contacts, half of them shared: 22500 merged,
    // and 40000 end tags counted in an added log.
    std::string openLog;
    std::string addedLog;
    for (int i = 0; i < 22500; ++i) {
        const std::string record = "<TIME_ON:6>" + std::to_string(100000 + i) + " <EOR>\n";
        if (i < 15000)
            openLog += record;
        if (i >= 7500)
            addedLog += record;
    }
    ASSERT_EQ(open(openLog), Outcome::Done);
    ASSERT_EQ(add(addedLog), Outcome::Done);
    EXPECT_TRUE(paneEndsWith(counts(15000, 7500, 7500, 0)));
    EXPECT_EQ(store.OpenRecordCount(), 22500);
    std::string many;
    for (int i = 0; i < 40000; ++i)
        many += "<EOR>";
    ASSERT_EQ(add(many), Outcome::Done);
    EXPECT_NE(ui.pane.find(" 40000 enregistrements traitées"), std::string::npos);
    EXPECT_EQ(store.OpenRecordCount(), 22500 + 40000);
}

}  // namespace
}  // namespace logweave::testing
