// The game's one random source: a 32-bit linear congruential generator with a 15-bit
// output, the same on every platform and compiler, so that one seed replays one game.
#pragma once

#include <cstdint>

inline constexpr int RANDOM_MAX = 32767;

// Seeds the generator; run_game does this once, with the time in whole seconds.
void seed_random(std::uint32_t seed);

// The seed of today's village: the Unix time of 00:00:00 Japan Standard Time (UTC+9) of
// the day that unix_time falls on in Japan, so that everyone gets the same game on the
// same day there.
std::uint32_t daily_seed(std::int64_t unix_time);

// The next output, 0..32767.
int random_output();

// A random seat: the next output mod 10.
int random_seat();

// A percentage roll: the next output mod 100.
int percent_roll();
