#include "model/random.hpp"

#include "model/game.hpp"

namespace {
std::uint32_t random_state = 1;
}

void seed_random(std::uint32_t seed) { random_state = seed; }

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

int random_output() {
    random_state = random_state * 214013u + 2531011u;
    return static_cast<int>((random_state >> 16) & 0x7FFFu);
}

int random_seat() { return random_output() % SEAT_COUNT; }

int percent_roll() { return random_output() % 100; }
