#include "engine/step.hpp"

#include "engine/keys.hpp"
#include "engine/phases.hpp"
#include "model/new_game.hpp"

void start_game(Game& game, std::uint32_t seed, int rules) {
    reset_game(game);
    game.rules = wolves_may_lie(rules) ? rules : RULES_STANDARD;
    seed_random(game.random, seed);
    new_game(game);
    update(game);
}

void step_game(Game& game, std::uint8_t key, int search) {
    game.key = key;
    handle_key(game, key);
    update(game, search);
}
