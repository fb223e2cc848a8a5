// The wolves' chance to win after each choice the screen offers (each living seat that is
// not a wolf at an attack, each living seat at a vote), estimated from the public record
// alone. Each rollout draws a deal of the hidden roles in proportion to how well it
// explains what was shown, draws tonight's hidden choices (or today's computer votes)
// afresh, makes the choice, and plays the game to its end with fresh random futures, the
// wolves played by the heuristic. The same rollout index draws the same deal and futures
// for every choice, so choices are compared on the same worlds.
//
// Rollouts come in rounds, spent where they decide something: every choice gets a first
// round; later rounds go only to the choices that could still be among the best two, until
// the best two are known within the margin asked for. The rollouts of a round are
// independent (any thread may play any of them) and add up the same in any order: the
// same record gives the same odds, whatever the threads.
#pragma once

#include <cstdint>

#include "coach/public_record.hpp"
#include "coach/sampler.hpp"

// How much a decision gets: the half-width of the 95% interval the best two are brought
// to, and the most rollouts any choice gets.
struct Budget {
    double margin;
    int most;
};
inline constexpr Budget COACH_FULL = {0.03, 4000};   // the review and the coach's odds
inline constexpr Budget COACH_PLAYS = {0.05, 1000};  // the coach choosing for itself

struct ChoiceOdds {
    int seat;
    int wins;    // rollouts the wolves won
    int played;  // rollouts played
};

// The wolves' chance of winning, and its 95% interval (Wilson's), from wins and rollouts.
struct Estimate {
    double win;
    double low;
    double high;
};
Estimate estimate(int wins, int played);

struct Odds {
    int count;  // legal choices
    ChoiceOdds choice[SEAT_COUNT];
    int best;  // the index of the best choice so far
};

// One rollout to play: the choice's index and the rollout's number.
struct Rollout {
    int choice;
    int number;
};

inline constexpr int ROUND_ROLLOUTS = SEAT_COUNT * 256;  // the most in one round

// A round of rollouts, and what each gave.
struct Round {
    int size;
    Rollout rollout[ROUND_ROLLOUTS];
    bool won[ROUND_ROLLOUTS];  // the wolves won rollout k
};

// Everything a decision's rollouts read, and its odds so far. Large: keep it on the heap.
struct OddsWork {
    PublicRecord record;
    Beliefs beliefs;
    Budget budget;
    std::uint64_t seed;  // from the record's bytes: never from the game's seed
    Odds odds;
    int rounds;
};

// Prepares the odds of the decision the record stands at (an attack or a vote screen).
void odds_begin(OddsWork& work, const PublicRecord& record, Budget budget);

// Plans the next round; its size, 0 when the odds are settled.
int odds_plan(OddsWork& work, Round& round);

// Plays one rollout: true when the wolves win. Reads the work, changes nothing in it.
bool play_rollout(const OddsWork& work, const Rollout& rollout);

// Adds a round's results.
void odds_add(OddsWork& work, const Round& round);

// The odds of the decision, played on this thread to the end.
Odds odds_of(const PublicRecord& record, Budget budget);

// The seat with the best odds.
int best_choice(const PublicRecord& record, Budget budget);
