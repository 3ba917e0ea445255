#include "logweave/field_table.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace logweave {
namespace {

TEST(FieldTable, FindsNamesIgnoringCaseButNotTheirType)
{
    FieldTable table;
    table.AddField("CALL");
    table.AddField("QSO_DATE:d");
    EXPECT_EQ(table.FindField("call"), 1);
    EXPECT_EQ(table.FindField("Qso_Date:D"), 2);
    EXPECT_EQ(table.FindField("QSO_DATE"), 0);
    EXPECT_EQ(table.FieldNames(2), "QSO_DATE:D");
    EXPECT_EQ(table.SortedFieldNames(2), "QSO_DATE:d");  // the listing keeps the name as passed
}

TEST(FieldTable, InsertsIntoTheListingBeforeTheFirstGreaterEntry)
{
    FieldTable table;
    table.AddField("CALL");
    table.AddField("MODE");
    table.AddField("BAND");
    EXPECT_EQ(table.FieldNames(3), "BAND");
    EXPECT_EQ(table.SortedFieldNames(1), "BAND");
    EXPECT_EQ(table.SortedFieldNames(2), "CALL");
    EXPECT_EQ(table.SortedFieldNames(3), "MODE");
}

TEST(FieldTable, SeededListingIsNotResorted)
{
    FieldTable table;
    table.seed({"CALL", "BAND"});
    table.AddField("MODE");
    table.AddField("BEAM");
    const std::vector<std::string> sorted{table.SortedFieldNames(1), table.SortedFieldNames(2),
                                          table.SortedFieldNames(3), table.SortedFieldNames(4)};
    EXPECT_EQ(sorted, (std::vector<std::string>{"BEAM", "CALL", "BAND", "MODE"}));
    const std::vector<std::string> names{table.FieldNames(1), table.FieldNames(2), table.FieldNames(3),
                                         table.FieldNames(4)};
    EXPECT_EQ(names, (std::vector<std::string>{"CALL", "BAND", "MODE", "BEAM"}));
}

TEST(FieldTable, ANameListedTwiceIsFoundAtItsFirstPlace)
{
    FieldTable table;
    table.seed({"CALL", "BAND", "CALL"});
    EXPECT_EQ(table.FieldCount(), 3);
    EXPECT_EQ(table.FindField("call"), 1);
    table.seed({"MODE"});
    EXPECT_EQ(table.FindField("CALL"), 0);  // a new seed drops the earlier table
}

}  // namespace
}  // namespace logweave
