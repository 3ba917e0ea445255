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
    // Malformed UTF-8: overlong, a surrogate, past U+10FFFF, cut short.
    for (const char* bytes : {"\xC0\xAF", "\xED\xA0\x80", "\xF4\x90\x80\x80", "abc\xE2\x82"})
        EXPECT_FALSE(isValidUtf8(bytes)) << bytes;
    EXPECT_TRUE(isValidUtf8("\xF0\x9F\x93\xBB"));
}

}  // namespace
}  // namespace logweave
