// The console tool's own touch: expand the specifications, work out each file's new stamps, touch and report.
#include "console/applynow.h"

#include "core/datetime.h"
#include "core/datetimeformats.h"
#include "core/inifile.h"
#include "core/presets.h"
#include "core/printable.h"
#include "core/touchplan.h"
#include "platform/interruption.h"

#include <algorithm>
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
bool needsStoredAttributes(const TTouchSettings& s, bool dryRun)
{
    const bool createdKeepsAPart = s.CreatedSource == kSourceClock && (s.KeepDate || s.KeepTime);
    return s.ModifiedSource == kSourceOtherStamp || createdKeepsAPart || s.ReportLevel == 3 || dryRun;
}

// Whether the run computes from or shows the stamps and attributes that the listing reads: a stamp that keeps a part
// or takes the other, the detailed report, a rehearsal, a preset (whose settings are read only when the run starts).
bool needsListedValues(const TTouchSettings& s, bool dryRun)
{
    return s.PresetNo > 0 || s.KeepDate || s.KeepTime || s.CreatedSource == kSourceOtherStamp ||
           needsStoredAttributes(s, dryRun);
}

// An error line is followed by its reasons at every level that shows it, as the detailed report gives them.
void report(const DateTimeFormats& formats, const TouchedFile& entry, int result, int level, bool dryRun,
            std::ostream& out)
{
    if (level == 1 || level == 2) {
        if (result != 0)
            out << "Error: " << printable(entry.FileName) << '\n' << entry.StatusText << '\n';
        else if (level == 2)
            out << printable(entry.FileName) << '\n';
        // A rehearsal is read for the values it would set.
        if (result == 0 && dryRun)
            out << entry.DetailLine(formats) << '\n';
    } else if (level == 3) {
        out << printable(entry.FileName) << '\n'
            << (result == 0 ? entry.DetailLine(formats) : entry.StatusText) << "\n\n";
    }
}

// A link met by a search is left alone: following it could reach a file the user never meant.
void reportLink(std::string_view path, int level, std::ostream& out)
{
    if (level >= 2)
        out << printable(std::string(path)) << "\nSymbolic link, not followed\n" << (level == 3 ? "\n" : "");
}

} // namespace

EntryDetail listingDetail(const TTouchSettings& settings, bool dryRun)
{
    return needsListedValues(settings, dryRun) ? EntryDetail::ModeAndTimes : EntryDetail::NameAndKind;
}

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
                     const DateTimeFormats& formats, std::ostream& out, bool dryRun)
{
    TTouchSettings work = settings;
    if (dryRun) {
        out << "Dry run: nothing is changed.\n";
        work.ReportLevel = std::max(work.ReportLevel, 2);
    }
    list.finish();
    if (work.PresetNo > 0)
        ReadPresetSettings(work, settingsFile, formats, work.PresetNo);

    SequenceClock clock = startClock(work);
    const AttributeMasks masks = attributeMasks(attributeChanges(work));
    const bool withStoredAttributes = needsStoredAttributes(work, dryRun);
    const bool fromClock = work.ModifiedSource == kSourceClock || work.CreatedSource == kSourceClock;
    // Only the detailed report shows the stamps as the file system keeps them and the lines of each step.
    const TouchReport touchReport = work.ReportLevel == 3 ? TouchReport::Full : TouchReport::Outcome;
    std::size_t failed = 0;
    for (std::size_t position = 0; position < list.size(); ++position) {
        // A signal ends the run between two entries, never inside one.
        if (interruptionSignal() != 0)
            break;
        if (list.isSymbolicLink(position)) {
            reportLink(list.path(position), work.ReportLevel, out);
            continue;
        }
        TouchedFile entry = list.entry(position, withStoredAttributes);
        setNewStamps(entry, work.ModifiedSource, work.CreatedSource, clock);
        if (fromClock && clock.step > 0)
            clock.advance();
        if (masks.changes())
            entry.SetNewAttrs(masks.keep, masks.add);
        const int result = dryRun ? entry.Preview(formats, touchReport) : entry.Touch(formats, touchReport);
        failed += result != 0;
        report(formats, entry, result, work.ReportLevel, dryRun, out);
    }
    out << std::flush;
    return failed;
}
