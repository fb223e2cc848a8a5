#include "coach/sampler.hpp"

#include "ai/night.hpp"
#include "ai/vote.hpp"
#include "engine/phases.hpp"

namespace {

// The deals: each of madman, seer, medium and hunter on a seat that may hold it.
struct Candidates {
    int count;
    int seat[SEAT_COUNT];
};

Candidates candidates(const PublicRecord& r, int role) {
    Candidates c{};
    for (int seat = 0; seat < SEAT_COUNT; ++seat) {
        if (r.co_public[seat] == role && wolf_index(r, seat) == NONE) {  // a wolf's claim is a lie
            c = {1, {seat}};
            return c;
        }
    }
    // No claim: the seat cannot have lived to the morning on which it would have claimed.
    const int night = first_claim_night(role);
    const int claims_by = night == NONE ? DAY_SLOTS : night + 1;
    // The morning screen comes before that morning's claims are published.
    const bool published = r.day > claims_by || (r.day == claims_by && r.phase != PHASE_FAKE_CLAIM);
    for (int seat = 0; seat < SEAT_COUNT; ++seat) {
        const bool wolf = seat == r.wolf_seats[0] || seat == r.wolf_seats[1];
        if (wolf || r.co_public[seat] != NONE) continue;
        if (published && alive_at_morning(r, seat, claims_by)) continue;
        c.seat[c.count++] = seat;
    }
    return c;
}

}  // namespace

namespace {

// How likely each seat being the bodyguard makes every guard outcome the wolves saw: an
// attack that failed (he guarded that seat), or went through (he did not).
void guard_weights(const PublicRecord& r, double (&guards)[SEAT_COUNT]) {
    for (double& chance : guards) chance = 1.0;
    for (int night = 1; night < r.day; ++night) {
        const int target = r.attacks[night];
        if (!is_seat(target)) continue;
        const bool failed = r.attacked_on[night] == NONE;
        const Sight village = village_at(r, night, true);
        for (int hunter = 0; hunter < SEAT_COUNT; ++hunter) {
            double guarded = 0.0;
            if (village.living[hunter]) {
                Sight s = village;
                s.self = hunter;
                guarded = guard_chances(s).seat[target];
            }
            guards[hunter] *= failed ? guarded : 1.0 - guarded;
        }
    }
}

// How likely each seat being the madman makes the votes of every filed day (at the attack
// screen today's are filed too: the night comes after the day's vote): each computer
// voter's vote as the madman's and as anyone else's.
void vote_weights(const PublicRecord& r, double (&votes)[SEAT_COUNT]) {
    for (double& chance : votes) chance = 1.0;
    const int last_vote = r.phase == PHASE_ATTACK_SELECT ? r.day : r.day - 1;
    for (int day = 2; day <= last_vote && day < DAY_SLOTS; ++day) {
        const Sight village = village_at(r, day, false);
        for (int voter = 0; voter < SEAT_COUNT; ++voter) {
            const int vote = r.votes[voter][day];
            const bool wolf = voter == r.wolf_seats[0] || voter == r.wolf_seats[1];
            if (wolf || !is_seat(vote)) continue;
            const Sight s = seat_at(r, village, voter);
            const double as_madman = vote_chances(s, true).seat[vote];
            const double as_other = vote_chances(s, false).seat[vote];
            for (int madman = 0; madman < SEAT_COUNT; ++madman)
                votes[madman] *= madman == voter ? as_madman : as_other;
        }
    }
}

// Adds the deal of madman, seer, medium and bodyguard on these seats, when they are four.
void add_deal(const PublicRecord& r, const int (&deal)[4], double weight, Beliefs& b) {
    for (int i = 0; i < 4; ++i) {
        for (int j = i + 1; j < 4; ++j) {
            if (deal[i] == deal[j]) return;
        }
    }
    if (b.count == MAX_DEALS) return;
    std::uint8_t(&role)[SEAT_COUNT] = b.role[b.count];
    for (std::uint8_t& each : role) each = ROLE_VILLAGER;
    for (int seat : r.wolf_seats) role[seat] = ROLE_WOLF;
    role[deal[0]] = ROLE_MADMAN;
    role[deal[1]] = ROLE_SEER;
    role[deal[2]] = ROLE_MEDIUM;
    role[deal[3]] = ROLE_HUNTER;
    b.weight[b.count] = weight;
    b.count += 1;
}

}  // namespace

void build_beliefs(const PublicRecord& r, Beliefs& b) {
    b.count = 0;
    b.weighed = true;
    double guards[SEAT_COUNT];
    double votes[SEAT_COUNT];
    guard_weights(r, guards);
    vote_weights(r, votes);
    const Candidates madmen = candidates(r, ROLE_MADMAN);
    const Candidates seers = candidates(r, ROLE_SEER);
    const Candidates mediums = candidates(r, ROLE_MEDIUM);
    const Candidates hunters = candidates(r, ROLE_HUNTER);
    for (int a = 0; a < madmen.count; ++a) {
        for (int s = 0; s < seers.count; ++s) {
            for (int m = 0; m < mediums.count; ++m) {
                for (int h = 0; h < hunters.count; ++h) {
                    const int deal[4] = {madmen.seat[a], seers.seat[s], mediums.seat[m],
                                         hunters.seat[h]};
                    add_deal(r, deal, guards[deal[3]] * votes[deal[0]], b);
                }
            }
        }
    }
    double total = 0.0;
    for (int k = 0; k < b.count; ++k) total += b.weight[k];
    if (!(total > 0.0)) {  // nothing the rules know explains what was seen: all alike
        b.weighed = false;
        for (int k = 0; k < b.count; ++k) b.weight[k] = 1.0;
    }
    double sum = 0.0;
    for (int k = 0; k < b.count; ++k) {
        sum += b.weight[k];
        b.cumulative[k] = sum;
    }
}

