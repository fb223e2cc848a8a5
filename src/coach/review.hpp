// The review of a game, as chess servers review theirs: every choice the wolves made, the
// odds it had beside the best one's, a mark where it lost much (an inaccuracy at 5 points,
// a mistake at 10, a blunder at 20) beyond doubt, and what luck did between the choices.
// The command line and the page both review through this (and review_text.hpp, its words):
// the rows, the marks, the accuracy and the sums are worked out here and nowhere else.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "coach/forecast.hpp"
#include "coach/odds.hpp"

inline constexpr int MARK_INACCURACY = 0;
inline constexpr int MARK_MISTAKE = 1;
inline constexpr int MARK_BLUNDER = 2;

// A choice the wolves made: what the screens had shown, and the choice made (its code).
struct Decision {
    int key;  // the index, among its game's keys, of the key that made it (NONE: not kept)
    PublicRecord record;
    int chosen;
};

// The choice (its code) the key makes on the screen the game shows: a seat confirmed at an
// attack or a vote, an answer of the morning screen; NONE for a key that makes none.
int choice_made(const Game& game, std::uint8_t key);

// What the screens showed between two choices, each a stroke of luck or a consequence.
inline constexpr int EVENT_KILLED = 0;  // seat: the wolves' victim, found dead
inline constexpr int EVENT_GUARDED =
    1;                                 // seat: the one the wolves attacked; the bodyguard was there
inline constexpr int EVENT_CLAIM = 2;  // seat claims value (a role)
inline constexpr int EVENT_VERDICT = 3;  // seat (the seer) says other is value (a verdict)
inline constexpr int EVENT_MEDIUM = 4;   // seat (the medium) says other, hanged, was value
inline constexpr int EVENT_CALL = 5;     // seat (the madman) calls for other's death
inline constexpr int EVENT_HANGED = 6;   // seat hanged, with value votes
inline constexpr int EVENT_TIE =
    7;  // seat hanged by lot among the seats of `tied`, value votes each

struct Event {
    int after;  // the choice it came after (its index among the game's decisions)
    int day;    // the day (or the night, for an attack's outcome) it belongs to
    int kind;   // EVENT_...
    int seat;
    int other;      // the seat it names besides, or NONE
    int value;      // a role, a verdict or a number of votes, or NONE
    unsigned tied;  // a tie: the seats that had the most votes, a bit a seat
};

// One game of a record: where it starts (the state of the random source its deal is
// drawn from: the record's seed for the first game, the state the previous game left for
// the next), its keys, its choices, and how it ended.
struct RecordGame {
    int number;  // from 1
    std::uint32_t seed;
    int rules;         // RULES_...
    std::string keys;  // the keys of this game alone: its link replays it from its seed
    std::vector<Decision> decisions;
    std::vector<Event> events;  // after its first choice, as the screens showed them
    int winner;                 // WINNER_..., or NONE when the record ends first
    int day;                    // the day on which it was decided, or the last one reached
    bool at_dawn;               // the wolves won by the night's attack, before the day's vote
};

// A record's game begins: its number, the seed it is dealt from and its rules, nothing
// else yet.
void begin_record_game(RecordGame& record_game, int number, std::uint32_t seed, int rules);

// Steps the game with a key, the record of the game along with it: the key kept as a
// record spells it (while it has fewer than most_keys), the choice the key makes (its key
// -1 past them), what the screens show after it, and how the game stands. False when the
// key was the r that dealt the next game: the record then begins that game.
bool step_record_game(RecordGame& record_game, Game& game, std::uint8_t key, std::size_t most_keys);

// Steps through a record (its seed and keys, as the player played them) and calls
// each(const RecordGame&) for each of its games as it ends, or as the record does: games
// that have no key (a record ending in r) are none. Memory does not grow with the record:
// one game is kept at a time. The coach itself only ever sees each decision's record.
void each_game(std::uint32_t seed, const std::string& keys, int rules,
               const std::function<void(const RecordGame&)>& each);

// A decision reviewed: its odds, the forecast of the village, the choice made among them,
// and what it cost.
struct ReviewedChoice {
    Decision decision;
    Odds odds;          // count 0: the coach declined the record
    Forecast forecast;  // what the village will do, and who its seats are
    int chosen;         // the index of the seat chosen in the odds, or NONE
    bool as_good;       // the choice cannot be told from the best's
    int mark;           // MARK_..., or NONE
    double kept;        // how much of the best choice's chance the choice kept: 1 for the best
};

// Reviews a decision from its odds.
ReviewedChoice reviewed_choice(const Decision& decision, const Odds& odds);

// A game reviewed: its choices, and what luck did between them.
struct GameReview {
    std::vector<ReviewedChoice> choices;
    // By choice: the wolves' chance after what happened next, up to the next choice (that
    // choice's best chance), or the end of the game (1 when the wolves won, 0 when not;
    // the chance chosen when the record ends first).
    std::vector<double> after;
    double cost;  // what the choices cost: the best's chance less the chosen one's, added up
    double luck;  // what happened between them moved: after less chosen, added up
};

// The odds of each decision of the game worked out (on the pool's threads), and reviewed.
GameReview review_game(const RecordGame& game, RolloutPool* pool);

// Puts together a game's review from the odds of its decisions (the page's, from its worker).
GameReview game_review(const RecordGame& game, const std::vector<Odds>& odds);

// A game's accuracy in percent: the mean, over its choices, of the share of the best
// choice's chance that the choice kept (a choice as good as the best keeps all of it); 100
// without a choice.
int accuracy_of(const std::vector<ReviewedChoice>& choices);

// The chance of the choice made, and of the best.
double chosen_win(const ReviewedChoice& choice);
double best_win(const ReviewedChoice& choice);

// A swing of luck: what happened between two choices moved the odds this much or more.
inline constexpr double SWING = 0.20;

// The mark of making the choice (its code): MARK_..., or -1 for none. Only a choice whose loss
// against the best, world by world, cannot be zero at 95% is marked: an inaccuracy from 5
// points, a mistake from 10, a blunder from 20.
int mark_of(const Odds& odds, int code);

// How much of the best choice's chance the choice kept: 1 for the best and any choice as
// good, 0.5 for a choice with half its chance.
double kept_of(const Odds& odds, int code);
