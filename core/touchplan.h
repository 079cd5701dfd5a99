// What a touch run works out once and applies to every file: the attribute masks and the sequence of times.
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
