#include "ai/night.hpp"

#include "ai/draws.hpp"

int pick_living_other(Game& game, const Player& p) { return draw_living_candidate(game, p); }

namespace {

constexpr int SEER_SEARCH_DRAWS = 100;
constexpr int HUNTER_SEARCH_DRAWS = 20;
constexpr int HUNTER_MEDIUM_FIRST_PERCENT = 15;
constexpr int MADMAN_FIRST_NIGHT = 3;

// The seer looks for a seat nobody knows anything about: no claim, no published verdict.
int seer_target(Game& game, const Player& p) {
    // Drawn first, whether it is needed or not: the draws after it depend on it.
    const int fallback = draw_living_candidate(game, p);
    const int unknown = search_draws(game, p, SEER_SEARCH_DRAWS, [&](int c) {
        return game.co_public[c] == NONE && game.white_count[c] + game.black_count[c] < 1;
    });
    return unknown != NONE ? unknown : fallback;
}

// The hunter prefers a claimed seer, sometimes a claimed medium first, else anyone.
int hunter_target(Game& game, const Player& p) {
    const auto claimed = [&](int role) {
        return search_draws(game, p, HUNTER_SEARCH_DRAWS,
                            [&](int c) { return game.co_public[c] == role; });
    };
    const int fallback = draw_living_candidate(game, p);  // drawn first, needed or not
    int target = NONE;
    if (percent_roll(game) < HUNTER_MEDIUM_FIRST_PERCENT) target = claimed(ROLE_MEDIUM);
    if (target == NONE) target = claimed(ROLE_SEER);
    if (target == NONE) target = claimed(ROLE_MEDIUM);
    return target != NONE ? target : fallback;
}

int verdict_on(const Game& game, int seat) {
    return is_seat(seat) && game.players[seat].role == ROLE_WOLF ? VERDICT_BLACK : VERDICT_WHITE;
}

}  // namespace

void ai_night_action(Game& game, Player& p) {
    const int d = game.day;
    switch (p.role) {
    case ROLE_MADMAN:
        if (d >= MADMAN_FIRST_NIGHT) {
            p.night[d].role = ROLE_MADMAN;
            p.night[d].target = pick_living_other(game, p);
            p.co_claim = ROLE_MADMAN;
        }
        break;
    case ROLE_SEER:
        p.co_claim = ROLE_SEER;
        p.night[d].target = seer_target(game, p);
        break;
    case ROLE_MEDIUM: p.co_claim = ROLE_MEDIUM; break;
    case ROLE_HUNTER: p.night[d].target = hunter_target(game, p); break;
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
    case ROLE_HUNTER:  // the hunter never guards himself
        n.day = d;
        n.role = ROLE_HUNTER;
        if (n.target == p.seat) n.target = NONE;
        break;
    default: break;
    }
}
