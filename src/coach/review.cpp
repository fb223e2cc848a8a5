#include "coach/review.hpp"

#include <cmath>
#include <memory>

#include "coach/policy.hpp"
#include "engine/keys.hpp"
#include "engine/morning.hpp"
#include "engine/step.hpp"
#include "model/record.hpp"

namespace {

int percent(double share) { return static_cast<int>(std::lround(share * 100.0)); }

Estimate estimate_of(const Odds& odds, int index) {
    return estimate(odds.choice[index].wins, odds.choice[index].played);
}

bool at_dawn(const Game& game) { return game.winner != NONE && game.hanged_on[game.day] == NONE; }

void finish(RecordGame& r, const Game& game) {
    r.winner = game.winner;
    r.day = game.day;
    r.at_dawn = at_dawn(game);
}

// The seats with the most votes on the day, a bit a seat, and that most.
unsigned most_voted(const PublicRecord& r, int day, int& most) {
    int tally[SEAT_COUNT] = {};
    for (const auto& votes : r.votes) {
        if (is_seat(votes[day])) tally[votes[day]] += 1;
    }
    most = 0;
    for (int votes : tally) most = votes > most ? votes : most;
    unsigned seats = 0;
    for (int seat = 0; seat < SEAT_COUNT; ++seat) seats |= tally[seat] == most ? 1u << seat : 0u;
    return seats;
}

// What a step showed that the record before it did not have.
void add_events(const PublicRecord& was, const PublicRecord& now, int after,
                std::vector<Event>& events) {
    const auto add = [&](int day, int kind, int seat, int other, int value) {
        events.push_back({after, day, kind, seat, other, value, 0u});
    };
    for (int night = 1; night < DAY_SLOTS; ++night) {
        if (was.attacks[night] != NONE || now.attacks[night] == NONE) continue;
        add(night, now.attacked_on[night] == NONE ? EVENT_GUARDED : EVENT_KILLED,
            now.attacks[night], NONE, NONE);
    }
    for (int seat = 0; seat < SEAT_COUNT; ++seat) {
        if (was.co_public[seat] == NONE && now.co_public[seat] != NONE)
            add(now.day, EVENT_CLAIM, seat, NONE, now.co_public[seat]);
        for (int night = 1; night < DAY_SLOTS; ++night) {
            const NightRecord& c = now.claims[seat][night];
            const NightRecord& old = was.claims[seat][night];
            if (c.target == old.target && c.result == old.result) continue;
            const int claim = now.co_public[seat];
            if (claim == ROLE_SEER) add(night + 1, EVENT_VERDICT, seat, c.target, c.result);
            if (claim == ROLE_MEDIUM && is_seat(now.hanged_on[night]))  // day 2 tells nothing
                add(night + 1, EVENT_MEDIUM, seat, now.hanged_on[night], c.result);
            if (claim == ROLE_MADMAN) add(night + 1, EVENT_CALL, seat, c.target, NONE);
        }
    }
    for (int day = 2; day < DAY_SLOTS; ++day) {
        if (was.hanged_on[day] != NONE || now.hanged_on[day] == NONE) continue;
        int most = 0;
        const unsigned tied = most_voted(now, day, most);
        const bool lot = (tied & (tied - 1)) != 0;  // more than one seat had the most
        add(day, lot ? EVENT_TIE : EVENT_HANGED, now.hanged_on[day], NONE, most);
        events.back().tied = lot ? tied : 0u;
    }
}

}  // namespace

int choice_made(const Game& game, std::uint8_t key) {
    const int meaning = key_meaning(key);
    const int kind = screen_kind(game);
    if (kind == SCREEN_CHOOSE_ATTACK || kind == SCREEN_CHOOSE_VOTE) {
        return meaning == KEY_CHOOSE && may_choose(game, game.cursor) ? game.cursor : NONE;
    }
    const Question q = morning_question(game);
    const bool verdict = meaning == KEY_BLACK || meaning == KEY_WHITE;
    switch (q.kind) {
    case QUESTION_CLAIM:
        return choice_code(
            q.wolf, meaning == KEY_CLAIM_SEER || meaning == KEY_CLAIM_MEDIUM ? meaning : KEY_ON);
    case QUESTION_SEER_VERDICT:  // a verdict key leaves the cursor where it is
        return verdict && may_be_named(game, q.wolf, game.cursor)
                   ? choice_code(game.cursor, meaning)
                   : NONE;
    case QUESTION_MEDIUM_VERDICT: return verdict ? choice_code(q.wolf, meaning) : NONE;
    default: return NONE;
    }
}

void begin_record_game(RecordGame& r, int number, std::uint32_t seed, int rules) {
    r.number = number;
    r.seed = seed;
    r.rules = rules;
    r.keys.clear();
    r.decisions.clear();
    r.events.clear();
    r.winner = NONE;
    r.day = 1;
    r.at_dawn = false;
}

