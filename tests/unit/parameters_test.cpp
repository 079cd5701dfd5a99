// The command line handed to Stampkeep: it must parse back into the same choices.
#include "console/parameters.h"

#include "core/datetimeformats.h"
#include "core/presets.h"
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
        formats = BuildDateTimeFormats();
    }

    TTouchSettings parse(const std::vector<std::string>& arguments)
    {
        TTouchSettings settings{};
        InitTouchSettings(settings);
        std::ostringstream console;
        EXPECT_TRUE(
            ParseCommandLine(settings, arguments, IniFile("/nowhere/stampkeep.ini"), formats, true, nullptr, console))
            << console.str();
        return settings;
    }

    FakePlatform platform;
    DateTimeFormats formats;
};

// Each specification and switch is an argument of its own, byte for byte: a name holding `"` or a blank, and a time
// with its AM/PM marker, arrive whole, so Stampkeep reads the same record; the names come after `--`.
TEST_F(ParametersTest, EveryArgumentArrivesWhole)
{
    platform.addEntry("/work/q\"uote.txt", 0, 1, 1);
    const TTouchSettings settings =
        parse({"a b.txt", "q\"uote.txt", "/A-", "/h+", "/MS", "/CM", "/D:5/6/2001", "/T:10:00:00 AM", "/ZS", "/S:30"});
    const std::vector<std::string> parameters = BuildParameters(settings, {"a b.txt", "q\"uote.txt"}, formats);
    EXPECT_EQ(parameters, (std::vector<std::string>{"/T:10:00:00 AM", "/D:5/6/2001", "/ZS", "/MS", "/CM", "/S:30",
                                                    "/H+", "/A-", "--", "a b.txt", "q\"uote.txt"}));

    const TTouchSettings again = parse(parameters);
    EXPECT_EQ(again.FileSpecs.str(), settings.FileSpecs.str());
    EXPECT_EQ(again.SwitchTime, settings.SwitchTime);
    EXPECT_EQ(again.SwitchDate, settings.SwitchDate);
    EXPECT_EQ(again.HiddenChange, 1);
    EXPECT_EQ(again.CreatedSource, 2);
    EXPECT_EQ(again.Increment, 30);
}

TEST_F(ParametersTest, RecordedDateSourcesArrive)
{
    const TTouchSettings settings = parse({"c.txt", "/ME", "/CE"});
    const std::vector<std::string> parameters = BuildParameters(settings, {"c.txt"}, formats);
    EXPECT_EQ(parameters, (std::vector<std::string>{"/ME", "/CE", "--", "c.txt"}));
    const TTouchSettings again = parse(parameters);
    EXPECT_EQ(again.ModifiedSource, kSourceRecorded);
    EXPECT_EQ(again.CreatedSource, kSourceRecorded);
}

TEST_F(ParametersTest, APresetStandsAlone)
{
    TTouchSettings settings{};
    InitTouchSettings(settings);
    settings.PresetNo = 3;
    settings.ArchiveChange = 1;
    EXPECT_EQ(BuildParameters(settings, {"c.txt"}, formats), (std::vector<std::string>{"/3", "--", "c.txt"}));
    EXPECT_EQ(BuildParameters(settings, {}, formats), std::vector<std::string>{"/3"});
    // Subfolders are no choice of the preset: they travel beside it.
    EXPECT_EQ(BuildParameters(settings, {"c.txt"}, formats, {.subfolders = true}),
              (std::vector<std::string>{"/3", "/SF", "--", "c.txt"}));
}

} // namespace
