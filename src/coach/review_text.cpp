#include "coach/review_text.hpp"

#include <cmath>
#include <cstdlib>

#include "coach/reason.hpp"
#include "engine/morning.hpp"
#include "model/json.hpp"
#include "model/keys.hpp"
#include "model/record.hpp"

namespace {

int percent(double share) { return static_cast<int>(std::lround(share * 100.0)); }

Estimate estimate_of(const Odds& odds, int index) {
    return estimate(odds.choice[index].wins, odds.choice[index].played);
}

// The marks as chess players write them, and as tools read them.
const char* const MARK_SIGNS[] = {"?!", "?", "??"};
const char* const MARK_NAMES[] = {"inaccuracy", "mistake", "blunder"};

std::string mark_json(int mark) {
    return mark < 0 ? "null" : std::string("\"") + MARK_NAMES[mark] + "\"";
}

// "Lily 38% (35-41%)"
std::string choice_text(const Texts& w, const PublicRecord& r, const Odds& odds, int index) {
    return choice_label(r, odds.choice[index], w) + " " + chance_text(estimate_of(odds, index));
}

// The column of a choice on the graph's axis: its night or day.
std::string axis_label(const Texts& w, const ReviewedChoice& c) {
    const PublicRecord& r = c.decision.record;  // a morning's question is its day's
    return formatted(r.phase == PHASE_ATTACK_SELECT ? w.review_night_short : w.review_day_short,
                     r.day);
}

// The odds of each choice made, a column of four a choice, each in the row of its tenth:
// * fine, ?! an inaccuracy, ? a mistake, ?? a blunder; the nights and days under them.
std::string graph(const std::vector<ReviewedChoice>& choices, const Texts& w) {
    std::string out;
    for (int row = 10; row >= 0; --row) {
        std::string line = formatted("    %3d%% |", row * 10);
        for (const ReviewedChoice& c : choices) {
            const int at =
                c.chosen == NONE ? -1 : static_cast<int>(std::lround(chosen_win(c) * 10.0));
            const std::string mark = c.mark < 0 ? "*" : MARK_SIGNS[c.mark];
            line += at != row ? "    " : " " + mark + std::string(3 - mark.size(), ' ');
        }
        line.erase(line.find_last_not_of(' ') + 1);
        out += line + "\n";
    }
    std::string axis = "          ";
    for (const ReviewedChoice& c : choices) {
        const std::string label = axis_label(w, c);
        // A Japanese label is three columns, as many as its bytes.
        axis += label + std::string(label.size() < 4 ? 4 - label.size() : 0, ' ');
    }
    axis.erase(axis.find_last_not_of(' ') + 1);
    return out + axis + "\n          " + w.review_legend + "\n";
}

// The coach's read of the village: the living seats whose role the wolves do not know and
// that stand out (a power's chance of READ_FROM or more), the likeliest first, with that
// power and its chance.
constexpr double READ_FROM = 0.2;

std::string read_text(const ReviewedChoice& c, const Texts& w) {
    int order[SEAT_COUNT];
    double chance[SEAT_COUNT];
    int count = 0;
    for (int seat = 0; seat < SEAT_COUNT; ++seat) {
        if (!role_unknown(c.decision.record, seat) || c.decision.record.alive[seat] != 1) continue;
        const double p = c.forecast.role[seat][likeliest_power(c.forecast, seat)];
        if (p < READ_FROM) continue;
        int at = count++;
        for (; at > 0 && chance[order[at - 1]] < p; --at) order[at] = order[at - 1];
        order[at] = seat;
        chance[seat] = p;
    }
    std::string items;
    for (int k = 0; k < count; ++k) {
        const int seat = order[k];
        items += (k > 0 ? w.event_join : "") +
                 formatted(w.review_read_item, name_of(w, seat),
                           role_glyph(w, likeliest_power(c.forecast, seat)), percent(chance[seat]));
    }
    return formatted(w.review_read, items.empty() ? w.review_read_none : items.c_str());
}

std::string event_text(const Event& e, const Texts& w) {
    const char* seat = name_of(w, e.seat);
    const char* other = name_of(w, e.other);
    const char* verdict = w.verdict_words[e.value == VERDICT_BLACK ? 1 : 0];
    switch (e.kind) {
    case EVENT_KILLED: return formatted(w.event_killed, seat);
    case EVENT_GUARDED: return formatted(w.event_guarded, seat);
    case EVENT_CLAIM:
        return formatted(w.event_claim, seat,
                         e.value >= 0 && e.value < ROLE_COUNT ? w.role_names[e.value] : "");
    case EVENT_VERDICT: return formatted(w.event_verdict, seat, other, verdict);
    case EVENT_MEDIUM: return formatted(w.event_medium, seat, other, verdict);  // never of nobody
    case EVENT_CALL: return formatted(w.event_call, seat, other);
    case EVENT_HANGED: return formatted(w.event_hanged, seat, e.value);
    default: return formatted(w.event_tie, seat, e.value);
    }
}

// What the screens showed after choice k, up to the next.
std::string told_after(const RecordGame& game, std::size_t k, const Texts& w) {
    std::string told;
    for (const Event& e : game.events) {
        if (e.after != static_cast<int>(k)) continue;
        told += (told.empty() ? "" : w.event_join) + event_text(e, w);
    }
    return told;
}

// What happened after choice k, and how it moved the odds.
std::string then_text(const RecordGame& game, const GameReview& review, std::size_t k,
                      const Texts& w) {
    const std::string told = told_after(game, k, w);
    const ReviewedChoice& c = review.choices[k];
    if (told.empty() || c.chosen == NONE) return "";
    const int before = percent(chosen_win(c));
    const int after = percent(review.after[k]);
    std::string line = formatted(w.review_then, told.c_str(), before, after);
    if (std::abs(after - before) >= percent(SWING)) line += w.review_swing;
    return line + "\n";
}

std::string choice_lines(const RecordGame& game, const GameReview& review, std::size_t k,
                         const Texts& w) {
    const ReviewedChoice& c = review.choices[k];
    const ChoiceWords words = choice_words(c, w);
    std::string out =
        "  " + words.when + formatted(w.review_chosen, words.chosen.c_str()) + words.verdict;
    if (!words.mark.empty()) out += "  " + words.sign + " " + words.mark;
    out += "\n";
    if (c.chosen == NONE) return out;
    if (!words.reason.empty()) out += formatted(w.review_why, words.reason.c_str()) + "\n";
    out += read_text(c, w) + "\n";
    return out + then_text(game, review, k, w);
}

}  // namespace

