#include "coach/odds.hpp"

#include <algorithm>
#include <bit>
#include <cmath>
#include <memory>

#include "coach/policy.hpp"
#include "coach/rollouts.hpp"
#include "engine/keys.hpp"
#include "engine/morning.hpp"
#include "model/keys.hpp"

namespace {

constexpr double Z95 = 1.959963984540054;  // the normal quantile of a two-sided 95% interval
// The half-width of a difference of two chances, each known within the margin.
constexpr double LOSS_MARGIN = 1.4142135623730951;

bool is_wolf(const PublicRecord& r, int seat) {
    return seat == r.wolf_seats[0] || seat == r.wolf_seats[1];
}

// The index of the best choice: the first with the highest share of wins.
int best_of(const Odds& odds) {
    int best = 0;
    for (int c = 1; c < odds.count; ++c) {
        const ChoiceOdds& o = odds.choice[c];
        const ChoiceOdds& b = odds.choice[best];
        // o.wins / o.played > b.wins / b.played, in whole numbers
        if (static_cast<std::int64_t>(o.wins) * b.played >
            static_cast<std::int64_t>(b.wins) * o.played) {
            best = c;
        }
    }
    return best;
}

// Each choice against the best, world by world, on the worlds both played.
void compare_with_best(OddsWork& work) {
    Odds& odds = work.odds;
    const int best = odds.best;
    for (int c = 0; c < odds.count; ++c) {
        ChoiceOdds& o = odds.choice[c];
        const int common = std::min(o.played, odds.choice[best].played);
        o.common = common;
        o.ahead = 0;
        o.behind = 0;
        for (int word = 0; word * 64 < common; ++word) {
            const int bits = std::min(64, common - word * 64);
            const std::uint64_t in = bits == 64 ? ~0ull : (1ull << bits) - 1;
            const std::uint64_t b = work.won[best][word] & in;
            const std::uint64_t mine = work.won[c][word] & in;
            o.ahead += std::popcount(b & ~mine);
            o.behind += std::popcount(mine & ~b);
        }
    }
}

// Whether a choice needs more worlds: the leader and a choice made until their chance is
// known within the margin; every other (and the choice made) until it is known worse,
// hardly worse, or its loss is known as well as two chances known within the margin.
bool unsettled(const OddsWork& work, int c) {
    const Odds& odds = work.odds;
    const ChoiceOdds& o = odds.choice[c];
    if (o.played >= work.budget.most) return false;
    const Estimate e = estimate(o.wins, o.played);
    const bool precise = (e.high - e.low) / 2.0 <= work.budget.margin;
    if (c == odds.best) return !precise;
    const Estimate loss = loss_of(o);
    const bool resolved = loss.low > 0.0 || loss.high <= EQUAL_MARGIN ||
                          (loss.high - loss.low) / 2.0 <= LOSS_MARGIN * work.budget.margin;
    if (c == work.chosen) return !(precise && resolved);
    return !resolved;
}

}  // namespace

Estimate estimate(int wins, int played) {
    if (played <= 0) return {0.0, 0.0, 1.0};
    const double n = played;
    const double p = wins / n;
    const double z2 = Z95 * Z95;
    const double centre = (p + z2 / (2.0 * n)) / (1.0 + z2 / n);
    const double half = Z95 / (1.0 + z2 / n) * std::sqrt(p * (1.0 - p) / n + z2 / (4.0 * n * n));
    return {p, centre - half < 0.0 ? 0.0 : centre - half,
            centre + half > 1.0 ? 1.0 : centre + half};
}

Estimate loss_of(const ChoiceOdds& o) {
    if (o.common <= 0) return {0.0, -1.0, 1.0};
    // The difference of two paired shares, with one world more won by each side (which
    // keeps a few identical worlds from looking certain).
    const double n = o.common + 2.0;
    const double ahead = o.ahead + 1.0;
    const double behind = o.behind + 1.0;
    const double centre = (ahead - behind) / n;
    const double spread = (ahead + behind - (ahead - behind) * (ahead - behind) / n) / (n * n);
    const double half = Z95 * std::sqrt(spread > 0.0 ? spread : 0.0);
    return {static_cast<double>(o.ahead - o.behind) / o.common, centre - half, centre + half};
}

bool as_good_as_best(const Odds& odds, int index) {
    return index == odds.best || loss_of(odds.choice[index]).low <= 0.0;
}

bool odds_begin(OddsWork& work, const PublicRecord& record, Budget budget, int chosen) {
    work.record = record;
    work.budget = budget;
    work.budget.most = std::min(budget.most, MOST_ROLLOUTS);
    work.seed = public_record_hash(record);
    work.rounds = 0;
    work.odds = {};
    work.chosen = NONE;
    work.beliefs.count = 0;
    if (!public_record_valid(record)) return false;
    build_beliefs(record, work.beliefs);
    if (work.beliefs.count == 0) return false;  // no deal explains it: nothing to play out
    work.odds.count = decision_choices(record, work.odds.choice);
    work.chosen = chosen == NONE ? NONE : choice_index(work.odds, chosen);
    for (auto& bits : work.won) {
        for (std::uint64_t& word : bits) word = 0;
    }
    return true;
}

