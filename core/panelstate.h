// The touch panel as one value: what the settings file, a preset and a start's switches each ask it to show.
#pragma once

#include "core/presets.h"

#include <array>
#include <optional>

struct TTouchSettings;

// An empty field leaves that part of the panel as it is.
struct PanelState
{
    std::optional<bool> useDate;
    std::optional<bool> useTime;
    std::optional<bool> useSeq;
    std::optional<int> seqNum;  // index in the increment list
    std::optional<int> seqUnit; // 0 seconds, 1 minutes
    std::optional<double> date; // a serial; only its day counts
    std::optional<double> time; // a serial; only its time of day counts
    bool zeroSeconds = false;   // then the time shown loses its seconds
    bool zeroMinutes = false;   // then the time shown loses its minutes and seconds
    std::optional<int> mod;     // StampSource code; kSourceNone releases the group
    std::optional<int> cre;
    std::array<std::optional<int>, 4> attrs; // AttrChange codes of archive, system, hidden and read-only

    // The panel's keys of the settings file; sources and attributes are not kept there.
    static PanelState fromSettings(const DateTimeFormats& formats, const IniFile& ini, double now);
    void writeSettings(const DateTimeFormats& formats, IniFile& ini) const;
    // A preset's clock other than the stored date and time takes `now`; a code outside its set leaves its group.
    static PanelState fromPreset(const PresetValues& preset, double now);
    // The switches of a command line; what they do not name (a 0 in the record) stays as it is.
    static PanelState fromSwitches(const TTouchSettings& record);
    // What a new preset starts from: the panel with the date and time shown.
    PresetValues toPreset() const;
};
