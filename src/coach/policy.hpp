// How the wolves choose when a program plays them: at the attack screen the seat to attack,
// at a vote screen the seat the voting wolf votes for, and under the rules with lies the
// answers of the morning screen. Each policy reads only what the screens showed (the
// wolves, who lives, the published claims), and draws from a random source of its own,
// never the game's. A choice is made directly, as the keys would make it: the cursor put
// on the seat, then the key (z, or the morning's s m b w).
#pragma once

#include <cstdint>

#include "ai/sight.hpp"
#include "model/game.hpp"

inline constexpr int POLICY_RANDOM = 0;     // a random living seat that is not a wolf
inline constexpr int POLICY_HEURISTIC = 1;  // the claimed seer, else the claimed medium, ...
inline constexpr int POLICY_COACH = 2;      // the choice the coach gives the best odds
// The naive lie: the lower wolf claims to be the seer on the first morning and every
// morning calls black a random living seat that is not a wolf and has no claim; otherwise
// as the heuristic.
inline constexpr int POLICY_BLUFF = 3;

// A random source for a policy or the coach: 64 bits of state, SplitMix64.
struct Dice {
    std::uint64_t state;
};

// The next 64 random bits.
std::uint64_t roll_dice(Dice& dice);

// A whole number in [0, n), n > 0.
int roll_below(Dice& dice, int n);

// The seat a policy (POLICY_RANDOM or POLICY_HEURISTIC) chooses on the screen the game
// shows (an attack or a vote).
int policy_choice(const Game& game, int policy, Dice& dice);

// What a policy answers on the morning screen (under the rules with lies): the seat to put
// the cursor on (NONE: where it is) and the key. The heuristic and the random policy never
// claim; a wolf that has claimed all the same (in the coach's rollouts, after the player's
// lie) answers as the naive lie does: as the seer, black on a random living seat that is
// not a wolf and has no claim; as the medium, the opposite of the truth.
struct Answer {
    int seat;
    int key;
};
Answer policy_answer(const Game& game, int policy, Dice& dice);

// Puts the cursor on the seat and confirms it (searches drawn as `search` says).
void choose(Game& game, int seat, int search = SEARCH_EXACT);

// Puts the cursor on the seat (NONE: leaves it) and types the key.
void answer(Game& game, const Answer& answer, int search = SEARCH_EXACT);

// Plays the game to its end: the policy chooses, every other screen is led on from. A game
// no key could have brought about (undecided past day 9, or no seat to choose) is left
// undecided.
void play_out(Game& game, int policy, Dice& dice, int search = SEARCH_EXACT);
