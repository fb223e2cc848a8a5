#include "coach/simulate.hpp"

#include <memory>

#include "coach/odds.hpp"
#include "coach/policy.hpp"
#include "engine/keys.hpp"
#include "engine/step.hpp"

Played simulate_game(std::uint32_t seed, int policy, int rules) {
    const auto game = std::make_unique<Game>();
    start_game(*game, seed, rules);
    Dice dice{0x6A696E726Full ^ (static_cast<std::uint64_t>(seed) << 17)};  // "jinro"
    if (policy != POLICY_COACH) {
        play_out(*game, policy, dice);
    } else {
        while (game->winner == NONE && game->day < DAY_SLOTS) {
            const int kind = screen_kind(*game);
            if (kind == SCREEN_ANY_KEY) {
                step_game(*game, KEY_ON);
                continue;
            }
            const ChoiceOdds best = best_choice(public_record_of(*game), COACH_FULL);
            if (best.seat == NONE) {  // declined: the heuristic plays on
                play_out(*game, POLICY_HEURISTIC, dice);
                break;
            }
            answer(*game, {best.seat, best.key});
        }
    }
    return {game->winner == WINNER_WOLVES, game->day};
}
