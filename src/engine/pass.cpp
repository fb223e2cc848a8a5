#include "engine/pass.hpp"

#include "console/render.hpp"
#include "engine/keys.hpp"
#include "engine/phases.hpp"

void next_screen(Game& game) {
    update(game);
    render(game);  // exactly once: in phase 8 it hangs a seat
}

void play_key(Game& game, std::uint8_t key) {
    game.key = key;
    handle_key(game);
    next_screen(game);
}
