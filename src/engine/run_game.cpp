#include "engine/run_game.hpp"

#include <cstdint>
#include <ctime>

#include "console/console.hpp"
#include "engine/pass.hpp"
#include "model/new_game.hpp"
#include "model/random.hpp"
#include "model/texts.hpp"

Game* process_game = nullptr;

namespace {

std::uint32_t choose_seed(const Options& options) {
    const std::time_t now = std::time(nullptr);
    switch (options.seed_source) {
    case SEED_GIVEN: return options.seed;
    case SEED_DAILY: return daily_seed(static_cast<std::int64_t>(now));
    default: return static_cast<std::uint32_t>(now);  // the time in whole seconds
    }
}

}  // namespace

int run_game(const Options& options) {
    choose_language(options.language);  // once, before the first name is copied
    seed_random(choose_seed(options));
    process_game = create_game();
    Game& game = *process_game;
    new_game(game);
    game.console = &process_console();
    console_start(*game.console, options.ambiguous_columns);
    next_screen(game);
    for (;;) {
        const int key = console_read_key(*game.console);
        if (key == KEY_END_OF_INPUT) return EXIT_NORMAL;
        if (key == KEY_INPUT_FAILED) return EXIT_INPUT_OUTPUT_ERROR;
        play_key(game, static_cast<std::uint8_t>(key));
    }
}
