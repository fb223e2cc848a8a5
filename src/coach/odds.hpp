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
inline constexpr Budget COACH_FULL = {0.03, 4000};  // the review, the coach's odds and its play

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
    int count;  // legal choices; 0 when the coach declined the record (nothing explains it)
    ChoiceOdds choice[SEAT_COUNT];
    int best;  // the index of the best choice so far
};

// One rollout to play: the choice's index and the rollout's number.
struct Rollout {
    int choice;
    int number;
};

inline constexpr int FIRST_ROUND = 48;      // rollouts every choice gets at first
inline constexpr int MOST_PER_ROUND = 256;  // the most a choice gets in one later round
inline constexpr int ROUND_ROLLOUTS = SEAT_COUNT * MOST_PER_ROUND;  // the most in one round
static_assert(FIRST_ROUND <= MOST_PER_ROUND, "a round holds every choice's first rollouts");

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
// False when the coach declines it: the record is of no form a game can have, or no deal
// of the hidden roles explains what it shows; the odds then have no choice and no round.
bool odds_begin(OddsWork& work, const PublicRecord& record, Budget budget);

// True when the odds are of the form the coach gives the record: none at all (declined),
// or every choice the screen offers in seat order, each with no more wins than rollouts
// and no more rollouts than a budget gives, and the best the best. Odds from outside (the
// page's worker) are checked with this before any use.
bool odds_valid(const Odds& odds, const PublicRecord& record);

// Plans the next round; its size, 0 when the odds are settled.
int odds_plan(OddsWork& work, Round& round);

// Plays one rollout: true when the wolves win. Reads the work, changes nothing in it.
bool play_rollout(const OddsWork& work, const Rollout& rollout);

// Adds a round's results.
void odds_add(OddsWork& work, const Round& round);

struct RolloutPool;

// One round: planned, played (by the pool's threads too, or here without one), added.
// False when the odds were settled already.
bool odds_round(OddsWork& work, Round& round, RolloutPool* pool);

// The odds of the decision, worked out to the end (by the pool, or on this thread).
Odds odds_of(const PublicRecord& record, Budget budget, RolloutPool* pool = nullptr);

// The seat with the best odds, or NONE when the coach declines the record.
int best_choice(const PublicRecord& record, Budget budget);
