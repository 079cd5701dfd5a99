// Names escaped for report lines: whatever a name holds, its line shows it and nothing else.
#include "core/printable.h"

#include <gtest/gtest.h>

namespace {

// C0 and DEL as short or hexadecimal escapes, the backslash doubled; text of every script, and bytes that are not
// UTF-8, as they are.
TEST(Printable, ControlBytesAndBackslash)
{
    EXPECT_EQ(printable("plain.txt"), "plain.txt");
    EXPECT_EQ(printable("a\nb\tc\rd\x1b]0;x\x07\x7f\\"), "a\\nb\\tc\\rd\\x1b]0;x\\x07\\x7f\\\\");
    EXPECT_EQ(printable("f\xc3\xa9te \xe6\x97\xa5 \xff\xfe"), "f\xc3\xa9te \xe6\x97\xa5 \xff\xfe");
}

// C1 controls and the bidirectional overrides and isolates, as their code points; their neighbours (U+00A0, U+2029,
// U+202F, U+2065, U+206A) and cut sequences stay as they are.
TEST(Printable, C1ControlsAndBidirectionalOverrides)
{
    EXPECT_EQ(printable("a\xc2\x80"
                        "b\xc2\x85"
                        "c\xc2\x9b"
                        "d"),
              "a\\u0080b\\u0085c\\u009bd");
    EXPECT_EQ(printable("\xe2\x80\xaa\xe2\x80\xae"
                        "gpj.exe"),
              "\\u202a\\u202egpj.exe");
    EXPECT_EQ(printable("\xe2\x81\xa6x\xe2\x81\xa9"), "\\u2066x\\u2069");
    const std::string neighbours = "\xc2\xa0\xe2\x80\xa9\xe2\x80\xaf\xe2\x81\xa5\xe2\x81\xaa";
    EXPECT_EQ(printable(neighbours), neighbours);
    EXPECT_EQ(printable("end\xc2"), "end\xc2");
    EXPECT_EQ(printable("end\xe2\x80"), "end\xe2\x80");
}

} // namespace
