// The console tool's own touch on the in-memory platform: the clock it starts from.
#include "console/applynow.h"

#include "core/datetimeformats.h"
#include "core/inifile.h"
#include "core/touchedfile.h"
#include "fake/fakeplatform.h"
#include "fake/tempdir.h"

#include <gtest/gtest.h>

#include <sstream>

namespace {

double may6th2001At(int hour, int minute, int second)
{
    return 37017.0 + (hour * 3600 + minute * 60 + second) / 86400.0;
}

// At 13:14:15, zeroing the seconds keeps the minute and zeroing the minutes zeroes the seconds too, from a switch as
// from a preset's clock of the same name.
TEST(ApplyNow, ZeroingClocksStartFromTheCurrentTime)
{
    // Named by full path outside the working folder: the in-memory platform knows entries by full path only.
    FakePlatform platform;
    platform.workingDirectory = "/elsewhere";
    platform.addEntry("/w/a.txt", 0, 1, 1);
    platform.currentTime = LocalToStamp(may6th2001At(13, 14, 15));
    const DateTimeFormats formats = BuildDateTimeFormats();
    const TempDir folder;
    const IniFile ini(folder.makeFile("stampkeep.ini",
                                      "[Preset1]\nEnabled=1\nClock=1\nMod=1\n[Preset2]\nEnabled=1\nClock=2\nMod=1\n"));

    const std::pair<std::vector<std::string>, double> runs[] = {
        {{"/w/a.txt", "/MS", "/ZS"}, may6th2001At(13, 14, 0)},
        {{"/w/a.txt", "/MS", "/ZM"}, may6th2001At(13, 0, 0)},
        {{"/w/a.txt", "/1"}, may6th2001At(13, 14, 0)},
        {{"/w/a.txt", "/2"}, may6th2001At(13, 0, 0)},
    };
    for (const auto& [arguments, expected] : runs) {
        TTouchSettings settings{};
        InitTouchSettings(settings);
        std::ostringstream out;
        ASSERT_TRUE(ParseCommandLine(settings, arguments, ini, formats, true, nullptr, out)) << out.str();
        WorkList list;
        list.ExpandSpec("/w/a.txt");
        EXPECT_EQ(ApplyNow(settings, list, ini, formats, out), 0u) << out.str();
        EXPECT_EQ(platform.entries.at("/w/a.txt").modified, LocalToStamp(expected)) << arguments.back();
    }
}

} // namespace
