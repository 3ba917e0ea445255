// The changes file, written as the merge goes and read back for the window.

#include "merging/changes_file.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace logweave {
namespace {

using Row = ChangeRow;

std::optional<std::vector<Row>> readCsv(std::string_view text)
{
    return readChangeList(text);
}

class StringWriter final : public FileWriter {
public:
    void write(std::string_view bytes) override
    {
        text.append(bytes);
        ++writes;
    }
    std::string text;
    int writes = 0;
};

const ChangedContact kContact{"20230101", "1830", "Q1ABC", "20m", "FT8"};

TEST(ChangesFile, RowsReadBackAsWrittenWhateverTheirValuesHold)
{
    const std::vector<std::string> values = {
        "plain",       "a,b",  "say \"hi\"", "\"",     "line one\r\nline two", "lone\nLF", "lone\rCR",
        " blanks kept ", "",   "J\xF6rg",    ",\"\r\n", "<CALL:5>Q1ABC",
    };
    StringWriter file;
    ChangesFile changes(file);
    changes.added(kContact);
    for (const std::string& value : values)
        changes.differs({value, value, value, value, value}, "COMMENT", value, "open " + value, value);
    changes.finish();

    const auto rows = readCsv(file.text);
    ASSERT_TRUE(rows) << file.text;
    ASSERT_EQ(rows->size(), values.size() + 2);
    EXPECT_EQ(rows->at(0), (Row{"change", "qso_date", "time_on", "call", "band", "mode", "field", "open_value",
                                "added_value", "kept_value"}));
    EXPECT_EQ(rows->at(1), (Row{"added", "20230101", "1830", "Q1ABC", "20m", "FT8", "", "", "", ""}));
    for (std::size_t i = 0; i < values.size(); ++i) {
        const std::string& v = values[i];
        EXPECT_EQ(rows->at(i + 2), (Row{"differs", v, v, v, v, v, "COMMENT", v, "open " + v, v})) << v;
    }
}

TEST(ChangesFile, QuotesOnlyWhatMustBeQuoted)
{
    StringWriter file;
    ChangesFile changes(file);
    changes.differs(kContact, "GRIDSQUARE", "FN42", "FN42,X", "say \"hi\"");
    changes.finish();
    EXPECT_EQ(file.text.substr(file.text.find("\r\n") + 2),
              "differs,20230101,1830,Q1ABC,20m,FT8,GRIDSQUARE,FN42,\"FN42,X\",\"say \"\"hi\"\"\"\r\n");
}

// Texts written by hand: what a reader must take, and what it must refuse.
TEST(ChangesFile, ReadsTheListAsTheCsvFormSaysAndNothingElse)
{
    const std::pair<std::string, std::optional<std::vector<Row>>> cases[] = {
        {"a,b\r\n,\r\n", std::vector<Row>{{"a", "b"}, {"", ""}}},
        {"\"x,\"\"y\"\"\r\nz\",\"\"\r\n", std::vector<Row>{{"x,\"y\"\r\nz", ""}}},
        {"", std::vector<Row>{}},
        {"a,b", std::nullopt},          // a last row without its end
        {"a\nb\r\n", std::nullopt},    // a bare line break
        {"a\"b\r\n", std::nullopt},    // a stray quote
        {"\"ab\r\n", std::nullopt},    // a quote never closed
        {"\"a\"b\r\n", std::nullopt},  // text after a closing quote
    };
    for (const auto& [text, rows] : cases)
        EXPECT_EQ(readCsv(text), rows) << text;
}

TEST(ChangesFile, GoesToTheFileAsItIsWrittenNotAtTheEnd)
{
    StringWriter file;
    ChangesFile changes(file);
    const std::string comment(1000, 'x');
    for (int i = 0; i < 1000; ++i)
        changes.differs(kContact, "COMMENT", comment, comment + "y", comment);
    EXPECT_GT(file.writes, 0);
    const std::size_t before = file.text.size();
    changes.finish();
    EXPECT_LT(before, file.text.size());
    const auto rows = readCsv(file.text);
    ASSERT_TRUE(rows);
    EXPECT_EQ(rows->size(), 1001u);
}

}  // namespace
}  // namespace logweave
