#include "coach/sampler.hpp"

#include "engine/phases.hpp"

namespace {

// A draw of a random seat is the game's 15-bit output mod 10: seats 0 to 7 come up 3277
// times in 32768, seats 8 and 9 3276 times. Percentage rolls are the output mod 100.
double draw_share(int seat) { return (seat < 8 ? 3277.0 : 3276.0) / 32768.0; }
constexpr double ROLL_BELOW_15 = 4920.0 / 32768.0;
constexpr double ROLL_BELOW_30 = 9840.0 / 32768.0;
constexpr int GUARD_SEARCH_DRAWS = 20;
constexpr int VOTE_ATTEMPTS = 1000;
constexpr int MEDIUM_RULE_FIRST_DAY = 3;

// x to the n by multiplications alone, so that every platform gets the same bits.
double power(double x, int n) {
    double result = 1.0;
    for (; n > 0; n >>= 1) {
        if ((n & 1) != 0) result *= x;
        x *= x;
    }
    return result;
}

// A set of seats, and how often a draw of a random seat lands in it.
struct Seats {
    bool in[SEAT_COUNT];
    double share;
};

template <typename Test>
Seats seats_where(Test test) {
    Seats s{};
    for (int seat = 0; seat < SEAT_COUNT; ++seat) {
        s.in[seat] = test(seat);
        if (s.in[seat]) s.share += draw_share(seat);
    }
    return s;
}

// The chance that a draw confined to `among` (drawn again until it lands there) gives the
// seat.
double chance_of(const Seats& set, const Seats& among, int seat) {
    return is_seat(seat) && set.in[seat] && among.share > 0.0 ? draw_share(seat) / among.share
                                                              : 0.0;
}

// What the village saw on the morning of day d, when it voted.
struct Morning {
    bool living[SEAT_COUNT];
    int claim[SEAT_COUNT];  // claims published by that morning
    int black[SEAT_COUNT];  // verdicts filed by that morning
    int white[SEAT_COUNT];
    int seers;
    int mediums;
    int medium;  // the last seat claiming medium, or -1
};

Morning morning_of(const PublicRecord& r, int day) {
    Morning m{};
    m.medium = NONE;
    for (int seat = 0; seat < SEAT_COUNT; ++seat) {
        m.living[seat] = alive_at_morning(r, seat, day);
        const int since = claimed_on(r, seat);
        m.claim[seat] = since != NONE && since <= day ? r.co_public[seat] : NONE;
        m.seers += m.claim[seat] == ROLE_SEER;
        m.mediums += m.claim[seat] == ROLE_MEDIUM;
        if (m.claim[seat] == ROLE_MEDIUM) m.medium = seat;
    }
    for (int seer = 0; seer < SEAT_COUNT; ++seer) {
        if (m.claim[seer] != ROLE_SEER) continue;
        for (int night = 1; night < day; ++night) {
            const NightRecord& c = r.claims[seer][night];
            if (!is_seat(c.target)) continue;
            if (c.result == VERDICT_BLACK) m.black[c.target] += 1;
            if (c.result == VERDICT_WHITE) m.white[c.target] += 1;
        }
    }
    return m;
}

// A search of up to VOTE_ATTEMPTS attempts among the living candidates for one in `set`:
// the chance that it finds one.
double found_chance(const Seats& set, const Seats& living) {
    if (living.share <= 0.0) return 0.0;
    return 1.0 - power(1.0 - set.share / living.share, VOTE_ATTEMPTS);
}

// The deals: each of madman, seer, medium and hunter on a seat that may hold it.
struct Candidates {
    int count;
    int seat[SEAT_COUNT];
};

Candidates candidates(const PublicRecord& r, int role) {
    Candidates c{};
    for (int seat = 0; seat < SEAT_COUNT; ++seat) {
        if (r.co_public[seat] == role) {
            c = {1, {seat}};
            return c;
        }
    }
    // No claim: the seat cannot have lived to the morning on which it would have claimed.
    const int claims_by = role == ROLE_MADMAN ? 4 : role == ROLE_HUNTER ? DAY_SLOTS : 2;
    for (int seat = 0; seat < SEAT_COUNT; ++seat) {
        const bool wolf = seat == r.wolf_seats[0] || seat == r.wolf_seats[1];
        if (wolf || r.co_public[seat] != NONE) continue;
        if (r.day >= claims_by && alive_at_morning(r, seat, claims_by)) continue;
        c.seat[c.count++] = seat;
    }
    return c;
}

}  // namespace

double guard_chance(const PublicRecord& r, int hunter, int night, int target) {
    if (!alive_at_night(r, hunter, night)) return 0.0;
    const Seats living =
        seats_where([&](int c) { return c != hunter && alive_at_night(r, c, night); });
    const auto claiming = [&](int role) {
        return seats_where([&](int c) {
            const int since = claimed_on(r, c);
            return living.in[c] && r.co_public[c] == role && since != NONE && since <= night;
        });
    };
    const Seats seers = claiming(ROLE_SEER);
    const Seats mediums = claiming(ROLE_MEDIUM);
    const double seer_found = 1.0 - power(1.0 - seers.share, GUARD_SEARCH_DRAWS);
    const double medium_found = 1.0 - power(1.0 - mediums.share, GUARD_SEARCH_DRAWS);
    // Sometimes the medium first; then the seer, then the medium, then anyone.
    const double medium_first = ROLL_BELOW_15 * medium_found;
    const double to_seer = ROLL_BELOW_15 * (1.0 - medium_found) + (1.0 - ROLL_BELOW_15);
    const double seer = to_seer * seer_found;
    const double to_medium = to_seer * (1.0 - seer_found);
    const double medium_then = to_medium * medium_found;
    const double anyone = to_medium * (1.0 - medium_found);
    return (medium_first + medium_then) * chance_of(mediums, mediums, target) +
           seer * chance_of(seers, seers, target) + anyone * chance_of(living, living, target);
}

