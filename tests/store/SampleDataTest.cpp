// The sample data set: the shifts it yields for each interval, against a table written by hand.
#include "store/SampleData.h"

#include <gtest/gtest.h>

#include <vector>

using namespace store;

namespace {

using enum Weekday;

struct Expected {
    int employee;
    std::vector<Weekday> days;
    const char* hourly[2];
    const char* halfHour[2];
    const char* quarter[2];
};

// The resulting shifts for each interval, written out by hand.
const std::vector<Expected> expectedTable{
    {0, {Monday, Tuesday, Wednesday}, {"10:00:00 AM", "04:00:00 PM"}, {"09:00:00 AM", "12:00:00 PM"}, {"08:30:00 AM", "10:00:00 AM"}},
    {0, {Thursday, Friday}, {"12:00:00 PM", "04:00:00 PM"}, {"10:00:00 AM", "12:00:00 PM"}, {"09:00:00 AM", "10:00:00 AM"}},
    {1, {Monday, Tuesday}, {"12:00:00 PM", "05:00:00 PM"}, {"10:00:00 AM", "12:30:00 PM"}, {"09:00:00 AM", "10:15:00 AM"}},
    {1, {Wednesday, Thursday, Friday}, {"10:00:00 AM", "01:00:00 PM"}, {"09:00:00 AM", "10:30:00 AM"}, {"08:30:00 AM", "09:15:00 AM"}},
    {1, {Saturday}, {"02:00:00 PM", "04:00:00 PM"}, {"11:00:00 AM", "12:00:00 PM"}, {"09:30:00 AM", "10:00:00 AM"}},
    {2, {Monday, Tuesday, Wednesday, Thursday}, {"09:00:00 AM", "04:00:00 PM"}, {"08:30:00 AM", "12:00:00 PM"}, {"08:15:00 AM", "10:00:00 AM"}},
    {2, {Friday}, {"10:00:00 AM", "03:00:00 PM"}, {"09:00:00 AM", "11:30:00 AM"}, {"08:30:00 AM", "09:45:00 AM"}},
    {2, {Saturday, Sunday}, {"04:00:00 PM", "06:00:00 PM"}, {"12:00:00 PM", "01:00:00 PM"}, {"10:00:00 AM", "10:30:00 AM"}},
};

std::vector<SampleShift> expectedShifts(int step)
{
    std::vector<SampleShift> shifts;
    for (const Expected& row : expectedTable) {
        const char* const* times = step == 60 ? row.hourly : step == 30 ? row.halfHour : row.quarter;
        for (Weekday day : row.days)
            shifts.push_back({row.employee, day, times[0], times[1]});
    }
    return shifts;
}

}  // namespace

TEST(SampleData, PositionsGiveTheTableOfShiftsForEveryInterval)
{
    for (int step : {60, 30, 15}) {
        const auto actual = sampleShifts(step);
        const auto expected = expectedShifts(step);
        ASSERT_EQ(actual.size(), expected.size()) << step;
        for (std::size_t i = 0; i < expected.size(); ++i) {
            SCOPED_TRACE(testing::Message() << "step " << step << ", shift " << i);
            EXPECT_EQ(actual[i].employee, expected[i].employee);
            EXPECT_EQ(actual[i].weekday, expected[i].weekday);
            EXPECT_EQ(actual[i].timeIn, expected[i].timeIn);
            EXPECT_EQ(actual[i].timeOut, expected[i].timeOut);
        }
    }
}
