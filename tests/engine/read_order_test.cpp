// The reader puts a log's records in order without moving its text, where the
// text's lines show the records one by one. Whatever the layout, what it
// reads must be what reading the text sorted as lines gives.

#include "count_of.h"
#include "engine_fixture.h"

#include "logweave/sort_record_lines.h"
#include "logweave/std_file_system.h"
#include "reading/ordered_reading.h"
#include "reading/record_lines.h"
#include "reading/scan_records.h"

#include <array>
#include <random>

namespace logweave::testing {
namespace {

class LayoutGenerator {
public:
    explicit LayoutGenerator(unsigned seed) : random_(seed) {}

    std::string log()
    {
        // Half the logs show their records line by line, as most real ones do.
        tangles_ = pick(2) == 0;
        std::string text = oneOf({"", "", "h<EOH>\n", "Log\r\n<PROGRAMID:1>x\r\n<eoh>\r\n", "x<EoH>\n",
                                  "h<EOH><CALL:1>Z<EOR>\n", "h\n\n<Eoh>\n", "<EOH:0>\n"});
        // At most four line breaks in a row: fewer than five collapse to one and stay so.
        for (int r = 0, n = pick(12); r < n; ++r)
            text += record() + oneOf({"\n", "\n", "\r\n", "\n\n", "\r\n\r\n\r\n", "\n\n\n\n"});
        if (pick(6) == 0)
            text += oneOf({"<APP_LoTW_EOF>\n", "<CALL:5>Q1CCC <QSO_DATE:8>20230101", "<BAND", "x\n"});
        if (pick(5) == 0 && !text.empty() && text.back() == '\n')
            text.pop_back();  // no line break after the last line
        return text;
    }

private:
    int pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(random_); }
    std::string oneOf(std::initializer_list<const char*> items)
    {
        return items.begin()[pick(static_cast<int>(items.size()))];
    }

    std::string field()
    {
        const auto date = [this] { return oneOf({"20230101", "20230102", "2023010", ""}); };
        switch (pick(8)) {
        case 0:
        case 1:
            return oneOf({"<QSO_DATE:8>", "<qso_date:8:d>", "<QSO_DATE:8:D>"}) + date();
        case 2:
        case 3:
            return oneOf({"<TIME_ON:6>", "<time_on:4>"}) + oneOf({"1200", "120000", "0900", "235959"});
        case 4:
            return "<QSO_DATE_OFF:8>" + date();
        case 5:
            return oneOf({"<CALL:5>", "<call:3>"}) + oneOf({"Q1AAA", "Q1BBB", "q1bbb"});
        case 6:
            return oneOf({"<NAME:3>", "<App_X:1>", "<Comment:2>"}) + oneOf({"Ann", "x", "a b"});
        }
        return tangles_ ? oneOf({"<A<B:1>x", "<NOTES:1>", "<EOH>", "<BAND:3>20m"}) : oneOf({"<NOTES:1>", "<BAND:3>20m"});
    }

    std::string record()
    {
        const std::string separator = oneOf({" ", " ", "\n", "\r\n", ""});
        std::string text = pick(8) == 0 ? "junk" : "";
        for (int f = 0, n = 1 + pick(5); f < n; ++f)
            text += field() + separator;
        text += tangles_ ? oneOf({"<EOR>", "<eor>", "<Eor>", "<EOR:0>", "<EOR:0:X>", "<EOR>"})
                         : oneOf({"<EOR>", "<eor>", "<Eor>", "<EOR:0>"});
        if (tangles_ && pick(4) == 0)
            text += oneOf({" <CALL:1>Y", "<EOR>"});  // more tags on the end tag's line
        if (pick(8) == 0)
            text += " tail";
        return text;
    }