double vote_chance(const PublicRecord& r, int voter, int day, bool madman) {
    const int vote = r.votes[voter][day];
    const Morning m = morning_of(r, day);
    const Seats living = seats_where([&](int c) { return c != voter && m.living[c]; });
    const double at_random = chance_of(living, living, vote);
    if (madman) {  // his call of last night, while it lives; else anyone
        const int call = r.claims[voter][day - 1].target;
        if (is_seat(call) && m.living[call]) return vote == call ? 1.0 : 0.0;
        return at_random;
    }
    if (m.seers >= 2) return at_random;
    if (m.seers == 1) {
        for (int seat = 0; seat < SEAT_COUNT; ++seat) {  // the lowest living black, whoever it is
            if (m.living[seat] && m.black[seat] >= 1) return vote == seat ? 1.0 : 0.0;
        }
    }
    double chance = 0.0;
    double left = 1.0;  // the chance that no rule has chosen yet
    const int hanged = day >= 2 ? r.hanged_on[day - 1] : NONE;
    if (m.mediums == 1 && day >= MEDIUM_RULE_FIRST_DAY && is_seat(m.medium) &&
        r.claims[m.medium][day - 1].result == VERDICT_WHITE) {
        const Seats voted_innocent = seats_where([&](int c) {
            return living.in[c] && m.claim[c] == NONE && m.white[c] < 1 &&
                   r.votes[c][day - 1] == hanged;
        });
        const double found = ROLL_BELOW_30 * found_chance(voted_innocent, living);
        chance += found * chance_of(voted_innocent, voted_innocent, vote);
        left -= found;
    }
    const Seats unknown = seats_where([&](int c) {
        return living.in[c] && m.claim[c] == NONE && (m.seers == 0 || m.white[c] < 1);
    });
    const double found = found_chance(unknown, living);
    chance += left * (found * chance_of(unknown, unknown, vote) + (1.0 - found) * at_random);
    return chance;
}

void build_beliefs(const PublicRecord& r, Beliefs& b) {
    b.count = 0;
    b.weighed = true;
    // The hunter's guards: every night that has ended with an attack.
    double guards[SEAT_COUNT];
    for (int hunter = 0; hunter < SEAT_COUNT; ++hunter) {
        guards[hunter] = 1.0;
        for (int night = 1; night < r.day; ++night) {
            const int target = r.attacks[night];
            if (!is_seat(target)) continue;
            const double guarded = guard_chance(r, hunter, night, target);
            guards[hunter] *= r.attacked_on[night] == NONE ? guarded : 1.0 - guarded;
        }
    }
    // The votes of every filed day (at the attack screen today's are filed too: the night
    // comes after the day's vote), by who is the madman.
    const int last_vote = r.phase == PHASE_ATTACK_SELECT ? r.day : r.day - 1;
    double votes[SEAT_COUNT];
    for (int madman = 0; madman < SEAT_COUNT; ++madman) {
        votes[madman] = 1.0;
        for (int day = 2; day <= last_vote; ++day) {
            for (int voter = 0; voter < SEAT_COUNT; ++voter) {
                const bool wolf = voter == r.wolf_seats[0] || voter == r.wolf_seats[1];
                if (wolf || !is_seat(r.votes[voter][day])) continue;
                votes[madman] *= vote_chance(r, voter, day, voter == madman);
            }
        }
    }
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
                    bool distinct = true;
                    for (int i = 0; i < 4; ++i) {
                        for (int j = i + 1; j < 4; ++j) distinct = distinct && deal[i] != deal[j];
                    }
                    if (!distinct || b.count == MAX_DEALS) continue;
                    std::uint8_t(&role)[SEAT_COUNT] = b.role[b.count];
                    for (std::uint8_t& each : role) each = ROLE_VILLAGER;
                    for (int seat : r.wolf_seats) role[seat] = ROLE_WOLF;
                    role[deal[0]] = ROLE_MADMAN;
                    role[deal[1]] = ROLE_SEER;
                    role[deal[2]] = ROLE_MEDIUM;
                    role[deal[3]] = ROLE_HUNTER;
                    b.weight[b.count] = guards[deal[3]] * votes[deal[0]];
                    b.count += 1;
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
        if (p.role == ROLE_MADMAN && last_night >= 3 && alive_at_night(r, seat, 3)) {
            p.co_claim = ROLE_MADMAN;
            for (int night = 3; night < r.day; ++night)
                p.night[night].target = r.claims[seat][night].target;
        }
    }
    seed_random(g.random, seed);
    g.quick_searches = 1;
    if (r.phase == PHASE_ATTACK_SELECT) {
        run_night(g);
    } else {
        computer_votes(g);
        for (int k = 0; k < WOLF_SEATS; ++k)
            g.players[r.wolf_seats[k]].vote[r.day] = r.wolf_votes[k];
    }
}
