// The command line handed to Stampkeep: it must parse back into the same choices.
#include "console/parameters.h"

#include "core/tfuncs2.h"
#include "fake/fakeplatform.h"

#include <gtest/gtest.h>

#include <sstream>

namespace {

class ParametersTest : public ::testing::Test
{
protected:
    ParametersTest()
    {
        platform.addEntry("/work/a b.txt", 0, 1, 1);
        platform.addEntry("/work/c.txt", 0, 1, 1);
        platform.workingDirectory = "/work";
    }

    TTouchSettings parse(const std::vector<std::string>& arguments)
    {
        TTouchSettings settings{};
        InitTouchSettings(settings);
        std::ostringstream console;
        EXPECT_TRUE(ParseCommandLine(settings, arguments, IniFile("/nowhere/stampkeep.ini"), true, nullptr, console))
            << console.str();
        return settings;
    }

    FakePlatform platform;
};

TEST_F(ParametersTest, SpecificationsAreQuotedAndSwitchesRebuilt)
{
    BuildDateTimeFormats();
    const TTouchSettings settings =
        parse({"a b.txt", "c.txt", "/A-", "/h+", "/MS", "/CM", "/D:5/6/2001", "/T:10:00:00 AM", "/ZS", "/S:30"});
    const std::string parameters = BuildParameters(settings, {"a b.txt", "c.txt"});
    EXPECT_EQ(parameters, "\"a b.txt\" \"c.txt\" \"\" /A- /H+ /MS /CM /D:5/6/2001 /T:\"10:00:00 AM\" /ZS /S:30");

    // The time with its AM/PM marker arrives as one argument, so Stampkeep reads the same record.
    const TTouchSettings again = parse(splitArguments(parameters));
    EXPECT_EQ(again.FileSpecs.str(), settings.FileSpecs.str());
    EXPECT_EQ(again.SwitchTime, settings.SwitchTime);
    EXPECT_EQ(again.SwitchDate, settings.SwitchDate);
    EXPECT_EQ(again.HiddenChange, 1);
    EXPECT_EQ(again.CreatedSource, 2);
    EXPECT_EQ(again.Increment, 30);
}

TEST_F(ParametersTest, APresetStandsAlone)
{
    TTouchSettings settings{};
    InitTouchSettings(settings);
    settings.PresetNo = 3;
    settings.ArchiveChange = 1;
    EXPECT_EQ(BuildParameters(settings, {"c.txt"}), "\"c.txt\" \"\" /3");
    EXPECT_EQ(BuildParameters(settings, {}), " /3");
}

TEST_F(ParametersTest, TwentyFourHourTimesNeedNoQuotes)
{
    platform.timeFormat = "HH:mm:ss";
    BuildDateTimeFormats();
    const TTouchSettings settings = parse({"/CS", "/T:13:14:15", "/XD"});
    EXPECT_EQ(BuildParameters(settings, {}), " /CS /T:13:14:15 /XD");
}

} // namespace
