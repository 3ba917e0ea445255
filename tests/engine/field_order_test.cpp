#include "engine_fixture.h"

#include "writing/field_order.h"

namespace logweave::testing {
namespace {

using FieldOrderTest = EngineTest;

TEST_F(FieldOrderTest, ReadsNamesUntilTheFirstEmptyLineSkippingComments)
{
    const std::string path = folder.write("order.txt", "' my order\r\ncall\nBand\r\nCALL\n' note\n\nMODE\r\n").string();
    const auto fields = loadFieldOrder(session, path);
    ASSERT_TRUE(fields);
    EXPECT_EQ(fields->count(), 3);
    EXPECT_EQ(fields->name(1), "CALL");
    EXPECT_EQ(fields->name(2), "BAND");
    EXPECT_EQ(fields->indexOf("call"), 1);  // a name listed twice is found at its first place
    EXPECT_EQ(ui.pane, pane::fieldOrder(path));
}

TEST_F(FieldOrderTest, OrdersTheWrittenFieldsByTheList)
{
    // "CALL " with its blank and an untyped date place nothing. The listing keeps the list's order and puts
    // each name met later before the first greater one.
    ui.options.fieldOrderFile = folder.write("order.txt", "QSO_DATE\r\nCALL \r\nBAND\r\n").string();
    ASSERT_EQ(open("<QSO_DATE:8:D>20230101 <CALL:5>Q1ABC <BAND:3>20m <EOR>"), Outcome::Done);
    EXPECT_EQ(folder.read("Adif_File.adi"), "<band:3>20m <qso_date:8:d>20230101 <call:5>Q1ABC <eor>\r\n");
    EXPECT_EQ(folder.read("AdifCodes.txt"),
              "qso_date\r\ncall \r\nband\r\nqso_date:d\r\ncall\r\n\r\nCALL\r\nQSO_DATE\r\nCALL \r\nBAND\r\nQSO_DATE:D\r\n");
}

TEST_F(FieldOrderTest, AnUnreadableListLeavesTheTableAndSaysSoAReadableOneReplacesIt)
{
    ASSERT_EQ(open("<CALL:5>Q1ABC <EOR>"), Outcome::Done);
    ui.options.fieldOrderFile = (folder / "none.txt").string();
    ASSERT_EQ(open("<MODE:3>FT8 <EOR>"), Outcome::Done);
    EXPECT_TRUE(paneHas("[Field order list unreadable, no order is loaded] : " + (folder / "none.txt").string()));
    EXPECT_EQ(store.fields().indexOf("CALL"), 1);  // the names met before stay, in their places
    ui.options.fieldOrderFile = folder.write("order.txt", "MODE\n").string();
    ASSERT_EQ(open("<MODE:3>FT8 <EOR>"), Outcome::Done);
    EXPECT_EQ(store.fields().indexOf("CALL"), 0);
}

}  // namespace
}  // namespace logweave::testing
