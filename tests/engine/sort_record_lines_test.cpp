#include "logweave/sort_record_lines.h"

#include <gtest/gtest.h>

#include <string>

namespace logweave {
namespace {

std::string sorted(std::string text)
{
    SortRecordLines(text);
    return text;
}

std::string line(const char* date, const char* time, const char* call, const char* end = "\r\n")
{
    return std::string("<CALL:5>") + call + " <QSO_DATE:8>" + date + " <TIME_ON:6>" + time + " <EOR>" + end;
}

TEST(SortRecordLines, PutsOneLineRecordsInDateAndTimeOrderStably)
{
    const std::string header = "Log\r\n<EOH>\r\n";
    const std::string text = header + line("20230102", "000000", "Q1AAA") + line("20230101", "120000", "Q1BBB")
        + line("20230101", "120000", "Q1CCC") + line("20230101", "090000", "Q1DDD");
    EXPECT_EQ(sorted(text), header + line("20230101", "090000", "Q1DDD") + line("20230101", "120000", "Q1BBB")
                                + line("20230101", "120000", "Q1CCC") + line("20230102", "000000", "Q1AAA"));
}

TEST(SortRecordLines, MovesARecordWrittenOneFieldPerLineAsAWhole)
{
    const std::string late = "<CALL:5>Q1AAA\n<QSO_DATE:8>20230105\n<TIME_ON:4>1200\n<EOR>\n";
    const std::string early = "<CALL:5>Q1BBB\n<QSO_DATE:8>20230101\n<TIME_ON:4>0800\n<EOR>\n";
    EXPECT_EQ(sorted("<EOH>\n" + late + early), "<EOH>\n" + early + late);
}

TEST(SortRecordLines, TakesTheKeyFromTheTagsThemselves)
{
    // An end date before the date, no blank between fields, a typed date, lower case.
    const std::string a = "<QSO_DATE_OFF:8>20230109<qso_date:8:d>20230102<TIME_ON:6>000000<EOR>\r\n";
    const std::string b = "<QSO_DATE_OFF:8>20230101<QSO_DATE:8>20230101<time_on:6>235959<eor>\r\n";
    EXPECT_EQ(sorted("h<EOH>\r\n" + a + b), "h<EOH>\r\n" + b + a);
}

TEST(SortRecordLines, LeavesShortTextsAndTheTextAfterTheLastRecordInPlace)
{
    const std::string two = line("20230102", "000000", "Q1AAA") + line("20230101", "000000", "Q1BBB");
    EXPECT_EQ(sorted(two + "x"), two + "x");  // three lines: not sorted

    const std::string tail = "<APP_LoTW_EOF>\r\n";
    const std::string text = line("20230102", "000000", "Q1AAA") + line("20230101", "000000", "Q1BBB")
        + line("20230103", "000000", "Q1CCC") + tail;
    EXPECT_EQ(sorted(text), line("20230101", "000000", "Q1BBB") + line("20230102", "000000", "Q1AAA")
                                + line("20230103", "000000", "Q1CCC") + tail);
}

TEST(SortRecordLines, ShortensRunsOfLineBreaksKeepingEachBreakAsWritten)
{
    // Four breaks become one, five become two; a lone LF counts as CR LF does.
    EXPECT_EQ(sorted("a\r\n\r\n\r\n\r\nb"), "a\r\nb");
    EXPECT_EQ(sorted("a\n\n\n\n\nb"), "a\n\nb");
    EXPECT_EQ(sorted("a\n\r\nb"), "a\nb");
    // A line holding a tab is not empty.
    EXPECT_EQ(sorted("a\n\t\nb"), "a\n\t\nb");
}

}  // namespace
}  // namespace logweave
