#include "coach/odds.hpp"

#include <cmath>
#include <memory>

#include "coach/rollouts.hpp"
#include "engine/keys.hpp"

namespace {

constexpr double Z95 = 1.959963984540054;  // the normal quantile of a two-sided 95% interval

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

bool odds_begin(OddsWork& work, const PublicRecord& record, Budget budget) {
    work.record = record;
    work.budget = budget;
    work.seed = public_record_hash(record);
    work.rounds = 0;
    work.odds = {};
    work.beliefs.count = 0;
    if (!public_record_valid(record)) return false;
    build_beliefs(record, work.beliefs);
    if (work.beliefs.count == 0) return false;  // no deal explains it: nothing to play out
    for (int seat = 0; seat < SEAT_COUNT; ++seat) {
        const bool wolf = seat == record.wolf_seats[0] || seat == record.wolf_seats[1];
        if (may_be_chosen(record.phase, record.alive[seat] == 1, wolf))
            work.odds.choice[work.odds.count++] = {seat, 0, 0};
    }
    return true;
}

int odds_plan(OddsWork& work, Round& round) {
    Odds& odds = work.odds;
    round.size = 0;
    const auto add = [&](int choice, int count) {
        const int start = odds.choice[choice].played;
        for (int k = 0; k < count; ++k) round.rollout[round.size++] = {choice, start + k};
    };
    if (odds.count == 0) return 0;  // declined
    if (work.rounds == 0) {
        for (int c = 0; c < odds.count; ++c) add(c, FIRST_ROUND);
        return round.size;
    }
    // The best two so far, and how low the second might truly be.
    int first = NONE;
    int second = NONE;
    for (int c = 0; c < odds.count; ++c) {
        const double win = estimate(odds.choice[c].wins, odds.choice[c].played).win;
        if (first == NONE ||
            win > estimate(odds.choice[first].wins, odds.choice[first].played).win) {
            second = first;
            first = c;
        } else if (second == NONE ||
                   win > estimate(odds.choice[second].wins, odds.choice[second].played).win) {
            second = c;
        }
    }
    const double floor =
        second == NONE ? 0.0 : estimate(odds.choice[second].wins, odds.choice[second].played).low;
    for (int c = 0; c < odds.count; ++c) {
        const ChoiceOdds& o = odds.choice[c];
        const Estimate e = estimate(o.wins, o.played);
        const bool settled =
            (e.high - e.low) / 2.0 <= work.budget.margin || o.played >= work.budget.most;
        const bool contender = c == first || c == second || e.high >= floor;
        if (settled || !contender) continue;
        int more = o.played < MOST_PER_ROUND ? o.played : MOST_PER_ROUND;
        if (o.played + more > work.budget.most) more = work.budget.most - o.played;
        add(c, more);
    }
    return round.size;
}

bool play_rollout(const OddsWork& work, const Rollout& rollout) {
    // The same number, the same world, whichever the choice.
    Dice dice{work.seed ^ (static_cast<std::uint64_t>(rollout.number) * 0x9E3779B97F4A7C15ull)};
    const int deal = draw_deal(work.beliefs, dice);
    Game game;
    determinize(work.record, work.beliefs.role[deal], static_cast<std::uint32_t>(roll_dice(dice)),
                game);
    choose(game, work.odds.choice[rollout.choice].seat);
    Dice wolves{roll_dice(dice)};
    play_out(game, POLICY_HEURISTIC, wolves);
    return game.winner == WINNER_WOLVES;
}

namespace {

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

}  // namespace

bool odds_valid(const Odds& odds, const PublicRecord& record) {
    if (odds.count == 0) return true;
    if (!public_record_valid(record) || odds.count < 0 || odds.count > SEAT_COUNT) return false;
    int c = 0;
    for (int seat = 0; seat < SEAT_COUNT; ++seat) {
        const bool wolf = seat == record.wolf_seats[0] || seat == record.wolf_seats[1];
        if (!may_be_chosen(record.phase, record.alive[seat] == 1, wolf)) continue;
        if (c >= odds.count) return false;
        const ChoiceOdds& o = odds.choice[c++];
        if (o.seat != seat || o.played < 0 || o.played > COACH_FULL.most || o.wins < 0 ||
            o.wins > o.played) {
            return false;
        }
    }
    return c == odds.count && odds.best >= 0 && odds.best < odds.count &&
           odds.best == best_of(odds);
}

void odds_add(OddsWork& work, const Round& round) {
    Odds& odds = work.odds;
    for (int k = 0; k < round.size; ++k) {
        ChoiceOdds& o = odds.choice[round.rollout[k].choice];
        o.played += 1;
        o.wins += round.won[k] ? 1 : 0;
    }
    work.rounds += 1;
    odds.best = best_of(odds);
}

bool odds_round(OddsWork& work, Round& round, RolloutPool* pool) {
    if (odds_plan(work, round) == 0) return false;
    play_round(work, round, pool);
    odds_add(work, round);
    return true;
}

Odds odds_of(const PublicRecord& record, Budget budget, RolloutPool* pool) {
    const auto work = std::make_unique<OddsWork>();
    const auto round = std::make_unique<Round>();
    if (odds_begin(*work, record, budget)) {
        while (odds_round(*work, *round, pool)) {
        }
    }
    return work->odds;
}

int best_choice(const PublicRecord& record, Budget budget) {
    const Odds odds = odds_of(record, budget);
    return odds.count > 0 ? odds.choice[odds.best].seat : NONE;
}
