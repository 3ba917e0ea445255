// ADIF's submodes taken to their modes, the way the window rule compares modes.

#include "merging/adif_submodes.h"
#include "merging/contact_identity.h"
#include "logweave/text.h"

#include <gtest/gtest.h>

namespace logweave {
namespace {

TEST(AdifSubmodes, TakesEachSubmodeToItsModeWrittenEitherWay)
{
    // Spots across ADIF's list, against ADIF itself rather than the table.
    const std::pair<std::string_view, std::string_view> spots[] = {
        {"PSK63F", "PSK"},          {"THOR4", "THOR"},          {"JT9B", "JT9"},         {"OLIVIA 8/250", "OLIVIA"},
        {"FT4", "MFSK"},            {"USB", "SSB"},             {"LSB", "SSB"},          {"JT9H FAST", "JT9"},
        {"DOM-M", "DOMINO"},        {"VARA FM 9600", "DYNAMIC"}, {"SCAMP_OO_SLW", "MTONE"}, {"RIBBIT_SMS", "OFDM"},
        {"FT2", "MFSK"},            {"THROB4", "THRB"},         {"8PSK1200F", "PSK"},    {"PCW", "CW"},
        {"ASCI", "RTTY"},           {"NAVTEX", "TOR"},
    };
    for (const auto& [submode, mode] : spots) {
        EXPECT_EQ(modeOfSubmode(submode), mode) << submode;
        EXPECT_EQ(modeOf(submode, ""), mode) << submode;
        EXPECT_EQ(modeOf("", lowerCased(submode)), mode) << submode;
        EXPECT_EQ(modeOf("DATA", submode), "DATA") << submode;  // a record's own MODE wins
    }
    // Every entry is found; the lookup is by upper-case bytes: an entry in another case never would be.
    for (const auto& [submode, mode] : adifSubmodes()) {
        EXPECT_EQ(modeOfSubmode(submode), mode) << submode;
        EXPECT_EQ(upperCased(submode), submode);
    }
}

TEST(AdifSubmodes, WhatIsNoSubmodeStaysItselfUpperCased)
{
    for (const std::string_view mode : {"FT8", "CW", "MFSK", "SSB", "PSK", "OLIVIA", "JT65", "DIGITALVOICE", ""})
        EXPECT_EQ(modeOf(mode, ""), mode);
    EXPECT_EQ(modeOf("ft8", ""), "FT8");
    // Near misses of a submode's bytes are not it.
    for (const std::string_view other : {"FT4 ", " FT4", "OLIVIA 8-250", "PSK63G", "JT9I", "THOR", "A", "ZZZ"})
        EXPECT_EQ(modeOfSubmode(upperCased(other)), std::nullopt) << other;
}

}  // namespace
}  // namespace logweave
