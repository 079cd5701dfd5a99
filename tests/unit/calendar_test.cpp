// Leap years and month lengths of the Gregorian calendar.
#include "platform/calendar.h"

#include <gtest/gtest.h>

namespace {

TEST(Calendar, LeapYearsAndMonthLengths)
{
    EXPECT_TRUE(isLeapYear(2000));
    EXPECT_TRUE(isLeapYear(2024));
    EXPECT_FALSE(isLeapYear(1900));
    EXPECT_FALSE(isLeapYear(2023));

    EXPECT_EQ(daysInMonth(2000, 2), 29);
    EXPECT_EQ(daysInMonth(1900, 2), 28);
    EXPECT_EQ(daysInMonth(2023, 1), 31);
    EXPECT_EQ(daysInMonth(2023, 4), 30);
    EXPECT_EQ(daysInMonth(2023, 12), 31);
    int year = 0;
    for (int month = 1; month <= 12; ++month)
        year += daysInMonth(2023, month);
    EXPECT_EQ(year, 365);
}

} // namespace
