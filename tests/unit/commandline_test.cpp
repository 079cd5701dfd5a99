// The command-line parser, the record's copy and the argument splitting.
#include "core/commandline.h"

#include "core/datetimeformats.h"
#include "core/inifile.h"
#include "core/presets.h"
#include "fake/fakeplatform.h"
#include "fake/tempdir.h"
#include "platform/messagebox.h"

#include <gtest/gtest.h>

#include <cstring>
#include <sstream>

namespace {

class ParserTest : public ::testing::Test
{
protected:
    ParserTest()
    {
        platform.workingDirectory = "/work";
        platform.addEntry("/work/x.txt", kAttrArchive, 1, 1);
        platform.addEntry("/work/a.txt", kAttrArchive, 1, 1);
        formats = BuildDateTimeFormats();
        settings = TTouchSettings{};
        InitTouchSettings(settings);
    }

    bool parse(const std::vector<std::string>& arguments, bool consoleMode = true)
    {
        output.str({});
        specs.clear();
        return ParseCommandLine(settings, arguments, ini, formats, consoleMode, &specs, output);
    }

    FakePlatform platform;
    DateTimeFormats formats;
    TempDir folder;
    IniFile ini{folder / "stampkeep.ini"};
    TTouchSettings settings;
    std::vector<std::string> specs;
    std::ostringstream output;
};

TEST_F(ParserTest, NoArgumentsGiveTheDefaults)
{
    EXPECT_TRUE(parse({}));
    EXPECT_EQ(settings.ReportLevel, 1);
    EXPECT_EQ(settings.SwitchesGiven, 0);
    EXPECT_EQ(settings.SwitchTime, -1.0);
    EXPECT_EQ(settings.SwitchDate, -1.0);
    EXPECT_EQ(settings.FileSpecs.length, 0);
    EXPECT_EQ(output.str(), "");
}

TEST_F(ParserTest, SwitchLettersIgnoreCase)
{
    EXPECT_TRUE(parse({"/r3", "/a+", "-mc", "/cs", "x.txt"}));
    EXPECT_EQ(settings.ReportLevel, 3);
    EXPECT_EQ(settings.ArchiveChange, 1);
    EXPECT_EQ(settings.ModifiedSource, 2);
    EXPECT_EQ(settings.CreatedSource, 1);
    EXPECT_EQ(settings.SwitchesGiven, 1);
    EXPECT_EQ(settings.FileSpecs.str(), "x.txt\r\n");
    // A later switch for the same field wins.
    EXPECT_TRUE(parse({"/A+", "/A-", "/MS", "/MC"}));
    EXPECT_EQ(settings.ArchiveChange, -1);
    EXPECT_EQ(settings.ModifiedSource, 2);
}

// The recorded date is a source like the others: the later switch for a stamp wins, and without a stamp from the
// displayed date/time the date, time and step are dropped.
TEST_F(ParserTest, RecordedDateSwitches)
{
    EXPECT_TRUE(parse({"/MS", "/ME", "/ce", "/D:5/6/2001", "/S:60"}));
    EXPECT_EQ(settings.ModifiedSource, kSourceRecorded);
    EXPECT_EQ(settings.CreatedSource, kSourceRecorded);
    EXPECT_EQ(settings.SwitchDate, -1.0);
    EXPECT_EQ(settings.Increment, 0);
    EXPECT_TRUE(parse({"/ME", "/MS", "/D:5/6/2001"}));
    EXPECT_EQ(settings.ModifiedSource, kSourceClock);
    EXPECT_EQ(settings.SwitchDate, 37017.0);
}

TEST_F(ParserTest, IncrementLimits)
{
    EXPECT_TRUE(parse({"/MS", "/S:1800"}));
    EXPECT_EQ(settings.Increment, 1800);
    EXPECT_TRUE(parse({"/MS", "/s:$10"}));
    EXPECT_EQ(settings.Increment, 16);

    EXPECT_FALSE(parse({"/MS", "/S:1801"}));
    EXPECT_EQ(output.str(), "Sequential increment is limited to half an hour (1800 seconds)\n");
    EXPECT_EQ(settings.Increment, 0);

    // Every bad argument is reported, each naming the whole argument.
    EXPECT_FALSE(parse({"/S:-1", "-S:x", "/S:4294967296"}));
    EXPECT_EQ(output.str(), "\"/S:-1\" is not a valid switch\n\"-S:x\" is not a valid switch\n"
                            "\"/S:4294967296\" is not a valid switch\n");
}

TEST_F(ParserTest, BadSwitchesAndValues)
{
    EXPECT_FALSE(parse({"/9", "/0", "-QQ", "/T:25:00", "/D:13/45/2001", "-Q:1", "-"}));
    EXPECT_EQ(output.str(), "\"/9\" is not a valid switch\n\"/0\" is not a valid switch\n"
                            "\"-QQ\" is not a valid switch\n\"25:00\" is not a valid time: use 1:14:15 PM or 13:14:15\n"
                            "\"13/45/2001\" is not a valid date: use 5/6/2001 or 2001-05-06\n"
                            "\"-Q:1\" is not a valid switch\n");
}

// ISO dates and 24-hour times mean the same beside the locale's forms; other shapes of them are not taken.
TEST_F(ParserTest, IsoDatesAndTwentyFourHourTimes)
{
    EXPECT_TRUE(parse({"/MS", "/T:13:14", "/D:2001-05-06"}));
    EXPECT_NEAR(settings.SwitchTime, (13 * 3600 + 14 * 60) / 86400.0, 1e-9);
    EXPECT_EQ(settings.SwitchDate, 37017.0);
    EXPECT_TRUE(parse({"/MS", "/T:13:14:15"}));
    EXPECT_NEAR(settings.SwitchTime, (13 * 3600 + 14 * 60 + 15) / 86400.0, 1e-9);
    EXPECT_FALSE(parse({"/MS", "/D:2001-5-6", "/D:2001-13-01", "/T:24:00"}));
}

// Switches count wherever they stand before `--`; after it every argument is a specification. /SF is known before
// any specification is checked; /N belongs to the console tool alone.
TEST_F(ParserTest, EndOfSwitchesAndTheOptions)
{
    platform.addEntry("/work/-n", 0, 1, 1);
    CommandLineOptions options;
    SpecMatcher seenWithSubfolders = [&](const std::string&) { return SearchOutcome{options.subfolders}; };
    EXPECT_TRUE(ParseCommandLine(settings, {"x.txt", "/SF", "/A+", "/N", "--", "-n", "/A-"}, ini, formats, true, &specs,
                                 output, seenWithSubfolders, &options));
    EXPECT_EQ(specs, (std::vector<std::string>{"x.txt", "-n", "/A-"}));
    EXPECT_EQ(settings.ArchiveChange, 1);
    EXPECT_TRUE(options.subfolders);
    EXPECT_TRUE(options.dryRun);
    EXPECT_EQ(options.dryRunSwitch, "/N");

    MessageBoxRequest shown;
    setMessageBoxHandler([&](const MessageBoxRequest& box) {
        shown = box;
        return MessageResult::Ok;
    });
    EXPECT_FALSE(parse({"x.txt", "-n"}, false));
    setMessageBoxHandler(nullptr);
    EXPECT_EQ(shown.text, "\"-n\" is not a valid switch\r\n");
}

TEST_F(ParserTest, TimeAndDateSwitchesReadTheLocaleFormats)
{
    EXPECT_TRUE(parse({"/MS", "/T:1:14:15 PM", "/D:5/6/2001"}));
    EXPECT_NEAR(settings.SwitchTime, (13 * 3600 + 14 * 60 + 15) / 86400.0, 1e-9);
    EXPECT_EQ(settings.SwitchDate, 37017.0); // 2001-05-06
}

// The record is made consistent in a fixed order once any action switch was given.
TEST_F(ParserTest, ConsistencyRules)
{
    EXPECT_TRUE(parse({"/MS", "/S:60", "/XT", "/T:10:00:00 AM"}));
    EXPECT_EQ(settings.KeepTime, 1);
    EXPECT_EQ(settings.Increment, 0);
    EXPECT_EQ(settings.SwitchTime, -1.0);

    EXPECT_TRUE(parse({"/MS", "/ZS", "/XT"}));
    EXPECT_EQ(settings.ZeroSeconds, 0);

    EXPECT_TRUE(parse({"/MS", "/ZS", "/XD", "/D:5/6/2001"}));
    EXPECT_EQ(settings.ZeroSeconds, 1);
    EXPECT_EQ(settings.KeepDate, 1);
    EXPECT_EQ(settings.SwitchDate, -1.0);

    // Without a stamp taken from the date/time, every date/time field goes back to its default.
    EXPECT_TRUE(parse({"/A+", "/T:10:00:00 AM", "/S:5", "/ZM", "/XD"}));
    EXPECT_EQ(settings.SwitchTime, -1.0);
    EXPECT_EQ(settings.Increment, 0);
    EXPECT_EQ(settings.ZeroMinutes, 0);
    EXPECT_EQ(settings.KeepDate, 0);
    EXPECT_EQ(settings.ArchiveChange, 1);

    // Switches that are no action leave the record as parsed.
    EXPECT_TRUE(parse({"/ZS", "x.txt", "/S:5"}));
    EXPECT_EQ(settings.SwitchesGiven, 0);
    EXPECT_EQ(settings.ZeroSeconds, 1);
    EXPECT_EQ(settings.Increment, 5);
}

TEST_F(ParserTest, PresetSwitches)
{
    ini.writeBool("Preset2", "Enabled", true);
    ini.writeBool("Preset3", "Enabled", true);
    ini.writeInteger("Preset3", "Mod", 3);

    // A preset drops every switch before it, the report level included.
    EXPECT_TRUE(parse({"/R3", "/A+", "/2"}));
    EXPECT_EQ(settings.ReportLevel, 1);
    EXPECT_EQ(settings.ArchiveChange, 0);
    EXPECT_EQ(settings.PresetNo, 2);
    EXPECT_EQ(settings.SwitchesGiven, 1);
    EXPECT_EQ(settings.PresetNeedsFolder, 0);

    // ... and ignores every switch after it, bad ones included.
    EXPECT_TRUE(parse({"/2", "/R3", "/A+", "/QQ", "/S:9999"}));
    EXPECT_EQ(settings.ReportLevel, 1);
    EXPECT_EQ(settings.ArchiveChange, 0);
    EXPECT_EQ(output.str(), "");

    EXPECT_TRUE(parse({"/3"}));
    EXPECT_EQ(settings.PresetNeedsFolder, 1);
    // A second preset switch is processed again, and the folder need is that of the preset in effect.
    EXPECT_TRUE(parse({"/3", "/2"}));
    EXPECT_EQ(settings.PresetNo, 2);
    EXPECT_EQ(settings.PresetNeedsFolder, 0);

    EXPECT_FALSE(parse({"/4"}));
    EXPECT_EQ(output.str(), "Preset # 4 is not configured.\n");
}

// A `/` argument is a switch only when it has a switch's shape; other ones are absolute paths.
TEST_F(ParserTest, SlashArgumentsThatArePaths)
{
    platform.addEntry("/data/report.doc", 0, 1, 1);
    EXPECT_TRUE(parse({"/data/report.doc", "/MS", "/t:10:00:00 AM"}));
    EXPECT_EQ(settings.FileSpecs.str(), "/data/report.doc\r\n");
    EXPECT_EQ(settings.ModifiedSource, 1);

    EXPECT_FALSE(parse({"/abc"}));
    EXPECT_EQ(output.str(), "No files match \"/abc\"\n");
    // A lone dash fails without a message.
    EXPECT_FALSE(parse({"-"}));
    EXPECT_EQ(output.str(), "");
}

TEST_F(ParserTest, FileSpecificationsAreCutAt255Bytes)
{
    std::vector<std::string> arguments;
    std::string joined;
    for (int i = 0; i < 12; ++i) {
        const std::string name = "/work/" + std::string(20, static_cast<char>('a' + i)) + ".txt";
        platform.addEntry(name, 0, 1, 1);
        arguments.push_back(name);
        joined += name + "\r\n";
    }
    EXPECT_TRUE(parse(arguments));
    EXPECT_EQ(settings.FileSpecs.str(), joined.substr(0, 255));
    EXPECT_EQ(specs, arguments);
}

TEST_F(ParserTest, UnmatchedAndRefusedSpecifications)
{
    platform.setDrive("/mnt/share/", DriveType::Network, "//server/share");
    platform.setDrive("/media/cd/", DriveType::CdRom);
    platform.addEntry("/mnt/share/a.txt", 0, 1, 1);
    platform.addEntry("/media/cd/a.txt", 0, 1, 1);

    EXPECT_FALSE(parse({"nothing*.txt", "/mnt/share/a.txt", "/media/cd/a.txt", "x.txt"}));
    EXPECT_EQ(output.str(), "No files match \"nothing*.txt\"\n"
                            "Network drives not supported (//server/share, mapped to /mnt/share/)\n"
                            "CD-ROM drives not supported (/media/cd/)\n");
    EXPECT_EQ(settings.FileSpecs.str(), "x.txt\r\n");
}

// Window mode collects every message into one box without an owner, also when the parse succeeds.
TEST_F(ParserTest, WindowModeShowsOneBox)
{
    std::vector<MessageBoxRequest> boxes;
    setMessageBoxHandler([&](const MessageBoxRequest& box) {
        boxes.push_back(box);
        return MessageResult::Ok;
    });
    platform.setDrive("/media/cd/", DriveType::CdRom);
    platform.addEntry("/media/cd/a.txt", 0, 1, 1);

    EXPECT_TRUE(parse({"/media/cd/a.txt", "nothing.txt", "x.txt"}, false));
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].caption, "Stampkeep command-line error");
    EXPECT_EQ(boxes[0].text, "CD-ROM drives not supported (/media/cd/)\r\n");
    EXPECT_EQ(boxes[0].icon, MessageIcon::Error);
    EXPECT_FALSE(boxes[0].hasOwner);
    EXPECT_EQ(settings.FileSpecs.str(), "x.txt\r\n");

    EXPECT_FALSE(parse({"/9", "/S:2000"}, false));
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[1].text,
              "\"/9\" is not a valid switch\r\nSequential increment is limited to half an hour (1800 seconds)\r\n");
    EXPECT_EQ(output.str(), "");
    setMessageBoxHandler(nullptr);
}

