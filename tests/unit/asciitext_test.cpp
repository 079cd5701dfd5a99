// Letter case of ASCII text.
#include "core/asciitext.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace {

// Bytes outside ASCII letters keep their value, in either direction.
TEST(AsciiText, FoldsOnlyAsciiLetters)
{
    EXPECT_EQ(asciiLowered("Hello, World 09 @[`{"), "hello, world 09 @[`{");
    EXPECT_EQ(asciiUppered("Hello, World 09 @[`{"), "HELLO, WORLD 09 @[`{");
    EXPECT_EQ(asciiLowered("\xC3\x89t\xC3\xA9"), "\xC3\x89t\xC3\xA9");
    EXPECT_EQ(asciiUppered("\xC3\xA9t\xC3\xA9"), "\xC3\xA9T\xC3\xA9");
    EXPECT_EQ(asciiLower('Z'), 'z');
    EXPECT_EQ(asciiUpper('a'), 'A');
}

TEST(AsciiText, ComparesWithoutRegardToCase)
{
    EXPECT_TRUE(equalNoCase("Preset One", "PRESET one"));
    EXPECT_FALSE(equalNoCase("Preset", "Preset "));
    EXPECT_FALSE(equalNoCase("\xC3\x89", "\xC3\xA9"));

    EXPECT_TRUE(startsWithNoCase("AM/PM", "am/"));
    EXPECT_FALSE(startsWithNoCase("am", "am/pm"));

    // Folded text in byte order: "_" before the folded letters, names beyond ASCII after every ASCII name.
    std::vector<std::string> names = {"\xC3\xA9t\xC3\xA9", "beta", "Alpha", "alpha2", "_x"};
    std::ranges::sort(names, lessNoCase);
    EXPECT_EQ(names, (std::vector<std::string>{"_x", "Alpha", "alpha2", "beta", "\xC3\xA9t\xC3\xA9"}));
    EXPECT_FALSE(lessNoCase("ABC", "abc"));
    EXPECT_FALSE(lessNoCase("abc", "ABC"));
}

TEST(AsciiText, ReplacesEveryOccurrenceKeepingTheRest)
{
    EXPECT_EQ(replaceAllNoCase("h:mm AMPM or ampm", "ampm", "tt"), "h:mm tt or tt");
    EXPECT_EQ(replaceAllNoCase("Hh:HH", "hh", "H"), "H:H");
    EXPECT_EQ(replaceAllNoCase("nothing here", "xy", "z"), "nothing here");
}

} // namespace
