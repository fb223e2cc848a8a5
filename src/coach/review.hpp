// The review of a game, as chess servers review theirs: every choice the wolves made, the
// odds it had beside the best one's, and a mark where it lost much (an inaccuracy at 5
// points, a mistake at 10, a blunder at 20) and more than the odds' own uncertainty. The
// command line and the page both review through this: the rows, the marks, the accuracy,
// their words and their JSON are worked out here and nowhere else.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "coach/odds.hpp"
#include "model/texts.hpp"

inline constexpr int MARK_INACCURACY = 0;
inline constexpr int MARK_MISTAKE = 1;
inline constexpr int MARK_BLUNDER = 2;

// A choice the wolves made: what the screens had shown, and the seat chosen.
struct Decision {
    int key;  // the index, among its game's keys, of the key that made it
    PublicRecord record;
    int chosen;
};

// One game of a record: where it starts (the state of the random source its deal is
// drawn from: the record's seed for the first game, the state the previous game left for
// the next), its keys, its choices, and how it ended.
struct RecordGame {
    int number;  // from 1
    std::uint32_t seed;
    std::string keys;  // the keys of this game alone: its link replays it from its seed
    std::vector<Decision> decisions;
    int winner;    // WINNER_..., or NONE when the record ends first
    int day;       // the day on which it was decided, or the last one reached
    bool at_dawn;  // the wolves won by the night's attack, before the day's vote
};

// Steps through a record (its seed and keys, as the player played them) and calls
// each(const RecordGame&) for each of its games as it ends, or as the record does: games
// that have no key (a record ending in r) are none. Memory does not grow with the record:
// one game is kept at a time. The coach itself only ever sees each decision's record.
void each_game(std::uint32_t seed, const std::string& keys,
               const std::function<void(const RecordGame&)>& each);

// A decision reviewed: its odds, the choice made among them, and what it cost.
struct ReviewedChoice {
    Decision decision;
    Odds odds;    // count 0: the coach declined the record
    int chosen;   // the index of the seat chosen in the odds, or NONE
    int mark;     // MARK_..., or NONE
    double kept;  // how much of the best choice's chance the choice kept: 1 for the best
};

// Reviews a decision from its odds.
ReviewedChoice reviewed_choice(const Decision& decision, const Odds& odds);

// The odds of each decision of the game worked out (on the pool's threads), and reviewed.
std::vector<ReviewedChoice> review_game(const RecordGame& game, RolloutPool* pool);

// A game's accuracy in percent: the mean of what its choices kept; 100 without a choice.
int accuracy_of(const std::vector<ReviewedChoice>& choices);

// The words of a reviewed choice in a language: when it was made ("Night 1, the attack"),
// the choice made and the best with their odds ("Lily 38% (35-41%)"), best empty where
// the choice was the best, and the mark's word (empty for none). Declined: chosen says so.
struct ChoiceWords {
    std::string when;
    std::string chosen;
    std::string best;
    std::string mark;
};
ChoiceWords choice_words(const ReviewedChoice& choice, const Texts& texts);

// A whole game's review as text in a language: a heading, a line a choice, how it ended
// with its accuracy, the odds as a graph, and the address of the same review in the page.
std::string review_text(const RecordGame& game, const std::vector<ReviewedChoice>& choices,
                        const Texts& texts);

// The same as JSON lines, for tools: one a decision, then one for the game.
std::string review_json(const RecordGame& game, const std::vector<ReviewedChoice>& choices);

// A share 0..1 as JSON, with four decimals.
std::string json_share(double value);

// A reviewed choice's odds for the page, in its words:
//   {"when":T,"chosen":T,"best":T|null,"mark":"inaccuracy"|"mistake"|"blunder"|null,
//    "markWord":T,"win":P,"declined":B}
std::string choice_json(const ReviewedChoice& choice, const Texts& texts);

// The index in the odds of a seat, or -1.
int choice_index(const Odds& odds, int seat);

// The mark of choosing the seat: MARK_..., or -1 for none.
int mark_of(const Odds& odds, int seat);

// How much of the best choice's chance the choice kept: 1 for the best, 0.5 for a choice
// with half its chance. A game's accuracy is the mean of its choices'.
double kept_of(const Odds& odds, int seat);
