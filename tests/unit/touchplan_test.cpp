// The sequence of times and the attribute masks that a touch run applies file by file.
#include "core/touchplan.h"

#include <gtest/gtest.h>

namespace {

TEST(SequenceClock, MidnightMovesTheDateAndKeepsTheTimeOfDay)
{
    SequenceClock clock{37017.0, (23 * 3600 + 59 * 60 + 30) / 86400.0, 60};
    clock.advance();
    EXPECT_EQ(clock.date, 37018.0);
    EXPECT_NEAR(clock.time * 86400.0, 30.0, 1e-6);
    clock.advance();
    EXPECT_EQ(clock.date, 37018.0);
    EXPECT_NEAR(clock.time * 86400.0, 90.0, 1e-6);

    // A time that carries its own day (the current moment) counts days the same way.
    SequenceClock now{37017.0, 37017.0 + 86399.0 / 86400.0, 1};
    now.advance();
    EXPECT_EQ(now.date, 37018.0);
    EXPECT_NEAR((now.time - 37017.0) * 86400.0, 0.0, 1e-6);

    SequenceClock noDate{0.0, 86399.5 / 86400.0, 1};
    noDate.advance();
    EXPECT_EQ(noDate.date, 0.0);
}

TEST(AttributeMasks, KeepAndAdd)
{
    AttributeMasks masks;
    EXPECT_FALSE(masks.changes());
    masks.removeBit(kAttrArchive);
    masks.addBit(kAttrReadOnly);
    EXPECT_TRUE(masks.changes());
    TskObj file(kAttrArchive | kAttrHidden, 0, 0, "/f");
    EXPECT_EQ(file.SetNewAttrs(masks.keep, masks.add), "  HR ");
}

} // namespace
