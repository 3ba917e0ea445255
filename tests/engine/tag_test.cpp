// Tags read where their "<" stands, near and far from the text's end: a tag
// of up to 16 bytes after its "<" is read in one look, a longer one or one
// near the end byte by byte, and both must read the same.

#include "reading/tag.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace logweave {
namespace {

constexpr auto npos = std::string_view::npos;

// What a tag is, read plainly: its name runs to the first ":", its type is
// the letter after a second ":" that does not stand just before the ">".
Tag tagAsDefined(std::string_view text, std::size_t lt)
{
    const std::size_t gt = text.find('>', lt + 1);
    const std::string_view inside = text.substr(lt + 1, gt == npos ? npos : gt - lt - 1);
    Tag tag{gt, {}, {}, inside.find('<') != npos};
    if (gt == npos)
        return tag;
    const std::size_t colon = inside.find(':');
    tag.name = inside.substr(0, colon);
    const std::size_t typeColon = colon == npos ? npos : inside.find(':', colon + 1);
    if (typeColon != npos && typeColon + 1 < inside.size())
        tag.type = text.substr(lt + 1 + typeColon, 2);
    return tag;
}

TEST(Tag, ReadsAsDefinedWhereverTheTagAndTheTextEnd)
{
    std::mt19937 random(7);
    const std::string others = "<<::aD ";
    for (int round = 0; round < 4000; ++round) {
        // From a ">" every other byte to one in 40: tags of every length.
        const unsigned gtOdds = 2 + round % 40;
        // Exactly as long as the text, that the sanitizers see a look past its end.
        std::vector<char> bytes(random() % 60);
        for (char& c : bytes)
            c = random() % gtOdds == 0 ? '>' : others[random() % others.size()];
        const std::string_view text(bytes.data(), bytes.size());
        for (std::size_t lt = 0; lt < text.size(); ++lt) {
            if (text[lt] != '<')
                continue;
            SCOPED_TRACE(std::string(text) + " at " + std::to_string(lt));
            const Tag read = readTag(text, lt);
            const Tag expected = tagAsDefined(text, lt);
            ASSERT_EQ(read.gt, expected.gt);
            ASSERT_EQ(read.holdsLt, expected.holdsLt);
            ASSERT_EQ(read.name, expected.name);
            ASSERT_EQ(read.type, expected.type);
        }
    }
}

TEST(Tag, ReadsLongTagsAndTheirTypes)
{
    const std::string text = "<APP_LOGWEAVE_A_LONG_NAME:12:S>value of it <QSO_DATE:8:D>20230101";
    const Tag first = readTag(text, 0);
    EXPECT_EQ(first.name, "APP_LOGWEAVE_A_LONG_NAME");
    EXPECT_EQ(first.type, ":S");
    const Tag second = readTag(text, text.find("<QSO"));
    EXPECT_EQ(second.name, "QSO_DATE");
    EXPECT_EQ(second.type, ":D");
    EXPECT_EQ(second.gt, text.find("20230101") - 1);
}

}  // namespace
}  // namespace logweave
