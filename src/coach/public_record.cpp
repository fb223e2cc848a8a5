#include "coach/public_record.hpp"

#include <cstring>

#include "ai/night.hpp"
#include "engine/morning.hpp"

PublicRecord public_record_of(const Game& game) {
    PublicRecord r{};
    r.day = game.day;
    r.phase = game.phase;
    // Only a vote reads it; elsewhere it is whatever the last vote, even a last game's, left.
    r.voter_index = game.phase == PHASE_VOTE_SELECT ? game.voter_index : 0;
    r.wolf_count = game.wolf_count;
    for (int k = 0; k < WOLF_SEATS; ++k) {
        r.wolf_seats[k] = game.wolf_seats[k];
        r.wolf_votes[k] = is_seat(game.wolf_seats[k])
                              ? game.players[game.wolf_seats[k]].vote[game.day % DAY_SLOTS]
                              : NONE;
    }
    for (int seat = 0; seat < SEAT_COUNT; ++seat) {
        const Player& p = game.players[seat];
        r.alive[seat] = p.alive;
        r.hanged_day[seat] = p.hanged_day;
        r.attacked_day[seat] = p.attacked_day;
        r.co_public[seat] = game.co_public[seat];
        r.black_count[seat] = game.black_count[seat];
        r.white_count[seat] = game.white_count[seat];
        for (int day = 0; day < DAY_SLOTS; ++day) {
            r.claims[seat][day] = game.claims[seat][day];
            r.votes[seat][day] = game.votes[seat][day];
        }
    }
    r.seer_claims = game.seer_claims;
    r.medium_claims = game.medium_claims;
    for (int day = 0; day < DAY_SLOTS; ++day) {
        r.attacks[day] = game.attacks[day];
        r.attacked_on[day] = game.attacked_on[day];
        r.hanged_on[day] = game.hanged_on[day];
    }
    r.rules = game.rules;
    const Question q = morning_question(game);
    r.question = q.kind;
    r.asked = q.wolf;
    for (int k = 0; k < WOLF_SEATS; ++k) {
        const int wolf = game.wolf_seats[k];
        const bool seat = is_seat(wolf);
        r.wolf_claim[k] = seat ? game.players[wolf].co_claim : NONE;
        r.claim_asked[k] = game.claim_asked[k];
        for (int day = 0; day < DAY_SLOTS; ++day) {
            r.wolf_said[k][day] =
                seat ? game.players[wolf].night[day] : NightRecord{-1, -1, -1, -1};
        }
    }
    return r;
}

namespace {

bool seat_or_none(int value) { return value == NONE || is_seat(value); }
bool day_or_none(int value) { return value == NONE || (value >= 1 && value < DAY_SLOTS); }
bool claim_or_none(int value) {
    return value == NONE || value == ROLE_MADMAN || value == ROLE_SEER || value == ROLE_MEDIUM;
}
bool verdict_or_none(int value) {
    return value == NONE || value == VERDICT_WHITE || value == VERDICT_BLACK;
}

}  // namespace

