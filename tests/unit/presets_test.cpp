// Presets in the settings file: samples, saving, name clashes, typed values and the code sets.
#include "core/presets.h"

#include "core/datetimeformats.h"
#include "fake/fakeplatform.h"
#include "fake/tempdir.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

namespace {

std::string fileText(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

class PresetsTest : public ::testing::Test
{
protected:
    FakePlatform platform; // only for the locale formats: M/d/yyyy and h:mm:ss tt
    const DateTimeFormats formats = BuildDateTimeFormats();
    TempDir folder;
    IniFile ini{folder / "stampkeep.ini"};
};

TEST_F(PresetsTest, SamplesComeBackWhenNoPresetIsEnabled)
{
    EXPECT_FALSE(anyPresetEnabled(ini));
    writeSamplePresets(ini);
    EXPECT_TRUE(anyPresetEnabled(ini));
    EXPECT_EQ(ini.readString("Preset1", "Name", ""), "Sample: simple touch");
    EXPECT_EQ(ini.readInteger("Preset1", "Cre", 0), kSourceClock);
    EXPECT_EQ(ini.readInteger("Preset2", "AttrR", 0), kAttrRemove);
    EXPECT_EQ(ini.readInteger("Preset2", "Cre", 0), kSourceOtherStamp);
    EXPECT_FALSE(ini.readValue("Preset2", "Clock"));

    ini.eraseSection("Preset1");
    ini.writeString("Preset2", "Enabled", "true"); // not a number: not configured
    EXPECT_FALSE(anyPresetEnabled(ini));
}

TEST_F(PresetsTest, SaveWritesSeventeenKeysInOrder)
{
    ini.writeString("Preset3", "Stale", "x");
    PresetValues values;
    values.name = "Nightly";
    values.desc = "Zeit \xC3\xBC"
                  "berall";
    values.date = 37017.0;
    values.time = 0.5;
    values.clock = kClockStored;
    values.mod = kSourceFolder;
    values.attrR = kAttrAdd;
    savePreset(formats, ini, 3, values);

    EXPECT_EQ(fileText(ini.path()), "[Preset3]\nEnabled=1\nName=Nightly\nDesc=Zeit \xC3\xBC"
                                    "berall\n"
                                    "Date=5/6/2001\nTime=12:00:00 PM\nUseDate=1\nUseTime=1\nUseSeq=0\n"
                                    "SeqNum=0\nSeqUnit=0\nClock=-1\nMod=3\nCre=0\nAttrA=0\nAttrS=0\nAttrH=0\n"
                                    "AttrR=2\n");
    EXPECT_EQ(readDate(formats, ini, "Preset3", "Date", 0), 37017.0);
    EXPECT_EQ(readTime(formats, ini, "Preset3", "Time", 0), 0.5);
}

// A preset is saved whole or not at all: here the new one would take the file past its size limit only with its last
// keys, and the old preset stays as it was, every key of it.
TEST_F(PresetsTest, AFailedSaveLeavesTheOldPresetWhole)
{
    PresetValues old;
    old.name = "Old";
    old.seqNum = 7;
    savePreset(formats, ini, 3, old);
    const std::string filler(IniFile::kMaxValueLength, 'f');
    // Filled up to 3,000 bytes short of the limit: room for a few keys more, not for the longer name and description.
    ini.writeTogether([&] {
        for (std::size_t k = 0; k < (kMaxSettingsFileSize - 8'000) / (filler.size() + 8); ++k)
            ini.writeString("Filler", std::to_string(k), filler);
    });
    const std::size_t room = kMaxSettingsFileSize - fileText(ini.path()).size();
    ini.writeString("Filler", "Last", std::string(room - 3'000 - 6, 'l'));
    const std::string before = fileText(ini.path());

    PresetValues longer = old;
    longer.name = filler;
    longer.desc = filler;
    longer.seqNum = 8;
    EXPECT_THROW(savePreset(formats, ini, 3, longer), IniWriteError);
    EXPECT_EQ(fileText(ini.path()), before);
    EXPECT_EQ(readPreset(formats, ini, 3, 0).name, "Old");
    EXPECT_EQ(readPreset(formats, ini, 3, 0).seqNum, 7);
}

TEST_F(PresetsTest, ReadingGivesWhatWasSavedAndDefaultsForAbsentKeys)
{
    PresetValues saved;
    saved.name = "Photos";
    saved.desc = "Fix";
    saved.date = 37017.0;
    saved.time = 0.25;
    saved.useTime = false;
    saved.seqNum = 4;
    saved.clock = kClockZeroMinutes;
    saved.cre = kSourceOtherStamp;
    saved.attrH = kAttrRemove;
    savePreset(formats, ini, 2, saved);
    const PresetValues read = readPreset(formats, ini, 2, 1.5);
    EXPECT_EQ(read.name, "Photos");
    EXPECT_EQ(read.date, 37017.0);
    EXPECT_EQ(read.time, 0.25);
    EXPECT_FALSE(read.useTime);
    EXPECT_EQ(read.seqNum, 4);
    EXPECT_EQ(read.clock, kClockZeroMinutes);
    EXPECT_EQ(read.cre, kSourceOtherStamp);
    EXPECT_EQ(read.attrH, kAttrRemove);
    EXPECT_EQ(read.attrR, kAttrUnchanged);

    ini.writeString("Preset4", "Mod", "2");
    const PresetValues sparse = readPreset(formats, ini, 4, 1.5);
    EXPECT_FALSE(presetEnabled(ini, 4));
    EXPECT_EQ(sparse.mod, kSourceOtherStamp);
    EXPECT_EQ(sparse.date, 1.5);
    EXPECT_EQ(sparse.time, 1.5);
    EXPECT_TRUE(sparse.useDate);
    EXPECT_EQ(sparse.clock, kClockSystem);
}

TEST_F(PresetsTest, NameClashesIgnoreCaseAndTheOwnPreset)
{
    writeSamplePresets(ini);
    const auto clash = findNameClash(ini, 3, "SAMPLE: FIX COPY");
    ASSERT_TRUE(clash);
    EXPECT_EQ(clash->preset, 2);
    EXPECT_EQ(clash->storedName, "Sample: fix copy");
    EXPECT_FALSE(findNameClash(ini, 2, "SAMPLE: FIX COPY"));
    EXPECT_FALSE(findNameClash(ini, 3, "Sample"));
}

TEST_F(PresetsTest, DatesInAnotherLocaleFallBack)
{
    ini.writeString("Preset1", "Date", "06.02.1999");
    ini.writeString("Preset1", "Time", "");
    EXPECT_EQ(readDate(formats, ini, "Preset1", "Date", 42.0), 42.0);
    EXPECT_EQ(readTime(formats, ini, "Preset1", "Time", 0.25), 0.25);
    ini.writeString("Preset1", "Date", "6/2/1999");
    EXPECT_EQ(readDate(formats, ini, "Preset1", "Date", 42.0), 36313.0); // June 2nd under a month-first locale
}

TEST(PresetCodes, IncrementsAndAttributeChanges)
{
    EXPECT_EQ(incrementSeconds(0, 0), 1);
    EXPECT_EQ(incrementSeconds(3, 1), 600);
    EXPECT_EQ(incrementSeconds(5, 1), 1800);
    EXPECT_EQ(incrementSeconds(6, 0), 0);
    EXPECT_EQ(incrementSeconds(-1, 0), 0);
    EXPECT_EQ(incrementSeconds(2, 2), 0);
    for (const int seconds : {1, 2, 5, 10, 20, 30, 60, 120, 300, 600, 1200, 1800}) {
        const IncrementEntry entry = incrementEntry(seconds);
        EXPECT_EQ(incrementSeconds(entry.seqIndex, entry.unitIndex), seconds);
    }
    // Between two entries, the larger; past the last, the last.
    EXPECT_EQ(incrementSeconds(incrementEntry(7).seqIndex, incrementEntry(7).unitIndex), 10);
    EXPECT_EQ(incrementSeconds(incrementEntry(31).seqIndex, incrementEntry(31).unitIndex), 60);
    EXPECT_EQ(incrementSeconds(incrementEntry(3600).seqIndex, incrementEntry(3600).unitIndex), 1800);
    EXPECT_EQ(attrChangeToRecord(kAttrRemove), -1);
    EXPECT_EQ(attrChangeToRecord(kAttrAdd), 1);
    EXPECT_EQ(attrChangeToRecord(3), 0);
}

} // namespace
