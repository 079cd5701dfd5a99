// A file's recorded date, behind the reader that the programs install at start.
#include "core/recordeddate.h"

#include "fake/fakerecordeddate.h"

#include <gtest/gtest.h>

namespace {

// The installed reader answers for every file while it is installed; before and after, no file has a date.
TEST(RecordedDateTest, DatesComeFromTheInstalledReaderOnly)
{
    EXPECT_EQ(readRecordedDate(0, "/photos/a.jpg"), std::nullopt);
    {
        FakeRecordedDateReader reader;
        reader.dates["/photos/a.jpg"] = 126336284551234567u;
        EXPECT_EQ(readRecordedDate(0, "/photos/a.jpg"), 126336284551234567u);
        EXPECT_EQ(readRecordedDate(0, "/photos/b.jpg"), std::nullopt);
    }
    EXPECT_EQ(readRecordedDate(0, "/photos/a.jpg"), std::nullopt);
}

} // namespace
