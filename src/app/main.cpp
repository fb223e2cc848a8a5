// The command line and the files it names, read before the terminal is touched; then the
// game, or the story of a record.
#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <new>

#include "app/messages.hpp"
#include "app/options.hpp"
#include "app/practice.hpp"
#include "app/record_file.hpp"
#include "app/review.hpp"
#include "app/run_game.hpp"
#include "app/simulate.hpp"
#include "engine/step.hpp"
#include "model/keys.hpp"
#include "model/record.hpp"
#include "model/story.hpp"
#include "model/texts.hpp"
#include "platform/console.hpp"

namespace {

// Writes what the command prints; when standard output cannot take it, says so on
// standard error. The exit status: `status`, or EXIT_INPUT_OUTPUT_ERROR.
int print(const std::string& text, bool japanese, int status = EXIT_NORMAL) {
    if (console_message(text.c_str(), false)) return status;
    console_message(write_error_text(nullptr, errno, false, japanese).c_str(), true);
    return EXIT_INPUT_OUTPUT_ERROR;
}

// Says what went wrong on standard error: `status`, or EXIT_INPUT_OUTPUT_ERROR when even
// that cannot be written.
int complain(const std::string& text, int status) {
    return console_message(text.c_str(), true) ? status : EXIT_INPUT_OUTPUT_ERROR;
}

// Reads the record named by the options; on an error says so and gives the exit status.
bool read_record(const char* path, Record& record, bool japanese, int& status) {
    int system_error = 0;
    const int error = read_record_file(path, record, system_error);
    if (error == RECORD_OK) return true;
    status = complain(record_error_text(error, path, japanese, system_error),
                      error == RECORD_READ_ERROR ? EXIT_INPUT_OUTPUT_ERROR : EXIT_USAGE_ERROR);
    return false;
}

// After the game: the terminal given back first, then one line for whatever went wrong
// with the terminal or the record.
int after_game(int status, const RecordFile* record, bool japanese) {
    console_restore();
    int error = 0;
    const int failure = console_failure(error);
    std::string lines;
    if (failure == CONSOLE_READ_FAILED) lines += read_error_text(error, japanese);
    if (failure == CONSOLE_WRITE_FAILED) lines += write_error_text(nullptr, error, false, japanese);
    if (record != nullptr && record->error != 0) {
        lines += write_error_text(record->path, record->error, false, japanese);
    }
    if (record != nullptr && record->full) lines += record_full_text(record->path, japanese);
    if (lines.empty()) return status;
    return complain(lines, status);
}

// The options for a record's game: its language, unless --lang says another.
Options speaking_record(const Options& options, const Record& record) {
    Options spoken = options;
    spoken.language = record_language(options, record.language);
    return spoken;
}

// Steps through the record without drawing it, and prints the story of each of its games
// and the address that opens the record in the page.
int tell_story(const Options& asked, bool japanese) {
    Record record{};
    int status = EXIT_NORMAL;
    if (!read_record(asked.story_path, record, japanese, status)) return status;
    const Options options = speaking_record(asked, record);
    const auto game = std::make_unique<Game>();
    start_game(*game, record.seed, record.rules);
    std::string story;
    for (char key : record.keys) {
        if (game->winner != NONE && key_meaning(key) == KEY_AGAIN) {  // a game ends
            story += story_text(*game, options.language) + "\n";
        }
        step_game(*game, static_cast<std::uint8_t>(key));
    }
    story += story_text(*game, options.language) + record_link(record) + "\n";
    return print(story, japanese);
}

int play(const Options& options, bool japanese) {
    Record replay{};
    int status = EXIT_NORMAL;
    if (options.replay_path != nullptr &&
        !read_record(options.replay_path, replay, japanese, status)) {
        return status;
    }
    if (options.record_path != nullptr) {
        const std::uint32_t seed = choose_seed(options);
        bool exists = false;
        RecordFile record{};
        if (!create_record_file(record, options.record_path, seed, options.language, options.rules,
                                exists)) {
            return complain(
                record_file_error_text(exists, options.record_path, record.error, japanese),
                exists ? EXIT_USAGE_ERROR : EXIT_INPUT_OUTPUT_ERROR);
        }
        Options seeded = options;  // the game is dealt from the seed written down
        seeded.seed_source = SEED_GIVEN;
        seeded.seed = seed;
        const int played = run_game(seeded, nullptr, &record);
        close_record_file(record);
        return after_game(played, &record, japanese);
    }
    if (options.replay_path == nullptr)
        return after_game(run_game(options, nullptr, nullptr), nullptr, japanese);
    Replay played_back{&replay, options.replay_path, japanese, ""};
    const int played = run_game(speaking_record(options, replay), &played_back, nullptr);
    const int status_after = after_game(played, nullptr, japanese);
    if (played_back.later.empty()) return status_after;
    return complain(played_back.later, status_after);
}

// --simulate: progress on a terminal's standard error as the games go, and Ctrl-C ends
// the run with the games finished so far, marked as partial (status 130).
int simulate_games(const Options& asked, bool japanese) {
    Options options = asked;  // the report speaks as the help does
    options.language = japanese ? LANGUAGE_JAPANESE : LANGUAGE_ENGLISH;
    console_catch_interrupt();
    const bool show = console_error_is_terminal();
    std::atomic<bool> stop{false};
    bool shown = false;
    const Simulation done = simulate(options, stop, [&](const Simulation& so_far) {
        if (console_interrupted()) stop = true;
        if (!show || so_far.done == 0) return;
        std::string line = "\r";
        line += progress_line(options, so_far);
        shown = console_message((line + "\x1b[K").c_str(), true);
    });
    if (shown) console_message("\r\x1b[K", true);
    return print(simulation_report(options, done), japanese,
                 done.partial ? EXIT_INTERRUPTED : EXIT_NORMAL);
}

int review(const Options& asked, bool japanese) {
    Record record{};
    int status = EXIT_NORMAL;
    if (!read_record(asked.review_path, record, japanese, status)) return status;
    const Options options = speaking_record(asked, record);
    const bool printed = review_record(record, options, [](const std::string& text) {
        return console_message(text.c_str(), false);
    });
    if (printed) return EXIT_NORMAL;
    return complain(write_error_text(nullptr, errno, false, japanese), EXIT_INPUT_OUTPUT_ERROR);
}

int practice(const Options& asked, bool japanese) {
    Record record{};
    int status = EXIT_NORMAL;
    if (!read_record(asked.practice_path, record, japanese, status)) return status;
    const Options options = speaking_record(asked, record);
    int found = 0;
    int questions = 0;
    const int played = practise(record, options, found, questions);
    const int after = after_game(played, nullptr, japanese);
    const Texts& w = texts_of(options.language);
    if (questions == 0) return print(w.practice_none, japanese, after);
    return print(formatted(w.practice_summary, found, questions), japanese, after);
}

// Memory ran out, on whatever thread: the terminal given back, one line, status 1.
[[noreturn]] void out_of_memory() {
    console_last_words();
    std::_Exit(EXIT_INPUT_OUTPUT_ERROR);
}

}  // namespace

int main(int argc, char** argv) {
    const bool locale_japanese = console_speaks_japanese();
    console_keep_last_words(memory_error_text(locale_japanese));
    std::set_new_handler(out_of_memory);
    const Options options = parse_options(argc, argv, std::getenv("JINRO_LANG"));
    // The messages speak the language chosen, else the locale's.
    const bool japanese = messages_language(options, locale_japanese) == LANGUAGE_JAPANESE;
    console_keep_last_words(memory_error_text(japanese));
    switch (options.action) {
    case ACTION_HELP: return print(help_text(japanese), japanese);
    case ACTION_VERSION: return print(version_text(), japanese);
    case ACTION_USAGE_ERROR: return complain(usage_error_text(options, japanese), EXIT_USAGE_ERROR);
    case ACTION_STORY: return tell_story(options, japanese);
    case ACTION_SIMULATE: return simulate_games(options, japanese);
    case ACTION_REVIEW: return review(options, japanese);
    case ACTION_PRACTICE: return practice(options, japanese);
    default: return play(options, japanese);
    }
}
