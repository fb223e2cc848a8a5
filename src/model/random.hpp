// The game's random source: a 32-bit linear congruential generator with a 15-bit output,
// the same on every platform and compiler, so that one seed replays one game. It is a
// plain value inside the game: a copy of the game copies it, and a copy can be given a
// fresh one.
#pragma once

#include <cstdint>

inline constexpr int RANDOM_MAX = 32767;

struct Random {
    std::uint32_t state;
};

// Seeds the generator; a game is dealt from the time in whole seconds.
void seed_random(Random& random, std::uint32_t seed);

// The next output, 0..32767.
inline int random_output(Random& random) {
    random.state = random.state * 214013u + 2531011u;
    return static_cast<int>((random.state >> 16) & 0x7FFFu);
}

// The seed of today's village: the Unix time of 00:00:00 Japan Standard Time (UTC+9) of
// the day that unix_time falls on in Japan, so that everyone gets the same game on the
// same day there.
std::uint32_t daily_seed(std::int64_t unix_time);
