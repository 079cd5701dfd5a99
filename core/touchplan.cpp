// What a touch run works out once and applies to every file: the attribute masks, the sequence of times and where
// the new stamps come from.
#include "core/touchplan.h"

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

void setNewStamps(TskObj& file, int modifiedSource, int createdSource, const SequenceClock& clock)
{
    if (modifiedSource == kSourceClock)
        file.SetNewModifiedParts(clock.date, clock.time);
    else if (modifiedSource == kSourceOtherStamp)
        file.NewModified = file.CurCreated;
    if (createdSource == kSourceClock)
        file.SetNewCreatedParts(clock.date, clock.time);
    else if (createdSource == kSourceOtherStamp)
        file.NewCreated = file.CurModified;
}
