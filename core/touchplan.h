// What a touch run works out once and applies to every file: the attribute masks, the sequence of times and where
// the new stamps come from.
#pragma once

#include "core/skobju.h"

#include <cstdint>

// Attributes to keep and to add: NewAttrs = add OR (keep AND current).
struct AttributeMasks
{
    std::uint32_t keep = kNoAttrs;
    std::uint32_t add = 0;

    void removeBit(std::uint32_t bit) { keep &= ~bit; }
    void addBit(std::uint32_t bit) { add |= bit; }
    bool changes() const { return keep != kNoAttrs || add != 0; }
};

// The date and the time of day that the next file gets, advanced from file to file by `step` seconds.
struct SequenceClock
{
    double date;
    double time;
    int step;

    // Passing midnight moves the date to the next day and keeps the time of day.
    void advance();
};

// Gives the file its pending stamps from their sources (StampSource codes): the clock's date and time, where a part
// not given is the file's own, or the file's other stamp, so that both taken from the other swap them. Other codes
// leave the stamp alone.
void setNewStamps(TskObj& file, int modifiedSource, int createdSource, const SequenceClock& clock);
