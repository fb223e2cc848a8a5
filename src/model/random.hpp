// The game's one random source: a 32-bit linear congruential generator with a 15-bit
// output, the same on every platform and compiler, so that one seed replays one game.
#pragma once

#include <cstdint>

inline constexpr int RANDOM_MAX = 32767;

// Seeds the generator; run_game does this once, with the time in whole seconds.
void seed_random(std::uint32_t seed);

// The next output, 0..32767.
int random_output();

// A random seat: the next output mod 10.
int random_seat();

// A percentage roll: the next output mod 100.
int percent_roll();
