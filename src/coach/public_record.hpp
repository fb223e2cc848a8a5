// What the wolves know: a record of what the screens have shown, and nothing else. It is
// the coach's only input. It holds the wolves' seats; who lives, and when and how the dead
// died; every attack the wolves made, the failed ones too; the published claims and
// verdicts as they were filed; each day's votes once its vote-results screen was left;
// the wolves' own votes of today; the day and the screen. It never holds a role that was
// not claimed, a computer seat's choice of tonight or its vote of today, or anything of
// the random source or the seed.
#pragma once

#include <cstdint>

#include "ai/sight.hpp"
#include "model/game.hpp"

// Plain 32-bit fields only, so that the record is its bytes, the same on every platform.
struct PublicRecord {
    std::int32_t day;
    std::int32_t phase;        // the screen: PHASE_ATTACK_SELECT or PHASE_VOTE_SELECT for a choice
    std::int32_t voter_index;  // at a vote, the entry of wolf_seats about to vote
    std::int32_t wolf_count;   // living wolves
    std::int32_t wolf_seats[WOLF_SEATS];
    std::int32_t alive[SEAT_COUNT];
    std::int32_t hanged_day[SEAT_COUNT];    // -1, or the day the seat was hanged
    std::int32_t attacked_day[SEAT_COUNT];  // -1, or the night the wolves killed it
    std::int32_t co_public[SEAT_COUNT];     // published claims
    std::int32_t black_count[SEAT_COUNT];
    std::int32_t white_count[SEAT_COUNT];
    std::int32_t seer_claims;
    std::int32_t medium_claims;
    std::int32_t attacks[DAY_SLOTS];      // by night: whom the wolves attacked, -1
    std::int32_t attacked_on[DAY_SLOTS];  // by night: whom the attack killed (-1: it failed)
    std::int32_t hanged_on[DAY_SLOTS];
    NightRecord claims[SEAT_COUNT][DAY_SLOTS];  // published results, as filed
    std::int32_t votes[SEAT_COUNT][DAY_SLOTS];  // the filed vote table
    std::int32_t wolf_votes[WOLF_SEATS];        // each wolf's vote of today so far, -1
    // The rules with lies (RULES_BLUFF) add the morning screen's questions and the wolves'
    // own claims; a game of the first village has the question none and the rest -1.
    std::int32_t rules;
    std::int32_t question;                         // at the morning screen: QUESTION_...
    std::int32_t asked;                            // the wolf it asks, or -1
    std::int32_t wolf_claim[WOLF_SEATS];           // each wolf's claim, this morning's too
    std::int32_t claim_asked[WOLF_SEATS];          // the day each wolf was last asked, -1
    NightRecord wolf_said[WOLF_SEATS][DAY_SLOTS];  // what each wolf said as a claimant, by night
};

// The record of what a game's screens have shown so far.
PublicRecord public_record_of(const Game& game);

// True when the record is of the form a game can have at an attack or a vote screen (or,
// under the rules with lies, at a question of the morning screen):
// seats, days, roles and verdicts in their ranges, two distinct wolves. A record from
// outside (the page's worker) is checked with this before any use.
bool public_record_valid(const PublicRecord& record);

// A hash of the record's bytes (FNV-1a, 64 bits): the same record, the same hash.
std::uint64_t public_record_hash(const PublicRecord& record);

// At a vote, the seat of the wolf about to vote: the first living one from voter_index on,
// as the game skips a dead wolf's turn; NONE when none is left.
int voting_wolf(const PublicRecord& record);

// The entry of wolf_seats that is the seat, or NONE.
int wolf_index(const PublicRecord& record, int seat);

// Facts the rules imply, read off the record.
// The seat was alive when the computer seats acted on night n.
bool alive_at_night(const PublicRecord& record, int seat, int night);
// The seat was alive on the morning of day d, when the claims were published and the
// votes cast.
bool alive_at_morning(const PublicRecord& record, int seat, int day);
// The morning a claim was first published: the seer and the medium claim from the first
// night, so on day 2; the madman from the third, so on day 4; a lying wolf on the morning
// it chose.
int claimed_on(const PublicRecord& record, int seat);

// What the village saw on the morning of day d (at_night false: when it voted) or on the
// night of day d (at_night true: when the seer, the bodyguard and the madman chose), read
// off the record: who lived, the claims and verdicts published by then, and the day before's
// hanging, votes and medium's word. Self and call are NONE.
Sight village_at(const PublicRecord& record, int day, bool at_night);

// What a computer seat saw of the village's sight: itself, its call of the night before,
// and the role its claim shows (the true seer's or medium's; any other seat reads the
// claims as a villager does).
Sight seat_at(const PublicRecord& record, const Sight& village, int seat);
