#include <gtest/gtest.h>

#include <limits>

#include "core/Core.h"

namespace cotalys {
namespace {

TEST(ParisClockTest, FollowsTheEuropeanClockChanges) {
    const std::pair<std::int64_t, int> cases[] = {
        {1705312800, 3600},  // 2024-01-15 10:00 UTC
        {1721030400, 7200},  // 2024-07-15 08:00 UTC
        {1711846799, 3600},  // 2024-03-31 00:59:59 UTC, last second of winter time
        {1711846800, 7200},  // 2024-03-31 01:00 UTC
        {1729990799, 7200},  // 2024-10-27 00:59:59 UTC, last second of summer time
        {1729990800, 3600},  // 2024-10-27 01:00 UTC
        // Found by fuzzing: times beyond the calendar, which a query may carry, once threw.
        {std::numeric_limits<std::int64_t>::min(), 3600},
        {-62135596801, 3600},
        {253402300800, 3600},
        {std::numeric_limits<std::int64_t>::max(), 3600},
    };
    for (const auto& [unix, offset] : cases)
        EXPECT_EQ(ParisUtcOffset(unix), offset) << unix;
}

TEST(ParisClockTest, DatesASessionAtTheOpeningInParis) {
    EXPECT_EQ(ParisSessionTimestamp(EncodeDate(2024, 1, 15) + 0.7), 1705305600);  // 08:00 UTC
    EXPECT_EQ(ParisSessionTimestamp(EncodeDate(2024, 7, 15)), 1721026800);        // 07:00 UTC
}

}  // namespace
}  // namespace cotalys
