// What a touch run works out once and applies to every file: the attribute masks, the sequence of times and where
// the new stamps come from.
#include "core/touchplan.h"

#include "core/commandline.h"
#include "core/presets.h"

#include <cmath>

void SequenceClock::advance()
{
    const double day = std::trunc(time);
    time += step / 86400.0;
    if (std::trunc(time) > day) {
        time -= 1.0;
        // A date of exactly 0 stands for "no date" in the console tool's working values.
        if (date != 0)
            date += 1.0;
    }
}

FileTime SequenceClock::stampFor(FileTime own) const
{
    // Users see and set whole seconds: the milliseconds of a clock read never reach a stamp.
    const double shownTime = wholeSeconds(time);
    if (date == kNoDateTime || time == kNoDateTime)
        return StampFromParts(date, shownTime, own);
    const double serial = joinDateAndTime(date, shownTime);
    if (serial != convertedSerial) {
        convertedStamp = LocalToStamp(serial);
        convertedSerial = serial;
    }
    return convertedStamp;
}

void setNewStamps(TouchedFile& file, int modifiedSource, int createdSource, const SequenceClock& clock)
{
    if (modifiedSource == kSourceClock)
        file.NewModified = clock.stampFor(file.CurModified);
    else if (modifiedSource == kSourceOtherStamp)
        file.NewModified = file.CurCreated;
    else if (modifiedSource == kSourceRecorded)
        file.ModifiedFromRecorded = true;
    if (createdSource == kSourceClock)
        file.NewCreated = clock.stampFor(file.CurCreated);
    else if (createdSource == kSourceOtherStamp)
        file.NewCreated = file.CurModified;
    else if (createdSource == kSourceRecorded)
        file.CreatedFromRecorded = true;
}

std::array<std::int32_t, 4> attributeChanges(const TTouchSettings& record)
{
    return {record.ArchiveChange, record.SystemChange, record.HiddenChange, record.ReadOnlyChange};
}

AttributeMasks attributeMasks(const std::array<std::int32_t, 4>& changes)
{
    static constexpr std::uint32_t kBits[] = {kAttrArchive, kAttrSystem, kAttrHidden, kAttrReadOnly};
    AttributeMasks masks;
    for (std::size_t i = 0; i < changes.size(); ++i) {
        if (changes[i] == -1)
            masks.removeBit(kBits[i]);
        else if (changes[i] == 1)
            masks.addBit(kBits[i]);
    }
    return masks;
}
