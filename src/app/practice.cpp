#include "app/practice.hpp"

#include <memory>
#include <vector>

#include "coach/reason.hpp"
#include "coach/review_text.hpp"
#include "coach/rollouts.hpp"
#include "draw/odds.hpp"
#include "draw/render.hpp"
#include "engine/keys.hpp"
#include "engine/step.hpp"
#include "model/sjis.hpp"
#include "platform/console.hpp"

namespace {

constexpr int TEXT_X = 2;       // practice's words stand where the log line does
constexpr int TEXT_WIDTH = 74;  // to the screen's edge
constexpr int VERDICT_Y = 20;   // between the panel rows and the log line
constexpr int TEXT_ROWS = 3;

// A marked choice to practise: how to reach its screen, and what the coach knows of it.
struct Question {
    std::uint32_t seed;
    int rules;
    std::string keys;  // the keys of its game up to its screen
    ReviewedChoice choice;
};

// The record's marked choices, worked out on the pool.
std::vector<Question> marked_choices(const Record& record, const Options& options) {
    std::vector<Question> questions;
    RolloutPool pool{};
    pool_start(pool, threads_to_use(options));
    each_game(record.seed, record.keys, record.rules, [&](const RecordGame& game) {
        const GameReview review = review_game(game, &pool);
        for (const ReviewedChoice& c : review.choices) {
            if (c.mark < 0 || c.decision.key == NONE) continue;
            const auto upto = static_cast<std::size_t>(c.decision.key);
            questions.push_back({game.seed, game.rules, game.keys.substr(0, upto), c});
        }
    });
    pool_stop(pool);
    return questions;
}

// Text in rows from (TEXT_X, y), cut between characters (and, where it can, between words)
// at the screen's edge.
void draw_text(Screen& screen, const std::string& text, int y, int rows) {
    const auto* bytes = reinterpret_cast<const unsigned char*>(text.data());
    std::size_t at = text.find_first_not_of(' ');
    if (at == std::string::npos) return;
    for (int row = 0; row < rows && at < text.size(); ++row) {
        std::size_t end = at;
        std::size_t space = std::string::npos;
        while (end < text.size()) {
            const std::size_t step =
                std::max<std::size_t>(sjis::char_length(bytes + end, text.size() - end), 1);
            if (end + step - at > TEXT_WIDTH) break;
            if (text[end] == ' ') space = end;
            end += step;
        }
        if (end < text.size() && space != std::string::npos && space > at) end = space;
        screen_move(screen, TEXT_X, y + row);
        screen_print(screen, text.substr(at, end - at).c_str());
        at = end;
        while (at < text.size() && text[at] == ' ') ++at;
    }
}

// Asks one question: its screen, the player's choice, then the odds, the best and the
// reason. True when it was found; false too when input ends (ended is set).
bool ask(const Question& q, int number, int count, const Options& options, bool& ended) {
    Console& console = process_console();
    const Texts& w = texts_of(options.language);
    const auto game = std::make_unique<Game>();
    start_game(*game, q.seed, q.rules);
    for (char key : q.keys) step_game(*game, static_cast<std::uint8_t>(key));
    int made = NONE;  // the choice's code
    for (;;) {
        render(*game, options.language, console.screen);
        draw_text(console.screen, formatted(w.practice_ask, number, count), VERDICT_Y + 1, 1);
        const int key = console_read_key(console);
        if (key == KEY_END_OF_INPUT || key == KEY_INPUT_FAILED) {
            ended = true;
            return false;
        }
        made = choice_made(*game, static_cast<std::uint8_t>(key));
        if (made != NONE) break;
        move_cursor(*game, key_meaning(key));
    }
    const ReviewedChoice& c = q.choice;
    render(*game, options.language, console.screen);
    draw_odds(c.decision.record, c.odds, c.forecast, w, console.screen);
    screen_set_attr(console.screen, ATTR_BRIGHT_WHITE);
    const std::string told = practice_text(c.decision.record, c.odds, c.forecast, made, w);
    draw_text(console.screen, told.substr(0, told.find('\n')), VERDICT_Y, 1);
    draw_text(console.screen, told.substr(told.find('\n') + 1), VERDICT_Y + 1, TEXT_ROWS - 1);
    const int key = console_read_key(console);
    ended = key == KEY_END_OF_INPUT || key == KEY_INPUT_FAILED;
    return practice_found(c.odds, made);
}

}  // namespace

int practise(const Record& record, const Options& options, int& found, int& asked) {
    found = 0;
    asked = 0;
    const std::vector<Question> questions = marked_choices(record, options);
    if (questions.empty()) return EXIT_NORMAL;
    console_start(options.ambiguous_columns, texts_of(options.language).too_small);
    const int count = static_cast<int>(questions.size());
    bool ended = false;
    for (const Question& q : questions) {
        asked += 1;
        found += ask(q, asked, count, options, ended) ? 1 : 0;
        if (ended) break;
    }
    int error = 0;
    return console_failure(error) != 0 ? EXIT_INPUT_OUTPUT_ERROR : EXIT_NORMAL;
}
