#include "coach/review.hpp"

#include <cmath>
#include <memory>

#include "coach/policy.hpp"
#include "engine/keys.hpp"
#include "engine/step.hpp"
#include "model/json.hpp"
#include "model/record.hpp"

namespace {

bool at_dawn(const Game& game) { return game.winner != NONE && game.hanged_on[game.day] == NONE; }

void finish(RecordGame& r, const Game& game) {
    r.winner = game.winner;
    r.day = game.day;
    r.at_dawn = at_dawn(game);
}

int percent(double share) { return static_cast<int>(std::lround(share * 100.0)); }

Estimate estimate_of(const Odds& odds, int index) {
    return estimate(odds.choice[index].wins, odds.choice[index].played);
}

// "Lily 38% (35-41%)"
std::string choice_text(const Texts& w, const Odds& odds, int index) {
    const Estimate e = estimate_of(odds, index);
    return formatted(w.review_choice, name_of(w, odds.choice[index].seat), percent(e.win),
                     percent(e.low), percent(e.high));
}

// The rows of the odds of each choice made, a column a choice: * where the choice was
// fine, ? an inaccuracy, x a mistake, X a blunder.
std::string graph(const std::vector<ReviewedChoice>& choices) {
    std::string out;
    for (int row = 4; row >= 0; --row) {
        std::string line = formatted("    %3d%% |", row * 25);
        for (const ReviewedChoice& c : choices) {
            const double win = c.chosen == NONE ? -1.0 : estimate_of(c.odds, c.chosen).win;
            const int at = static_cast<int>(std::lround(win * 4.0));
            line += at != row ? ' ' : c.mark < 0 ? '*' : "?xX"[c.mark];
        }
        line.erase(line.find_last_not_of(' ') + 1);
        out += line + "\n";
    }
    out += "          ";
    for (std::size_t k = 0; k < choices.size(); ++k) out += static_cast<char>('0' + (k + 1) % 10);
    return out + "\n";
}

const char* const MARK_NAMES[] = {"inaccuracy", "mistake", "blunder"};

std::string mark_json(int mark) {
    return mark < 0 ? "null" : std::string("\"") + MARK_NAMES[mark] + "\"";
}

}  // namespace

void each_game(std::uint32_t seed, const std::string& keys,
               const std::function<void(const RecordGame&)>& each) {
    const auto game = std::make_unique<Game>();
    start_game(*game, seed);
    RecordGame r{1, seed, "", {}, NONE, 1, false};
    for (const char spelled : keys) {
        const auto key = static_cast<std::uint8_t>(spelled);
        if (game->winner != NONE && key_meaning(key) == KEY_AGAIN) {
            finish(r, *game);
            each(r);
            // The next game is dealt from where the random source stands now.
            r = {r.number + 1, game->random.state, "", {}, NONE, 1, false};
        } else {
            const int kind = screen_kind(*game);
            const bool choosing = kind == SCREEN_CHOOSE_ATTACK || kind == SCREEN_CHOOSE_VOTE;
            if (choosing && key_meaning(key) == KEY_CHOOSE && may_choose(*game, game->cursor)) {
                r.decisions.push_back(
                    {static_cast<int>(r.keys.size()), public_record_of(*game), game->cursor});
            }
            r.keys += spelled;
        }
        step_game(*game, key);
    }
    if (r.number == 1 || !r.keys.empty()) {  // a record ending in r has no game after it
        finish(r, *game);
        each(r);
    }
}

int choice_index(const Odds& odds, int seat) {
    for (int c = 0; c < odds.count; ++c) {
        if (odds.choice[c].seat == seat) return c;
    }
    return NONE;
}

int mark_of(const Odds& odds, int seat) {
    const int chosen = choice_index(odds, seat);
    if (chosen == NONE || odds.count == 0) return NONE;
    const Estimate ce = estimate_of(odds, chosen);
    const Estimate be = estimate_of(odds, odds.best);
    const double drop = be.win - ce.win;
    // The uncertainty of the drop: both intervals' half-widths, added as independent errors.
    const double c_half = (ce.high - ce.low) / 2.0;
    const double b_half = (be.high - be.low) / 2.0;
    if (drop <= std::sqrt(c_half * c_half + b_half * b_half)) return NONE;
    if (drop >= 0.20) return MARK_BLUNDER;
    if (drop >= 0.10) return MARK_MISTAKE;
    if (drop >= 0.05) return MARK_INACCURACY;
    return NONE;
}

double kept_of(const Odds& odds, int seat) {
    const int chosen = choice_index(odds, seat);
    if (chosen == NONE || odds.count == 0) return 1.0;
    const double best = estimate_of(odds, odds.best).win;
    const double kept = estimate_of(odds, chosen).win;
    return best <= 0.0 || kept >= best ? 1.0 : kept / best;
}

ReviewedChoice reviewed_choice(const Decision& decision, const Odds& odds) {
    return {decision, odds, choice_index(odds, decision.chosen), mark_of(odds, decision.chosen),
            kept_of(odds, decision.chosen)};
}

std::vector<ReviewedChoice> review_game(const RecordGame& game, RolloutPool* pool) {
    std::vector<ReviewedChoice> choices;
    for (const Decision& d : game.decisions)
        choices.push_back(reviewed_choice(d, odds_of(d.record, COACH_FULL, pool)));
    return choices;
}

