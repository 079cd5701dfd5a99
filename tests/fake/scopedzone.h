// The time zone (TZ) set for one test, the previous one put back afterwards.
#pragma once

#include "fake/scopedvariable.h"

#include <ctime>
#include <optional>

class ScopedZone
{
public:
    explicit ScopedZone(const char* zone) : variable_(std::in_place, "TZ", zone) { tzset(); }
    ~ScopedZone()
    {
        // The old value first, then the library reads it again.
        variable_.reset();
        tzset();
    }
    ScopedZone(const ScopedZone&) = delete;
    ScopedZone& operator=(const ScopedZone&) = delete;

private:
    std::optional<ScopedVariable> variable_;
};