TEST(SwitchHelp, ConsoleAndWindowTexts)
{
    std::ostringstream console;
    ShowSwitchHelp(true, console);
    const std::string text = console.str();
    EXPECT_EQ(text.rfind("Command-line switches for STKCLI:\n------------------------------------\n"
                         "  /R0..R3 - Reporting: 0=none, 1=errors only (default), 2=filenames, 3=details.\n",
                         0),
              0u);
    EXPECT_NE(text.find("  /MC, /CM - Set Modified from Created or Created from Modified.\n"
                        "  /ME, /CE - Set Modified or Created date/time from the date recorded in the file.\n"
                        "    The date a photo was taken or a video recorded (JPEG, TIFF, PNG, WebP, HEIC,\n"
                        "    AVIF, JPEG XL, raw; MP4, MOV, M4V, 3GP).\n\n"
                        "  /XT - Don't change the time portion of date/time.\n"),
              std::string::npos);
    EXPECT_NE(text.find("    Stampkeep and apply the switches or load the files.\n"), std::string::npos);
    EXPECT_NE(text.find("  /SF - Also match each file specification in every folder below its own.\n"
                        "  /N - Dry run: show what would change, and change nothing.\n"
                        "  -- - End of switches: every later argument is a file specification.\n\n"),
              std::string::npos);

    MessageBoxRequest shown;
    setMessageBoxHandler([&](const MessageBoxRequest& box) {
        shown = box;
        return MessageResult::Ok;
    });
    ShowSwitchHelp(false);
    setMessageBoxHandler(nullptr);
    EXPECT_EQ(shown.caption, "Stampkeep command-line switches");
    EXPECT_EQ(shown.icon, MessageIcon::Information);
    EXPECT_EQ(shown.text.find("Command-line switches for Stampkeep:\r\n"), 0u);
    EXPECT_EQ(shown.text.find("/R0..R3"), std::string::npos);
    EXPECT_EQ(shown.text.find("/N - Dry run"), std::string::npos);
    EXPECT_NE(shown.text.find("    file list loaded with the specified files.\r\n"), std::string::npos);
}

