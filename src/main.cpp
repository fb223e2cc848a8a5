// The command line and the files it names, read before the terminal is touched; then the
// game, or the story of a record.
#include <cstdio>
#include <cstdlib>

#include "cli/messages.hpp"
#include "cli/options.hpp"
#include "cli/record.hpp"
#include "console/console.hpp"
#include "engine/pass.hpp"
#include "engine/run_game.hpp"
#include "model/new_game.hpp"
#include "model/random.hpp"
#include "model/story.hpp"
#include "model/texts.hpp"

namespace {

// Reads the record named by the options; on an error says so and gives the exit status.
bool read_record(Console& console, const char* path, Record& record, bool japanese, int& status) {
    const int error = read_record_file(path, record);
    if (error == RECORD_OK) return true;
    console_message(console, record_error_text(error, path, japanese).c_str(), true);
    status = error == RECORD_READ_ERROR ? EXIT_INPUT_OUTPUT_ERROR : EXIT_USAGE_ERROR;
    return false;
}

// Plays the record on a screen of its own, never shown, and prints the story of each of
// its games and the address that opens the record in the page.
int tell_story(Console& console, const Options& options, bool japanese) {
    Record record{};
    int status = EXIT_NORMAL;
    if (!read_record(console, options.story_path, record, japanese, status)) return status;
    choose_language(options.language);
    seed_random(record.seed);
    Game* game = create_game();
    Console screen = {};
    new_game(*game);
    game->console = &screen;
    next_screen(*game);
    std::string story;
    for (char key : record.keys) {
        if (game->winner != NONE && key == 'r') story += story_text(*game) + "\n";  // a game ends
        play_key(*game, static_cast<std::uint8_t>(key));
    }
    story += story_text(*game) + record_link(record) + "\n";
    console_message(console, story.c_str(), false);
    return EXIT_NORMAL;
}

int play(Console& console, const Options& options, bool japanese) {
    Record replay{};
    int status = EXIT_NORMAL;
    if (options.replay_path != nullptr &&
        !read_record(console, options.replay_path, replay, japanese, status)) {
        return status;
    }
    std::FILE* record = nullptr;
    if (options.record_path != nullptr) {
        const std::uint32_t seed = choose_seed(options);
        bool exists = false;
        record = create_record_file(options.record_path, seed, exists);
        if (record == nullptr) {
            console_message(console,
                            record_file_error_text(exists, options.record_path, japanese).c_str(),
                            true);
            return exists ? EXIT_USAGE_ERROR : EXIT_INPUT_OUTPUT_ERROR;
        }
        Options seeded = options;  // the game is dealt from the seed written down
        seeded.seed_source = SEED_GIVEN;
        seeded.seed = seed;
        return run_game(seeded, nullptr, record);
    }
    return run_game(options, options.replay_path != nullptr ? &replay : nullptr, nullptr);
}

}  // namespace

int main(int argc, char** argv) {
    const Options options = parse_options(argc, argv, std::getenv("JINRO_LANG"));
    Console& console = process_console();
    const bool japanese = console_speaks_japanese(console);
    switch (options.action) {
    case ACTION_HELP: console_message(console, help_text(japanese), false); return EXIT_NORMAL;
    case ACTION_VERSION:
        console_message(console, version_text().c_str(), false);
        return EXIT_NORMAL;
    case ACTION_USAGE_ERROR:
        console_message(console, usage_error_text(options, japanese).c_str(), true);
        return EXIT_USAGE_ERROR;
    case ACTION_STORY: return tell_story(console, options, japanese);
    default: return play(console, options, japanese);
    }
}
