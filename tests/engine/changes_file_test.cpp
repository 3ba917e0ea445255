// The changes file: rows of RFC 4180, a field quoted only when it has to be.

#include "merging/changes_file.h"

#include <gtest/gtest.h>

#include <string>

namespace logweave {
namespace {

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
    }
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
