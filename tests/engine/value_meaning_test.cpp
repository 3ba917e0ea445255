// Two values of one field that mean the same thing, and which one a merge keeps.

#include "merging/value_meaning.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>

namespace logweave {

static void PrintTo(Agreement agreement, std::ostream* out)
{
    constexpr const char* kNames[] = {"Identical", "KeepOpen", "KeepAdded", "Differ"};
    *out << kNames[static_cast<int>(agreement)];
}

namespace {

using enum Agreement;

TEST(ValueMeaning, ValuesAreComparedByWhatTheirFieldHolds)
{
    const struct {
        std::string_view field;
        std::string_view open;
        std::string_view added;
        Agreement expected;
    } cases[] = {
        {"COMMENT", "Nice", "Nice", Identical},           {"COMMENT", "Nice", "nice", Differ},
        {"COMMENT", "", "nice", KeepAdded},               {"COMMENT", "nice", "", KeepOpen},
        // A field is known by its name in any case, a type indicator after it or not, and whole.
        {"call", "q1abc", "Q1ABC", KeepOpen},             {"Station_Callsign", "q1abc", "Q1ABC", KeepOpen},
        {"CALLS", "q1abc", "Q1ABC", Differ},              {"APP_LOGWEAVE_X", "a", "A", Differ},
        {"", "a", "A", Differ},                           {"CALL", "Q1ABC", "Q1ABD", Differ},
        {"BAND", "20m", "20M", KeepOpen},                 {"QSL_SENT_VIA", "e", "E", KeepOpen},
        {"OPERATOR", "Q1ABC", "Q1ABC/P", Differ},         {"GRIDSQUARE_EXT", "bq", "BQ", KeepOpen},
        {"GRIDSQUARE_EXT", "BQ", "BQ12", Differ},
        // Numbers by value, never through a double.
        {"freq:N", "14.074", "14.07400", KeepOpen},       {"FREQ", "14.0740", "14.074", KeepOpen},
        {"FREQ", "14.074", "14.0741", Differ},            {"FREQ", "14.074", "14.0740000000000000001", Differ},
        {"TX_PWR", "05", "5", KeepOpen},                  {"TX_PWR", "100", "100.", KeepOpen},
        {"TX_PWR", "10", "1", Differ},                    {"TX_PWR", ".5", "0.50", KeepOpen},
        {"ANT_EL", "-0", "0.0", KeepOpen},                {"ANT_EL", "-5", "5", Differ},
        {"ANT_EL", "-05.0", "-5", KeepOpen},              {"SRX", "007", "7", KeepOpen},
        {"DXCC", "0291", "291", KeepOpen},
        // Not numbers by ADIF's syntax: the same bytes or nothing.
        {"TX_PWR", "+5", "5", Differ},                    {"TX_PWR", "5W", "5", Differ},
        {"TX_PWR", "1e3", "1000", Differ},                {"TX_PWR", " 5", "5", Differ},
        {"TX_PWR", ".", "0", Differ},                     {"TX_PWR", "-", "-0", Differ},
        {"FREQ", "1.2.3", "1.20.3", Differ},              {"FREQ", "1.2.3", "1.2.3", Identical},
        // A grid square and a longer one inside it: the longer says more.
        {"GRIDSQUARE", "FN42", "fn42ab", KeepAdded},      {"GRIDSQUARE", "fn42ab", "FN42", KeepOpen},
        {"my_gridsquare", "fn42", "FN42", KeepOpen},      {"GRIDSQUARE", "FN42", "FN43aa", Differ},
        {"GRIDSQUARE", "FN42ab", "FN42ac", Differ},       {"VUCC_GRIDS", "EM98,FM08", "em98,fm08", KeepOpen},
        {"VUCC_GRIDS", "EM98", "EM98,FM08", Differ},
    };
    for (const auto& [field, open, added, expected] : cases)
        EXPECT_EQ(compareValues(field, open, added, {}), expected) << field << " " << open << " | " << added;
}

TEST(ValueMeaning, ModeAndSubmodeAreReadTogetherAndKeptFromOneRecord)
{
    const struct {
        ModeFields open;
        ModeFields added;
        Agreement mode;
        Agreement submode;
    } cases[] = {
        // The same mode in ADIF's form and with the submode as MODE: no question, the open form kept.
        {{"MFSK", "FT4"}, {"FT4", ""}, KeepOpen, KeepOpen},    {{"FT4", ""}, {"MFSK", "FT4"}, KeepOpen, KeepOpen},
        {{"SSB", "USB"}, {"usb", ""}, KeepOpen, KeepOpen},     {{"ft4", ""}, {"FT4", ""}, KeepOpen, Identical},
        {{"OLIVIA", "OLIVIA 8/250"}, {"olivia 8/250", ""}, KeepOpen, KeepOpen},
        {{"MFSK", "ft4"}, {"mfsk", "FT4"}, KeepOpen, KeepOpen},
        // An open record without MODE gives way: the merged record keeps a MODE.
        {{"", "FT4"}, {"MFSK", "FT4"}, KeepAdded, Identical},  {{"", "FT4"}, {"FT4", ""}, KeepAdded, KeepAdded},
        // Different modes stay a question; a submode only one record holds does not.
        {{"FT8", ""}, {"MFSK", "FT4"}, Differ, KeepAdded},     {{"MFSK", "FT4"}, {"MFSK", "JS8"}, Identical, Differ},
        {{"MFSK", "FT4"}, {"MFSK", ""}, Identical, KeepOpen},  {{"SSB", ""}, {"USB", ""}, Differ, Identical},
        {{"DATA", "FT4"}, {"MFSK", "FT4"}, Differ, Identical}, {{"CW", ""}, {"cw", ""}, KeepOpen, Identical},
        {{"CW", ""}, {"SSB", ""}, Differ, Identical},
    };
    for (const auto& [open, added, mode, submode] : cases) {
        const PairModes modes{open, added};
        const std::string pair = std::string(open.mode) + "/" + std::string(open.submode) + " | "
                               + std::string(added.mode) + "/" + std::string(added.submode);
        EXPECT_EQ(compareValues("MODE", open.mode, added.mode, modes), mode) << pair;
        EXPECT_EQ(compareValues("SUBMODE", open.submode, added.submode, modes), submode) << pair;
    }
}

}  // namespace
}  // namespace logweave
