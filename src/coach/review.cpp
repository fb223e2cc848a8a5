#include "coach/review.hpp"

#include <cmath>
#include <memory>

#include "coach/policy.hpp"
#include "engine/keys.hpp"
#include "engine/step.hpp"

namespace {

bool at_dawn(const Game& game) { return game.winner != NONE && game.hanged_on[game.day] == NONE; }

}  // namespace

void decisions_of(std::uint32_t seed, const std::string& keys, std::vector<Decision>& decisions,
                  std::vector<Ending>& endings) {
    const auto game = std::make_unique<Game>();
    start_game(*game, seed);
    int number = 1;
    for (std::size_t k = 0; k < keys.size(); ++k) {
        const auto key = static_cast<std::uint8_t>(keys[k]);
        const int kind = screen_kind(*game);
        const bool choosing = kind == SCREEN_CHOOSE_ATTACK || kind == SCREEN_CHOOSE_VOTE;
        if (choosing && key_meaning(key) == KEY_CHOOSE && may_choose(*game, game->cursor)) {
            decisions.push_back(
                {number, static_cast<int>(k), public_record_of(*game), game->cursor});
        }
        if (game->winner != NONE && key_meaning(key) == KEY_AGAIN) {
            endings.push_back(
                {number, game->winner, game->day, at_dawn(*game), static_cast<int>(k) - 1});
            number += 1;
        }
        step_game(*game, key);
    }
    endings.push_back(
        {number, game->winner, game->day, at_dawn(*game), static_cast<int>(keys.size()) - 1});
}

int choice_index(const Odds& odds, int seat) {
    for (int c = 0; c < odds.count; ++c) {
        if (odds.choice[c].seat == seat) return c;
    }
    return NONE;
}

int mark_of(const Odds& odds, int seat) {
    const int chosen = choice_index(odds, seat);
    if (chosen == NONE || odds.count == 0) return NONE;
    const ChoiceOdds& c = odds.choice[chosen];
    const ChoiceOdds& b = odds.choice[odds.best];
    const Estimate ce = estimate(c.wins, c.played);
    const Estimate be = estimate(b.wins, b.played);
    const double drop = be.win - ce.win;
    // The uncertainty of the drop: both intervals' half-widths, added as independent errors.
    const double c_half = (ce.high - ce.low) / 2.0;
    const double b_half = (be.high - be.low) / 2.0;
    if (drop <= std::sqrt(c_half * c_half + b_half * b_half)) return NONE;
    if (drop >= 0.20) return MARK_BLUNDER;
    if (drop >= 0.10) return MARK_MISTAKE;
    if (drop >= 0.05) return MARK_INACCURACY;
    return NONE;
}

double kept_of(const Odds& odds, int seat) {
    const int chosen = choice_index(odds, seat);
    if (chosen == NONE || odds.count == 0) return 1.0;
    const double best = estimate(odds.choice[odds.best].wins, odds.choice[odds.best].played).win;
    const double kept = estimate(odds.choice[chosen].wins, odds.choice[chosen].played).win;
    return best <= 0.0 || kept >= best ? 1.0 : kept / best;
}
