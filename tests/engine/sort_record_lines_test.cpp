#include "engine_fixture.h"

#include "logweave/sort_record_lines.h"

#include <memory>
#include <random>

namespace logweave::testing {
namespace {

TEST(sortRecordLines, OrdersRecordsByDateAndTimeAndShortensRunsOfLineBreaks)
{
    const std::string a = qso("Q1AAA", "20230102", "000000");
    const std::string b = qso("Q1BBB", "20230101", "120000");
    const std::string c = qso("Q1CCC", "20230101", "120000");
    const std::string d = qso("Q1DDD", "20230101", "090000");
    // A record written one field a line moves whole.
    const std::string late = "<CALL:5>Q1AAA\n<QSO_DATE:8>20230105\n<TIME_ON:4>1200\n<EOR>\n";
    const std::string early = "<CALL:5>Q1BBB\n<QSO_DATE:8>20230101\n<TIME_ON:4>0800\n<EOR>\n";
    // The key comes from the tags themselves: an end date before the date, no blank between fields, a typed date.
    const std::string typed = "<QSO_DATE_OFF:8>20230109<qso_date:8:d>20230102<TIME_ON:6>000000<EOR>\r\n";
    const std::string plain = "<QSO_DATE_OFF:8>20230101<QSO_DATE:8>20230101<time_on:6>235959<eor>\r\n";
    const struct {
        std::string text;
        std::string sorted;
    } cases[] = {
        {"Log\r\n<EOH>\r\n" + a + b + c + d, "Log\r\n<EOH>\r\n" + d + b + c + a},  // stably
        {"<EOH>\n" + late + early, "<EOH>\n" + early + late},
        {"h<EOH>\r\n" + typed + plain, "h<EOH>\r\n" + plain + typed},
        {a + b + "x", a + b + "x"},  // three lines: not sorted
        {a + d + c + "<APP_LoTW_EOF>\r\n", d + c + a + "<APP_LoTW_EOF>\r\n"},
        // Four breaks become one, five become two; a lone LF counts as CR LF does; a tab makes a line.
        {"a\r\n\r\n\r\n\r\nb", "a\r\nb"},
        {"a\n\n\n\n\nb", "a\n\nb"},
        {"a\n\r\nb", "a\nb"},
        {"a\n\t\nb", "a\n\t\nb"},
    };
    for (const auto& [text, sorted] : cases) {
        std::string result = text;
        sortRecordLines(result);
        EXPECT_EQ(result, sorted) << text;
    }
}

// Of each run of line breaks, the breaks numbered 0, 4, 8... stay.
std::string collapsedPlainly(std::string_view text)
{
    std::string out;
    int inRun = 0;
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t length = text[i] == '\n' ? 1 : text.substr(i, 2) == "\r\n" ? 2 : 0;
        if (length == 0) {
            out += text[i++];
            inRun = 0;
            continue;
        }
        if (inRun++ % 4 == 0)
            out += text.substr(i, length);
        i += length;
    }
    return out;
}

// Texts of line breaks and two other characters, with runs of breaks
// wherever the search looks at 64 bytes at once and where it ends, each in a
// buffer of its size; and cut into pieces that are worked on side by side.
TEST(collapseBlankLines, KeepsTheBreaksNumbered0And4And8OfEachRunWhereverItLies)
{
    std::mt19937 random(7);
    for (int round = 0; round < 4000; ++round) {
        const std::size_t size = random() % 200;
        const unsigned breaks = 1 + random() % 8;  // in 16: from a break now and then to mostly breaks
        std::string text;
        for (std::size_t i = 0; i < size; ++i)
            text += random() % 16 < breaks ? (random() % 3 == 0 ? '\r' : '\n') : (random() % 2 == 0 ? 'a' : '<');
        const auto buffer = std::make_unique<char[]>(text.size());
        std::copy(text.begin(), text.end(), buffer.get());
        const std::size_t kept = collapseBlankLines(buffer.get(), text.size());
        const std::string expected = collapsedPlainly(text);
        ASSERT_EQ(std::string_view(buffer.get(), kept), expected) << ::testing::PrintToString(text);
        for (const std::size_t pieces : {2, 3, 7}) {
            Bytes inPieces(text);
            collapseBlankLines(inPieces, pieces);
            ASSERT_EQ(inPieces.view(), expected) << pieces << " pieces: " << ::testing::PrintToString(text);
        }
    }
}

}  // namespace
}  // namespace logweave::testing
