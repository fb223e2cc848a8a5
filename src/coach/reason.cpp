#include "coach/reason.hpp"

#include <cmath>

#include "engine/morning.hpp"
#include "model/keys.hpp"

namespace {

int percent(double share) { return static_cast<int>(std::lround(share * 100.0)); }

// Votes to a tenth, as two whole numbers (the page's module prints no floating point).
int tenths(double votes) { return static_cast<int>(std::lround(votes * 10.0)); }

bool is_wolf(const PublicRecord& r, int seat) {
    return seat == r.wolf_seats[0] || seat == r.wolf_seats[1];
}

// The chance, in the rollouts of a vote, that the choice's seat is hanged today.
int hanged_percent(const ChoiceOdds& o) {
    return o.played > 0 ? percent(static_cast<double>(o.hanged) / o.played) : 0;
}

// The other choice: the one asked for, else the next best.
int other_of(const Odds& odds, int other) {
    if (other != NONE && other != odds.best) return other;
    int next = NONE;
    for (int c = 0; c < odds.count; ++c) {
        if (c == odds.best) continue;
        const ChoiceOdds& o = odds.choice[c];
        if (next == NONE || static_cast<long>(o.wins) * odds.choice[next].played >
                                static_cast<long>(odds.choice[next].wins) * o.played) {
            next = c;
        }
    }
    return next;
}

std::string attack_reason(const PublicRecord& r, const Odds& odds, const Forecast& f, int c,
                          const Texts& w) {
    const int best = odds.choice[odds.best].seat;
    const int seat = odds.choice[c].seat;
    const char* b = name_of(w, best);
    const char* s = name_of(w, seat);
    // The madman is on the wolves' side, claimed or told by his votes.
    if (f.role[seat][ROLE_MADMAN] >= 0.5)
        return formatted(w.reason_madman, s, percent(f.role[seat][ROLE_MADMAN]));
    if (f.guarded[seat] - f.guarded[best] >= 0.15) {
        return formatted(w.reason_guard, s, percent(f.guarded[seat]), b, percent(f.guarded[best]));
    }
    const int claim = r.co_public[best];
    if ((claim == ROLE_SEER || claim == ROLE_MEDIUM) && r.co_public[seat] != claim)
        return formatted(claim == ROLE_SEER ? w.reason_seer : w.reason_medium, b);
    const int pool_best = vote_pool_after(r, best);
    const int pool_seat = vote_pool_after(r, seat);
    if (pool_best > pool_seat) return formatted(w.reason_pool, b, pool_best, s, pool_seat);
    const int power = likeliest_power(f, best);
    if (power != ROLE_VILLAGER && f.role[best][power] - f.role[seat][power] >= 0.2) {
        return formatted(w.reason_role, b, w.role_names[power], percent(f.role[best][power]), s,
                         percent(f.role[seat][power]));
    }
    const Estimate eb = estimate(odds.choice[odds.best].wins, odds.choice[odds.best].played);
    const Estimate es = estimate(odds.choice[c].wins, odds.choice[c].played);
    return formatted(w.reason_odds, b, percent(eb.win), s, percent(es.win));
}

std::string vote_reason(const PublicRecord& r, const Odds& odds, const Forecast& f, int c,
                        const Texts& w) {
    const ChoiceOdds& bo = odds.choice[odds.best];
    const ChoiceOdds& so = odds.choice[c];
    const char* b = name_of(w, bo.seat);
    const char* s = name_of(w, so.seat);
    const int bv = tenths(f.votes[bo.seat]);
    const std::string best = formatted(w.reason_votes_one, b, bv / 10, bv % 10, hanged_percent(bo));
    if (is_wolf(r, so.seat)) return formatted(w.reason_own_wolf, s, best.c_str());
    const int claim = r.co_public[so.seat];
    // The seasoned village votes claimants and cleared seats too: there the votes tell.
    if (claim != NONE && r.rules != RULES_BLUFF) {
        return formatted(w.reason_claimant, s, w.role_names[claim], best.c_str());
    }
    if (r.seer_claims == 1 && r.white_count[so.seat] > 0 && r.rules != RULES_BLUFF)
        return formatted(w.reason_cleared, s, best.c_str());
    const int sv = tenths(f.votes[so.seat]);
    return formatted(w.reason_votes, best.c_str(), s, sv / 10, sv % 10, hanged_percent(so));
}

// On the morning screen: how likely each choice gets its seat hanged today, and the rule of
// the seasoned village behind it.
std::string morning_reason(const PublicRecord& r, const Odds& odds, int c, const Texts& w) {
    const ChoiceOdds& bo = odds.choice[odds.best];
    const ChoiceOdds& so = odds.choice[c];
    const int rule = r.question >= QUESTION_CLAIM && r.question <= QUESTION_MEDIUM_VERDICT
                         ? r.question - QUESTION_CLAIM
                         : 0;
    return formatted(w.reason_morning, choice_label(r, bo, w).c_str(), name_of(w, bo.seat),
                     hanged_percent(bo), choice_label(r, so, w).c_str(), name_of(w, so.seat),
                     hanged_percent(so), w.reason_rules[rule]);
}

}  // namespace

