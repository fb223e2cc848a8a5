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
    s.rules = game.rules;
    s.role = NONE;
    if (s.rules == RULES_BLUFF)
        fill_seasoned(s, {game.claims, game.hanged_on, game.votes, game.claimed_on});
    return s;
}

void fill_seasoned(Sight& s, const SeasonedFacts& f) {
    const int day = s.day < DAY_SLOTS ? s.day : DAY_SLOTS;
    for (auto& row : s.said) {
        for (std::int8_t& word : row) word = NONE;
    }
    for (int c = 0; c < SEAT_COUNT; ++c) {
        if (s.claim[c] != ROLE_SEER && s.claim[c] != ROLE_MEDIUM) continue;
        for (int night = 1; night < day; ++night) {
            const NightRecord& n = f.claims[c][night];
            const int seat = s.claim[c] == ROLE_SEER ? n.target : f.hanged_on[night];
            const bool verdict = n.result == VERDICT_WHITE || n.result == VERDICT_BLACK;
            if (is_seat(seat) && verdict) s.said[c][seat] = static_cast<std::int8_t>(n.result);
        }
    }
    for (std::uint16_t& votes : s.lone_votes) votes = 0;
    for (int d = 2; d < day; ++d) {
        // The lone claimant of each role on day d, if any.
        int lone[2] = {NONE, NONE};
        int count[2] = {0, 0};
        for (int c = 0; c < SEAT_COUNT; ++c) {
            const int k = s.claim[c] == ROLE_SEER ? 0 : s.claim[c] == ROLE_MEDIUM ? 1 : NONE;
            if (k == NONE || f.claimed_on[c] == NONE || f.claimed_on[c] > d) continue;
            lone[k] = c;
            count[k] += 1;
        }
        for (int voter = 0; voter < SEAT_COUNT; ++voter) {
            const int vote = f.votes[voter][d];
            if (!is_seat(vote)) continue;
            for (int k = 0; k < 2; ++k) {
                if (count[k] == 1 && vote == lone[k])
                    s.lone_votes[voter] |= static_cast<std::uint16_t>(1u << vote);
            }
        }
    }
}

void look_as(Sight& s, const Game& game, int self) {
    const int yesterday = s.day >= 1 && s.day <= DAY_SLOTS ? s.day - 1 : 0;
    s.self = self;
    s.call = is_seat(self) ? game.players[self].night[yesterday].target : NONE;
    s.role = is_seat(self) ? game.players[self].role : NONE;
}

Sight sight_of(const Sight& village, const Game& game, int self) {
    Sight s = village;
    look_as(s, game, self);
    return s;
}
