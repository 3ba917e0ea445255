// The window rule: the same call, band and mode, started within 30 minutes.

#include "engine_fixture.h"
#include "merging/group_table.h"
#include "merging/window_pairing.h"
#include "reading/scan_records.h"

#include <map>
#include <random>
#include <tuple>

namespace logweave::testing {
namespace {

const ContactMatch kWindow{ContactRule::Window, 30};

const std::string k20mFt8 = "<BAND:3>20m <MODE:3>FT8 ";

class WindowTest : public EngineTest {
protected:
    // Whether a merge of `added` into `open` under the window rule gives those counts.
    bool merges(const std::string& openLog, const std::string& addedLog, const MergeCounts& counts)
    {
        EXPECT_EQ(open(openLog), Outcome::Done);
        ui.pane.clear();
        EXPECT_EQ(add(addedLog, kWindow), Outcome::Done) << ui.pane;
        return paneHas(pane::mergeCounts(counts));
    }
};

TEST_F(WindowTest, PairsTheSameContactAsTwoProgramsWriteItAndNothingElse)
{
    const std::string open1 = qso("Q1ABC", "20230101", "183000", k20mFt8);
    const std::string withSeconds = qso("Q1ABC", "20230101", "183015", k20mFt8);
    // Paired records that say the same thing are identical: the open record stands for both.
    const MergeCounts same{1, 0, 1, 0};
    const MergeCounts different{1, 0, 0, 1};
    const MergeCounts apart{1, 1, 0, 0};
    const struct {
        std::string open;
        std::string added;
        MergeCounts counts;
    } cases[] = {
        // Seconds against none; a typed date; letter case of the call; FT4 as a submode and as a mode.
        {withSeconds, qso("q1abc", "20230101", "1830", k20mFt8), same},
        {withSeconds, "<CALL:5>Q1ABC <QSO_DATE:8:D>20230101 <TIME_ON:4>1835 " + k20mFt8 + "<EOR>\n", same},
        {qso("Q1ABC", "20230101", "183015", "<BAND:3>20M <MODE:4>MFSK <SUBMODE:3>FT4 "),
         qso("Q1ABC", "20230101", "1830", "<BAND:3>20m <MODE:3>FT4 "), same},
        // USB and SSB are one mode, but not the same value: a question.
        {qso("Q1ABC", "20230101", "183015", "<MODE:3>USB <FREQ:9>14.250000 "),
         qso("Q1ABC", "20230101", "1830", "<BAND:3>20m <MODE:3>SSB "), different},
        // Across midnight, 29 minutes apart; across the end of February, in and out of leap years.
        {qso("Q1ABC", "20230101", "234500", k20mFt8), qso("Q1ABC", "20230102", "0014", k20mFt8), same},
        {qso("Q1ABC", "19000228", "234500", k20mFt8), qso("Q1ABC", "19000301", "0014", k20mFt8), same},
        {qso("Q1ABC", "20000229", "234500", k20mFt8), qso("Q1ABC", "20000301", "0014", k20mFt8), same},
        {qso("Q1ABC", "20240229", "234500", k20mFt8), qso("Q1ABC", "20240301", "0014", k20mFt8), same},
        // A day past its month's end counts on into the next month.
        {qso("Q1ABC", "20230230", "234500", k20mFt8), qso("Q1ABC", "20230303", "0014", k20mFt8), same},
        // 31 minutes later, another call, band or mode, a date that is none.
        {open1, qso("Q1ABC", "20230101", "1901", k20mFt8), apart},
        {open1, qso("Q1ABD", "20230101", "1830", k20mFt8), apart},
        {open1, qso("Q1ABC", "20230101", "1830", "<BAND:3>40m <MODE:3>FT8 "), apart},
        {open1, qso("Q1ABC", "20230101", "1830", "<BAND:3>20m <MODE:2>CW "), apart},
        {open1, qso("Q1ABC", "2023011", "1830", k20mFt8), apart},
        // A leap day between; the same start in a month or on a day that no calendar has.
        {qso("Q1ABC", "20000228", "234500", k20mFt8), qso("Q1ABC", "20000301", "0014", k20mFt8), apart},
        {qso("Q1ABC", "20240228", "234500", k20mFt8), qso("Q1ABC", "20240301", "0014", k20mFt8), apart},
        {qso("Q1ABC", "20231301", "183000", k20mFt8), qso("Q1ABC", "20231301", "1830", k20mFt8), apart},
        {qso("Q1ABC", "20230132", "183000", k20mFt8), qso("Q1ABC", "20230132", "1830", k20mFt8), apart},
        {qso("Q1ABC", "20230100", "183000", k20mFt8), qso("Q1ABC", "20230100", "1830", k20mFt8), apart},
    };
    for (const auto& [openLog, addedLog, counts] : cases) {
        SCOPED_TRACE(addedLog);
        EXPECT_TRUE(merges(openLog, addedLog, counts)) << ui.pane;
        EXPECT_EQ(store.openRecordCount(), counts.added == 0 ? 1 : 2);
    }
}

TEST_F(WindowTest, EachAddedRecordTakesTheNearestOpenRecordLeft)
{
    const std::string openLog = qso("Q1ABC", "20230101", "100000", k20mFt8 + "<NAME:1>a ")
        + qso("Q1ABC", "20230101", "101000", k20mFt8 + "<NAME:1>b ")
        + qso("Q1ABC", "20230101", "102000", k20mFt8 + "<NAME:1>c ");
    const std::string addedLog = qso("Q1ABC", "20230101", "1005", k20mFt8 + "<QTH:1>x ")
        + qso("Q1ABC", "20230101", "1009", k20mFt8 + "<QTH:1>y ")
        + qso("Q1ABC", "20230101", "1015", k20mFt8 + "<QTH:1>z ");
    EXPECT_TRUE(merges(openLog, addedLog, {3, 0, 0, 3})) << ui.pane;
    // 10:05, as near to 10:00 as to 10:10, takes the earlier; 10:09 takes 10:10; 10:15, as near to
    // 10:10 (taken) as to 10:20, takes 10:20.
    EXPECT_EQ(value("QTH", 1), "x");
    EXPECT_EQ(value("QTH", 2), "y");
    EXPECT_EQ(value("QTH", 3), "z");
}

TEST_F(WindowTest, KeepsTheOpenDateAndTimeAndTheOrderOfTheLog)
{
    const std::string openLog = qso("Q1ABC", "20230101", "183015", k20mFt8 + "<RST_SENT:3>-10 ")
        + qso("Q2XYZ", "20230103", "090000", k20mFt8);
    const std::string addedLog = "<CALL:5>Q1ABC <QSO_DATE:8:D>20230101 <TIME_ON:4>1831 " + k20mFt8
        + "<RST_SENT:3>-12 <QSL_RCVD:1>Y <EOR>\n" + qso("Q3NEW", "20230102", "1200", k20mFt8);
    EXPECT_TRUE(merges(openLog, addedLog, {2, 1, 0, 1})) << ui.pane;
    ASSERT_EQ(ui.conflicts.size(), 1u);  // the report only: no question about the date or the time
    EXPECT_EQ(ui.conflicts[0].field, "rst_sent");
    EXPECT_EQ(folder.read("Logweave.adi"),
              "\r\n<call:5>Q1ABC <qso_date:8>20230101 <time_on:6>183015 <band:3>20m <mode:3>FT8 <rst_sent:3>-10 "
              "<qsl_rcvd:1>Y <eor>\r\n"
              "<call:5>Q3NEW <qso_date:8>20230102 <time_on:4>1200 <band:3>20m <mode:3>FT8 <eor>\r\n"
              "<call:5>Q2XYZ <qso_date:8>20230103 <time_on:6>090000 <band:3>20m <mode:3>FT8 <eor>\r\n");
}

// The open log's groups are worked out beside the reading of the added log
// when the merge has two threads, by the open log's own fields: here the
// added log brings the band, the untyped date and a comment, which the open
// log lacks. Enough records to cross stretches of the work and be read in pieces.
TEST_F(WindowTest, MergesAlikeOnOneThreadAndWithTheOpenLogWorkedOutBeside)
{
    std::string openLog = "open<EOH>\n";
    std::string addedLog;
    const int records = 43200;  // 30 days of a contact a minute
    for (int i = 0; i < records; ++i) {
        const std::string call = "Q" + std::to_string(100000 + i);
        const std::string date = std::to_string(20230101 + i / 1440);
        const std::string time = std::to_string(10000 + i % 1440 / 60 * 100 + i % 60).substr(1);
        openLog += "<CALL:7>" + call + " <QSO_DATE:8:D>" + date + " <TIME_ON:4>" + time
            + " <FREQ:6>14.074 <MODE:3>FT8 <EOR>\n";
        // Every third one on another band: not the same contact.
        addedLog += qso(call, date, time + "10",
                        (i % 3 == 0 ? "<BAND:3>40m " : "<BAND:3>20M ") + std::string("<MODE:3>FT8 <COMMENT:1>x "));
    }
    const auto openPath = folder.write("open.adi", openLog);
    const auto addedPath = folder.write("added.adi", addedLog);
    OutputOptions byWindow = withoutOrderList();
    byWindow.sameContact = kWindow;
    std::map<unsigned, std::vector<std::string>> written;
    for (const unsigned threads : {1U, 2U}) {
        SCOPED_TRACE(std::to_string(threads) + " threads");
        Workbench apart(folder / ("threads" + std::to_string(threads)), byWindow);
        apart.session.threads = threads;
        ASSERT_EQ(apart.read(openPath), Outcome::Done);
        ASSERT_EQ(mergeAddedLog(apart.store, apart.session, addedPath.string(), byWindow), Outcome::Done);
        // What it said from the merge on, its own folder aside.
        std::string pane = apart.ui.pane.substr(apart.ui.pane.find(pane::fileAdded(addedPath.string())));
        const std::string own = apart.session.programFolder.string();
        for (std::size_t at = pane.find(own); at != std::string::npos; at = pane.find(own, at))
            pane.replace(at, own.size(), "FOLDER");
        EXPECT_NE(pane.find(pane::mergeCounts({records, records / 3, 0, records - records / 3})), std::string::npos);
        written[threads] = {apart.written("Logweave.adi"), apart.written("Logweave.log"),
                            apart.written("Logweave_Changes.csv"), pane};
    }
    EXPECT_TRUE(written[1] == written[2]);
}

// Each added record in turn takes the nearest open record of its call, band
// and mode not yet taken, within the window; of two as near, the one started
// earlier; of those started together, the first in the log. Worked out here
// the slow way, on logs whose order by date differs from that of their starts.
WindowPairs pairedTheSlowWay(const Log& open, const Log& added, const ContactFields& fields, long long window)
{
    const auto groupOf = [&fields](const Record& record) {
        std::string group;
        fields.appendGroup(record, group);
        return group;
    };
    std::map<std::string, std::vector<std::size_t>> openOfGroup;
    for (std::size_t i = 0; i < open.size(); ++i)
        openOfGroup[groupOf(open[i])].push_back(i);
    WindowPairs pairs{BigVector<std::size_t>(open.size(), 0), {}};
    for (std::size_t j = 0; j < added.size(); ++j) {
        const auto start = fields.start(added[j]);
        std::optional<std::tuple<long long, long long, std::size_t>> best;
        for (const std::size_t i : openOfGroup[groupOf(added[j])]) {
            const auto openStart = fields.start(open[i]);
            if (!start || !openStart || pairs.partner[i] != 0)
                continue;
            const std::tuple<long long, long long, std::size_t> candidate{std::abs(*openStart - *start), *openStart, i};
            if (std::get<0>(candidate) <= window && (!best || candidate < *best))
                best = candidate;
        }
        if (best)
            pairs.partner[std::get<2>(*best)] = j + 1;
        else
            pairs.unpaired.push_back(j);
    }
    return pairs;
}

TEST(WindowPairing, PairsAsTheSlowWayDoesOnAnyThreads)
{
    std::mt19937 random(23);
    const auto oneOf = [&random](std::initializer_list<const char*> items) {
        return std::string(items.begin()[std::uniform_int_distribution<std::size_t>(0, items.size() - 1)(random)]);
    };
    const auto log = [&](std::size_t records, int calls) {
        std::string text;
        for (std::size_t r = 0; r < records; ++r) {
            const std::string call = oneOf({"Q", "q"}) + std::to_string(random() % calls) + "A";
            text += qso(call, oneOf({"20230228", "20230229", "20230301", "2023030", "20230302"}),
                        oneOf({"2350", "235000", "0000", "0010", "001030", "0040", "1200"}),
                        oneOf({"<BAND:3>20m <MODE:3>FT8 ", "<BAND:3>20M <MODE:4>MFSK <SUBMODE:3>FT4 ",
                               "<BAND:3>20m <MODE:3>FT4 ", "<BAND:3>40m <MODE:3>FT8 ", ""}));
        }
        return text;
    };
    const long long window = 30 * 60;
    // Small logs of one to three calls, then logs long enough to be worked
    // out in stretches and looked up in pieces.
    for (int round = 0; round <= 300; ++round) {
        const bool big = round == 300;
        Log open{Bytes(log(big ? 70000 : round % 40, big ? 5000 : 1 + round % 3))};
        Log added{Bytes(log(big ? 40000 : round % 23, big ? 5000 : 1 + round % 3))};
        FieldTable table;
        scanRecords(open, table, 0, 1, 1, [](std::size_t) {});
        scanRecords(added, table, 0, 1, 1, [](std::size_t) {});
        const ContactFields fields(table);
        const WindowPairs expected = pairedTheSlowWay(open, added, fields, window);
        for (const std::size_t threads : {1, 2}) {
            SCOPED_TRACE(::testing::Message() << "round " << round << ", threads " << threads);
            const WindowPairs pairs = WindowPairing(open, fields, window, threads).pairEach(added, fields, threads);
            ASSERT_EQ(pairs.partner, expected.partner);
            ASSERT_EQ(pairs.unpaired, expected.unpaired);
        }
    }
}

// Far more groups than it was made for, names alike but for where their
// parts are cut, one empty: each keeps the number it was first given.
TEST(GroupTable, KnowsEachGroupByItsWholeNameAsItGrows)
{
    GroupTable groups(4);
    std::vector<std::string> names{std::string("AB\0C", 4), std::string("A\0BC", 4), "", std::string("AB\0C\0", 5)};
    for (int i = 0; i < 5000; ++i)
        names.push_back(std::string("Q") + std::to_string(i) + '\0' + "20M" + '\0' + "FT8");
    for (std::size_t n = 0; n < names.size(); ++n)
        ASSERT_EQ(groups.enter(GroupKey::of(names[n])), n);
    ASSERT_EQ(groups.size(), names.size());
    for (std::size_t n = 0; n < names.size(); ++n) {
        EXPECT_EQ(groups.enter(GroupKey::of(names[n])), n);
        EXPECT_EQ(groups.find(GroupKey::of(names[n])), n);
    }
    EXPECT_EQ(groups.find(GroupKey::of("Q5000")), std::nullopt);
    EXPECT_EQ(groups.find(GroupKey::of(std::string_view("AB\0", 3))), std::nullopt);
    EXPECT_EQ(groups.size(), names.size());
}

}  // namespace
}  // namespace logweave::testing