std::string choice_label(const PublicRecord& r, const ChoiceOdds& o, const Texts& w) {
    switch (o.key) {
    case KEY_CHOOSE: return name_of(w, o.seat);
    case KEY_CLAIM_SEER: return w.claim_choices[1];
    case KEY_CLAIM_MEDIUM: return w.claim_choices[2];
    case KEY_BLACK:
    case KEY_WHITE: {
        const char* verdict = w.verdict_words[o.key == KEY_BLACK ? 1 : 0];
        if (r.question != QUESTION_SEER_VERDICT) return verdict;
        return formatted(w.verdict_choice, name_of(w, o.seat), verdict);
    }
    default: return w.claim_choices[0];
    }
}

int vote_pool_after(const PublicRecord& r, int dead) {
    int pool = 0;
    for (int seat = 0; seat < SEAT_COUNT; ++seat) {
        if (seat == dead || r.alive[seat] != 1 || r.co_public[seat] != NONE) continue;
        if (r.seer_claims == 1 && r.white_count[seat] > 0) continue;
        pool += 1;
    }
    return pool;
}

int likeliest_power(const Forecast& f, int seat) {
    int power = ROLE_VILLAGER;
    double most = 0.0;
    for (int role = ROLE_MADMAN; role <= ROLE_HUNTER; ++role) {
        if (f.role[seat][role] > most) {
            most = f.role[seat][role];
            power = role;
        }
    }
    return power;
}

std::string reason_text(const PublicRecord& r, const Odds& odds, const Forecast& f, int other,
                        const Texts& w) {
    if (odds.count < 2) return "";
    const int c = other_of(odds, other);
    if (r.phase == PHASE_FAKE_CLAIM) return morning_reason(r, odds, c, w);
    return r.phase == PHASE_ATTACK_SELECT ? attack_reason(r, odds, f, c, w)
                                          : vote_reason(r, odds, f, c, w);
}

std::string choice_facts(const PublicRecord& r, const Odds& odds, const Forecast& f, int index,
                         const Texts& w) {
    if (index < 0 || index >= odds.count) return "";
    const ChoiceOdds& o = odds.choice[index];
    const char* b = name_of(w, o.seat);
    if (r.phase == PHASE_FAKE_CLAIM) {
        return formatted(w.facts_morning, choice_label(r, o, w).c_str(), b, hanged_percent(o));
    }
    if (r.phase != PHASE_ATTACK_SELECT) {
        const int v = tenths(f.votes[o.seat]);
        return formatted(w.reason_votes_one, b, v / 10, v % 10, hanged_percent(o));
    }
    const int power = likeliest_power(f, o.seat);
    return formatted(w.facts_attack, b, w.role_names[power], percent(f.role[o.seat][power]),
                     percent(f.guarded[o.seat]));
}
