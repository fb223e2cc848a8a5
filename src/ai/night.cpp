#include "ai/night.hpp"

#include "ai/draws.hpp"
#include "ai/seasoned.hpp"

namespace {

constexpr int SEER_SEARCH_DRAWS = 100;
constexpr int GUARD_SEARCH_DRAWS = 20;
constexpr int GUARD_MEDIUM_FIRST_PERCENT = 15;

// A seat nobody knows anything about: no claim, no published verdict.
bool unknown(const Sight& s, int c) { return s.claim[c] == NONE && s.white[c] + s.black[c] < 1; }

int verdict_on(const Game& game, int seat) {
    return is_seat(seat) && game.players[seat].role == ROLE_WOLF ? VERDICT_BLACK : VERDICT_WHITE;
}

}  // namespace

int pick_living_other(const Sight& s, Random& random) { return draw_candidate(s, random); }

int inspection_rule(const Sight& s, Random& random) {
    // Drawn first, whether it is needed or not: the draws after it depend on it.
    const int fallback = draw_candidate(s, random);
    const int seasoned = seasoned_inspection(s);
    if (seasoned != NONE) return seasoned;
    const int found =
        search_draws(s, random, SEER_SEARCH_DRAWS, [&](int c) { return unknown(s, c); });
    return found != NONE ? found : fallback;
}

Chances inspection_chances(const Sight& s) {
    const int seasoned = seasoned_inspection(s);
    if (seasoned != NONE) {
        Chances chances{};
        chances.seat[seasoned] = 1.0;
        return chances;
    }
    const Seats unknowns = seats_where([&](int c) { return is_candidate(s, c) && unknown(s, c); });
    const double found = draws_find(unknowns, SEER_SEARCH_DRAWS);
    Chances chances{};
    add_draw(chances, unknowns, found);
    add_draw(chances, candidates_of(s), 1.0 - found);
    return chances;
}

int guard_rule(const Sight& s, Random& random) {
    const unsigned liars = public_liars(s);
    const auto claimed = [&](int role) {
        return search_draws(s, random, GUARD_SEARCH_DRAWS,
                            [&](int c) { return s.claim[c] == role && ((liars >> c) & 1u) == 0; });
    };
    const int fallback = draw_candidate(s, random);  // drawn first, needed or not
    int target = NONE;
    if (roll_percent(random) < GUARD_MEDIUM_FIRST_PERCENT) target = claimed(ROLE_MEDIUM);
    if (target == NONE) target = claimed(ROLE_SEER);
    if (target == NONE) target = claimed(ROLE_MEDIUM);
    return target != NONE ? target : fallback;
}

Chances guard_chances(const Sight& s) {
    const unsigned liars = public_liars(s);
    const auto claiming = [&](int role) {
        return seats_where([&](int c) {
            return is_candidate(s, c) && s.claim[c] == role && ((liars >> c) & 1u) == 0;
        });
    };
    const Seats seers = claiming(ROLE_SEER);
    const Seats mediums = claiming(ROLE_MEDIUM);
    const double seer_found = draws_find(seers, GUARD_SEARCH_DRAWS);
    const double medium_found = draws_find(mediums, GUARD_SEARCH_DRAWS);
    const double first = roll_below(GUARD_MEDIUM_FIRST_PERCENT);
    // Sometimes the medium first; then the seer, then the medium, then anyone.
    const double medium_first = first * medium_found;
    const double to_seer = 1.0 - medium_first;
    const double to_medium = to_seer * (1.0 - seer_found);
    Chances chances{};
    add_draw(chances, mediums, medium_first + to_medium * medium_found);
    add_draw(chances, seers, to_seer * seer_found);
    add_draw(chances, candidates_of(s), to_medium * (1.0 - medium_found));
    return chances;
}

int call_rule(const Sight& s, Random& random) { return draw_candidate(s, random); }

Chances call_chances(const Sight& s) {
    Chances chances{};
    add_draw(chances, candidates_of(s), 1.0);
    return chances;
}

void ai_night_action(Game& game, Player& p, const Sight& village) {
    const int d = game.day;
    const Sight s = sight_of(village, game, p.seat);
    switch (p.role) {
    case ROLE_MADMAN:
        if (d >= MADMAN_FIRST_NIGHT) {
            p.night[d].role = ROLE_MADMAN;
            p.night[d].target = call_rule(s, game.random);
            p.co_claim = ROLE_MADMAN;
        }
        break;
    case ROLE_SEER:
        p.co_claim = ROLE_SEER;
        p.night[d].target = inspection_rule(s, game.random);
        break;
    case ROLE_MEDIUM: p.co_claim = ROLE_MEDIUM; break;
    case ROLE_HUNTER: p.night[d].target = guard_rule(s, game.random); break;
    default: break;  // wolves act through the human; villagers sleep
    }
}

void complete_night_record(const Game& game, Player& p) {
    const int d = game.day;
    NightRecord& n = p.night[d];
    switch (p.role) {
    case ROLE_SEER:  // the madman is seen as white
        n.day = d;
        n.role = ROLE_SEER;
        n.result = verdict_on(game, n.target);
        break;
    case ROLE_MEDIUM:
        // On night 1 nobody has been hanged yet: target -1, white, and no role is read.
        n.day = d;
        n.role = ROLE_MEDIUM;
        n.target = game.hanged_on[d];
        n.result = verdict_on(game, n.target);
        break;
    case ROLE_HUNTER:  // the bodyguard never guards himself
        n.day = d;
        n.role = ROLE_HUNTER;
        if (n.target == p.seat) n.target = NONE;
        break;
    default: break;
    }
}
