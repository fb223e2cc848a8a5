// The review of a game, as chess servers review theirs: every choice the wolves made, the
// odds it had beside the best one's, and a mark where it lost much (an inaccuracy at 5
// points, a mistake at 10, a blunder at 20) and more than the odds' own uncertainty.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "coach/odds.hpp"

inline constexpr int MARK_INACCURACY = 0;
inline constexpr int MARK_MISTAKE = 1;
inline constexpr int MARK_BLUNDER = 2;

// A choice the wolves made: what the screens had shown, and the seat chosen.
struct Decision {
    int game;  // the game of the record it was made in, from 1
    int key;   // the index of the key that made it
    PublicRecord record;
    int chosen;
};

// How a game of a record ended.
struct Ending {
    int game;
    int winner;  // WINNER_..., or -1 when the record ends first
    int day;
    bool at_dawn;  // the wolves won by the night's attack, before the day's vote
    int last_key;  // the index of the last key of the game
};

// Steps through a record (its seed and keys, as the player played them) and gives every
// decision and how each game ended. The seed deals the game being reviewed; the coach
// itself only ever sees each decision's public record.
void decisions_of(std::uint32_t seed, const std::string& keys, std::vector<Decision>& decisions,
                  std::vector<Ending>& endings);

// The index in the odds of a seat, or -1.
int choice_index(const Odds& odds, int seat);

// The mark of choosing the seat: MARK_..., or -1 for none.
int mark_of(const Odds& odds, int seat);

// How much of the best choice's chance the choice kept: 1 for the best, 0.5 for a choice
// with half its chance. A game's accuracy is the mean of its choices'.
double kept_of(const Odds& odds, int seat);
