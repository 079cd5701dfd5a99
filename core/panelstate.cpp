// The touch panel's state as the settings file, a preset and a start's switches give it.
#include "core/panelstate.h"

#include "core/commandline.h"
#include "core/touchplan.h"

namespace {

constexpr int PresetValues::*kAttrFields[] = {&PresetValues::attrA, &PresetValues::attrS, &PresetValues::attrH,
                                              &PresetValues::attrR};

std::optional<int> codeInSet(int code, int last)
{
    return code >= 0 && code <= last ? std::optional(code) : std::nullopt;
}

// A start's switches name the sources they set: 0 leaves the group, and no switch chooses a folder.
std::optional<int> namedSource(std::int32_t recordCode)
{
    return recordCode == kSourceNone || recordCode == kSourceFolder ? std::nullopt : codeInSet(recordCode, kSourceLast);
}

} // namespace

PanelState PanelState::fromSettings(const DateTimeFormats& formats, const IniFile& ini, double now)
{
    PanelState panel;
    panel.useDate = ini.readBool("Settings", "ChangeDate", true);
    panel.useTime = ini.readBool("Settings", "ChangeTime", true);
    panel.useSeq = ini.readBool("Settings", "Sequential", false);
    panel.seqNum = ini.readInteger("Settings", "SeqNumber", 0);
    panel.seqUnit = ini.readInteger("Settings", "SeqUnit", 0);
    panel.date = readDate(formats, ini, "Settings", "ClockDate", now);
    panel.time = readTime(formats, ini, "Settings", "ClockTime", now);
    return panel;
}

void PanelState::writeSettings(const DateTimeFormats& formats, IniFile& ini) const
{
    const PresetValues values = toPreset();
    ini.writeBool("Settings", "ChangeDate", values.useDate);
    ini.writeBool("Settings", "ChangeTime", values.useTime);
    ini.writeBool("Settings", "Sequential", values.useSeq);
    ini.writeInteger("Settings", "SeqNumber", values.seqNum);
    ini.writeInteger("Settings", "SeqUnit", values.seqUnit);
    writeDate(formats, ini, "Settings", "ClockDate", values.date);
    writeTime(formats, ini, "Settings", "ClockTime", values.time);
}

PanelState PanelState::fromPreset(const PresetValues& preset, double now)
{
    PanelState panel;
    const bool fromClock =
        preset.clock == kClockSystem || preset.clock == kClockZeroSeconds || preset.clock == kClockZeroMinutes;
    panel.date = fromClock ? now : preset.date;
    panel.time = fromClock ? now : preset.time;
    panel.zeroSeconds = preset.clock == kClockZeroSeconds;
    panel.zeroMinutes = preset.clock == kClockZeroMinutes;
    panel.useDate = preset.useDate;
    panel.useTime = preset.useTime;
    panel.useSeq = preset.useSeq;
    panel.seqNum = preset.seqNum;
    panel.seqUnit = preset.seqUnit;
    panel.mod = codeInSet(preset.mod, kSourceLast);
    panel.cre = codeInSet(preset.cre, kSourceLast);
    for (std::size_t i = 0; i < panel.attrs.size(); ++i)
        panel.attrs[i] = codeInSet(preset.*kAttrFields[i], kAttrAdd);
    return panel;
}

PanelState PanelState::fromSwitches(const TTouchSettings& record)
{
    PanelState panel;
    panel.useDate = record.KeepDate == 0;
    panel.useTime = record.KeepTime == 0;
    panel.useSeq = record.Increment != 0;
    if (record.Increment > 0) {
        const IncrementEntry entry = incrementEntry(record.Increment);
        panel.seqNum = entry.seqIndex;
        panel.seqUnit = entry.unitIndex;
    }
    if (record.SwitchDate > kNoDateTime)
        panel.date = record.SwitchDate;
    if (record.SwitchTime > kNoDateTime)
        panel.time = record.SwitchTime;
    panel.zeroSeconds = record.ZeroSeconds != 0;
    panel.zeroMinutes = record.ZeroMinutes != 0;
    panel.mod = namedSource(record.ModifiedSource);
    panel.cre = namedSource(record.CreatedSource);
    const std::array<std::int32_t, 4> changes = attributeChanges(record);
    for (std::size_t i = 0; i < panel.attrs.size(); ++i) {
        if (changes[i] == -1)
            panel.attrs[i] = kAttrRemove;
        else if (changes[i] == 1)
            panel.attrs[i] = kAttrAdd;
    }
    return panel;
}

PresetValues PanelState::toPreset() const
{
    PresetValues values;
    values.date = date.value_or(0);
    values.time = time.value_or(0);
    values.useDate = useDate.value_or(values.useDate);
    values.useTime = useTime.value_or(values.useTime);
    values.useSeq = useSeq.value_or(values.useSeq);
    values.seqNum = seqNum.value_or(values.seqNum);
    values.seqUnit = seqUnit.value_or(values.seqUnit);
    values.clock = kClockStored;
    values.mod = mod.value_or(kSourceNone);
    values.cre = cre.value_or(kSourceNone);
    for (std::size_t i = 0; i < attrs.size(); ++i)
        values.*kAttrFields[i] = attrs[i].value_or(kAttrUnchanged);
    return values;
}
