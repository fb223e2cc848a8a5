// Whole games played by a program: the wolves' choices by a policy, every other screen
// led on from. For measuring strategies (jinro --simulate) and the coach's strength.
#pragma once

#include <cstdint>

#include "model/game.hpp"

// One game dealt from the seed under the rules (RULES_...) and played to its end by the
// policy (POLICY_...); the
// policy's own random source is seeded from the game's seed, so the same seed and policy
// always give the same game.
struct Played {
    bool wolves_won;
    int last_day;  // the day on which the game was decided
};
Played simulate_game(std::uint32_t seed, int policy, int rules = RULES_STANDARD);
