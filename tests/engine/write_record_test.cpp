#include "engine_fixture.h"

#include "logweave/load_field_order.h"
#include "logweave/pane_texts.h"
#include "logweave/write_record.h"

namespace logweave::testing {
namespace {

using FieldOrderTest = EngineTest;

TEST_F(FieldOrderTest, ReadsNamesUntilTheFirstEmptyLineSkippingComments)
{
    folder.write("order.txt", "' my order\r\ncall\nBand\r\n' note\n\nMODE\r\n");
    ASSERT_TRUE(LoadFieldOrder(session, (folder / "order.txt").string()));
    EXPECT_EQ(store.fields.FieldCount(), 2);
    EXPECT_EQ(store.fields.FieldNames(1), "CALL");
    EXPECT_EQ(store.fields.FieldNames(2), "BAND");
    EXPECT_EQ(ui.pane, pane::fieldOrder((folder / "order.txt").string()));
}

TEST_F(FieldOrderTest, OrdersTheWrittenFieldsByTheList)
{
    // "CALL " with its blank and an untyped date place nothing.
    folder.write("order.txt", "BAND\r\nCALL \r\nQSO_DATE\r\n");
    applyOptions((folder / "order.txt").string());
    ASSERT_EQ(open("<QSO_DATE:8:D>20230101 <CALL:5>Q1ABC <BAND:3>20m <EOR>"), Outcome::Done);
    EXPECT_EQ(folder.read("Adif_File.adi"), "<band:3>20m <qso_date:8:d>20230101 <call:5>Q1ABC <eor>\r\n");
    EXPECT_EQ(store.fields.FieldCount(), 5);
}

TEST_F(FieldOrderTest, AnUnreadableListLeavesTheTableAndSaysSo)
{
    applyOptions();
    ASSERT_EQ(open("<CALL:5>Q1ABC <EOR>"), Outcome::Done);
    ui.pane.clear();
    EXPECT_FALSE(LoadFieldOrder(session, (folder / "none.txt").string()));
    EXPECT_EQ(store.fields.FieldCount(), 1);
    EXPECT_NE(ui.pane.find("[Field order list unreadable, no order is loaded] : " + (folder / "none.txt").string()),
              std::string::npos);
}

TEST_F(FieldOrderTest, ReadsEveryNameOfALongList)
{
    std::string list;
    for (int i = 0; i < 260; ++i)
        list.append("F").append(std::to_string(i)).append("\n");
    folder.write("order.txt", list);
    ASSERT_TRUE(LoadFieldOrder(session, (folder / "order.txt").string()));
    EXPECT_EQ(store.fields.FieldCount(), 260);
    EXPECT_EQ(store.fields.FieldNames(260), "F259");
}

TEST(OutputOptions, SetTheTagsSpacingAndProgramHeader)
{
    LogStore store;
    RecordingInterface ui;
    FaultyFileSystem files;
    Session session{store, ui, files};
    ui.options = {"", true, true, HeaderSource::Program, {}};
    LoadOutputOptions(session);
    EXPECT_EQ(ui.optionsShown, 1);
    EXPECT_EQ(store.EorTag, "<EOR>");
    EXPECT_EQ(store.LineSpacer, "\r\n");
    EXPECT_EQ(store.ProgramHeader, "Logweave <EOH>");
    // Another header source later keeps the program's header as it was built.
    ui.options = {"", false, false, HeaderSource::OpenLog, {}};
    LoadOutputOptions(session);
    EXPECT_EQ(store.EohTag, "<eoh>");
    EXPECT_EQ(store.LineSpacer, "");
    EXPECT_EQ(store.ProgramHeader, "Logweave <EOH>");
}

TEST(WriteRecord, WritesTypedNamesAndByteLengths)
{
    FieldTable fields;
    fields.AddField("QSO_DATE:d");
    fields.AddField("NAME");
    const std::string text = "<qso_date:8:d>20230101 <name:5>Umeå ";
    const std::vector<FieldValue> values{{1, 14, 8}, {2, 31, 5}};
    OutputNames upper(fields, true);
    std::string out;
    WriteRecord(out, Record(text, values), upper);
    EXPECT_EQ(out, "<QSO_DATE:8:D>20230101 <NAME:5>Umeå ");
    EXPECT_EQ(OutputFieldName(fields, 1, false), "qso_date:d");
    out.clear();
    WriteRecord(out, Record(), upper);
    EXPECT_EQ(out, "");
}

}  // namespace
}  // namespace logweave::testing