    std::mt19937 random_;
    bool tangles_ = false;
};

// What reading a text wrote and said: the log, the field list, the pane after its first line.
std::array<std::string, 3> readIn(const TemporaryFolder& folder, const std::string& name, const std::string& text)
{
    Workbench reader(folder / name);
    const auto path = folder.write(name + ".adi", text);
    if (reader.read(path) != Outcome::Done)
        return {"stopped", "", reader.ui.pane};
    return {reader.written(), reader.written("AdifCodes.txt"), reader.ui.pane.substr(pane::fileRead(path.string()).size())};
}

TEST(ReadOrder, RecordsSortedWithoutTheirTextReadAsTheTextSortedAsLines)
{
    TemporaryFolder folder;
    for (unsigned seed = 1; seed <= 1500; ++seed) {
        const std::string text = LayoutGenerator(seed).log();
        std::string sorted = text;
        sortRecordLines(sorted);
        ASSERT_EQ(readIn(folder, "direct", text), readIn(folder, "sorted", sorted)) << "seed " << seed << ":\n" << text;
    }
}

// A log is read again a block at a time, each piece copied to its place;
// a log larger than the smallest block is read in several, cut wherever they
// fall. Asked directly: where reading again fails, the reader sorts the text
// in memory instead, to the same result.
TEST(ReadOrder, ReadingAgainInBlocksGivesTheTextSortedAsLines)
{
    std::vector<std::string> texts(7);
    for (unsigned seed = 1; seed <= texts.size(); ++seed)
        for (unsigned part = 0; texts[seed - 1].size() < (std::size_t{256} << 10); ++part)
            texts[seed - 1] += LayoutGenerator(seed * 1000 + part).log();
    // Its first block ends inside a run of line breaks, which must not be cut.
    std::string runNearTheEnd;
    for (int r = 0; r < 3000; ++r)
        runNearTheEnd += qso("Q1AAA", "202301" + std::to_string(10 + r % 20), std::to_string(1000 + r % 1000));
    texts.push_back(runNearTheEnd + std::string(1002, '\n') + "<CALL:1>Z <EOR>\n");

    TemporaryFolder folder;
    StdFileSystem files;
    int compared = 0;
    for (std::size_t t = 0; t < texts.size(); ++t) {
        const auto path = folder.write("log.adi", texts[t]);
        std::string sorted = texts[t];
        sortRecordLines(sorted);
        for (const unsigned threads : {1u, 2u}) {
            Bytes planned(texts[t]);
            collapseBlankLines(planned);
            const auto lines = recordLines(planned.view());
            if (!lines)
                continue;
            const auto order = dateTimeOrder(lines->keys);
            ASSERT_TRUE(readInOrder(*files.openForReading(path), planned, *lines, order, threads, [](std::size_t) {}))
                << "text " << t;
            ASSERT_EQ(planned.view(), sorted) << "text " << t;
            ++compared;
        }
    }
    EXPECT_GE(compared, 8);
}

// Read in pieces side by side, a text's record lines are those read in one
// piece, wherever the pieces are cut.
TEST(ReadOrder, RecordLinesReadInPiecesAreThoseReadWhole)
{
    for (unsigned seed = 1; seed <= 400; ++seed) {
        const std::string text = LayoutGenerator(seed).log() + LayoutGenerator(seed + 5000).log();
        const auto whole = recordLines(text);
        for (std::size_t pieces = 2; pieces <= 7; ++pieces) {
            const auto cut = recordLines(text, pieces);
            ASSERT_EQ(cut.has_value(), whole.has_value());
            if (!whole)
                break;
            ASSERT_EQ(cut->regionStart, whole->regionStart);
            ASSERT_EQ(cut->ends, whole->ends) << "seed " << seed << ", " << pieces << " pieces:\n" << text;
            ASSERT_EQ(cut->keys, whole->keys) << "seed " << seed << ", " << pieces << " pieces";
        }
    }
}

// What a scan gives: the records' texts and values, the field names as
// entered, and the summary.
std::string scanned(std::string_view text, std::size_t pieces, unsigned threads = 2, std::size_t firstNames = 0)
{
    Log log{Bytes(text)};
    FieldTable fields;
    fields.add("BAND");
    const ScanSummary summary = scanRecords(log, fields, 0, pieces, threads, [](std::size_t) {}, firstNames);
    std::string out;
    for (const Record& record : log) {
        out.append(record.text()) += '|';
        for (const FieldValue& v : record.values())
            out.append(fields.name(static_cast<int>(v.field))).append("=").append(record.valueOf(v)) += ' ';
        out += '\n';
    }
    const auto sorted = fields.sortedNames();
    for (int f = 1; f <= fields.count(); ++f)
        out.append(fields.name(f)).append(",").append(sorted[static_cast<std::size_t>(f) - 1]) += ' ';
    out.append(summary.end.cutShort ? " cut" : "").append(summary.end.unread).append(summary.tangled ? " tangled" : "");
    for (const long long count : summary.endTags)
        out += " " + std::to_string(count);
    return out + " " + std::to_string(static_cast<int>(summary.endOfHeaderMet));
}

// Read in pieces side by side, a text's records are those read in one piece,
// tags that hide others and records cut short included.
TEST(ReadOrder, RecordsScannedInPiecesAreThoseScannedWhole)
{
    for (unsigned seed = 1; seed <= 250; ++seed) {
        const std::string text = LayoutGenerator(seed).log() + LayoutGenerator(seed + 5000).log();
        const std::string whole = scanned(text, 1);
        for (const std::size_t pieces : {2, 3, 4, 7})
            ASSERT_EQ(scanned(text, pieces), whole) << "seed " << seed << ", " << pieces << " pieces:\n" << text;
        // Threads fewer or more than the pieces, which they take in turn.
        for (const unsigned threads : {1u, 3u})
            ASSERT_EQ(scanned(text, 5, threads), whole) << "seed " << seed << ", " << threads << " threads:\n" << text;
        // Pieces that start from the names of the first records, cut anywhere.
        for (const std::size_t firstNames : {std::size_t{1}, text.size() / 3, text.size()})
            ASSERT_EQ(scanned(text, 4, 2, firstNames), whole)
                << "seed " << seed << ", " << firstNames << " bytes:\n" << text;
    }
    // Tags that each hide an end tag, long enough for the pieces to be cut there.
    std::string hiding = "h<EOH>\n";
    for (int r = 0; r < 20; ++r)
        hiding += "<CALL:5>Q1AAA <NOTES" + std::string(200, 'x') + "<EOR>:1>y <EOR>\n";
    for (std::size_t pieces = 2; pieces <= 7; ++pieces)
        EXPECT_EQ(scanned(hiding, pieces), scanned(hiding, 1)) << pieces << " pieces";

    // Records either side of 64 KiB, whose values the log keeps in two widths,
    // each meeting a field no record before it has: renumbered, they stay whole.
    std::string long_ = "h<EOH>\n";
    const auto notes = [](int r) { return r < 7 ? std::size_t(65497 + r) : std::size_t(100000); };
    for (int r = 0; r < 8; ++r)
        long_ += "<F" + std::to_string(7 - r) + ":1>z <NOTES:" + std::to_string(notes(r)) + ">"
            + std::string(notes(r), char('a' + r)) + " <CALL:5>Q1AAA <EOR>\n";
    const std::string whole = scanned(long_, 1);
    for (int r = 0; r < 8; ++r) {
        EXPECT_NE(whole.find("NOTES=" + std::string(notes(r), char('a' + r)) + " "), std::string::npos) << "record " << r;
        EXPECT_NE(whole.find("F" + std::to_string(7 - r) + "=z "), std::string::npos) << "record " << r;
    }
    EXPECT_EQ(countOf(whole, "CALL=Q1AAA "), 8);
    for (std::size_t pieces = 2; pieces <= 4; ++pieces)
        EXPECT_EQ(scanned(long_, pieces), whole) << pieces << " pieces";
}

using EndTagCount = EngineTest;

// The end tags are counted as the scan reads them, and the header's apart.
TEST_F(EndTagCount, CountsTheEndTagsOfOneSpellingInTheWholeText)
{
    ASSERT_EQ(open(""), Outcome::Done);
    for (unsigned seed = 1; seed <= 400; ++seed) {
        const std::string text = LayoutGenerator(seed).log();
        long long expected = countOf(text, "<EOR>");
        expected = expected != 0 ? expected : countOf(text, "<eor>");
        expected = expected != 0 ? expected : countOf(text, "<Eor>");
        ui.pane.clear();
        ASSERT_EQ(add(text), Outcome::Done);
        ASSERT_TRUE(paneHas(" " + std::to_string(expected) + " enregistrements traitées [records processed]."))
            << "seed " << seed << ":\n" << text;
    }
}

TEST(ReadOrder, PackedKeysOrderAsTheirTexts)
{
    std::mt19937 random(7);
    const char* const dates[] = {"20230101", "20230102", "19991231"};
    const char* const times[] = {"1234", "123400", "123401", "1235", "0", "", "235959"};
    for (int round = 0; round < 200; ++round) {
        BigVector<SortKey> keys;
        for (int i = 0; i < 50; ++i)
            keys.push_back({dates[random() % 3], times[random() % 7]});
        for (const std::size_t pieces : {1, 2, 3, 8})
            EXPECT_EQ(dateTimeOrder(keys, pieces), dateTimeOrderByText(keys)) << pieces << " pieces";
    }
    // Dates and times of every width, so that every digit of the numbers sorted on differs somewhere.
    std::vector<std::string> texts;
    for (int i = 0; i < 6000; ++i) {
        std::string digits = std::to_string(random() % 100000000);
        texts.push_back(std::string(8 - digits.size(), '0') + digits);
        texts.push_back(std::to_string(random()).substr(0, random() % 7));
    }
    BigVector<SortKey> keys;
    for (std::size_t i = 0; i < texts.size(); i += 2)
        keys.push_back({texts[i], texts[i + 1]});
    EXPECT_EQ(dateTimeOrder(keys, 2), dateTimeOrderByText(keys));
    // A key that is no number, in the last piece alone: all are compared as texts.
    keys.back().date = "2023-1-1";
    EXPECT_EQ(dateTimeOrder(keys, 3), dateTimeOrderByText(keys));
}

}  // namespace
}  // namespace logweave::testing
