// What the village will do, and who its seats are, as far as the wolves can tell: worked
// out exactly from the deals the coach weighs and the computer seats' own chances (the
// same chances their rules draw from), at the decision the record stands at.
#pragma once

#include "coach/public_record.hpp"
#include "coach/sampler.hpp"

struct Forecast {
    // The chance of each role for each seat (by role code); the wolves' own seats and the
    // claimants are known.
    double role[SEAT_COUNT][ROLE_VILLAGER + 1];
    // At an attack: the chance that the bodyguard guards the seat tonight.
    double guarded[SEAT_COUNT];
    // At a vote: the votes of the computer seats that the seat can expect today (the
    // wolves' apart).
    double votes[SEAT_COUNT];
};

// The forecast of the decision the record stands at, from its weighed deals.
Forecast forecast_of(const PublicRecord& record, const Beliefs& beliefs);

// True when the wolves cannot tell the seat's role: no wolf, no claim.
bool role_unknown(const PublicRecord& record, int seat);
