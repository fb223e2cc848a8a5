#include "app/review.hpp"

#include <cmath>
#include <cstdio>
#include <memory>
#include <thread>
#include <vector>

#include "app/simulate.hpp"
#include "coach/review.hpp"
#include "model/texts.hpp"

namespace {

int percent(double share) { return static_cast<int>(std::lround(share * 100.0)); }

// "Lily 38% (35-41%)"
std::string choice_text(const Texts& w, const Odds& odds, int index) {
    const ChoiceOdds& c = odds.choice[index];
    const Estimate e = estimate(c.wins, c.played);
    return formatted(w.review_choice, name_of(w, c.seat), percent(e.win), percent(e.low),
                     percent(e.high));
}

// The rows of the odds of each choice made, a column a choice: * where the choice was
// fine, ? an inaccuracy, x a mistake, X a blunder.
std::string graph(const std::vector<double>& odds, const std::vector<int>& marks) {
    std::string out;
    for (int row = 4; row >= 0; --row) {
        std::string line = formatted("    %3d%% |", row * 25);
        for (std::size_t k = 0; k < odds.size(); ++k) {
            const int at = static_cast<int>(std::lround(odds[k] * 4.0));
            line += at != row ? ' ' : marks[k] < 0 ? '*' : "?xX"[marks[k]];
        }
        line.erase(line.find_last_not_of(' ') + 1);
        out += line + "\n";
    }
    out += "          ";
    for (std::size_t k = 0; k < odds.size(); ++k) out += static_cast<char>('0' + (k + 1) % 10);
    return out + "\n";
}

std::string json_decision(const Decision& d, const Odds& odds, int mark) {
    const bool attack = d.record.phase == PHASE_ATTACK_SELECT;
    std::string out = formatted("{\"game\": %d, \"day\": %d, \"choice\": \"%s\", ", d.game,
                                d.record.day, attack ? "attack" : "vote");
    if (!attack) out += formatted("\"wolf\": %d, ", voting_wolf(d.record));
    out += formatted("\"chosen\": %d, \"options\": [", d.chosen);
    for (int c = 0; c < odds.count; ++c) {
        const Estimate e = estimate(odds.choice[c].wins, odds.choice[c].played);
        out += formatted("%s{\"seat\": %d, \"win\": %.4f, \"low\": %.4f, \"high\": %.4f}",
                         c > 0 ? ", " : "", odds.choice[c].seat, e.win, e.low, e.high);
    }
    static const char* const MARKS[] = {"\"inaccuracy\"", "\"mistake\"", "\"blunder\""};
    return out + "], \"mark\": " + (mark < 0 ? "null" : MARKS[mark]) + "}\n";
}

}  // namespace

Odds threaded_odds(const PublicRecord& record, Budget budget, int threads) {
    const auto work = std::make_unique<OddsWork>();
    odds_begin(*work, record, budget);
    const auto round = std::make_unique<Round>();
    while (odds_plan(*work, *round) > 0) {
        // Rollout k on thread k mod threads: each result has its own place.
        const auto play = [&](int first) {
            for (int k = first; k < round->size; k += threads)
                round->won[k] = play_rollout(*work, round->rollout[k]);
        };
        std::vector<std::thread> pool;
        for (int t = 1; t < threads && t < round->size; ++t) pool.emplace_back(play, t);
        play(0);
        for (std::thread& thread : pool) thread.join();
        odds_add(*work, *round);
    }
    return work->odds;
}

std::string review_report(const Record& record, const Options& options) {
    std::vector<Decision> decisions;
    std::vector<Ending> endings;
    decisions_of(record.seed, record.keys, decisions, endings);
    const Texts& w = texts_of(options.language);
    const int threads = threads_to_use(options);
    std::string out;
    std::size_t next = 0;  // the next decision to tell
    for (const Ending& ending : endings) {
        if (!options.json) out += formatted(w.review_game, ending.game) + "\n";
        std::vector<double> odds_made;
        std::vector<int> marks;
        double kept = 0.0;
        for (; next < decisions.size() && decisions[next].game == ending.game; ++next) {
            const Decision& d = decisions[next];
            const Odds odds = threaded_odds(d.record, COACH_FULL, threads);
            const int mark = mark_of(odds, d.chosen);
            const int chosen = choice_index(odds, d.chosen);
            kept += kept_of(odds, d.chosen);
            odds_made.push_back(estimate(odds.choice[chosen].wins, odds.choice[chosen].played).win);
            marks.push_back(mark);
            if (options.json) {
                out += json_decision(d, odds, mark);
                continue;
            }
            const bool attack = d.record.phase == PHASE_ATTACK_SELECT;
            out += "  " + (attack ? formatted(w.review_attack, d.record.day)
                                  : formatted(w.review_vote, d.record.day,
                                              name_of(w, voting_wolf(d.record))));
            out += formatted(w.review_chosen, choice_text(w, odds, chosen).c_str());
            out += chosen == odds.best
                       ? std::string(w.review_best_chosen)
                       : formatted(w.review_best, choice_text(w, odds, odds.best).c_str());
            if (mark >= 0) out += std::string("  ") + w.review_marks[mark];
            out += "\n";
        }
        const int accuracy =
            odds_made.empty() ? 100 : percent(kept / static_cast<double>(odds_made.size()));
        if (options.json) {
            const char* winner = ending.winner == WINNER_WOLVES    ? "\"wolves\""
                                 : ending.winner == WINNER_VILLAGE ? "\"village\""
                                                                   : "null";
            out += formatted("{\"game\": %d, \"winner\": %s, \"day\": %d, \"accuracy\": %d}\n",
                             ending.game, winner, ending.day, accuracy);
            continue;
        }
        const std::string decided = ending.winner == NONE
                                        ? std::string(w.review_unfinished)
                                        : won_text(w, ending.winner, ending.day, ending.at_dawn);
        // A game without a choice of the wolves' has no accuracy and no graph.
        if (odds_made.empty()) {
            out += "  " + decided + "\n";
        } else {
            out += "  " + decided + formatted(w.review_accuracy, accuracy) + "\n";
            out += "  " + std::string(w.review_graph) + "\n" + graph(odds_made, marks);
        }
        const Record shown{record.seed,
                           record.keys.substr(0, static_cast<std::size_t>(ending.last_key) + 1)};
        out += "  " + std::string(w.review_address) + record_link(shown) + "&review=1\n";
    }
    return out;
}
