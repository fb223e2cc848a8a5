#include "coach/simulate.hpp"

#include <memory>

#include "coach/odds.hpp"
#include "coach/policy.hpp"
#include "engine/keys.hpp"
#include "engine/step.hpp"

Played simulate_game(std::uint32_t seed, int policy) {
    const auto game = std::make_unique<Game>();
    start_game(*game, seed);
    Dice dice{0x6A696E726Full ^ (static_cast<std::uint64_t>(seed) << 17)};  // "jinro"
    if (policy != POLICY_COACH) {
        play_out(*game, policy, dice);
    } else {
        while (game->winner == NONE) {
            const int kind = screen_kind(*game);
            if (kind == SCREEN_CHOOSE_ATTACK || kind == SCREEN_CHOOSE_VOTE) {
                choose(*game, best_choice(public_record_of(*game), COACH_FULL));
            } else {
                step_game(*game, KEY_ON);
            }
        }
    }
    return {game->winner == WINNER_WOLVES, game->day};
}
