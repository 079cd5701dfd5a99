// What a touch run works out once and applies to every file: the attribute masks and the sequence of times.
#include "core/touchplan.h"

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
