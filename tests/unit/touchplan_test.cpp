// The sequence of times and the attribute masks that a touch run applies file by file.
#include "core/touchplan.h"

#include "core/datetime.h"
#include "core/presets.h"
#include "core/stamps.h"

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

// A clock read carries milliseconds that the user never sees: stamps get whole seconds, and so does every step.
TEST(SequenceClock, StampsHaveWholeSeconds)
{
    const double may6th2001 = 37017.0;
    const double shown = (13 * 3600 + 14 * 60 + 15) / 86400.0;
    SequenceClock clock{may6th2001, may6th2001 + shown + 0.017 / 86400.0, 10};
    EXPECT_EQ(clock.stampFor(0), LocalToStamp(may6th2001 + shown));
    clock.advance();
    EXPECT_EQ(clock.stampFor(0), LocalToStamp(may6th2001 + shown + 10 / 86400.0));

    const SequenceClock ownDate{kNoDateTime, shown + 0.999 / 86400.0, 0};
    const FileTime own = LocalToStamp(may6th2001 - 3 + 0.5);
    EXPECT_EQ(ownDate.stampFor(own), LocalToStamp(may6th2001 - 3 + shown));
}

TEST(AttributeMasks, KeepAndAdd)
{
    AttributeMasks masks;
    EXPECT_FALSE(masks.changes());
    masks.removeBit(kAttrArchive);
    masks.addBit(kAttrReadOnly);
    EXPECT_TRUE(masks.changes());
    TouchedFile file(kAttrArchive | kAttrHidden, 0, 0, "/f");
    EXPECT_EQ(file.SetNewAttrs(masks.keep, masks.add), "  HR ");
}

// Each stamp takes its source as the file was listed: from the clock (a part not given is the file's own), from the
// other stamp (both so: a swap), or from nowhere here (a folder's partner is the caller's business).
TEST(SetNewStamps, EachStampFromItsSource)
{
    const double may6th2001 = 37017.0;
    const double quarterPast = 0.25 + 15.0 / 1440.0;
    const FileTime modified = LocalToStamp(may6th2001 + 0.5);
    const FileTime created = LocalToStamp(may6th2001 - 10 + 0.75);
    const SequenceClock clock{kNoDateTime, quarterPast, 0};

    TouchedFile swapped(0, modified, created, "/f");
    setNewStamps(swapped, kSourceOtherStamp, kSourceOtherStamp, clock);
    EXPECT_EQ(swapped.NewModified, created);
    EXPECT_EQ(swapped.NewCreated, modified);

    TouchedFile clocked(0, modified, created, "/f");
    setNewStamps(clocked, kSourceClock, kSourceClock, clock);
    EXPECT_EQ(clocked.NewModified, LocalToStamp(may6th2001 + quarterPast));
    EXPECT_EQ(clocked.NewCreated, LocalToStamp(may6th2001 - 10 + quarterPast));

    TouchedFile untouched(0, modified, created, "/f");
    setNewStamps(untouched, kSourceNone, kSourceFolder, clock);
    EXPECT_EQ(untouched.NewModified, NoStamp);
    EXPECT_EQ(untouched.NewCreated, NoStamp);
}

} // namespace