int accuracy_of(const std::vector<ReviewedChoice>& choices) {
    double kept = 0.0;
    for (const ReviewedChoice& c : choices) kept += c.kept;
    return choices.empty() ? 100 : percent(kept / static_cast<double>(choices.size()));
}

ChoiceWords choice_words(const ReviewedChoice& c, const Texts& w) {
    ChoiceWords words;
    const PublicRecord& r = c.decision.record;
    words.when = r.phase == PHASE_ATTACK_SELECT
                     ? formatted(w.review_attack, r.day)
                     : formatted(w.review_vote, r.day, name_of(w, voting_wolf(r)));
    if (c.chosen == NONE) {
        words.chosen = formatted(w.review_no_odds, name_of(w, c.decision.chosen));
        return words;
    }
    words.chosen = choice_text(w, c.odds, c.chosen);
    if (c.chosen != c.odds.best) words.best = choice_text(w, c.odds, c.odds.best);
    if (c.mark >= 0) words.mark = w.review_marks[c.mark];
    return words;
}

std::string review_text(const RecordGame& game, const std::vector<ReviewedChoice>& choices,
                        const Texts& w) {
    std::string out = formatted(w.review_game, game.number) + "\n";
    for (const ReviewedChoice& c : choices) {
        const ChoiceWords words = choice_words(c, w);
        out += "  " + words.when + formatted(w.review_chosen, words.chosen.c_str());
        if (c.chosen != NONE) {
            out += words.best.empty() ? std::string(w.review_best_chosen)
                                      : formatted(w.review_best, words.best.c_str());
        }
        if (!words.mark.empty()) out += "  " + words.mark;
        out += "\n";
    }
    const std::string decided = game.winner == NONE
                                    ? std::string(w.review_unfinished)
                                    : won_text(w, game.winner, game.day, game.at_dawn);
    // A game without a choice of the wolves' has no accuracy and no graph.
    if (choices.empty()) {
        out += "  " + decided + "\n";
    } else {
        out += "  " + decided + formatted(w.review_accuracy, accuracy_of(choices)) + "\n";
        out += "  " + std::string(w.review_graph) + "\n" + graph(choices);
    }
    return out + "  " + w.review_address + record_link(Record{game.seed, game.keys}) +
           "&review=1\n";
}

std::string json_share(double value) {
    // Whole numbers only: printing floating point would double the page's module.
    const long tenths_of_thousands = std::lround(value * 10000.0);
    const std::string digits = std::to_string(10000 + tenths_of_thousands % 10000);
    return std::to_string(tenths_of_thousands / 10000) + "." + digits.substr(1);
}

std::string review_json(const RecordGame& game, const std::vector<ReviewedChoice>& choices) {
    std::string out;
    for (const ReviewedChoice& c : choices) {
        const PublicRecord& r = c.decision.record;
        const bool attack = r.phase == PHASE_ATTACK_SELECT;
        out += "{\"game\": " + std::to_string(game.number) + ", \"day\": " + std::to_string(r.day) +
               ", \"choice\": \"" + (attack ? "attack" : "vote") + "\", ";
        if (!attack) out += "\"wolf\": " + std::to_string(voting_wolf(r)) + ", ";
        out += "\"chosen\": " + std::to_string(c.decision.chosen) + ", \"options\": [";
        for (int k = 0; k < c.odds.count; ++k) {
            const Estimate e = estimate_of(c.odds, k);
            out += std::string(k > 0 ? ", " : "") +
                   "{\"seat\": " + std::to_string(c.odds.choice[k].seat) +
                   ", \"win\": " + json_share(e.win) + ", \"low\": " + json_share(e.low) +
                   ", \"high\": " + json_share(e.high) + "}";
        }
        out += "], \"mark\": " + mark_json(c.mark) + "}\n";
    }
    const char* winner = game.winner == WINNER_WOLVES    ? "\"wolves\""
                         : game.winner == WINNER_VILLAGE ? "\"village\""
                                                         : "null";
    // A dawn win is told as the night before it: the morning after never came.
    const std::string when = game.at_dawn && game.winner == WINNER_WOLVES
                                 ? std::to_string(game.day - 1) + ", \"night\": true"
                                 : std::to_string(game.day) + ", \"night\": false";
    return out + "{\"game\": " + std::to_string(game.number) + ", \"winner\": " + winner +
           ", \"day\": " + when + ", \"accuracy\": " + std::to_string(accuracy_of(choices)) + "}\n";
}

std::string choice_json(const ReviewedChoice& c, const Texts& w) {
    const ChoiceWords words = choice_words(c, w);
    std::string out = "{\"when\":";
    json_string(out, words.when.c_str());
    out += ",\"chosen\":";
    json_string(out, words.chosen.c_str());
    out += ",\"best\":";
    if (words.best.empty()) {
        out += "null";
    } else {
        json_string(out, words.best.c_str());
    }
    out += ",\"mark\":" + mark_json(c.mark) + ",\"markWord\":";
    json_string(out, words.mark.c_str());
    const double win = c.chosen == NONE ? 0.0 : estimate_of(c.odds, c.chosen).win;
    return out + ",\"win\":" + json_share(win) +
           ",\"declined\":" + (c.chosen == NONE ? "true" : "false") + "}";
}