bool step_record_game(RecordGame& r, Game& game, std::uint8_t key, std::size_t most_keys) {
    if (game.winner != NONE && key_meaning(key) == KEY_AGAIN) {
        const std::uint32_t next = game.random.state;  // the next game is dealt from here
        step_game(game, key);
        begin_record_game(r, r.number + 1, next, r.rules);
        return false;
    }
    const bool kept = r.keys.size() < most_keys;
    const int chosen = choice_made(game, key);
    if (chosen != NONE) {
        r.decisions.push_back(
            {kept ? static_cast<int>(r.keys.size()) : NONE, public_record_of(game), chosen});
    }
    if (kept) r.keys += spelled_key(key);
    const PublicRecord before = public_record_of(game);
    step_game(game, key);
    if (!r.decisions.empty()) {
        add_events(before, public_record_of(game), static_cast<int>(r.decisions.size()) - 1,
                   r.events);
    }
    finish(r, game);
    return true;
}

void each_game(std::uint32_t seed, const std::string& keys, int rules,
               const std::function<void(const RecordGame&)>& each) {
    const auto game = std::make_unique<Game>();
    start_game(*game, seed, rules);
    RecordGame r{};
    begin_record_game(r, 1, seed, game->rules);
    for (const char spelled : keys) {
        const auto key = static_cast<std::uint8_t>(spelled);
        if (game->winner != NONE && key_meaning(key) == KEY_AGAIN) each(r);
        step_record_game(r, *game, key, keys.size());
    }
    if (r.number == 1 || !r.keys.empty()) each(r);  // a record ending in r has no game after it
}

int mark_of(const Odds& odds, int code) {
    const int chosen = choice_index(odds, code);
    // Marked only where its loss against the best, world by world, cannot be zero.
    if (chosen == NONE || odds.count == 0 || as_good_as_best(odds, chosen)) return NONE;
    const double loss = loss_of(odds.choice[chosen]).win;
    if (loss >= 0.20) return MARK_BLUNDER;
    if (loss >= 0.10) return MARK_MISTAKE;
    if (loss >= 0.05) return MARK_INACCURACY;
    return NONE;
}

double kept_of(const Odds& odds, int code) {
    const int chosen = choice_index(odds, code);
    if (chosen == NONE || odds.count == 0 || as_good_as_best(odds, chosen)) return 1.0;
    const double best = estimate_of(odds, odds.best).win;
    const double kept = estimate_of(odds, chosen).win;
    return best <= 0.0 || kept >= best ? 1.0 : kept / best;
}

ReviewedChoice reviewed_choice(const Decision& decision, const Odds& odds) {
    ReviewedChoice c{decision, odds, {}, choice_index(odds, decision.chosen), false, NONE, 1.0};
    c.as_good = c.chosen == NONE || as_good_as_best(odds, c.chosen);
    c.mark = mark_of(odds, decision.chosen);
    c.kept = kept_of(odds, decision.chosen);
    if (odds.count > 0) {
        const auto beliefs = std::make_unique<Beliefs>();
        build_beliefs(decision.record, *beliefs);
        c.forecast = forecast_of(decision.record, *beliefs);
    }
    return c;
}

double chosen_win(const ReviewedChoice& c) {
    return c.chosen == NONE ? 0.0 : estimate_of(c.odds, c.chosen).win;
}

double best_win(const ReviewedChoice& c) {
    return c.odds.count == 0 ? 0.0 : estimate_of(c.odds, c.odds.best).win;
}

GameReview game_review(const RecordGame& game, const std::vector<Odds>& odds) {
    GameReview review{};
    for (std::size_t k = 0; k < game.decisions.size() && k < odds.size(); ++k)
        review.choices.push_back(reviewed_choice(game.decisions[k], odds[k]));
    const std::size_t n = review.choices.size();
    for (std::size_t k = 0; k < n; ++k) {
        const ReviewedChoice& c = review.choices[k];
        double next = chosen_win(c);  // the record ends here: nothing more happened
        if (k + 1 < n) {
            next = best_win(review.choices[k + 1]);
        } else if (game.winner != NONE) {
            next = game.winner == WINNER_WOLVES ? 1.0 : 0.0;
        }
        review.after.push_back(next);
        if (c.chosen == NONE) continue;  // declined: neither a cost nor luck known
        review.cost += best_win(c) - chosen_win(c);
        review.luck += next - chosen_win(c);
    }
    return review;
}

GameReview review_game(const RecordGame& game, RolloutPool* pool) {
    std::vector<Odds> odds;
    for (const Decision& d : game.decisions)
        odds.push_back(odds_of(d.record, COACH_FULL, pool, d.chosen));
    return game_review(game, odds);
}

int accuracy_of(const std::vector<ReviewedChoice>& choices) {
    double kept = 0.0;
    for (const ReviewedChoice& c : choices) kept += c.kept;
    return choices.empty() ? 100 : percent(kept / static_cast<double>(choices.size()));
}