namespace {

// Every field in its range: seats, days, claims, verdicts; two distinct wolves.
bool fields_in_range(const PublicRecord& r) {
    if (r.day < 1 || r.day >= DAY_SLOTS) return false;
    const bool morning = wolves_may_lie(r.rules) && r.phase == PHASE_FAKE_CLAIM && r.day >= 2;
    if (r.phase != PHASE_ATTACK_SELECT && r.phase != PHASE_VOTE_SELECT && !morning) return false;
    if (r.rules != RULES_STANDARD && !wolves_may_lie(r.rules)) return false;
    if (r.voter_index < 0 || r.voter_index >= WOLF_SEATS) return false;
    if (r.wolf_count < 1 || r.wolf_count > WOLF_SEATS) return false;
    if (!is_seat(r.wolf_seats[0]) || !is_seat(r.wolf_seats[1]) ||
        r.wolf_seats[0] >= r.wolf_seats[1]) {
        return false;
    }
    for (int seat = 0; seat < SEAT_COUNT; ++seat) {
        if (r.alive[seat] != 0 && r.alive[seat] != 1) return false;
        if (!day_or_none(r.hanged_day[seat]) || !day_or_none(r.attacked_day[seat])) return false;
        if (!claim_or_none(r.co_public[seat])) return false;
        if (r.black_count[seat] < 0 || r.white_count[seat] < 0 || r.black_count[seat] > DAY_SLOTS ||
            r.white_count[seat] > DAY_SLOTS) {
            return false;
        }
        for (int day = 0; day < DAY_SLOTS; ++day) {
            const NightRecord& c = r.claims[seat][day];
            if (!seat_or_none(c.target) || !verdict_or_none(c.result) ||
                !seat_or_none(r.votes[seat][day])) {
                return false;
            }
        }
    }
    for (int day = 0; day < DAY_SLOTS; ++day) {
        if (!seat_or_none(r.attacks[day]) || !seat_or_none(r.attacked_on[day]) ||
            !seat_or_none(r.hanged_on[day])) {
            return false;
        }
    }
    for (int vote : r.wolf_votes) {
        if (!seat_or_none(vote)) return false;
    }
    return true;
}

bool is_wolf(const PublicRecord& r, int seat) {
    return seat == r.wolf_seats[0] || seat == r.wolf_seats[1];
}

// The deaths the day has had: an attack every night before it (a killing, or one the
// bodyguard turned away), never on a wolf; a hanging every day with a vote; each death the
// one its seat records, and every dead seat dead by one of them. The living are what is left,
// and the game is still undecided.
bool deaths_agree(const PublicRecord& r) {
    const int last_vote = r.phase == PHASE_ATTACK_SELECT ? r.day : r.day - 1;
    for (int day = 0; day < DAY_SLOTS; ++day) {
        const int attacked = r.attacks[day];
        const bool night_passed = day >= 1 && day < r.day;
        if (night_passed != is_seat(attacked) || (night_passed && is_wolf(r, attacked)))
            return false;
        if (r.attacked_on[day] != NONE && r.attacked_on[day] != attacked) return false;
        if (is_seat(r.attacked_on[day]) && r.attacked_day[r.attacked_on[day]] != day) return false;
        const bool voted = day >= 2 && day <= last_vote;
        if (voted != is_seat(r.hanged_on[day])) return false;
        if (voted && r.hanged_day[r.hanged_on[day]] != day) return false;
    }
    int living = 0;
    int wolves = 0;
    for (int seat = 0; seat < SEAT_COUNT; ++seat) {
        const int hanged = r.hanged_day[seat];
        const int attacked = r.attacked_day[seat];
        if ((hanged != NONE && attacked != NONE) ||
            (r.alive[seat] == 0) != (hanged != NONE || attacked != NONE)) {
            return false;
        }
        if (hanged != NONE && r.hanged_on[hanged] != seat) return false;
        if (attacked != NONE && r.attacked_on[attacked] != seat) return false;
        living += r.alive[seat];
        wolves += r.alive[seat] == 1 && is_wolf(r, seat) ? 1 : 0;
    }
    return wolves == r.wolf_count && wolves >= 1 && wolves < (living + 1) / 2;
}

}  // namespace

namespace {

// The wolves' own claims: none in the first village; under the rules with lies the seer or
// the medium, made on a morning it was asked and published from then on, and what each
// said in its range. The morning's question is one the game can ask of a living wolf.
bool wolf_claims_agree(const PublicRecord& r) {
    const bool bluff = wolves_may_lie(r.rules);
    for (int k = 0; k < WOLF_SEATS; ++k) {
        const int wolf = r.wolf_seats[k];
        const int claim = r.wolf_claim[k];
        const int asked = r.claim_asked[k];
        if (claim != NONE && (!bluff || (claim != ROLE_SEER && claim != ROLE_MEDIUM))) return false;
        if (!day_or_none(asked) || asked > r.day || (!bluff && asked != NONE)) return false;
        if (claim != NONE && asked == NONE) return false;
        const bool published_by_now =
            claim != NONE && (asked < r.day || r.phase != PHASE_FAKE_CLAIM);
        if (r.co_public[wolf] != (published_by_now ? claim : NONE)) return false;
        for (const NightRecord& said : r.wolf_said[k]) {
            if (!seat_or_none(said.target) || !verdict_or_none(said.result)) return false;
            if (!bluff && (said.target != NONE || said.result != NONE)) return false;
        }
    }
    if (r.phase != PHASE_FAKE_CLAIM) return r.question == QUESTION_NONE && r.asked == NONE;
    const int k = wolf_index(r, r.asked);
    if (k == NONE || r.alive[r.asked] != 1) return false;
    switch (r.question) {
    case QUESTION_CLAIM: return r.wolf_claim[k] == NONE && r.claim_asked[k] != r.day;
    case QUESTION_SEER_VERDICT: return r.wolf_claim[k] == ROLE_SEER;
    case QUESTION_MEDIUM_VERDICT:
        return r.wolf_claim[k] == ROLE_MEDIUM && r.day >= MEDIUM_FIRST_RESULT_DAY;
    default: return false;
    }
}

}  // namespace

