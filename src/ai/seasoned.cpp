#include "ai/seasoned.hpp"

#include <bit>
#include <initializer_list>

namespace {

unsigned bit(int seat) { return 1u << seat; }

unsigned claimants(const Sight& s, int role) {
    unsigned set = 0;
    for (int c = 0; c < SEAT_COUNT; ++c) set |= s.claim[c] == role ? bit(c) : 0u;
    return set;
}

// The one claimant of a role, or NONE when there is none or more than one.
int only_claimant(const Sight& s, int role) {
    const unsigned set = claimants(s, role);
    return std::popcount(set) == 1 ? std::countr_zero(set) : NONE;
}

// True when two claimants said opposite things of a seat.
bool contradict(const Sight& s, int a, int b) {
    for (int seat = 0; seat < SEAT_COUNT; ++seat) {
        const std::int8_t x = s.said[a][seat];
        const std::int8_t y = s.said[b][seat];
        if (x != NONE && y != NONE && x != y) return true;
    }
    return false;
}

// The lowest living seat of a set, other than the seat choosing; NONE when none.
int lowest_living(const Sight& s, unsigned set) {
    for (int c = 0; c < SEAT_COUNT; ++c) {
        if ((set & bit(c)) != 0 && s.living[c] && c != s.self) return c;
    }
    return NONE;
}

// The lowest living seat the claimant called black, other than the seat choosing.
int lowest_black_of(const Sight& s, int claimant) {
    for (int c = 0; c < SEAT_COUNT; ++c) {
        if (s.living[c] && c != s.self && s.said[claimant][c] == VERDICT_BLACK) return c;
    }
    return NONE;
}

// What a medium's word shows, taken as true: the seers who contradict him; a hanged seer he
// read as a wolf; the other seers of one he read as human.
unsigned shown_by_medium(const Sight& s, int medium) {
    unsigned liars = 0;
    const unsigned seers = claimants(s, ROLE_SEER);
    for (int c = 0; c < SEAT_COUNT; ++c) {
        if ((seers & bit(c)) == 0) continue;
        if (contradict(s, c, medium) || s.said[medium][c] == VERDICT_BLACK) liars |= bit(c);
        if (s.said[medium][c] == VERDICT_WHITE) liars |= seers & ~bit(c);
    }
    return liars;
}

// What a seer's word shows, taken as true: the mediums who contradict him, and any claimant
// he called a wolf.
unsigned shown_by_seer(const Sight& s, int seer) {
    unsigned liars = 0;
    for (int c = 0; c < SEAT_COUNT; ++c) {
        if (s.claim[c] == ROLE_MEDIUM && contradict(s, c, seer)) liars |= bit(c);
        if (s.claim[c] != NONE && s.said[seer][c] == VERDICT_BLACK) liars |= bit(c);
    }
    return liars & ~bit(seer);
}

bool tells_truth(const Sight& s, int role) {
    return s.role == role && s.claim[s.self] == role && is_seat(s.self);
}

}  // namespace

unsigned public_liars(const Sight& s) {
    if (s.rules != RULES_BLUFF) return 0;
    unsigned liars = 0;
    const int medium = only_claimant(s, ROLE_MEDIUM);
    if (medium != NONE) liars |= shown_by_medium(s, medium);
    const int seer = only_claimant(s, ROLE_SEER);
    if (seer != NONE && (liars & bit(seer)) == 0) {
        // The one seer, trusted, shows a medium; and the medium he shows false shows nothing.
        const unsigned by_seer = shown_by_seer(s, seer) & claimants(s, ROLE_MEDIUM);
        if (medium != NONE && (by_seer & bit(medium)) != 0) liars &= ~shown_by_medium(s, medium);
        liars |= by_seer;
    }
    return liars;
}

unsigned known_liars(const Sight& s) {
    if (s.rules != RULES_BLUFF) return 0;
    if (tells_truth(s, ROLE_SEER))
        return (claimants(s, ROLE_SEER) & ~bit(s.self)) | shown_by_seer(s, s.self);
    if (tells_truth(s, ROLE_MEDIUM))
        return (claimants(s, ROLE_MEDIUM) & ~bit(s.self)) | shown_by_medium(s, s.self);
    return public_liars(s);
}

int seasoned_vote(const Sight& s, const ClaimReading& reading) {
    const unsigned liars = reading.liars;
    int choice = lowest_living(s, liars);
    if (choice != NONE) return choice;
    if (tells_truth(s, ROLE_SEER)) {
        choice = lowest_black_of(s, s.self);
        if (choice != NONE) return choice;
    }
    const unsigned seers = claimants(s, ROLE_SEER) & ~liars;
    if (std::popcount(seers) == 1) {  // one seer to trust
        choice = lowest_black_of(s, std::countr_zero(seers));
        if (choice != NONE) return choice;
    }
    for (int role : {ROLE_SEER, ROLE_MEDIUM}) {  // a roller over two claimants or more
        const unsigned set = claimants(s, role) & ~liars;
        if (std::popcount(set) >= 2) {
            choice = lowest_living(s, set);
            if (choice != NONE) return choice;
        }
    }
    return NONE;
}

unsigned suspects(const Sight& s, const ClaimReading& reading) {
    if (s.rules != RULES_BLUFF) return 0;
    unsigned set = 0;
    for (int c = 0; c < SEAT_COUNT; ++c) {
        const bool open =
            c != s.self && s.living[c] && s.claim[c] == NONE && reading.trusted.white[c] < 1;
        if (open && (s.lone_votes[c] & ~reading.liars) != 0) set |= bit(c);
    }
    return set;
}

ClaimReading read_claims(const Sight& s) {
    ClaimReading reading{known_liars(s), s};
    if (reading.liars == 0) return reading;
    Sight& t = reading.trusted;
    t.seers = 0;
    t.mediums = 0;
    for (int c = 0; c < SEAT_COUNT; ++c) {
        t.black[c] = 0;
        t.white[c] = 0;
        if ((reading.liars & bit(c)) != 0) t.claim[c] = NONE;
        t.seers += t.claim[c] == ROLE_SEER;
        t.mediums += t.claim[c] == ROLE_MEDIUM;
    }
    for (int seer = 0; seer < SEAT_COUNT; ++seer) {
        if (t.claim[seer] != ROLE_SEER) continue;
        for (int c = 0; c < SEAT_COUNT; ++c) {
            t.black[c] += s.said[seer][c] == VERDICT_BLACK;
            t.white[c] += s.said[seer][c] == VERDICT_WHITE;
        }
    }
    return reading;
}

int seasoned_inspection(const Sight& s) {
    if (s.rules != RULES_BLUFF || s.role != ROLE_SEER) return NONE;
    for (int c = 0; c < SEAT_COUNT; ++c) {
        const int role = s.claim[c];
        if (role != ROLE_SEER && role != ROLE_MEDIUM) continue;
        const bool doubled = std::popcount(claimants(s, role)) >= 2;
        if (doubled && c != s.self && s.living[c] && s.said[s.self][c] == NONE) return c;
    }
    return NONE;
}
