#include "count_of.h"
#include "engine_fixture.h"

#include "logweave/filter_expression.h"
#include "logweave/operations.h"
#include "logweave/text.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <string>
#include <vector>

namespace logweave::testing {
namespace {

using ReadOpenLogTest = EngineTest;

TEST_F(ReadOpenLogTest, ReadsValuesUpToTheNextTagWhateverTheLengthSays)
{
    ASSERT_EQ(open("<EOH>\n<CALL:3>Q1ABC\n<ADDRESS:9>12 Main\r\nTown \t\r\n<NAME:2>\n<EOR>\n<EOR><QTH:4>Umeå <EOR>"),
              Outcome::Done);
    EXPECT_EQ(value("ADDRESS", 1), "12 Main\r\nTown");  // the break inside stays, the layout after goes
    EXPECT_EQ(store.fields().indexOf("NAME"), 3);
    // An empty record counts; lengths are written in bytes.
    EXPECT_EQ(folder.read("Adif_File.adi"),
              "<eoh>\r\n<call:5>Q1ABC <address:13>12 Main\r\nTown <eor>\r\n<eor>\r\n<qth:5>Umeå <eor>\r\n");
}

TEST_F(ReadOpenLogTest, KeepsTypedAndUntypedDatesApart)
{
    ASSERT_EQ(open("<QSO_DATE:8>20230101 <qso_date:8:d>20230102 <CALL:5:>Q1ABC <EOR>"), Outcome::Done);
    EXPECT_EQ(store.standardFields().qsoDate, store.fields().indexOf("Qso_Date:D"));
    EXPECT_EQ(folder.read("Adif_File.adi"), "<qso_date:8>20230101 <qso_date:8:d>20230102 <call:5>Q1ABC <eor>\r\n");
    // The listing keeps the type letter as written.
    EXPECT_EQ(folder.read("AdifCodes.txt"), "qso_date\r\nqso_date:d\r\ncall\r\n\r\nCALL\r\nQSO_DATE\r\nQSO_DATE:d\r\n");
}

TEST_F(ReadOpenLogTest, WritesNamesInUpperCaseAndRecordsDoubleSpacedWhenAsked)
{
    ui.options.upperCaseNames = true;
    ui.options.doubleSpacing = true;
    ASSERT_EQ(open("<EOH>\r\n<qso_date:8:d>20230101 <Call:3>Q1ABC <EOR>\r\n"), Outcome::Done);
    EXPECT_EQ(folder.read("Adif_File.adi"), "<EOH>\r\n\r\n<QSO_DATE:8:D>20230101 <CALL:5>Q1ABC <EOR>\r\n\r\n");
}

TEST_F(ReadOpenLogTest, WritesFieldNamesOfAnyLengthWhole)
{
    // Names are copied in fixed sizes where they fit: those either side of the size, and far past it.
    const std::string fits(30, 'A');
    const std::string over(31, 'B');
    const std::string farPast(300, 'C');
    ASSERT_EQ(open("<" + fits + ":1>x<" + over + ":12:S>twelve bytes<" + farPast + ":2>ok<CALL:3>Q1A<EOR>"), Outcome::Done);
    EXPECT_EQ(folder.read("Adif_File.adi"), "<" + lowerCased(fits) + ":1>x <" + lowerCased(over) + ":12:s>twelve bytes <"
                                                + lowerCased(farPast) + ":2>ok <call:3>Q1A <eor>\r\n");
}

TEST_F(ReadOpenLogTest, CompletesAContactCutShortAndSaysWhatWasNotRead)
{
    ASSERT_EQ(open("<EOH><CALL:5>Q1AAA <EOR>\n<CALL:5>Q1BBB <QSO_DATE:8>20230101 <BAND:3>20m"), Outcome::Done);
    EXPECT_EQ(store.openRecordCount(), 2);
    EXPECT_EQ(value("BAND", 2), "20m");
    EXPECT_TRUE(paneHas(pane::recordCutShort(2, "Q1BBB 20230101")));

    // Fields that name no contact are not a record; a tag that never closes ends the reading.
    ASSERT_EQ(open("<CALL:5>Q1AAA <EOR>\n<PROGRAMID:4>LoTW\n<APP_LoTW_EOF>\n"), Outcome::Done);
    EXPECT_EQ(store.openRecordCount(), 1);
    EXPECT_TRUE(paneHas(pane::textNotRead("<PROGRAMID:4>LoTW <APP_LoTW_EOF> ")));
    ASSERT_EQ(open("<CALL:5>Q1AAA <EOR> <CALL:5>Q1BBB <BAND"), Outcome::Done);
    EXPECT_EQ(store.recordText(2), "<CALL:5>Q1BBB ");
}

TEST_F(ReadOpenLogTest, ThreeSpellingsOfItsTagEndAHeaderAndNoOther)
{
    ASSERT_EQ(open("h <Eoh><CALL:5>Q1AAA <EOR>"), Outcome::Done);
    EXPECT_EQ(store.openHeader(), "h <eoh>");
    // <EoH> is none of <EOH>, <eoh> and <Eoh>: its tags are fields of the first record, EOH among them.
    ASSERT_EQ(open("<PROGRAMID:1>x <EoH> <CALL:5>Q1CCC <EOR>"), Outcome::Done);
    EXPECT_EQ(store.openHeader(), "");
    EXPECT_EQ(store.openRecordCount(), 1);
    EXPECT_EQ(value("PROGRAMID", 1), "x");
    EXPECT_NE(store.fields().indexOf("EOH"), 0);
}

TEST_F(ReadOpenLogTest, ANewReadKeepsNothingOfTheLogBeforeButTheNamesOfItsFields)
{
    ASSERT_EQ(open("h<EOH><CALL:5>Q1AAA <NAME:3>Ann <EOR><CALL:5>Q1BBB <EOR>"), Outcome::Done);
    ASSERT_EQ(open("<CALL:5>Q1CCC <EOR>"), Outcome::Done);
    EXPECT_EQ(store.openHeader(), "");
    EXPECT_EQ(value("NAME", 1), "");
    EXPECT_EQ(store.fields().indexOf("NAME"), 2);  // the table keeps its names
    EXPECT_THROW(store.record(2), std::out_of_range);
}

TEST_F(ReadOpenLogTest, SaysWhichRecordBreaksTheOrderAndTakesTheLogAsRead)
{
    // The sort keys on the first date tag, the store keeps the last one.
    ASSERT_EQ(open("<EOH>\n<QSO_DATE:8>20230101 <QSO_DATE:8>20230105 <EOR>\n<QSO_DATE:8>20230102 <EOR>\nx\n"),
              Outcome::Done);
    EXPECT_EQ(store.openRecordCount(), 2);
    EXPECT_TRUE(paneHas(pane::outOfOrder(2)));
}

// The order is checked as the tidy copy is written, in chunks that threads
// take in turn: a record is compared with the one above it even where that
// one is another chunk's last.
TEST_F(ReadOpenLogTest, SaysTheFirstRecordOutOfOrderWhereverTheThreadsCutTheLog)
{
    const auto log = [](std::size_t records, std::vector<std::size_t> later) {
        std::string text = "<EOH>\n";
        char time[8];
        for (std::size_t r = 0; r < records; ++r) {
            // Sorted on the first date and the time; kept with the last date.
            std::snprintf(time, sizeof time, "%06zu", r);
            const bool isLater = std::find(later.begin(), later.end(), r) != later.end();
            text += std::string("<QSO_DATE:8>20230101 <TIME_ON:6>") + time + " <QSO_DATE:8>"
                + (isLater ? "20230103" : "20230102") + " <NOTES:260>" + std::string(260, 'n') + " <EOR>\n";
        }
        return text;
    };
    // Over 8 MiB, written on two threads; record 1536 is the first of a chunk.
    const std::string outOfOrder = log(32000, {20000, 1535});
    const std::string inOrder = log(32000, {});
    for (const unsigned threads : {1u, 2u}) {
        SCOPED_TRACE(std::to_string(threads) + " threads");
        session.threads = threads;
        ui.pane.clear();
        ASSERT_EQ(open(outOfOrder), Outcome::Done);
        EXPECT_TRUE(paneHas(pane::outOfOrder(1537)));
        EXPECT_FALSE(paneHas(pane::outOfOrder(20002)));
        ui.pane.clear();
        ASSERT_EQ(open(inOrder), Outcome::Done);
        EXPECT_FALSE(paneHas("hors de l'ordre"));
    }
}

// Records, fields and counts past the bounds that once held: a field order list, a read, a filter, a merge.
TEST_F(ReadOpenLogTest, WorksPastTheOldBoundsOfRecordsAndFields)
{
    std::string list;
    for (int i = 0; i < 260; ++i)
        list += "L" + std::to_string(i) + "\n";
    ui.options.fieldOrderFile = folder.write("order.txt", list).string();
    std::string log = "<EOH>\n";
    for (int i = 0; i < 30000; ++i)
        log += "<TIME_ON:6>" + std::to_string(999999 - i) + " <F" + std::to_string(i % 260) + ":1>x <EOR>\n";
    ASSERT_EQ(open(log), Outcome::Done);
    EXPECT_EQ(store.openRecordCount(), 30000);
    EXPECT_EQ(store.fields().count(), 521);  // the list's 260, TIME_ON and the log's 260
    EXPECT_EQ(value("TIME_ON", 1), "970000");
    EXPECT_TRUE(ui.pane.ends_with(pane::recordsProcessed(30000)));

    ASSERT_EQ(filterOpenLog(store, session, "F0:X", ui.options), Outcome::Done);
    EXPECT_TRUE(ui.pane.ends_with(pane::recordsKept(30000 - 116)));

    // 40000 added records, the first 15000 of them on open contacts.
    std::string added;
    for (int i = 15000; i < 55000; ++i)
        added += "<TIME_ON:6>" + std::to_string(999999 - i) + " <EOR>\n";
    ASSERT_EQ(add(added), Outcome::Done);
    EXPECT_TRUE(paneHas(pane::mergeCounts({40000, 25000, 0, 15000})));
    EXPECT_EQ(store.openRecordCount(), 55000);

    // A conflict on the last of them names its record in full.
    ASSERT_EQ(add("<TIME_ON:6>999999 <F0:1>y <EOR>\n"), Outcome::Done);
    ASSERT_EQ(ui.conflicts.size(), 1u);
    EXPECT_EQ(ui.conflicts[0].record, 55000);
}

// The log keeps a record's values in less room below 64 KiB: records either
// side of that length, and values past it, are read, filtered, merged and
// written whole.
TEST_F(ReadOpenLogTest, KeepsRecordsOfAnyLengthWhole)
{
    const auto record = [](char call, std::size_t notes, std::string_view band) {
        return "<CALL:5>Q1AA" + std::string(1, call) + " <NOTES:" + std::to_string(notes) + ">"
            + std::string(notes, call) + " <BAND:3>" + std::string(band) + " <EOR>\n";
    };
    // 65,535 bytes up to the end tag, 65,536, a value of 70,000 bytes, and a short record.
    const std::string log = "<EOH>\n" + record('A', 65495, "20M") + record('B', 65496, "20M")
        + record('C', 70000, "40M") + record('D', 4, "20M");
    ASSERT_EQ(open(log), Outcome::Done);
    ASSERT_EQ(store.openRecordCount(), 4);
    const std::array<std::size_t, 4> notes{65495, 65496, 70000, 4};
    for (long long r = 1; r <= 4; ++r) {
        const char call = static_cast<char>('A' + r - 1);
        EXPECT_EQ(value("CALL", r), std::string("Q1AA") + call);
        EXPECT_EQ(value("NOTES", r), std::string(notes[static_cast<std::size_t>(r - 1)], call)) << "record " << r;
        EXPECT_EQ(value("BAND", r), r == 3 ? "40M" : "20M") << "record " << r;
    }
    const std::string written = folder.read("Adif_File.adi");
    EXPECT_NE(written.find("<notes:70000>" + std::string(70000, 'C') + " <band:3>40M <eor>"), std::string::npos);

    ASSERT_EQ(filterOpenLog(store, session, "BAND:40M", ui.options), Outcome::Done);
    EXPECT_NE(folder.read("Adif_Filtre2.adi").find("<notes:70000>" + std::string(70000, 'C') + " "), std::string::npos);
    EXPECT_EQ(countOf(folder.read("Adif_Filtre1.adi"), "<eor>"), 3);

    ASSERT_EQ(add(log), Outcome::Done);
    EXPECT_TRUE(paneHas(pane::mergeCounts({4, 0, 4, 0})));
    EXPECT_NE(folder.read("Logweave.adi").find("<notes:65496>" + std::string(65496, 'B') + " <band:3>20M <eor>"),
              std::string::npos);
}

TEST_F(ReadOpenLogTest, NamesAFileItCannotWriteAndKeepsNoLog)
{
    files.failOn(FileError::Action::Write, "AdifCodes.txt", std::make_error_code(std::errc::no_space_on_device));
    EXPECT_EQ(open("<CALL:5>Q1ABC <EOR>"), Outcome::Stopped);
    EXPECT_TRUE(paneHas("AdifCodes.txt (No space left on device)"));
    EXPECT_FALSE(folder.exists("Adif_File.adi"));  // the two files go together
    EXPECT_EQ(store.openRecordCount(), 0);
    EXPECT_EQ(store.fields().count(), 0);
}

}  // namespace
}  // namespace logweave::testing