std::string chance_text(const Estimate& e) {
    return formatted("%d%% (%d-%d%%)", percent(e.win), percent(e.low), percent(e.high));
}

ChoiceWords choice_words(const ReviewedChoice& c, const Texts& w) {
    ChoiceWords words;
    const PublicRecord& r = c.decision.record;
    words.when = r.phase == PHASE_ATTACK_SELECT
                     ? formatted(w.review_attack, r.day)
                     : formatted(w.review_vote, r.day, name_of(w, voting_wolf(r)));
    if (r.phase == PHASE_FAKE_CLAIM && r.question >= QUESTION_CLAIM &&
        r.question <= QUESTION_MEDIUM_VERDICT) {
        words.when =
            formatted(w.review_morning[r.question - QUESTION_CLAIM], r.day, name_of(w, r.asked));
    }
    if (c.chosen == NONE) {
        const ChoiceOdds made{
            code_seat(c.decision.chosen), code_key(c.decision.chosen), 0, 0, 0, 0, 0, 0};
        words.chosen = formatted(w.review_no_odds, choice_label(r, made, w).c_str());
        return words;
    }
    words.chosen = choice_text(w, r, c.odds, c.chosen);
    if (c.chosen == c.odds.best) {
        words.verdict = w.review_best_chosen;
    } else if (c.as_good) {
        words.verdict = w.review_as_good;
    } else {
        words.best = choice_text(w, r, c.odds, c.odds.best);
        words.verdict = formatted(w.review_best, words.best.c_str());
    }
    if (c.mark >= 0) {
        words.sign = MARK_SIGNS[c.mark];
        words.mark = w.review_marks[c.mark];
    }
    // A choice as good as the best is told by its facts; another, by what sets the best apart.
    words.reason = c.as_good ? choice_facts(r, c.odds, c.forecast, c.chosen, w)
                             : reason_text(r, c.odds, c.forecast, c.chosen, w);
    return words;
}

std::string review_text(const RecordGame& game, const GameReview& review, const Texts& w) {
    std::string out = formatted(w.review_game, game.number) + "\n";
    for (std::size_t k = 0; k < review.choices.size(); ++k) out += choice_lines(game, review, k, w);
    const std::string decided = game.winner == NONE
                                    ? std::string(w.review_unfinished)
                                    : won_text(w, game.winner, game.day, game.at_dawn);
    out += "  " + decided + "\n";
    // A game without a choice of the wolves' has no accuracy and no graph.
    if (!review.choices.empty()) {
        out += "  " + formatted(w.review_accuracy, accuracy_of(review.choices)) + "\n";
        out += "  " + formatted(w.review_sums, percent(review.cost), percent(review.luck)) + "\n";
        out += "  " + std::string(w.review_graph) + "\n" + graph(review.choices, w);
    }
    return out + "  " + w.review_address +
           record_link(Record{game.seed, game.keys, NONE, game.rules}) + "&review=1\n";
}

