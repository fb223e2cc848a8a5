#include "ai/sight.hpp"

Sight village_sight(const Game& game) {
    Sight s{};
    const int d = game.day;
    const int yesterday = d >= 1 && d <= DAY_SLOTS ? d - 1 : 0;
    s.day = d;
    s.self = NONE;
    s.seers = game.seer_claims;
    s.mediums = game.medium_claims;
    int medium = NONE;
    for (int seat = 0; seat < SEAT_COUNT; ++seat) {
        s.living[seat] = game.death_day[seat] == NONE;
        s.claim[seat] = game.co_public[seat];
        s.black[seat] = game.black_count[seat];
        s.white[seat] = game.white_count[seat];
        s.voted_hanged[seat] = game.votes[seat][yesterday] == game.hanged_on[yesterday];
        if (game.co_public[seat] == ROLE_MEDIUM) medium = seat;
    }
    s.medium_verdict = medium != NONE ? game.claims[medium][yesterday].result : NONE;
    s.call = NONE;
    return s;
}

Sight sight_of(const Sight& village, const Game& game, int self) {
    Sight s = village;
    const int yesterday = s.day >= 1 && s.day <= DAY_SLOTS ? s.day - 1 : 0;
    s.self = self;
    s.call = is_seat(self) ? game.players[self].night[yesterday].target : NONE;
    return s;
}
