#include "logweave/field_table.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace logweave {
namespace {

std::vector<std::string> namesOf(const FieldTable& table, bool sorted)
{
    std::vector<std::string> names;
    for (int i = 1; i <= table.FieldCount(); ++i)
        names.push_back(sorted ? table.SortedFieldNames(i) : table.FieldNames(i));
    return names;
}

TEST(FieldTable, ASeededListingIsNotResortedAndANameListedTwiceIsFoundFirst)
{
    FieldTable table;
    table.seed({"CALL", "BAND", "CALL"});
    table.AddField("MODE");
    table.AddField("BEAM");
    EXPECT_EQ(namesOf(table, false), (std::vector<std::string>{"CALL", "BAND", "CALL", "MODE", "BEAM"}));
    EXPECT_EQ(namesOf(table, true), (std::vector<std::string>{"BEAM", "CALL", "BAND", "CALL", "MODE"}));
    EXPECT_EQ(table.FindField("call"), 1);
    table.seed({"MODE"});
    EXPECT_EQ(table.FindField("CALL"), 0);  // a new seed drops the earlier table
}

}  // namespace
}  // namespace logweave
