// The console tool's own touch: expand the specifications, work out each file's new stamps, touch and report.
#include "console/applynow.h"

#include "core/datetime.h"
#include "core/datetimeformats.h"
#include "core/inifile.h"
#include "core/presets.h"
#include "core/printable.h"
#include "core/touchplan.h"
#include "platform/interruption.h"

#include <cmath>

namespace {

double nowLocal()
{
    return StampToLocal(currentPlatform().now());
}

// The current local date and time with the seconds (and, with `minutes`, the minutes) set to zero.
double ZeroClock(bool minutes)
{
    CalendarTime now;
    double serial = nowLocal();
    if (!serialToCalendar(serial, now))
        return serial;
    now.second = now.millisecond = 0;
    if (minutes)
        now.minute = 0;
    calendarToSerial(now, serial);
    return serial;
}

// The date/time that a preset's clock chooses.
double presetClock(const PresetValues& preset)
{
    switch (preset.clock) {
    case kClockSystem:
        return nowLocal();
    case kClockZeroSeconds:
        return ZeroClock(false);
    case kClockZeroMinutes:
        return ZeroClock(true);
    default:
        return joinDateAndTime(preset.date, preset.time);
    }
}

SequenceClock startClock(const TTouchSettings& s)
{
    SequenceClock clock{};
    if (s.SwitchTime != kNoDateTime)
        clock.time = s.SwitchTime;
    else if (s.ZeroSeconds)
        clock.time = ZeroClock(false);
    else if (s.ZeroMinutes)
        clock.time = ZeroClock(true);
    else
        clock.time = nowLocal();
    clock.date = s.SwitchDate != kNoDateTime ? s.SwitchDate : nowLocal();
    if (s.KeepDate)
        clock.date = kNoDateTime;
    if (s.KeepTime)
        clock.time = kNoDateTime;
    clock.step = s.Increment;
    return clock;
}

// Whether the run computes from or shows what the listing left unread: the stored attributes and Created stamps.
// New attributes need neither, as they are worked out from the entry's own when it is touched.
bool needsStoredAttributes(const TTouchSettings& s)
{
    const bool createdKeepsAPart = s.CreatedSource == kSourceClock && (s.KeepDate || s.KeepTime);
    return s.ModifiedSource == kSourceOtherStamp || createdKeepsAPart || s.ReportLevel == 3;
}

void report(const DateTimeFormats& formats, const TskObj& entry, int result, int level, std::ostream& out)
{
    if (level == 1 || level == 2) {
        if (result != 0)
            out << "Error: " << printable(entry.FileName) << '\n';
        else if (level == 2)
            out << printable(entry.FileName) << '\n';
    } else if (level == 3) {
        out << printable(entry.FileName) << '\n'
            << (result == 0 ? entry.DetailLine(formats) : entry.StatusText) << "\n\n";
    }
}

} // namespace

void ReadPresetSettings(TTouchSettings& s, const IniFile& ini, const DateTimeFormats& formats, int n)
{
    const PresetValues preset = readPreset(formats, ini, n, nowLocal());
    s.ArchiveChange = attrChangeToRecord(preset.attrA);
    s.SystemChange = attrChangeToRecord(preset.attrS);
    s.HiddenChange = attrChangeToRecord(preset.attrH);
    s.ReadOnlyChange = attrChangeToRecord(preset.attrR);
    s.ModifiedSource = preset.mod;
    s.CreatedSource = preset.cre;
    const double clock = presetClock(preset);
    s.SwitchDate = std::floor(clock);
    s.SwitchTime = clock - std::floor(clock);
    s.KeepDate = !preset.useDate;
    s.KeepTime = !preset.useTime;
    s.Increment = (s.KeepDate || s.KeepTime) ? 0 : incrementSeconds(preset.seqNum, preset.seqUnit);
}

std::size_t ApplyNow(const TTouchSettings& settings, WorkList& list, const IniFile& settingsFile,
                     const DateTimeFormats& formats, std::ostream& out)
{
    TTouchSettings work = settings;
    list.finish();
    if (work.PresetNo > 0)
        ReadPresetSettings(work, settingsFile, formats, work.PresetNo);

    SequenceClock clock = startClock(work);
    const AttributeMasks masks = attributeMasks(attributeChanges(work));
    if (needsStoredAttributes(work))
        list.addStoredAttributes();
    const bool fromClock = work.ModifiedSource == kSourceClock || work.CreatedSource == kSourceClock;
    // Only the detailed report shows the stamps as the file system keeps them and the lines of each step.
    const TouchReport touchReport = work.ReportLevel == 3 ? TouchReport::Full : TouchReport::Outcome;
    std::size_t failed = 0;
    for (TskObj& entry : list.entries()) {
        // A signal ends the run between two entries, never inside one.
        if (interruptionSignal() != 0)
            break;
        setNewStamps(entry, work.ModifiedSource, work.CreatedSource, clock);
        if (fromClock && clock.step > 0)
            clock.advance();
        if (masks.changes())
            entry.SetNewAttrs(masks.keep, masks.add);
        const int result = entry.Touch(formats, touchReport);
        failed += result != 0;
        report(formats, entry, result, work.ReportLevel, out);
    }
    out << std::flush;
    return failed;
}
