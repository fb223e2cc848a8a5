#include "app/run_game.hpp"

#include <chrono>
#include <ctime>
#include <memory>

#include "app/coach_beside.hpp"
#include "app/messages.hpp"
#include "draw/odds.hpp"
#include "draw/render.hpp"
#include "engine/step.hpp"
#include "model/texts.hpp"
#include "platform/console.hpp"

std::uint32_t choose_seed(const Options& options) {
    const std::time_t now = std::time(nullptr);
    switch (options.seed_source) {
    case SEED_GIVEN: return options.seed;
    case SEED_DAILY: return daily_seed(static_cast<std::int64_t>(now));
    default: return static_cast<std::uint32_t>(now);  // the time in whole seconds
    }
}

namespace {

constexpr int COACH_SLICE_MS = 100;  // how often new odds are looked for while a key is awaited

// The game's screen, and with --coach the odds of its choice, drawn where the console shows
// them.
struct Table {
    Game& game;
    Console& console;
    const Options& options;
    CoachBeside* coach;  // null without --coach
    CoachView view;
    bool odds_shown;
};

void draw(Table& t) {
    render(t.game, t.options.language, t.console.screen);
    if (t.odds_shown) {
        draw_odds(t.view.record, t.view.odds, t.view.forecast, texts_of(t.options.language),
                  t.console.screen);
    }
}

// Waits for a key, at most timeout_ms (-1: for ever); with the coach at work, in short
// waits, drawing its odds as they come. With settle, a time that runs out still waits
// for the odds of the choice shown to be worked out.
int wait_for_key(Table& t, int timeout_ms, bool settle) {
    if (t.coach == nullptr) {
        return timeout_ms < 0 ? console_read_key(t.console)
                              : console_read_key_within(t.console, timeout_ms);
    }
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeout_ms);
    for (;;) {
        if (coach_take(*t.coach, t.view)) {
            t.odds_shown = true;
            draw(t);
        }
        const bool waiting = coach_waiting(*t.coach);
        if (timeout_ms < 0 && !waiting) return console_read_key(t.console);
        int slice = COACH_SLICE_MS;
        if (timeout_ms >= 0) {
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                                  deadline - std::chrono::steady_clock::now())
                                  .count();
            if (left <= 0 && !(settle && waiting)) return KEY_TIMEOUT;
            if (left > 0 && left < slice) slice = static_cast<int>(left);
        }
        const int key = console_read_key_within(t.console, slice);
        if (key != KEY_TIMEOUT) return key;
    }
}

// Says something of the replay on standard error, or keeps it for later where that would
// write over the game's screen.
void say_of_replay(Replay& replay, const std::string& line) {
    if (console_error_beside_screen()) {
        console_message(line.c_str(), true);
    } else {
        replay.later += line;
    }
}

// The next key: the replay's while it lasts (a key typed steps at once), then the
// player's. KEY_END_OF_INPUT or KEY_INPUT_FAILED when the game cannot go on.
int next_key(Table& t, Replay* replay, std::size_t& replayed) {
    if (replay == nullptr || replayed >= replay->record->keys.size()) {
        return wait_for_key(t, -1, false);
    }
    // A key typed steps at once; the end of input only ends the waiting.
    const int typed = wait_for_key(t, REPLAY_PACE_MS, true);
    if (typed == KEY_INPUT_FAILED) return typed;
    const int key = static_cast<unsigned char>(replay->record->keys[replayed++]);
    if (replayed == replay->record->keys.size()) {
        say_of_replay(*replay, replay_over_text(replay->path, replayed, replay->japanese));
    }
    return key;
}

}  // namespace

int run_game(const Options& options, Replay* replay, RecordFile* record) {
    const auto game = std::make_unique<Game>();
    Console& console = process_console();
    const auto coach = options.coach ? std::make_unique<CoachBeside>() : nullptr;
    Table table{*game, console, options, coach.get(), {}, false};
    if (replay != nullptr) {
        start_game(*game, replay->record->seed, replay->record->rules);
    } else {
        start_game(*game, choose_seed(options), options.rules);
    }
    if (replay != nullptr) {
        const std::size_t keys = replay->record->keys.size();
        console_message(replay_start_text(replay->path, keys, replay->japanese).c_str(), true);
    }
    console_start(options.ambiguous_columns, texts_of(options.language).too_small);
    if (coach != nullptr) coach_follow(*coach, *game);
    draw(table);
    std::size_t replayed = 0;
    int status = EXIT_NORMAL;
    for (;;) {
        const int key = next_key(table, replay, replayed);
        if (key == KEY_END_OF_INPUT) break;
        if (key == KEY_INPUT_FAILED) {
            status = EXIT_INPUT_OUTPUT_ERROR;
            break;
        }
        step_game(*game, static_cast<std::uint8_t>(key));
        if (coach != nullptr) {
            // The odds stay while the choice is the same one (the cursor moved).
            const std::uint64_t before = coach->decision;
            coach_follow(*coach, *game);
            table.odds_shown = table.odds_shown && coach->following && coach->decision == before;
        }
        draw(table);
        if (record != nullptr && !record_key(*record, key)) {
            status = EXIT_INPUT_OUTPUT_ERROR;
            break;
        }
    }
    if (coach != nullptr) coach_stop(*coach);
    return status;
}
