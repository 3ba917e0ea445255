#include "engine_fixture.h"

#include "logweave/load_field_order.h"

namespace logweave::testing {
namespace {

using FieldOrderTest = EngineTest;

TEST_F(FieldOrderTest, ReadsNamesUntilTheFirstEmptyLineSkippingComments)
{
    const std::string path = folder.write("order.txt", "' my order\r\ncall\nBand\r\n' note\n\nMODE\r\n").string();
    ASSERT_TRUE(LoadFieldOrder(session, path));
    EXPECT_EQ(store.fields.FieldCount(), 2);
    EXPECT_EQ(store.fields.FieldNames(1), "CALL");
    EXPECT_EQ(store.fields.FieldNames(2), "BAND");
    EXPECT_EQ(ui.pane, pane::fieldOrder(path));
}

TEST_F(FieldOrderTest, OrdersTheWrittenFieldsByTheList)
{
    // "CALL " with its blank and an untyped date place nothing.
    applyOptions(folder.write("order.txt", "BAND\r\nCALL \r\nQSO_DATE\r\n").string());
    ASSERT_EQ(open("<QSO_DATE:8:D>20230101 <CALL:5>Q1ABC <BAND:3>20m <EOR>"), Outcome::Done);
    EXPECT_EQ(folder.read("Adif_File.adi"), "<band:3>20m <qso_date:8:d>20230101 <call:5>Q1ABC <eor>\r\n");
    EXPECT_EQ(store.fields.FieldCount(), 5);
}

TEST_F(FieldOrderTest, AnUnreadableListLeavesTheTableAndSaysSo)
{
    ASSERT_EQ(open("<CALL:5>Q1ABC <EOR>"), Outcome::Done);
    EXPECT_FALSE(LoadFieldOrder(session, (folder / "none.txt").string()));
    EXPECT_EQ(store.fields.FieldCount(), 1);
    EXPECT_TRUE(paneHas("[Field order list unreadable, no order is loaded] : " + (folder / "none.txt").string()));
}

}  // namespace
}  // namespace logweave::testing
