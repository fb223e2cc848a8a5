// What a computer seat sees when it chooses: who lives, the published claims and the
// seer's published verdicts, yesterday's hanging and who voted for it, the claimed medium's
// word on it, and, for the madman, his own call. No seat reads another seat's role. Every
// rule of ai/ chooses from a sight, drawing from the game's random source; beside each
// rule stands the chance of each choice it can make from the same sight, which the coach
// reads to weigh what it cannot see.
#pragma once

#include "model/game.hpp"

struct Sight {
    int day;                  // the day of a vote, or the night of a night action
    int self;                 // the seat choosing
    bool living[SEAT_COUNT];  // alive at the time of the choice
    int claim[SEAT_COUNT];    // published claims, the dead's included
    int black[SEAT_COUNT];    // the seer's published verdicts on each seat
    int white[SEAT_COUNT];
    int seers;           // published seer claims, living or dead
    int mediums;         // published medium claims, living or dead
    int medium_verdict;  // the (last) claimed medium's verdict on yesterday's hanged seat
    bool voted_hanged[SEAT_COUNT];  // voted yesterday for the seat hanged yesterday
    int call;                       // the seat this seat called for last night (the madman)
    // Under the rules with lies (the seasoned village) only:
    int rules;  // RULES_...
    int role;   // the role of the seat choosing (its own, which it knows)
    // What each claimant has said of each seat: a seer's verdicts, and a medium's on the
    // seats hanged; NONE where it said nothing. A seat's last word on a seat stands.
    std::int8_t said[SEAT_COUNT][SEAT_COUNT];
    // The seats each seat voted for on an earlier day while that seat was the only one to
    // claim its role (the seer or the medium), a bit a seat.
    std::uint16_t lone_votes[SEAT_COUNT];
};

// What the seasoned village reads besides, as a game files it: the claims filed by seat and
// night, the seats hanged and the votes by day, and the morning each claim was published.
struct SeasonedFacts {
    const NightRecord (&claims)[SEAT_COUNT][DAY_SLOTS];
    const std::int32_t (&hanged_on)[DAY_SLOTS];
    const std::int32_t (&votes)[SEAT_COUNT][DAY_SLOTS];
    const std::int32_t (&claimed_on)[SEAT_COUNT];
};

// Fills the words of the claimants (s.claim) up to the night before s.day, and the votes
// for a lone claimant of the days before it.
void fill_seasoned(Sight& s, const SeasonedFacts& facts);

// What every seat of a running game sees now (self and call NONE): the same for every
// seat through a night or a vote, since no seat's choice changes what the others see.
Sight village_sight(const Game& game);

// The sight of one seat: the village's, with the seat, its own call and its role.
Sight sight_of(const Sight& village, const Game& game, int self);

// Makes the village's sight (or another seat's) that of the seat, in place.
void look_as(Sight& s, const Game& game, int self);

// How a search that no candidate can pass is drawn: to its end, exactly as the rule draws
// it (every game a player plays, replayed from its seed), or not at all (the coach's
// rollouts, whose futures are fresh random draws anyway: only the draws after it differ).
inline constexpr int SEARCH_EXACT = 0;
inline constexpr int SEARCH_QUICK = 1;

// The chance of each seat being the one chosen.
struct Chances {
    double seat[SEAT_COUNT];
};
