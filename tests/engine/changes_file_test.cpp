// The changes file: rows of RFC 4180, a field quoted only when it has to be,
// written as the merge goes and read back for the window.

#include "merging/changes_file.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace logweave {
namespace {

using Row = ChangeRow;

class StringWriter final : public FileWriter {
public:
    void write(std::string_view bytes) override { text.append(bytes); }
    std::string text;
};

const ChangedContact kContact{"20230101", "1830", "Q1ABC", "20m", "FT8"};
constexpr std::string_view kHeader = "change,qso_date,time_on,call,band,mode,field,open_value,added_value,kept_value\r\n";

TEST(ChangesFile, QuotesAFieldOnlyForACommaAQuoteOrALineBreak)
{
    const std::pair<std::string, std::string> values[] = {
        {"plain", "plain"},
        {"a,b", "\"a,b\""},
        {"say \"hi\"", "\"say \"\"hi\"\"\""},
        {"\"", "\"\"\"\""},
        {"line one\r\nline two", "\"line one\r\nline two\""},
        {"lone\nLF", "\"lone\nLF\""},
        {"lone\rCR", "\"lone\rCR\""},
        {" blanks kept ", " blanks kept "},
        {"", ""},
        {"J\xF6rg", "J\xF6rg"},
        {"<CALL:5>Q1ABC", "<CALL:5>Q1ABC"},
    };
    // Each row is read back by the window's reader as it was written.
    for (const auto& [value, field] : values) {
        StringWriter file;
        ChangesFile changes(file);
        changes.added(kContact);
        changes.differs({value, value, value, value, value}, value, value, value, value);
        changes.finish();
        std::string row = "differs";
        for (int i = 0; i < 9; ++i)
            row += "," + field;
        EXPECT_EQ(file.text, std::string(kHeader) + "added,20230101,1830,Q1ABC,20m,FT8,,,,\r\n" + row + "\r\n") << value;
        const auto rows = readChangeList(file.text);
        ASSERT_TRUE(rows) << value;
        ASSERT_EQ(rows->size(), 3u) << value;
        Row expected(10, value);
        expected[0] = "differs";
        EXPECT_EQ(rows->at(2), expected) << value;
    }
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
        EXPECT_EQ(readChangeList(text), rows) << text;
}

TEST(ChangesFile, GoesToTheFileAsItIsWrittenNotAtTheEnd)
{
    StringWriter file;
    ChangesFile changes(file);
    const std::string comment(1000, 'x');
    for (int i = 0; i < 1000; ++i)
        changes.differs(kContact, "COMMENT", comment, comment + "y", comment);
    const std::size_t before = file.text.size();
    EXPECT_GT(before, 0u);
    changes.finish();
    const std::string row = "differs,20230101,1830,Q1ABC,20m,FT8,COMMENT," + comment + "," + comment + "y," + comment + "\r\n";
    EXPECT_LT(before, file.text.size());
    EXPECT_EQ(file.text.size(), kHeader.size() + 1000 * row.size());
    EXPECT_TRUE(file.text.ends_with(row));
}

}  // namespace
}  // namespace logweave
