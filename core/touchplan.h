// What a touch run works out once and applies to every file: the attribute masks, the sequence of times and where
// the new stamps come from.
#pragma once

#include "core/datetime.h"
#include "core/touchedfile.h"

#include <array>
#include <cstdint>

struct TTouchSettings;

// The date and the time of day that the next file gets, advanced from file to file by `step` seconds.
struct SequenceClock
{
    double date;
    double time;
    int step;

    // Passing midnight moves the date to the next day and keeps the time of day.
    void advance();
    // The stamp of a file whose own stamp is `own`: the clock's date and time, a part not given taken from `own`.
    FileTime stampFor(FileTime own) const;

    // The last date and time converted, and its stamp: a run without steps gives every file the same one.
    mutable double convertedSerial = kNoDateTime;
    mutable FileTime convertedStamp = 0;
};

// Gives the file its pending stamps from their sources (StampSource codes): the clock's date and time, where a part
// not given is the file's own, or the file's other stamp, so that both taken from the other swap them. Other codes
// leave the stamp alone.
void setNewStamps(TouchedFile& file, int modifiedSource, int createdSource, const SequenceClock& clock);

// The record's attribute changes (+1 add, -1 remove, 0 leave) of archive, system, hidden and read-only, in that order.
std::array<std::int32_t, 4> attributeChanges(const TTouchSettings& record);
// The masks that make those changes.
AttributeMasks attributeMasks(const std::array<std::int32_t, 4>& changes);