TEST(CopyTouchSettings, WritesFromThePresetToTheEndOfTheString)
{
    TTouchSettings source{};
    InitTouchSettings(source);
    source.AppWindow = 7;
    source.MainWindow = 8;
    source.ReportLevel = 3;
    source.PresetNo = 4;
    source.Increment = 60;
    source.FileSpecs.assign("a.txt\r\n");

    TTouchSettings target;
    std::memset(static_cast<void*>(&target), 0xAB, sizeof target);
    CopyTouchSettings(source, target);

    const auto* bytes = reinterpret_cast<const unsigned char*>(&target);
    EXPECT_EQ(target.AppWindow, 0xABABABABu);
    EXPECT_EQ(target.MainWindow, 0xABABABABu);
    EXPECT_EQ(target.ReportLevel, static_cast<std::int32_t>(0xABABABAB));
    EXPECT_EQ(target.PresetNo, 4);
    EXPECT_EQ(target.Increment, 60);
    EXPECT_EQ(target.FileSpecs.str(), "a.txt\r\n");
    EXPECT_EQ(bytes[17], 0xAB); // padding is never written
    EXPECT_EQ(bytes[44], 0xAB);
    EXPECT_EQ(bytes[74 + 7], 0xAB); // nor the bytes after the string
}

} // namespace