bool public_record_valid(const PublicRecord& r) {
    return fields_in_range(r) && deaths_agree(r) && wolf_claims_agree(r);
}

int wolf_index(const PublicRecord& r, int seat) {
    for (int k = 0; k < WOLF_SEATS; ++k) {
        if (is_seat(seat) && r.wolf_seats[k] == seat) return k;
    }
    return NONE;
}

std::uint64_t public_record_hash(const PublicRecord& record) {
    unsigned char bytes[sizeof record];
    std::memcpy(bytes, &record, sizeof record);
    std::uint64_t hash = 0xCBF29CE484222325ull;
    for (unsigned char b : bytes) hash = (hash ^ b) * 0x100000001B3ull;
    return hash;
}

bool alive_at_night(const PublicRecord& r, int seat, int night) {
    // The day's hanging comes before that day's night; the night's attack after its actions.
    const bool hanged = r.hanged_day[seat] != NONE && r.hanged_day[seat] <= night;
    const bool attacked = r.attacked_day[seat] != NONE && r.attacked_day[seat] < night;
    return !hanged && !attacked;
}

int voting_wolf(const PublicRecord& r) {
    for (int k = r.voter_index < 0 ? 0 : r.voter_index; k < WOLF_SEATS; ++k) {
        if (is_seat(r.wolf_seats[k]) && r.alive[r.wolf_seats[k]] == 1) return r.wolf_seats[k];
    }
    return NONE;
}

bool alive_at_morning(const PublicRecord& r, int seat, int day) {
    const bool hanged = r.hanged_day[seat] != NONE && r.hanged_day[seat] < day;
    const bool attacked = r.attacked_day[seat] != NONE && r.attacked_day[seat] < day;
    return !hanged && !attacked;
}

int claimed_on(const PublicRecord& r, int seat) {
    const int k = wolf_index(r, seat);
    if (k != NONE) return r.co_public[seat] != NONE ? r.claim_asked[k] : NONE;
    const int night = first_claim_night(r.co_public[seat]);
    return night == NONE ? NONE : night + 1;
}

Sight village_at(const PublicRecord& r, int day, bool at_night) {
    Sight s{};
    const int yesterday = day >= 1 && day <= DAY_SLOTS ? day - 1 : 0;
    s.day = day;
    s.self = NONE;
    s.call = NONE;
    s.medium_verdict = NONE;
    for (int seat = 0; seat < SEAT_COUNT; ++seat) {
        s.living[seat] = at_night ? alive_at_night(r, seat, day) : alive_at_morning(r, seat, day);
        const int since = claimed_on(r, seat);
        s.claim[seat] = since != NONE && since <= day ? r.co_public[seat] : NONE;
        s.seers += s.claim[seat] == ROLE_SEER;
        s.mediums += s.claim[seat] == ROLE_MEDIUM;
        if (s.claim[seat] == ROLE_MEDIUM) s.medium_verdict = r.claims[seat][yesterday].result;
        s.voted_hanged[seat] = r.votes[seat][yesterday] == r.hanged_on[yesterday];
    }
    s.rules = r.rules;
    s.role = NONE;
    if (s.rules == RULES_BLUFF) {
        std::int32_t claimed[SEAT_COUNT];
        for (int seat = 0; seat < SEAT_COUNT; ++seat) claimed[seat] = claimed_on(r, seat);
        fill_seasoned(s, {r.claims, r.hanged_on, r.votes, claimed});
    }
    for (int seer = 0; seer < SEAT_COUNT; ++seer) {
        if (s.claim[seer] != ROLE_SEER) continue;
        for (int night = 1; night < day && night < DAY_SLOTS; ++night) {
            const NightRecord& c = r.claims[seer][night];
            if (!is_seat(c.target)) continue;
            if (c.result == VERDICT_BLACK) s.black[c.target] += 1;
            if (c.result == VERDICT_WHITE) s.white[c.target] += 1;
        }
    }
    return s;
}

Sight seat_at(const PublicRecord& r, const Sight& village, int seat) {
    Sight s = village;
    s.self = seat;
    const int yesterday = s.day >= 1 && s.day <= DAY_SLOTS ? s.day - 1 : 0;
    s.call = is_seat(seat) ? r.claims[seat][yesterday].target : NONE;
    const int claim = is_seat(seat) ? r.co_public[seat] : NONE;
    const bool truthful =
        wolf_index(r, seat) == NONE && (claim == ROLE_SEER || claim == ROLE_MEDIUM);
    s.role = truthful ? claim : ROLE_VILLAGER;
    return s;
}
