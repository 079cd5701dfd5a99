// The presets and panel settings in the settings file: section names, code sets, typed values, samples, saving.
#pragma once

#include "core/datetimeformats.h"
#include "core/inifile.h"

#include <optional>
#include <string>

constexpr int kPresetCount = 5;

// StampSource codes of the keys Mod and Cre.
constexpr int kSourceNone = 0;
constexpr int kSourceClock = 1;
constexpr int kSourceOtherStamp = 2;
constexpr int kSourceFolder = 3;
constexpr int kSourceRecorded = 4; // the date recorded in the file, such as a photo's date taken
constexpr int kSourceLast = kSourceRecorded;

// AttrChange codes of the keys AttrA, AttrS, AttrH, AttrR.
constexpr int kAttrUnchanged = 0;
constexpr int kAttrRemove = 1;
constexpr int kAttrAdd = 2;

// ClockSource codes of the key Clock; any value outside 0..2 means the stored date and time.
constexpr int kClockStored = -1;
constexpr int kClockSystem = 0;
constexpr int kClockZeroSeconds = 1;
constexpr int kClockZeroMinutes = 2;

std::string presetSection(int n);

// The record's attribute change (+1 add, -1 remove, 0 leave) for an AttrChange code.
int attrChangeToRecord(int code);

// The sequential step in seconds for the index of the lists 1, 2, 5, 10, 20, 30 and sec/min; 0 outside them.
int incrementSeconds(int seqIndex, int unitIndex);
// The entry of those lists for a step in seconds: the first not smaller, in seconds up to 30, else in minutes.
struct IncrementEntry
{
    int seqIndex;
    int unitIndex;
};
IncrementEntry incrementEntry(int seconds);

// Dates and times stored as text in the locale's formats; empty or unreadable text gives the fallback.
double readDate(const DateTimeFormats& formats, const IniFile& ini, const std::string& section, const std::string& key,
                double fallback);
double readTime(const DateTimeFormats& formats, const IniFile& ini, const std::string& section, const std::string& key,
                double fallback);
void writeDate(const DateTimeFormats& formats, IniFile& ini, const std::string& section, const std::string& key,
               double serial);
void writeTime(const DateTimeFormats& formats, IniFile& ini, const std::string& section, const std::string& key,
               double serial);

bool anyPresetEnabled(const IniFile& ini);
// The two samples written when no preset is configured.
void writeSamplePresets(IniFile& ini);

// One preset as the preset dialog stores it.
struct PresetValues
{
    std::string name;
    std::string desc;
    double date = 0;
    double time = 0;
    bool useDate = true;
    bool useTime = true;
    bool useSeq = false;
    int seqNum = 0;
    int seqUnit = 0;
    int clock = kClockSystem;
    int mod = kSourceNone;
    int cre = kSourceNone;
    int attrA = kAttrUnchanged;
    int attrS = kAttrUnchanged;
    int attrH = kAttrUnchanged;
    int attrR = kAttrUnchanged;
};

// The preset's yes/no and number keys with the fields that hold them, in the order a preset is written: reading and
// writing a preset name each key once.
struct PresetFlagKey
{
    const char* key;
    bool PresetValues::*field;
};
struct PresetNumberKey
{
    const char* key;
    int PresetValues::*field;
};
inline constexpr PresetFlagKey kPresetFlagKeys[] = {
    {"UseDate", &PresetValues::useDate}, {"UseTime", &PresetValues::useTime}, {"UseSeq", &PresetValues::useSeq}};
inline constexpr PresetNumberKey kPresetNumberKeys[] = {
    {"SeqNum", &PresetValues::seqNum}, {"SeqUnit", &PresetValues::seqUnit}, {"Clock", &PresetValues::clock},
    {"Mod", &PresetValues::mod},       {"Cre", &PresetValues::cre},         {"AttrA", &PresetValues::attrA},
    {"AttrS", &PresetValues::attrS},   {"AttrH", &PresetValues::attrH},     {"AttrR", &PresetValues::attrR}};

// Whether preset n is configured.
bool presetEnabled(const IniFile& ini, int n);
// Preset n as stored: an absent key gives the default above, an absent or unreadable date or time gives `now`.
PresetValues readPreset(const DateTimeFormats& formats, const IniFile& ini, int n, double now);

// Another preset that already carries the name (compared without regard to case), with its stored name.
struct NameClash
{
    int preset;
    std::string storedName;
};

std::optional<NameClash> findNameClash(const IniFile& ini, int n, const std::string& name);
// Erases preset n's section and writes all seventeen keys; stops with IniWriteError where the file refuses.
void savePreset(const DateTimeFormats& formats, IniFile& ini, int n, const PresetValues& values);
