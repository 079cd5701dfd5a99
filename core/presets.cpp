// The presets and panel settings in the settings file: section names, code sets, typed values, samples, saving.
#include "core/presets.h"

#include "core/tfuncs2.h"

#include <algorithm>
#include <array>
#include <cctype>

namespace {

bool equalNoCase(const std::string& a, const std::string& b)
{
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [](unsigned char x, unsigned char y) { return std::tolower(x) == std::tolower(y); });
}

} // namespace

std::string PresetSection(int n)
{
    return "Preset" + std::to_string(n);
}

int AttrChangeToRecord(int code)
{
    return code == kAttrRemove ? -1 : (code == kAttrAdd ? 1 : 0);
}

int IncrementSeconds(int seqIndex, int unitIndex)
{
    static constexpr std::array kSteps = {1, 2, 5, 10, 20, 30};
    if (seqIndex < 0 || seqIndex >= static_cast<int>(kSteps.size()))
        return 0;
    const int step = kSteps[static_cast<std::size_t>(seqIndex)];
    return unitIndex == 0 ? step : (unitIndex == 1 ? step * 60 : 0);
}

double ReadDate(const IniFile& ini, const std::string& section, const std::string& key, double fallback)
{
    double date = 0;
    return TextToDate(ini.ReadString(section, key, ""), date) ? date : fallback;
}

double ReadTime(const IniFile& ini, const std::string& section, const std::string& key, double fallback)
{
    double time = 0;
    return TextToTime(ini.ReadString(section, key, ""), time) ? time : fallback;
}

void WriteDate(IniFile& ini, const std::string& section, const std::string& key, double serial)
{
    ini.WriteString(section, key, DateToText(serial));
}

void WriteTime(IniFile& ini, const std::string& section, const std::string& key, double serial)
{
    ini.WriteString(section, key, TimeToText(serial));
}

bool AnyPresetEnabled(const IniFile& ini)
{
    for (int n = 1; n <= kPresetCount; ++n)
        if (ini.ReadBool(PresetSection(n), "Enabled", false))
            return true;
    return false;
}

void WriteSamplePresets(IniFile& ini)
{
    ini.WriteString("Preset1", "Name", "Sample: simple touch");
    ini.WriteString("Preset1", "Desc", "Set Modified and Created from current date/time");
    ini.WriteInteger("Preset1", "Clock", kClockSystem);
    ini.WriteBool("Preset1", "Enabled", true);
    ini.WriteInteger("Preset1", "Mod", kSourceClock);
    ini.WriteInteger("Preset1", "Cre", kSourceClock);

    ini.WriteString("Preset2", "Name", "Sample: fix copy");
    ini.WriteString("Preset2", "Desc", "Set Created from Modified and remove read-only (useful after copy)");
    ini.WriteBool("Preset2", "Enabled", true);
    ini.WriteInteger("Preset2", "AttrR", kAttrRemove);
    ini.WriteInteger("Preset2", "Cre", kSourceOtherStamp);
}

std::optional<NameClash> FindNameClash(const IniFile& ini, int n, const std::string& name)
{
    for (int i = 1; i <= kPresetCount; ++i) {
        if (i == n)
            continue;
        const std::string stored = ini.ReadString(PresetSection(i), "Name", "");
        if (equalNoCase(stored, name))
            return NameClash{i, stored};
    }
    return std::nullopt;
}

void SavePreset(IniFile& ini, int n, const PresetValues& values)
{
    const std::string section = PresetSection(n);
    ini.EraseSection(section);
    ini.WriteBool(section, "Enabled", true);
    ini.WriteString(section, "Name", values.name);
    ini.WriteString(section, "Desc", values.desc);
    WriteDate(ini, section, "Date", values.date);
    WriteTime(ini, section, "Time", values.time);
    ini.WriteBool(section, "UseDate", values.useDate);
    ini.WriteBool(section, "UseTime", values.useTime);
    ini.WriteBool(section, "UseSeq", values.useSeq);
    ini.WriteInteger(section, "SeqNum", values.seqNum);
    ini.WriteInteger(section, "SeqUnit", values.seqUnit);
    ini.WriteInteger(section, "Clock", values.clock);
    ini.WriteInteger(section, "Mod", values.mod);
    ini.WriteInteger(section, "Cre", values.cre);
    ini.WriteInteger(section, "AttrA", values.attrA);
    ini.WriteInteger(section, "AttrS", values.attrS);
    ini.WriteInteger(section, "AttrH", values.attrH);
    ini.WriteInteger(section, "AttrR", values.attrR);
}
