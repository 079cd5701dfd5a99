// The panel's state as the settings file, a preset and a start's switches give it.
#include "core/panelstate.h"

#include "core/commandline.h"
#include "core/datetimeformats.h"
#include "fake/fakeplatform.h"
#include "fake/tempdir.h"

#include <gtest/gtest.h>

namespace {

TEST(PanelStateTest, PresetClockAndCodesOutsideTheirSets)
{
    PresetValues preset;
    preset.date = 30000.0;
    preset.time = 0.5;
    preset.clock = kClockZeroMinutes;
    preset.mod = kSourceNone;
    preset.cre = 7;
    preset.attrA = kAttrAdd;
    preset.attrR = -1;
    PanelState panel = PanelState::fromPreset(preset, 40000.25);
    EXPECT_EQ(panel.date, 40000.25);
    EXPECT_EQ(panel.time, 40000.25);
    EXPECT_TRUE(panel.zeroMinutes);
    EXPECT_FALSE(panel.zeroSeconds);
    EXPECT_EQ(panel.mod, kSourceNone); // releases the group
    EXPECT_FALSE(panel.cre);           // leaves it
    EXPECT_EQ(panel.attrs[0], kAttrAdd);
    EXPECT_FALSE(panel.attrs[3]);

    preset.clock = kClockStored;
    panel = PanelState::fromPreset(preset, 40000.25);
    EXPECT_EQ(panel.date, 30000.0);
    EXPECT_EQ(panel.time, 0.5);
    EXPECT_FALSE(panel.zeroMinutes);
}

TEST(PanelStateTest, SwitchesLeaveWhatTheyDoNotName)
{
    TTouchSettings record;
    InitTouchSettings(record);
    record.KeepTime = 1;
    record.Increment = 120;
    record.SwitchTime = 0.75;
    record.ZeroSeconds = 1;
    record.CreatedSource = kSourceRecorded;
    record.ModifiedSource = kSourceFolder; // no switch names it
    record.HiddenChange = -1;
    record.ReadOnlyChange = 1;
    const PanelState panel = PanelState::fromSwitches(record);
    EXPECT_EQ(panel.useDate, true);
    EXPECT_EQ(panel.useTime, false);
    EXPECT_EQ(panel.useSeq, true);
    EXPECT_EQ(incrementSeconds(*panel.seqNum, *panel.seqUnit), 120);
    EXPECT_FALSE(panel.date);
    EXPECT_EQ(panel.time, 0.75);
    EXPECT_TRUE(panel.zeroSeconds);
    EXPECT_FALSE(panel.mod);
    EXPECT_EQ(panel.cre, kSourceRecorded);
    EXPECT_FALSE(panel.attrs[0]);
    EXPECT_EQ(panel.attrs[2], kAttrRemove);
    EXPECT_EQ(panel.attrs[3], kAttrAdd);

    // A new preset from such a panel leaves the unnamed groups unchanged.
    const PresetValues preset = panel.toPreset();
    EXPECT_EQ(preset.mod, kSourceNone);
    EXPECT_EQ(preset.attrR, kAttrAdd);
    EXPECT_EQ(preset.clock, kClockStored);

    // A hand-off with only /A+ names no source: both stamp groups stay as the panel has them.
    TTouchSettings attributesOnly;
    InitTouchSettings(attributesOnly);
    attributesOnly.ArchiveChange = 1;
    ASSERT_EQ(attributesOnly.ModifiedSource, kSourceNone);
    const PanelState archive = PanelState::fromSwitches(attributesOnly);
    EXPECT_FALSE(archive.mod);
    EXPECT_FALSE(archive.cre);
    EXPECT_EQ(archive.attrs[0], kAttrAdd);
}

TEST(PanelStateTest, SettingsRoundTrip)
{
    FakePlatform platform; // the locale formats the dates are written in
    const DateTimeFormats formats = BuildDateTimeFormats();
    TempDir folder;
    IniFile ini(folder / "stampkeep.ini");
    PanelState written = PanelState::fromSettings(formats, ini, 37017.5);
    EXPECT_EQ(written.useDate, true);
    EXPECT_EQ(written.useSeq, false);
    EXPECT_EQ(written.date, 37017.5);
    written.useTime = false;
    written.seqNum = 3;
    written.date = 36313.0;
    written.time = 0.25;
    written.writeSettings(formats, ini);
    const PanelState read = PanelState::fromSettings(formats, ini, 0);
    EXPECT_EQ(read.useTime, false);
    EXPECT_EQ(read.seqNum, 3);
    EXPECT_EQ(read.date, 36313.0);
    EXPECT_EQ(read.time, 0.25);
    EXPECT_FALSE(ini.readValue("Settings", "Mod")); // sources and attributes are not kept
}

} // namespace
