#include "app/run_game.hpp"

#include <ctime>

#include "draw/render.hpp"
#include "engine/step.hpp"
#include "model/texts.hpp"
#include "platform/console.hpp"

Game* process_game = nullptr;

std::uint32_t choose_seed(const Options& options) {
    const std::time_t now = std::time(nullptr);
    switch (options.seed_source) {
    case SEED_GIVEN: return options.seed;
    case SEED_DAILY: return daily_seed(static_cast<std::int64_t>(now));
    default: return static_cast<std::uint32_t>(now);  // the time in whole seconds
    }
}

int run_game(const Options& options, const Record* replay, RecordFile* record) {
    process_game = new Game{};
    Game& game = *process_game;
    Console& console = process_console();
    start_game(game, replay != nullptr ? replay->seed : choose_seed(options));
    console_start(console, options.ambiguous_columns, texts_of(options.language).too_small);
    render(game, options.language, console.screen);
    std::size_t replayed = 0;
    for (;;) {
        int key = 0;
        if (replay != nullptr && replayed < replay->keys.size()) {
            // A key typed steps at once; the end of input only ends the waiting.
            const int typed = console_read_key_within(console, REPLAY_PACE_MS);
            if (typed == KEY_INPUT_FAILED) return EXIT_INPUT_OUTPUT_ERROR;
            key = static_cast<unsigned char>(replay->keys[replayed++]);
        } else {
            key = console_read_key(console);
            if (key == KEY_END_OF_INPUT) return EXIT_NORMAL;
            if (key == KEY_INPUT_FAILED) return EXIT_INPUT_OUTPUT_ERROR;
        }
        play_key(game, static_cast<std::uint8_t>(key), options.language, console.screen);
        if (record != nullptr && !record_key(*record, key)) return EXIT_INPUT_OUTPUT_ERROR;
    }
}
