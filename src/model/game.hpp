// The records of one game of jinro. Every other part of the program reads and writes
// these directly; there is no other game state. A Game is one plain value: copying it
// copies everything its future depends on, the random source included, and nothing in it
// points elsewhere. What the screens say in words is written when they are drawn, in the
// language of the drawing; the game keeps what happened.
#pragma once

#include <cstdint>

#include "model/random.hpp"

inline constexpr int SEAT_COUNT = 10;
inline constexpr int DAY_SLOTS = 10;  // tables indexed by day; slot 0 is never used
inline constexpr int LOG_LINES = 5;
inline constexpr int LOG_LINE_BYTES = 100;
inline constexpr int NAME_BYTES = 12;
inline constexpr int WOLF_SEATS = 2;

inline constexpr int NONE = -1;  // no seat, no day, no claim, no verdict, no log line

inline constexpr int ROLE_WOLF = 0;
inline constexpr int ROLE_MADMAN = 1;
inline constexpr int ROLE_SEER = 2;
inline constexpr int ROLE_MEDIUM = 3;
inline constexpr int ROLE_HUNTER = 4;
inline constexpr int ROLE_VILLAGER = 5;

// Verdicts; the same two numbers name the winner (10 the village, 11 the wolves).
inline constexpr int VERDICT_WHITE = 10;
inline constexpr int VERDICT_BLACK = 11;
inline constexpr int WINNER_VILLAGE = VERDICT_WHITE;
inline constexpr int WINNER_WOLVES = VERDICT_BLACK;

inline constexpr int PHASE_NIGHT_AI = 0;
inline constexpr int PHASE_ATTACK_SELECT = 1;
inline constexpr int PHASE_DAWN_CHECK = 2;
inline constexpr int PHASE_FAKE_CLAIM = 3;
inline constexpr int PHASE_PUBLISH_CLAIMS = 4;
inline constexpr int PHASE_CLAIM_RESULTS = 5;
inline constexpr int PHASE_AI_VOTES = 6;
inline constexpr int PHASE_VOTE_SELECT = 7;
inline constexpr int PHASE_VOTE_RESULTS = 8;
inline constexpr int PHASE_DUSK_CHECK = 9;
inline constexpr int PHASE_VILLAGE_WON = 10;
inline constexpr int PHASE_WOLVES_WON = 11;

// The rules a game is played under: the village of the first games, where nobody lies; or
// the seasoned village, where a wolf may claim to be the seer or the medium and the
// computer seats weigh the claims.
inline constexpr int RULES_STANDARD = 0;
inline constexpr int RULES_BLUFF = 1;
// For measuring only, never offered to a player: the wolves may lie, and the computer seats
// keep the first village's rules, which cannot tell a liar.
inline constexpr int RULES_LIES_PLAIN_VILLAGE = 2;

constexpr bool wolves_may_lie(int rules) {
    return rules == RULES_BLUFF || rules == RULES_LIES_PLAIN_VILLAGE;
}

// The medium's morning line tells a result from this day on: day 2 follows a night with
// no hanging before it.
inline constexpr int MEDIUM_FIRST_RESULT_DAY = 3;

// What one seat did on one night (or, in Game::claims, what it published about it).
struct NightRecord {
    std::int32_t day;     // the night's day number; the madman leaves it -1
    std::int32_t role;    // role of the seat that acted
    std::int32_t target;  // inspected, judged, guarded or called-for seat
    std::int32_t result;  // VERDICT_WHITE or VERDICT_BLACK for seer and medium, else -1
};

// The seats keep their names, game after game: seat i is always the i-th name of the
// language's table (model/texts.hpp), so a seat number names its character.
struct Player {
    std::int32_t seat;
    std::int32_t co_claim;  // the role this seat will claim in public, -1 none
    std::int32_t hanged_day;
    std::int32_t attacked_day;
    NightRecord night[DAY_SLOTS];  // by day number of the night
    std::int32_t vote[DAY_SLOTS];  // by day: the seat voted for
    std::int32_t alive;            // 1 living, 0 dead
    std::int32_t role;
};

// What a line of the log tells: somebody found dead, an attack that failed, a hanging.
inline constexpr int LOG_FOUND_DEAD = 0;
inline constexpr int LOG_ATTACK_FAILED = 1;
inline constexpr int LOG_HANGED = 2;

struct LogLine {
    std::int32_t kind;  // LOG_..., or NONE for an empty line
    std::int32_t seat;  // the seat it names, or NONE
};

struct Game {
    std::int32_t co_public[SEAT_COUNT];  // published claims; kept after death
    std::int32_t winner;                 // -1 while the game runs
    std::int32_t seer_claims;            // entries of co_public equal to ROLE_SEER
    std::int32_t medium_claims;          // entries of co_public equal to ROLE_MEDIUM
    std::int32_t death_day[SEAT_COUNT];
    std::int32_t day;
    std::int32_t black_count[SEAT_COUNT];
    std::int32_t white_count[SEAT_COUNT];
    std::int32_t attacked_on[DAY_SLOTS];  // -1 when nobody died that night
    std::int32_t hanged_on[DAY_SLOTS];
    NightRecord claims[SEAT_COUNT][DAY_SLOTS];  // published results, by seat and night
    std::int32_t votes[SEAT_COUNT][DAY_SLOTS];  // the filed vote table
    std::int32_t wolf_seats[WOLF_SEATS];        // ascending
    std::int32_t cursor;
    Player players[SEAT_COUNT];
    std::uint8_t key;  // the last key read
    std::int32_t phase;
    std::int32_t voter_index;  // next entry of wolf_seats to vote in phase 7
    std::int32_t wolf_count;   // living wolves as of the last victory check
    LogLine log[LOG_LINES];    // line 0 is the newest
    Random random;             // the game's own random source
    // The seat the wolves chose to attack each night, by day, whether the attack killed it
    // or was turned away: the player saw whom they attacked.
    std::int32_t attacks[DAY_SLOTS];
    std::int32_t rules;  // RULES_..., kept from game to game
    // Under RULES_BLUFF: the day on which each wolf (by its entry of wolf_seats) was last
    // asked on the morning screen whether it claims, or NONE.
    std::int32_t claim_asked[WOLF_SEATS];
    // The morning each seat's claim was published, or NONE.
    std::int32_t claimed_on[SEAT_COUNT];
};

// Sets every field of every published claim and every night record to -1.
void clear_night_records(Game& game);

// Makes the record what creation makes it: every field zero, every night record, published
// claim and attack -1, the log empty. Allocates nothing.
void reset_game(Game& game);

// Pushes a line onto the log: line 0 becomes the new one, older lines move down, line 4
// is lost.
void push_log(Game& game, int kind, int seat);

// The entry of wolf_seats that votes next: the first living wolf from voter_index on (a
// dead wolf's turn is skipped); WOLF_SEATS when no living wolf is left to vote.
int next_voter_index(const Game& game);

// A random seat of the game's random source: the next output mod 10.
inline int random_seat(Game& game) { return random_output(game.random) % SEAT_COUNT; }

// True when seat is a seat number 0..9.
constexpr bool is_seat(int seat) { return seat >= 0 && seat < SEAT_COUNT; }
