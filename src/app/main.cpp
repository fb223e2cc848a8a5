// The command line and the files it names, read before the terminal is touched; then the
// game, or the story of a record.
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <memory>

#include "app/messages.hpp"
#include "app/options.hpp"
#include "app/record_file.hpp"
#include "app/review.hpp"
#include "app/run_game.hpp"
#include "app/simulate.hpp"
#include "engine/step.hpp"
#include "model/keys.hpp"
#include "model/record.hpp"
#include "model/story.hpp"
#include "platform/console.hpp"

namespace {

// Writes what the command prints; when standard output cannot take it, says so on
// standard error. The exit status: `status`, or EXIT_INPUT_OUTPUT_ERROR.
int print(Console& console, const std::string& text, bool japanese, int status = EXIT_NORMAL) {
    if (console_message(console, text.c_str(), false)) return status;
    console_message(console, write_error_text(nullptr, errno, false, japanese).c_str(), true);
    return EXIT_INPUT_OUTPUT_ERROR;
}

// Says what went wrong on standard error: `status`, or EXIT_INPUT_OUTPUT_ERROR when even
// that cannot be written.
int complain(Console& console, const std::string& text, int status) {
    return console_message(console, text.c_str(), true) ? status : EXIT_INPUT_OUTPUT_ERROR;
}

// Reads the record named by the options; on an error says so and gives the exit status.
bool read_record(Console& console, const char* path, Record& record, bool japanese, int& status) {
    const int error = read_record_file(path, record);
    if (error == RECORD_OK) return true;
    status = complain(console, record_error_text(error, path, japanese),
                      error == RECORD_READ_ERROR ? EXIT_INPUT_OUTPUT_ERROR : EXIT_USAGE_ERROR);
    return false;
}

// After the game: the terminal given back first, then one line for whatever went wrong
// with the terminal or the record.
int after_game(Console& console, int status, const RecordFile* record, bool japanese) {
    console_restore(console);
    int error = 0;
    const int failure = console_failure(console, error);
    std::string lines;
    if (failure == CONSOLE_READ_FAILED) lines += read_error_text(error, japanese);
    if (failure == CONSOLE_WRITE_FAILED) lines += write_error_text(nullptr, error, false, japanese);
    if (record != nullptr && record->error != 0) {
        lines += write_error_text(record->path, record->error, false, japanese);
    }
    if (record != nullptr && record->full) lines += record_full_text(record->path, japanese);
    if (lines.empty()) return status;
    return complain(console, lines, status);
}

// Steps through the record without drawing it, and prints the story of each of its games
// and the address that opens the record in the page.
int tell_story(Console& console, const Options& options, bool japanese) {
    Record record{};
    int status = EXIT_NORMAL;
    if (!read_record(console, options.story_path, record, japanese, status)) return status;
    const auto game = std::make_unique<Game>();
    start_game(*game, record.seed);
    std::string story;
    for (char key : record.keys) {
        if (game->winner != NONE && key_meaning(key) == KEY_AGAIN) {  // a game ends
            story += story_text(*game, options.language) + "\n";
        }
        step_game(*game, static_cast<std::uint8_t>(key));
    }
    story += story_text(*game, options.language) + record_link(record) + "\n";
    return print(console, story, japanese);
}

int play(Console& console, const Options& options, bool japanese) {
    Record replay{};
    int status = EXIT_NORMAL;
    if (options.replay_path != nullptr &&
        !read_record(console, options.replay_path, replay, japanese, status)) {
        return status;
    }
    if (options.record_path != nullptr) {
        const std::uint32_t seed = choose_seed(options);
        bool exists = false;
        RecordFile record{};
        if (!create_record_file(record, options.record_path, seed, exists)) {
            return complain(
                console,
                record_file_error_text(exists, options.record_path, record.error, japanese),
                exists ? EXIT_USAGE_ERROR : EXIT_INPUT_OUTPUT_ERROR);
        }
        Options seeded = options;  // the game is dealt from the seed written down
        seeded.seed_source = SEED_GIVEN;
        seeded.seed = seed;
        const int played = run_game(seeded, nullptr, &record);
        close_record_file(record);
        return after_game(console, played, &record, japanese);
    }
    const int played =
        run_game(options, options.replay_path != nullptr ? &replay : nullptr, nullptr);
    return after_game(console, played, nullptr, japanese);
}

}  // namespace

int main(int argc, char** argv) {
    const Options options = parse_options(argc, argv, std::getenv("JINRO_LANG"));
    Console& console = process_console();
    const bool japanese = console_speaks_japanese(console);
    switch (options.action) {
    case ACTION_HELP: return print(console, help_text(japanese), japanese);
    case ACTION_VERSION: return print(console, version_text(), japanese);
    case ACTION_USAGE_ERROR:
        return complain(console, usage_error_text(options, japanese), EXIT_USAGE_ERROR);
    case ACTION_STORY: return tell_story(console, options, japanese);
    case ACTION_SIMULATE: return print(console, simulation_report(options), japanese);
    case ACTION_REVIEW: {
        Record record{};
        int status = EXIT_NORMAL;
        if (!read_record(console, options.review_path, record, japanese, status)) return status;
        return print(console, review_report(record, options), japanese);
    }
    default: return play(console, options, japanese);
    }
}
