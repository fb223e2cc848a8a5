#include "model/random.hpp"

void seed_random(Random& random, std::uint32_t seed) { random.state = seed; }

std::uint32_t daily_seed(std::int64_t unix_time) {
    // JST is UTC+9, with no summer time.
    constexpr std::int64_t JAPAN_OFFSET = 9 * std::int64_t{3600};
    constexpr std::int64_t DAY = 86400;
    const std::int64_t japan_time = unix_time + JAPAN_OFFSET;
    std::int64_t day = japan_time / DAY;
    if (japan_time % DAY < 0) day -= 1;  // whole days, rounded down before 1970 too
    // Seeds are Unix times in whole seconds taken modulo 2^32, as the clock gives them.
    return static_cast<std::uint32_t>(day * DAY - JAPAN_OFFSET);
}
