#include "coach/forecast.hpp"

#include "ai/night.hpp"
#include "ai/vote.hpp"

bool role_unknown(const PublicRecord& r, int seat) {
    const bool wolf = seat == r.wolf_seats[0] || seat == r.wolf_seats[1];
    return !wolf && r.co_public[seat] == NONE;
}

Forecast forecast_of(const PublicRecord& r, const Beliefs& b) {
    Forecast f{};
    double total = 0.0;
    for (int k = 0; k < b.count; ++k) total += b.weight[k];
    if (!(total > 0.0)) return f;
    for (int k = 0; k < b.count; ++k) {
        for (int seat = 0; seat < SEAT_COUNT; ++seat)
            f.role[seat][b.role[k][seat]] += b.weight[k] / total;
    }
    if (r.phase == PHASE_ATTACK_SELECT) {
        // Whoever is the bodyguard guards by his rule, from what he sees tonight.
        const Sight tonight = village_at(r, r.day, true);
        for (int hunter = 0; hunter < SEAT_COUNT; ++hunter) {
            const double is_hunter = f.role[hunter][ROLE_HUNTER];
            if (is_hunter <= 0.0 || !tonight.living[hunter]) continue;
            Sight s = tonight;
            s.self = hunter;
            const Chances guards = guard_chances(s);
            for (int seat = 0; seat < SEAT_COUNT; ++seat)
                f.guarded[seat] += is_hunter * guards.seat[seat];
        }
        return f;
    }
    // Every living computer seat votes by its rule from this morning's sight, as the
    // madman if it is he.
    const Sight today = village_at(r, r.day, false);
    for (int voter = 0; voter < SEAT_COUNT; ++voter) {
        const bool wolf = voter == r.wolf_seats[0] || voter == r.wolf_seats[1];
        if (wolf || !today.living[voter]) continue;
        const Sight s = seat_at(r, today, voter);
        const double madman = f.role[voter][ROLE_MADMAN];
        const Chances as_madman = vote_chances(s, true);
        const Chances as_other = vote_chances(s, false);
        for (int seat = 0; seat < SEAT_COUNT; ++seat)
            f.votes[seat] += madman * as_madman.seat[seat] + (1.0 - madman) * as_other.seat[seat];
    }
    return f;
}
