// The wolves' chance to win after each choice the screen offers (each living seat that is
// not a wolf at an attack, each living seat at a vote; under the rules with lies, at the
// morning screen, whether to claim and as what, and each false verdict: whom, and which
// colour), estimated from the public record
// alone. Each rollout draws a deal of the hidden roles in proportion to how well it
// explains what was shown, draws tonight's hidden choices (or today's computer votes)
// afresh, makes the choice, and plays the game to its end with fresh random futures, the
// wolves played by the heuristic. The same rollout number draws the same deal and futures
// for every choice: choices are compared on the same worlds, world by world.
//
// Rollouts come in rounds, spent where they decide something. Every choice gets a first
// round; then the leader (the best so far) is played until its chance is known within the
// margin, and each other choice until it is known to be worse than the leader (its loss
// against the leader, on their common worlds, is above zero at 95%) or no more than a
// little worse (its loss is below EQUAL_MARGIN at 95%); a chosen choice (the review's) also
// until its own chance is known within the margin. Choices still in question advance
// together over the same worlds. The rollouts of a round are independent (any thread may
// play any of them) and add up the same in any order: the same record gives the same odds,
// whatever the threads.
#pragma once

#include <cstdint>

#include "coach/public_record.hpp"
#include "coach/sampler.hpp"

// How much a decision gets: the half-width of the 95% interval the leader (and a choice
// made) are brought to, and the most rollouts any choice gets.
struct Budget {
    double margin;
    int most;
};
inline constexpr Budget COACH_FULL = {0.03, 4000};  // the review, the coach's odds and its play

// A choice no more than this much worse than the best, at 95%, is as good as the best.
inline constexpr double EQUAL_MARGIN = 0.02;

// A choice is a seat and the key that makes it: at an attack or a vote, the seat and z;
// at the morning's question whether to claim, the wolf asked and s (the seer), m (the
// medium) or any other key (KEY_ON: no claim); at a false seer's verdict, the seat named
// and b (a wolf) or w (human); at a false medium's, the wolf and b or w.
inline constexpr int MAX_CHOICES = 2 * SEAT_COUNT;

struct ChoiceOdds {
    int seat;
    int key;
    int wins;    // rollouts the wolves won
    int played;  // rollouts played
    int hanged;  // rollouts in which the choice's seat was hanged today (not at an attack)
    // Against the best choice, on the worlds both played (the first `common` of each):
    int common;
    int ahead;   // worlds the best won and this lost
    int behind;  // worlds this won and the best lost
};

// A chance and its 95% interval.
struct Estimate {
    double win;
    double low;
    double high;
};

// The wolves' chance of winning, and its interval (Wilson's), from wins and rollouts.
Estimate estimate(int wins, int played);

// What choosing the choice loses against the best, on their common worlds, and its
// interval; 0 for the best itself.
Estimate loss_of(const ChoiceOdds& o);

// One number for a choice, for records of choices made and the page: the seat, for a
// choice made with z; else the key and the seat together.
constexpr int choice_code(int seat, int key) { return key == 'z' ? seat : key * 16 + (seat + 1); }

// The seat and the key of a choice's code.
constexpr int code_seat(int code) { return code >= 0 && code < 16 ? code : code % 16 - 1; }
constexpr int code_key(int code) { return code >= 0 && code < 16 ? 'z' : code / 16; }

// The choices the decision the record stands at offers, in order: the seats, or the
// morning's answers (no claim, the seer, the medium; each seat named black then white;
// black, white). Their number.
int decision_choices(const PublicRecord& record, ChoiceOdds (&choices)[MAX_CHOICES]);

struct Odds {
    int count;  // legal choices; 0 when the coach declined the record (nothing explains it)
    ChoiceOdds choice[MAX_CHOICES];
    int best;  // the index of the best choice so far
};

// One rollout to play: the choice's index and the rollout's number.
struct Rollout {
    int choice;
    int number;
};

// What a rollout gave: who won, and at a vote the seat hanged that day.
struct Outcome {
    bool won;
    std::int8_t hanged;
};

inline constexpr int FIRST_ROUND = 48;      // rollouts every choice gets at first
inline constexpr int MOST_PER_ROUND = 256;  // the most a choice gets in one later round
inline constexpr int ROUND_ROLLOUTS = MAX_CHOICES * MOST_PER_ROUND;  // the most in one round
static_assert(FIRST_ROUND <= MOST_PER_ROUND, "a round holds every choice's first rollouts");

// A round of rollouts, and what each gave.
struct Round {
    int size;
    Rollout rollout[ROUND_ROLLOUTS];
    Outcome outcome[ROUND_ROLLOUTS];
};

inline constexpr int MOST_ROLLOUTS = 4096;  // no budget gives a choice more
static_assert(COACH_FULL.most <= MOST_ROLLOUTS, "every rollout's result has its place");

// Everything a decision's rollouts read, and its odds so far. Large: keep it on the heap.
struct OddsWork {
    PublicRecord record;
    Beliefs beliefs;
    Budget budget;
    int chosen;          // the choice made (a review), or NONE (the odds beside a game)
    std::uint64_t seed;  // from the record's bytes: never from the game's seed
    Odds odds;
    int rounds;
    std::uint64_t won[MAX_CHOICES][MOST_ROLLOUTS / 64];  // each choice's wins, world by world
};

// Prepares the odds of the decision the record stands at (an attack, a vote, or a question
// of the morning), for the choice made of the code chosen (NONE: no choice made yet). False when
// the coach declines it: the record is of no form a game can have, or no deal of the hidden roles
// explains what it shows; the odds then have no choice and no round.
bool odds_begin(OddsWork& work, const PublicRecord& record, Budget budget, int chosen = NONE);

// True when the odds are of the form the coach gives the record: none at all (declined),
// or every choice the screen offers in order, each with no more wins, hangings or
// worlds compared than rollouts and no more rollouts than a budget gives, and the best the
// best. Odds from outside (the page's worker) are checked with this before any use.
bool odds_valid(const Odds& odds, const PublicRecord& record);

// True when the choice cannot be told from the best's: its loss may be zero.
bool as_good_as_best(const Odds& odds, int index);

// Plans the next round; its size, 0 when the odds are settled.
int odds_plan(const OddsWork& work, Round& round);

// Plays one rollout. Reads the work, changes nothing in it.
Outcome play_rollout(const OddsWork& work, const Rollout& rollout);

// Adds a round's results.
void odds_add(OddsWork& work, const Round& round);

struct RolloutPool;

// One round: planned, played (by the pool's threads too, or here without one), added.
// False when the odds were settled already.
bool odds_round(OddsWork& work, Round& round, RolloutPool* pool);

// The odds of the decision, worked out to the end (by the pool, or on this thread), for
// the choice made of the code chosen, if any.
Odds odds_of(const PublicRecord& record, Budget budget, RolloutPool* pool = nullptr,
             int chosen = NONE);

// The choice with the best odds; its seat NONE when the coach declines the record.
ChoiceOdds best_choice(const PublicRecord& record, Budget budget);

// The index in the odds of the choice of this code, or NONE.
int choice_index(const Odds& odds, int code);
