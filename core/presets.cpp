// The presets and panel settings in the settings file: section names, code sets, typed values, samples, saving.
#include "core/presets.h"

#include "core/asciitext.h"

#include <algorithm>
#include <array>

namespace {

// The increment list; the unit list beside it says seconds or minutes.
constexpr std::array kSteps = {1, 2, 5, 10, 20, 30};

} // namespace

std::string presetSection(int n)
{
    return "Preset" + std::to_string(n);
}

int attrChangeToRecord(int code)
{
    return code == kAttrRemove ? -1 : (code == kAttrAdd ? 1 : 0);
}

int incrementSeconds(int seqIndex, int unitIndex)
{
    if (seqIndex < 0 || seqIndex >= static_cast<int>(kSteps.size()))
        return 0;
    const int step = kSteps[static_cast<std::size_t>(seqIndex)];
    return unitIndex == 0 ? step : (unitIndex == 1 ? step * 60 : 0);
}

IncrementEntry incrementEntry(int seconds)
{
    const bool minutes = seconds > kSteps.back();
    const int wanted = minutes ? std::max(seconds / 60, 1) : seconds;
    const auto entry = std::lower_bound(kSteps.begin(), kSteps.end() - 1, wanted);
    return {static_cast<int>(entry - kSteps.begin()), minutes ? 1 : 0};
}

double readDate(const DateTimeFormats& formats, const IniFile& ini, const std::string& section, const std::string& key,
                double fallback)
{
    double date = 0;
    return textToDate(formats, ini.readString(section, key, ""), date) ? date : fallback;
}

double readTime(const DateTimeFormats& formats, const IniFile& ini, const std::string& section, const std::string& key,
                double fallback)
{
    double time = 0;
    return textToTime(formats, ini.readString(section, key, ""), time) ? time : fallback;
}

void writeDate(const DateTimeFormats& formats, IniFile& ini, const std::string& section, const std::string& key,
               double serial)
{
    ini.writeString(section, key, dateToText(formats, serial));
}

void writeTime(const DateTimeFormats& formats, IniFile& ini, const std::string& section, const std::string& key,
               double serial)
{
    ini.writeString(section, key, timeToText(formats, serial));
}

bool presetEnabled(const IniFile& ini, int n)
{
    return ini.readBool(presetSection(n), "Enabled", false);
}

bool anyPresetEnabled(const IniFile& ini)
{
    for (int n = 1; n <= kPresetCount; ++n)
        if (presetEnabled(ini, n))
            return true;
    return false;
}

PresetValues readPreset(const DateTimeFormats& formats, const IniFile& ini, int n, double now)
{
    const std::string section = presetSection(n);
    PresetValues values;
    values.name = ini.readString(section, "Name", "");
    values.desc = ini.readString(section, "Desc", "");
    values.date = readDate(formats, ini, section, "Date", now);
    values.time = readTime(formats, ini, section, "Time", now);
    for (const auto& [key, field] : kPresetFlagKeys)
        values.*field = ini.readBool(section, key, values.*field);
    for (const auto& [key, field] : kPresetNumberKeys)
        values.*field = ini.readInteger(section, key, values.*field);
    return values;
}

void writeSamplePresets(IniFile& ini)
{
    ini.writeTogether([&ini] {
        ini.writeString("Preset1", "Name", "Sample: simple touch");
        ini.writeString("Preset1", "Desc", "Set Modified and Created from current date/time");
        ini.writeInteger("Preset1", "Clock", kClockSystem);
        ini.writeBool("Preset1", "Enabled", true);
        ini.writeInteger("Preset1", "Mod", kSourceClock);
        ini.writeInteger("Preset1", "Cre", kSourceClock);

        ini.writeString("Preset2", "Name", "Sample: fix copy");
        ini.writeString("Preset2", "Desc", "Set Created from Modified and remove read-only (useful after copy)");
        ini.writeBool("Preset2", "Enabled", true);
        ini.writeInteger("Preset2", "AttrR", kAttrRemove);
        ini.writeInteger("Preset2", "Cre", kSourceOtherStamp);
    });
}

std::optional<NameClash> findNameClash(const IniFile& ini, int n, const std::string& name)
{
    for (int i = 1; i <= kPresetCount; ++i) {
        if (i == n)
            continue;
        const std::string stored = ini.readString(presetSection(i), "Name", "");
        if (equalNoCase(stored, name))
            return NameClash{i, stored};
    }
    return std::nullopt;
}

void savePreset(const DateTimeFormats& formats, IniFile& ini, int n, const PresetValues& values)
{
    const std::string section = presetSection(n);
    ini.writeTogether([&] {
        ini.eraseSection(section);
        ini.writeBool(section, "Enabled", true);
        ini.writeString(section, "Name", values.name);
        ini.writeString(section, "Desc", values.desc);
        writeDate(formats, ini, section, "Date", values.date);
        writeTime(formats, ini, section, "Time", values.time);
        for (const auto& [key, field] : kPresetFlagKeys)
            ini.writeBool(section, key, values.*field);
        for (const auto& [key, field] : kPresetNumberKeys)
            ini.writeInteger(section, key, values.*field);
    });
}