int draw_deal(const Beliefs& b, Dice& dice) {
    if (b.count <= 1) return 0;
    // 53 random bits: a number in [0, 1), times the total weight.
    const double at = static_cast<double>(roll_dice(dice) >> 11) * (1.0 / 9007199254740992.0) *
                      b.cumulative[b.count - 1];
    int low = 0;
    int high = b.count - 1;
    while (low < high) {  // the first deal whose running sum passes the draw
        const int middle = (low + high) / 2;
        if (b.cumulative[middle] > at) {
            high = middle;
        } else {
            low = middle + 1;
        }
    }
    return low;
}

namespace {

// At the morning screen: what the seer, the medium, the bodyguard and the madman did last
// night, which this morning's claims will tell, drawn afresh from what they saw then (the
// night's victim still alive).
void redraw_last_night(const PublicRecord& r, Game& g) {
    const int night = r.day - 1;
    const int victim = r.attacked_on[night];
    g.day = night;
    if (is_seat(victim)) g.players[victim].alive = 1;
    const Sight village = village_sight(g);
    for (Player& p : g.players) {
        if (p.alive != 1 || p.role == ROLE_WOLF) continue;
        ai_night_action(g, p, village);
        complete_night_record(g, p);
    }
    if (is_seat(victim)) g.players[victim].alive = 0;
    g.day = r.day;
}

}  // namespace

void determinize(const PublicRecord& r, const std::uint8_t (&roles)[SEAT_COUNT], std::uint32_t seed,
                 Game& g) {
    reset_game(g);
    g.day = r.day;
    g.phase = r.phase;
    g.voter_index = r.voter_index;
    g.wolf_count = r.wolf_count;
    g.winner = NONE;
    g.seer_claims = r.seer_claims;
    g.medium_claims = r.medium_claims;
    for (int k = 0; k < WOLF_SEATS; ++k) g.wolf_seats[k] = r.wolf_seats[k];
    for (int day = 0; day < DAY_SLOTS; ++day) {
        g.attacks[day] = r.attacks[day];
        g.attacked_on[day] = r.attacked_on[day];
        g.hanged_on[day] = r.hanged_on[day];
    }
    // The last night whose actions have run: tonight's at the attack screen, last night's
    // at a vote.
    const int last_night = r.phase == PHASE_ATTACK_SELECT ? r.day : r.day - 1;
    for (int seat = 0; seat < SEAT_COUNT; ++seat) {
        Player& p = g.players[seat];
        p.seat = seat;
        p.role = roles[seat];
        p.alive = r.alive[seat];
        p.hanged_day = r.hanged_day[seat];
        p.attacked_day = r.attacked_day[seat];
        g.death_day[seat] = p.hanged_day != NONE ? p.hanged_day : p.attacked_day;
        g.co_public[seat] = r.co_public[seat];
        g.claimed_on[seat] = r.co_public[seat] != NONE ? claimed_on(r, seat) : NONE;
        g.black_count[seat] = r.black_count[seat];
        g.white_count[seat] = r.white_count[seat];
        for (int day = 0; day < DAY_SLOTS; ++day) {
            g.claims[seat][day] = r.claims[seat][day];
            g.votes[seat][day] = r.votes[seat][day];
            p.vote[day] = r.votes[seat][day];
        }
        // Claims as the rules make them: the seer and the medium from the first night, the
        // madman from the third he lived to, calling for the seats his claim lines named.
        p.co_claim = NONE;
        if (p.role == ROLE_SEER || p.role == ROLE_MEDIUM) p.co_claim = p.role;
        if (p.role == ROLE_MADMAN && last_night >= MADMAN_FIRST_NIGHT &&
            alive_at_night(r, seat, MADMAN_FIRST_NIGHT)) {
            p.co_claim = ROLE_MADMAN;
            for (int night = MADMAN_FIRST_NIGHT; night < r.day; ++night)
                p.night[night].target = r.claims[seat][night].target;
        }
    }
    g.rules = r.rules;
    for (int k = 0; k < WOLF_SEATS; ++k) {
        Player& wolf = g.players[r.wolf_seats[k]];
        g.claim_asked[k] = r.claim_asked[k];
        wolf.co_claim = r.wolf_claim[k];
        for (int day = 0; day < DAY_SLOTS; ++day) wolf.night[day] = r.wolf_said[k][day];
    }
    seed_random(g.random, seed);
    if (r.phase == PHASE_FAKE_CLAIM) {
        redraw_last_night(r, g);
    } else if (r.phase == PHASE_ATTACK_SELECT) {
        run_night(g);
    } else {
        computer_votes(g, SEARCH_QUICK);
        for (int k = 0; k < WOLF_SEATS; ++k)
            g.players[r.wolf_seats[k]].vote[r.day] = r.wolf_votes[k];
    }
}
