#include "engine/run_game.hpp"

#include <cstdint>
#include <ctime>

#include "console/console.hpp"
#include "console/render.hpp"
#include "engine/keys.hpp"
#include "engine/phases.hpp"
#include "model/new_game.hpp"
#include "model/random.hpp"

void run_game() {
    seed_random(static_cast<std::uint32_t>(std::time(nullptr)));
    Game* game = create_game();  // lives until the process ends
    new_game(*game);
    game->console = &process_console();
    for (;;) {
        update(*game);
        render(*game);
        const int key = console_read_key(*game->console);
        if (key == KEY_END_OF_INPUT) return;
        game->key = static_cast<std::uint8_t>(key);
        handle_key(*game);
    }
}
