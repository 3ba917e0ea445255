#include "engine_fixture.h"

namespace logweave::testing {
namespace {

// A contact as the program writes it (lower case, table order CALL, QSO_DATE, TIME_ON...).
std::string written(const char* date, const char* time, const char* call, const std::string& more = "")
{
    return std::string("<call:5>") + call + " <qso_date:8>" + date + " <time_on:6>" + time + " " + more + "<eor>\r\n";
}

class MergeTest : public EngineTest {
protected:
    // Each record's call, and its name where it has one.
    std::string calls() const
    {
        std::string out;
        for (long long r = 1; r <= store.openRecordCount(); ++r)
            out += value("CALL", r) + (value("NAME", r).empty() ? "" : "/" + value("NAME", r)) + " ";
        return out;
    }
};

const std::string kOpen = "open<EOH>\r\n" + qso("Q1AAA", "20230101", "100000", "<RST_SENT:2>59 ")
    + qso("Q1BBB", "20230102", "100000") + qso("Q1CCC", "20230103", "100000");

TEST_F(MergeTest, WalksBothLogsInDateAndTimeOrderUnderTheHeaderChosen)
{
    ASSERT_EQ(open(kOpen), Outcome::Done);
    ASSERT_EQ(add(qso("Q1EEE", "20230104", "000000") + qso("Q1DDD", "20221231", "000000")
                  + qso("Q1FFF", "20230102", "120000")),
              Outcome::Done);
    EXPECT_TRUE(paneHas(pane::mergeCounts({3, 3, 0, 0})));
    // An added log without a header takes the open log's.
    const std::string records = written("20221231", "000000", "Q1DDD")
        + written("20230101", "100000", "Q1AAA", "<rst_sent:2>59 ") + written("20230102", "100000", "Q1BBB")
        + written("20230102", "120000", "Q1FFF") + written("20230103", "100000", "Q1CCC")
        + written("20230104", "000000", "Q1EEE");
    EXPECT_EQ(folder.read("Logweave.adi"), "open<eoh>\r\n" + records);

    ASSERT_EQ(add("added<EOH>\r\n"), Outcome::Done);
    EXPECT_EQ(folder.read("Logweave.adi"), "added<eoh>\r\n" + records);
}

// Where one second holds several records, the walk in step meets each added
// record with the open record at its cursor; under the same date and time,
// records of two calls are two contacts: an added record pairs with the first
// free open record of its text, else of its call, else one where either names
// no call. The open records of the second come first, in their order, then the
// added records of other calls.
TEST_F(MergeTest, PairsTheRecordsOfOneSecondByTheirTextThenTheirCall)
{
    const auto at = [](const std::string& call, const std::string& more = "") {
        return qso(call, "20260101", "120000", more);
    };
    const std::string twice = qso("Q1AAA", "20230101", "100000") + qso("Q1BBB", "20230101", "100000");
    const struct {
        const char* name;
        std::string open;
        std::string added;
        MergeCounts counts;
        std::string calls;
        std::size_t questions;
    } cases[] = {
        {"two added on an open contact not the last: the second meets the next", kOpen,
         qso("Q1AAA", "20230101", "100000", "<NAME:3>Ann ") + qso("Q1AAA", "20230101", "100000", "<NAME:3>Bob "),
         {2, 1, 0, 1}, "Q1AAA/Ann Q1AAA/Bob Q1BBB Q1CCC ", 0},
        {"two added on the last open contact: both merge, no plain copy stays", kOpen,
         qso("Q1CCC", "20230103", "100000", "<NAME:3>Ann ") + qso("Q1CCC", "20230103", "100000", "<NAME:3>Bob "),
         {2, 0, 0, 2}, "Q1AAA Q1BBB Q1CCC/Ann Q1CCC/Bob ", 0},
        {"of two open contacts in one second, the one of its call", twice, qso("Q1BBB", "20230101", "100000"),
         {1, 0, 1, 0}, "Q1AAA Q1BBB ", 0},
        {"into an open log without records", "<EOH>\r\n",
         "a<EOH>\n" + qso("Q1BBB", "20230102", "000000") + qso("Q1AAA", "20230101", "000000"), {2, 2, 0, 0},
         "Q1AAA Q1BBB ", 0},
        {"times compare as text: 1234 is not 123400", "<QSO_DATE:8>20230101 <TIME_ON:6>123400 <EOR>\r\n",
         "<QSO_DATE:8>20230101 <TIME_ON:4>1234 <EOR>\r\n", {1, 1, 0, 0}, "  ", 0},
        {"two calls", at("K1AAA", "<BAND:3>20m <MODE:3>FT8 "), at("W2BBB", "<BAND:3>40m <MODE:3>SSB "), {1, 1, 0, 0},
         "K1AAA W2BBB ", 0},
        {"the call in another letter case", at("K1AAA", "<NAME:3>Ann "), at("k1aaa", "<NAME:3>Bob "), {1, 0, 0, 1},
         "K1AAA/Ann ", 1},
        {"three on each side", at("K1AAA") + at("K2BBB") + at("K3CCC"),
         at("K3CCC", "<NAME:3>Cid ") + at("K1AAA", "<NAME:3>Ann ") + at("K4DDD"), {3, 1, 0, 2},
         "K1AAA/Ann K2BBB K3CCC/Cid K4DDD ", 0},
        {"a call missing on the open side", qso("", "20260101", "120000", "<NAME:3>Ann "), at("W2BBB"), {1, 0, 0, 1},
         "W2BBB/Ann ", 0},
        {"a call missing on the added side", at("K1AAA") + at("K2BBB"), qso("", "20260101", "120000", "<NAME:3>Ann "),
         {1, 0, 0, 1}, "K1AAA/Ann K2BBB ", 0},
    };
    for (const auto& [name, openLog, addedLog, counts, calls, questions] : cases) {
        SCOPED_TRACE(name);
        ui.conflicts.clear();
        ASSERT_EQ(open(openLog), Outcome::Done);
        ASSERT_EQ(add(addedLog), Outcome::Done);
        EXPECT_TRUE(paneHas(pane::mergeCounts(counts))) << ui.pane;
        EXPECT_EQ(this->calls(), calls);
        EXPECT_EQ(ui.conflicts.size(), questions);
    }
}

// A log without dates and times is one second of every record: its records
// still pair by text and call, however many there are.
TEST_F(MergeTest, PairsTheRecordsOfAVeryFullSecondByCall)
{
    for (const int records : {5, 100}) {
        SCOPED_TRACE(records);
        std::string openLog;
        std::string addedLog = "<CALL:5>Q9NEW <EOR>\n";
        std::string expected;
        for (int i = 0; i < records; ++i) {
            const std::string call = "Q" + std::to_string(1000 + i);
            openLog += "<CALL:5>" + call + " <EOR>\n";
            addedLog.insert(0, "<CALL:5>" + call + (i % 2 == 0 ? " <NAME:3>Ann" : "") + " <EOR>\n");
            expected += call + (i % 2 == 0 ? "/Ann " : " ");
        }
        ASSERT_EQ(open(openLog), Outcome::Done);
        ASSERT_EQ(add(addedLog), Outcome::Done);
        const long long merged = (records + 1) / 2;
        EXPECT_TRUE(paneHas(pane::mergeCounts({records + 1, 1, records - merged, merged})));
        EXPECT_EQ(calls(), expected + "Q9NEW ");
    }
}

TEST_F(MergeTest, WritesTheValueChosenAndASameChoiceSettlesTheLaterConflictsOfItsFieldOnly)
{
    ASSERT_EQ(open(qso("A", "20230101", "1000", "<RST_SENT:2>59 <NAME:1>x ")
                   + qso("B", "20230102", "1000", "<RST_SENT:2>57 <NAME:1>y ") + qso("C", "20230103", "1000", "<RST_SENT:2>55 ")),
              Outcome::Done);
    ui.answers = {{"599", ConflictSide::Added}, {"", {}}, {"y Y", {}}};
    ASSERT_EQ(add(qso("A", "20230101", "1000", "<RST_SENT:3>599 <NAME:1>X ")
                  + qso("B", "20230102", "1000", "<RST_SENT:3>577 <NAME:1>Y ") + qso("C", "20230103", "1000", "<RST_SENT:3>555 ")),
              Outcome::Done);
    // Asked for the first report and for each name; the later reports take the added side.
    ASSERT_EQ(ui.conflicts.size(), 3u);
    EXPECT_NE(folder.read("Logweave.adi").find("<call:1>A <qso_date:8>20230101 <time_on:4>1000 <rst_sent:3>599 <name:0> <eor>"),
              std::string::npos);
    EXPECT_EQ(value("NAME", 2), "y Y");
    EXPECT_EQ(value("RST_SENT", 2), "577");
    EXPECT_EQ(value("RST_SENT", 3), "555");
    EXPECT_TRUE(paneHas(pane::sameChoices({{"rst_sent", 2}})));
}

// Each added record that meets the log's last contact again is merged with it
// and asked about on its own; the values chosen stay each with its record
// however many wait for the end of the second.
TEST_F(MergeTest, EachMergeWithTheLastContactKeepsItsOwnChosenValue)
{
    ASSERT_EQ(open(qso("Q1AAA", "20230101", "100000") + qso("Q1CCC", "20230103", "100000", "<NAME:3>Ann ")),
              Outcome::Done);
    std::string added;
    std::string expected = "Q1AAA ";
    for (int i = 0; i < 6; ++i) {
        const std::string chosen = "a name chosen for added record " + std::to_string(i);
        added += qso("Q1CCC", "20230103", "100000", "<NAME:3>B" + std::to_string(i) + "b ");
        ui.answers.push_back({chosen, {}});
        expected += "Q1CCC/" + chosen + " ";
    }
    ASSERT_EQ(add(added), Outcome::Done);
    EXPECT_EQ(ui.conflicts.size(), 6u);
    EXPECT_EQ(calls(), expected);
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
    const int fieldsBefore = store.fields().count();

    files.failOn(FileError::Action::Write, "Logweave.log", std::make_error_code(std::errc::no_space_on_device));
    EXPECT_EQ(add(qso("Q1DDD", "20230105", "000000", "<NAME:3>Ann ")), Outcome::Stopped);
    EXPECT_TRUE(paneHas("Logweave.log (No space left on device)"));
    EXPECT_EQ(folder.read("Logweave.adi"), "earlier merge");
    EXPECT_EQ(folder.read("Logweave.log"), "earlier list");
    EXPECT_EQ(store.openRecordCount(), 3);
    EXPECT_EQ(store.fields().count(), fieldsBefore);
    EXPECT_EQ(value("CALL", 3), "Q1CCC");
}

// The merged files are in place: whatever stops the reading back, the pane
// says the merged log is not open, and the fields the merge met stay named.
TEST_F(MergeTest, AMergedLogThatCannotBeReadBackIsSaidSo)
{
    const std::string merged = (folder / "Logweave.adi").string();
    const struct {
        std::function<void()> stop;
        std::string said;
        std::string field;
    } cases[] = {
        {[] { throw OperationStopped(pane::recordTooLarge()); }, pane::recordTooLarge(), "NAME"},
        {[] { throw std::length_error("too long"); }, pane::tooLargeForMemory(merged), "QTH"},
    };
    for (const auto& [stop, said, field] : cases) {
        SCOPED_TRACE(field);
        ASSERT_EQ(open(kOpen), Outcome::Done);
        ASSERT_EQ(store.fields().indexOf(field), 0);
        files.fault = [&stop](FileError::Action action, const std::filesystem::path& path) {
            if (action == FileError::Action::Read && path.filename() == "Logweave.adi")
                stop();
            return std::error_code{};
        };
        EXPECT_EQ(add(qso("Q1DDD", "20230105", "000000", "<" + field + ":3>Ann ")), Outcome::Stopped);
        files.fault = nullptr;
        EXPECT_TRUE(ui.pane.ends_with(said + pane::mergedLogNotRead(merged))) << ui.pane;
        EXPECT_NE(folder.read("Logweave.adi").find("Q1DDD"), std::string::npos);
        EXPECT_EQ(store.openRecordCount(), 0);
        EXPECT_NE(store.fields().indexOf(field), 0);
    }
}

// A merge of many records, written in batches on this thread or a second:
// each merged record has its own values, each change its own row.
TEST_F(MergeTest, AMergeOfManyRecordsWritesEachWithItsOwnValues)
{
    std::string open = "open<EOH>\r\n";
    std::string added;
    std::string rows;
    for (int i = 0; i < 30000; ++i) {
        const std::string call = "Q" + std::to_string(100000 + i);
        const std::string time = std::to_string(100000 + i % 50000);
        const std::string date = "2023010" + std::to_string(1 + i / 50000);
        const std::string mine = std::to_string(i);
        open += qso(call, date, time, "<NAME:" + std::to_string(mine.size()) + ">" + mine + " ");
        added += qso(call, date, time, "<NAME:1>x ");
        rows += "differs," + date + "," + time + "," + call + ",,,name," + mine + ",x," + mine + "\r\n";
    }
    for (const unsigned threads : {1U, 2U}) {
        SCOPED_TRACE(std::to_string(threads) + " threads");
        session.threads = threads;
        ASSERT_EQ(this->open(open), Outcome::Done);
        const std::string tidy = folder.read("Adif_File.adi");
        ASSERT_EQ(add(added), Outcome::Done);
        // The open values chosen, every merged record is its open one.
        EXPECT_TRUE(folder.read("Logweave.adi") == tidy);
        EXPECT_TRUE(folder.read("Logweave_Changes.csv").ends_with(rows));
    }
}

// A caller that does nothing after the merge has the logs closed: the same
// files and pane, and the merged log is not read back.
TEST_F(MergeTest, AMergeThatClosesTheLogsWritesTheSameWithoutReadingItBack)
{
    const std::string added = qso("Q1DDD", "20230105", "000000", "<RST_SENT:2>57 ");
    ASSERT_EQ(open(kOpen), Outcome::Done);
    std::size_t from = ui.pane.size();
    ASSERT_EQ(add(added), Outcome::Done);
    const std::string said = ui.pane.substr(from);
    const std::string merged = folder.read("Logweave.adi");
    const std::string list = folder.read("Logweave.log");

    ASSERT_EQ(open(kOpen), Outcome::Done);
    from = ui.pane.size();
    files.failOn(FileError::Action::Read, "Logweave.adi");  // a reading back would fail
    EXPECT_EQ(mergeAddedLog(store, session, folder.write("added.adi", added).string(), ui.options,
                            AfterMerge::CloseLogs),
              Outcome::Done);
    EXPECT_EQ(ui.pane.substr(from), said);
    EXPECT_EQ(folder.read("Logweave.adi"), merged);
    EXPECT_EQ(folder.read("Logweave.log"), list);
    EXPECT_EQ(store.openRecordCount(), 0);
}

}  // namespace
}  // namespace logweave::testing
