#include "ai/vote.hpp"

#include "ai/draws.hpp"
#include "ai/seasoned.hpp"

namespace {

constexpr int VOTE_ATTEMPTS = 1000;
constexpr int MEDIUM_RULE_PERCENT = 30;
constexpr int SUSPECT_PERCENT = 30;  // the seasoned village: a vote for a suspect

int lowest_living_black(const Sight& s) {
    for (int seat = 0; seat < SEAT_COUNT; ++seat) {
        if (s.living[seat] && s.black[seat] >= 1) return seat;
    }
    return NONE;
}

bool medium_rule_applies(const Sight& s) {
    return s.mediums == 1 && s.day >= MEDIUM_RULE_FIRST_DAY && s.medium_verdict == VERDICT_WHITE;
}

// A seat without claim or white verdict who voted for yesterday's innocent.
bool voted_innocent(const Sight& s, int c) {
    return s.claim[c] == NONE && s.white[c] < 1 && s.voted_hanged[c];
}

// What the last rule looks for: no claim, and with a seer no white verdict either.
bool unknown(const Sight& s, int c) {
    return s.claim[c] == NONE && (s.seers == 0 || s.white[c] < 1);
}

int medium_rule(const Sight& s, Random& random, int search) {
    if (!medium_rule_applies(s) || roll_percent(random) >= MEDIUM_RULE_PERCENT) return NONE;
    return search_attempts(
        s, random, VOTE_ATTEMPTS, [&](int c) { return voted_innocent(s, c); }, search);
}

// The first village's vote, its first candidate drawn already.
int plain_vote(const Sight& s, bool madman, int first, Random& random, int search) {
    int choice = NONE;
    if (madman) {
        if (is_seat(s.call) && s.living[s.call]) choice = s.call;
    } else if (s.seers <= 1) {
        if (s.seers == 1) choice = lowest_living_black(s);
        if (choice == NONE) choice = medium_rule(s, random, search);
        if (choice == NONE) {
            choice = search_attempts(
                s, random, VOTE_ATTEMPTS, [&](int c) { return unknown(s, c); }, search);
        }
    }
    return choice != NONE ? choice : first;
}

Chances plain_chances(const Sight& s, bool madman) {
    Chances chances{};
    const Seats candidates = candidates_of(s);
    if (madman && is_seat(s.call) && s.living[s.call]) {
        chances.seat[s.call] = 1.0;
        return chances;
    }
    if (madman || s.seers >= 2) {
        add_draw(chances, candidates, 1.0);
        return chances;
    }
    const int black = s.seers == 1 ? lowest_living_black(s) : NONE;
    if (black != NONE) {
        chances.seat[black] = 1.0;
        return chances;
    }
    double left = 1.0;  // the chance that no rule has chosen yet
    if (medium_rule_applies(s)) {
        const Seats innocent =
            seats_where([&](int c) { return is_candidate(s, c) && voted_innocent(s, c); });
        const double found =
            roll_below(MEDIUM_RULE_PERCENT) * attempts_find(innocent, candidates, VOTE_ATTEMPTS);
        add_draw(chances, innocent, found);
        left -= found;
    }
    const Seats unknowns = seats_where([&](int c) { return is_candidate(s, c) && unknown(s, c); });
    const double found = attempts_find(unknowns, candidates, VOTE_ATTEMPTS);
    add_draw(chances, unknowns, left * found);
    add_draw(chances, candidates, left * (1.0 - found));
    return chances;
}

}  // namespace

int vote_rule(const Sight& s, bool madman, Random& random, int search) {
    const int first = draw_candidate(s, random);
    if (madman || s.rules != RULES_BLUFF) return plain_vote(s, madman, first, random, search);
    const ClaimReading reading = read_claims(s);
    const int seasoned = seasoned_vote(s, reading);
    if (seasoned != NONE) return seasoned;
    const unsigned suspected = suspects(s, reading);
    if (suspected != 0 && roll_percent(random) < SUSPECT_PERCENT)
        return draw_from(suspected, random);
    return plain_vote(reading.trusted, false, first, random, search);
}

Chances vote_chances(const Sight& s, bool madman) {
    if (madman || s.rules != RULES_BLUFF) return plain_chances(s, madman);
    const ClaimReading reading = read_claims(s);
    const int seasoned = seasoned_vote(s, reading);
    const unsigned suspected = suspects(s, reading);
    if (seasoned == NONE && suspected == 0) return plain_chances(reading.trusted, false);
    Chances chances{};
    if (seasoned != NONE) {
        chances.seat[seasoned] = 1.0;
        return chances;
    }
    const double suspecting = roll_below(SUSPECT_PERCENT);
    add_draw(chances, seats_where([&](int c) { return ((suspected >> c) & 1u) != 0; }), suspecting);
    const Chances plain = plain_chances(reading.trusted, false);
    for (int c = 0; c < SEAT_COUNT; ++c) chances.seat[c] += (1.0 - suspecting) * plain.seat[c];
    return chances;
}

void ai_vote(Game& game, Player& p, const Sight& seen, int search) {
    p.vote[game.day] = vote_rule(seen, p.role == ROLE_MADMAN, game.random, search);
}
