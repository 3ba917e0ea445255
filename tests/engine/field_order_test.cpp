#include "engine_fixture.h"

#include "logweave/field_table.h"
#include "logweave/text.h"
#include "writing/field_order.h"

#include <algorithm>
#include <random>

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

// The listing found by a look-up is the one a scan of it finds, whatever
// order a list gave its names in and whatever their letter case.
TEST(FieldTableListing, PutsEachNewNameBeforeTheFirstGreaterOneAsAScanWould)
{
    for (const unsigned seed : {1U, 2U, 3U}) {
        SCOPED_TRACE(seed);
        std::mt19937 random(seed);
        const auto someName = [&random] {
            std::string name;
            for (auto letters = 1 + random() % 3; letters > 0; --letters)
                name += "aBcD_"[random() % 5];
            return name;
        };
        std::vector<std::string> list;
        for (int i = 0; i < 40; ++i)
            list.push_back(upperCased(someName()));
        FieldTable fields;
        fields.seed(list);
        std::vector<std::string> scanned = list;
        for (int i = 0; i < 400; ++i) {
            const std::string name = someName();
            if (fields.indexOf(name) != 0)
                continue;
            fields.add(name);
            scanned.insert(std::find_if(scanned.begin(), scanned.end(), [&](const std::string& s) { return s > name; }),
                           name);
        }
        const auto sorted = fields.sortedNames();
        EXPECT_EQ(std::vector<std::string>(sorted.begin(), sorted.end()), scanned);
    }
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