std::string json_share(double value) {
    // Whole numbers only: printing floating point would double the page's module.
    const bool negative = value < 0.0;
    const long tenths_of_thousands = std::lround(std::fabs(value) * 10000.0);
    const std::string digits = std::to_string(10000 + tenths_of_thousands % 10000);
    std::string out = negative && tenths_of_thousands > 0 ? "-" : "";
    out += std::to_string(tenths_of_thousands / 10000);
    return out + "." + digits.substr(1);
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
    out += ",\"verdict\":";
    json_string(out, words.verdict.c_str());
    out += ",\"sign\":";
    json_string(out, words.sign.c_str());
    out += ",\"mark\":" + mark_json(c.mark) + ",\"markWord\":";
    json_string(out, words.mark.c_str());
    out += ",\"reason\":";
    json_string(out, words.reason.c_str());
    out += ",\"axis\":";
    json_string(out, axis_label(w, c).c_str());
    return out + ",\"win\":" + json_share(chosen_win(c)) +
           ",\"declined\":" + (c.chosen == NONE ? "true" : "false") + "}";
}

std::string odds_json(const PublicRecord& r, const Odds& odds, const Forecast& f, const Texts& w) {
    std::string out =
        std::string("{\"declined\":") + (odds.count == 0 ? "true" : "false") +
        ",\"best\":" + std::to_string(odds.count > 0 ? odds.choice[odds.best].seat : NONE) +
        ",\"bestCode\":" +
        std::to_string(odds.count > 0
                           ? choice_code(odds.choice[odds.best].seat, odds.choice[odds.best].key)
                           : NONE) +
        ",\"question\":" + std::to_string(r.question) + ",\"facts\":";
    json_string(out, odds.count > 0 ? choice_facts(r, odds, f, odds.best, w).c_str() : "");
    out += ",\"choices\":[";
    bool first = true;
    for (int c = 0; c < odds.count; ++c) {
        const ChoiceOdds& o = odds.choice[c];
        if (o.played == 0) continue;
        const Estimate e = estimate(o.wins, o.played);
        out += std::string(first ? "" : ",") + "{\"seat\":" + std::to_string(o.seat) +
               ",\"code\":" + std::to_string(choice_code(o.seat, o.key)) + ",\"label\":";
        json_string(out, choice_label(r, o, w).c_str());
        out += ",\"win\":" + json_share(e.win) + ",\"low\":" + json_share(e.low) +
               ",\"high\":" + json_share(e.high) + ",\"text\":";
        json_string(out, chance_text(e).c_str());
        if (o.key == KEY_BLACK || o.key == KEY_WHITE) {  // a false verdict: its short word
            out += ",\"verdict\":";
            json_string(out, w.verdict_marks[o.key == KEY_BLACK ? 1 : 0]);
        }
        out += std::string(",\"good\":") + (as_good_as_best(odds, c) ? "true" : "false") + "}";
        first = false;
    }
    out += "],\"read\":[";
    first = true;
    for (int seat = 0; seat < SEAT_COUNT; ++seat) {
        if (!role_unknown(r, seat) || r.alive[seat] != 1 || odds.count == 0) continue;
        const int role = likeliest_power(f, seat);
        out += std::string(first ? "" : ",") + "{\"seat\":" + std::to_string(seat) + ",\"role\":";
        json_string(out, w.role_names[role]);
        out += ",\"glyph\":";
        json_string(out, role_glyph(w, role));
        out += ",\"percent\":" + std::to_string(percent(f.role[seat][role])) + "}";
        first = false;
    }
    return out + "]}";
}

bool practice_found(const Odds& odds, int code) {
    const int c = choice_index(odds, code);
    if (c == NONE || odds.count == 0) return false;
    return as_good_as_best(odds, c) || estimate_of(odds, c).win >= estimate_of(odds, odds.best).low;
}

std::string practice_text(const PublicRecord& r, const Odds& odds, const Forecast& f, int code,
                          const Texts& w) {
    const int c = choice_index(odds, code);
    if (c == NONE || odds.count == 0) return "";
    const std::string chosen = choice_text(w, r, odds, c);
    const std::string best = choice_text(w, r, odds, odds.best);
    const bool found = practice_found(odds, code);
    std::string out =
        formatted(found ? w.practice_found : w.practice_missed, chosen.c_str(), best.c_str()) +
        "\n";
    const std::string reason =
        found ? choice_facts(r, odds, f, c, w) : reason_text(r, odds, f, c, w);
    return out + formatted(w.review_why, reason.c_str()) + "\n";
}

std::string then_json(const RecordGame& game, const GameReview& review, std::size_t k,
                      const Texts& w) {
    const std::string told = told_after(game, k, w);
    if (told.empty() || k >= review.choices.size() || review.choices[k].chosen == NONE)
        return "null";
    const double before = chosen_win(review.choices[k]);
    std::string out = "{\"told\":";
    json_string(out, told.c_str());
    return out + ",\"before\":" + json_share(before) + ",\"after\":" + json_share(review.after[k]) +
           ",\"swing\":" + (std::fabs(review.after[k] - before) >= SWING ? "true" : "false") + "}";
}