bool odds_valid(const Odds& odds, const PublicRecord& record) {
    if (odds.count == 0) return true;
    if (!public_record_valid(record) || odds.count < 0 || odds.count > MAX_CHOICES) return false;
    ChoiceOdds offered[MAX_CHOICES];
    const int n = decision_choices(record, offered);
    int c = 0;
    for (; c < n; ++c) {
        if (c >= odds.count) return false;
        const ChoiceOdds& o = odds.choice[c];
        const bool counts = o.played >= 0 && o.played <= MOST_ROLLOUTS && o.wins >= 0 &&
                            o.wins <= o.played && o.hanged >= 0 && o.hanged <= o.played;
        const bool compared = o.common >= 0 && o.common <= o.played && o.ahead >= 0 &&
                              o.behind >= 0 && o.ahead + o.behind <= o.common;
        if (o.seat != offered[c].seat || o.key != offered[c].key || !counts || !compared)
            return false;
    }
    return c == odds.count && odds.best >= 0 && odds.best < odds.count &&
           odds.best == best_of(odds);
}

int odds_plan(const OddsWork& work, Round& round) {
    const Odds& odds = work.odds;
    round.size = 0;
    if (odds.count == 0) return 0;  // declined
    const auto add = [&](int choice, int until) {
        for (int k = odds.choice[choice].played; k < until; ++k)
            round.rollout[round.size++] = {choice, k};
    };
    if (work.rounds == 0) {
        for (int c = 0; c < odds.count; ++c) add(c, FIRST_ROUND);
        return round.size;
    }
    // The choices in question advance together, to twice the furthest (at most a round's
    // share more), over the same worlds.
    bool open[MAX_CHOICES];
    int furthest = 0;
    for (int c = 0; c < odds.count; ++c) {
        open[c] = unsettled(work, c);
        if (open[c]) furthest = std::max(furthest, odds.choice[c].played);
    }
    const int until = std::min(work.budget.most, furthest + std::min(furthest, MOST_PER_ROUND));
    for (int c = 0; c < odds.count; ++c) {
        if (open[c]) add(c, std::min(until, odds.choice[c].played + MOST_PER_ROUND));
    }
    return round.size;
}

Outcome play_rollout(const OddsWork& work, const Rollout& rollout) {
    // The same number, the same world, whichever the choice.
    Dice dice{work.seed ^ (static_cast<std::uint64_t>(rollout.number) * 0x9E3779B97F4A7C15ull)};
    const int deal = draw_deal(work.beliefs, dice);
    Game game;
    determinize(work.record, work.beliefs.role[deal], static_cast<std::uint32_t>(roll_dice(dice)),
                game);
    // A rollout's futures are fresh draws: a search no seat can pass draws nothing.
    const ChoiceOdds& o = work.odds.choice[rollout.choice];
    answer(game, {o.seat, o.key}, SEARCH_QUICK);
    Dice wolves{roll_dice(dice)};
    play_out(game, POLICY_HEURISTIC, wolves, SEARCH_QUICK);
    const int day = work.record.day;
    return {game.winner == WINNER_WOLVES, static_cast<std::int8_t>(game.hanged_on[day])};
}

void odds_add(OddsWork& work, const Round& round) {
    Odds& odds = work.odds;
    for (int k = 0; k < round.size; ++k) {
        const Rollout& r = round.rollout[k];
        ChoiceOdds& o = odds.choice[r.choice];
        const Outcome& out = round.outcome[k];
        o.played += 1;
        o.wins += out.won ? 1 : 0;
        o.hanged += out.hanged == o.seat ? 1 : 0;
        if (out.won) work.won[r.choice][r.number / 64] |= 1ull << (r.number % 64);
    }
    work.rounds += 1;
    odds.best = best_of(odds);
    compare_with_best(work);
}

bool odds_round(OddsWork& work, Round& round, RolloutPool* pool) {
    if (odds_plan(work, round) == 0) return false;
    play_round(work, round, pool);
    odds_add(work, round);
    return true;
}

Odds odds_of(const PublicRecord& record, Budget budget, RolloutPool* pool, int chosen) {
    const auto work = std::make_unique<OddsWork>();
    const auto round = std::make_unique<Round>();
    if (odds_begin(*work, record, budget, chosen)) {
        while (odds_round(*work, *round, pool)) {
        }
    }
    return work->odds;
}

ChoiceOdds best_choice(const PublicRecord& record, Budget budget) {
    const Odds odds = odds_of(record, budget);
    if (odds.count == 0) return {NONE, KEY_ON, 0, 0, 0, 0, 0, 0};
    return odds.choice[odds.best];
}

int choice_index(const Odds& odds, int code) {
    for (int c = 0; c < odds.count; ++c) {
        if (choice_code(odds.choice[c].seat, odds.choice[c].key) == code) return c;
    }
    return NONE;
}

int decision_choices(const PublicRecord& r, ChoiceOdds (&choices)[MAX_CHOICES]) {
    int n = 0;
    const auto add = [&](int seat, int key) { choices[n++] = {seat, key, 0, 0, 0, 0, 0, 0}; };
    if (r.phase != PHASE_FAKE_CLAIM) {
        for (int seat = 0; seat < SEAT_COUNT; ++seat) {
            if (may_be_chosen(r.phase, r.alive[seat] == 1, is_wolf(r, seat))) add(seat, KEY_CHOOSE);
        }
        return n;
    }
    switch (r.question) {
    case QUESTION_CLAIM:
        add(r.asked, KEY_ON);
        add(r.asked, KEY_CLAIM_SEER);
        add(r.asked, KEY_CLAIM_MEDIUM);
        break;
    case QUESTION_SEER_VERDICT:
        for (int seat = 0; seat < SEAT_COUNT; ++seat) {
            if (seat == r.asked || r.alive[seat] != 1) continue;
            add(seat, KEY_BLACK);
            add(seat, KEY_WHITE);
        }
        break;
    case QUESTION_MEDIUM_VERDICT:
        add(r.asked, KEY_BLACK);
        add(r.asked, KEY_WHITE);
        break;
    default: break;
    }
    return n;
}
