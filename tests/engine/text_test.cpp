#include "logweave/text.h"

#include <gtest/gtest.h>

namespace logweave {
namespace {

TEST(DisplayText, KeepsValidUtf8AndReadsOtherBytesAsWindows1252)
{
    EXPECT_EQ(displayText("Umeå"), "Umeå");
    EXPECT_EQ(displayText("J\xF6rg"), "Jörg");
    EXPECT_EQ(displayText("\x80 \x9F"), "€ Ÿ");
    // The five bytes Windows-1252 leaves unassigned become C1 controls, one character each.
    EXPECT_EQ(displayText("\x81\x8D\x8F\x90\x9D"), "\u0081\u008D\u008F\u0090\u009D");
}

TEST(DisplayText, RejectsMalformedUtf8)
{
    EXPECT_FALSE(isValidUtf8("\xC0\xAF"));          // overlong
    EXPECT_FALSE(isValidUtf8("\xED\xA0\x80"));      // surrogate
    EXPECT_FALSE(isValidUtf8("\xF4\x90\x80\x80"));  // past U+10FFFF
    EXPECT_FALSE(isValidUtf8("abc\xE2\x82"));       // cut short
    EXPECT_TRUE(isValidUtf8("\xF0\x9F\x93\xBB"));
}

TEST(ValueText, TrimsLayoutAfterAValueOnly)
{
    EXPECT_EQ(trimValueEnd("Q1ABC \t\r\n"), "Q1ABC");
    EXPECT_EQ(trimValueEnd("12 Main St\r\nTown\r\n"), "12 Main St\r\nTown");
    EXPECT_EQ(trimValueEnd(" \r\n"), "");
    EXPECT_EQ(trimSpaces("  a b \t "), "a b \t");
    EXPECT_EQ(signedCount(12), " 12");
}

}  // namespace
}  // namespace logweave
