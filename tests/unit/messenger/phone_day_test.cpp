// Four hours of calls on the virtual clock, with the messenger going and coming back and the
// handset pulled out between and in calls: after every call the phone must be back at rest.
#include "phone_day.h"

#include <gtest/gtest.h>

namespace tarnix::test {
namespace {

TEST(PhoneDay, EveryCallOfFourHoursLeavesThePhoneAtRest)
{
    PhoneDay day;
    const int descriptors = PhoneDay::openDescriptors();
    // Each hour has its own mix: the messenger exits (hours 0 and 2), the link drops in a call
    // (1 and 3), the handset is put back between calls (1) and in a call (3).
    for (int hour = 0; hour < 4; ++hour) day.playHour();

    EXPECT_EQ(day.callsPlayed(), 60);
    std::string all;
    for (const std::string& line : day.leftovers()) all += "\n  " + line;
    EXPECT_TRUE(day.leftovers().empty()) << all;
    EXPECT_EQ(PhoneDay::openDescriptors(), descriptors);
}

}  // namespace
}  // namespace tarnix::test
