// The random choices of the computer seats, each beside the chance of what it draws. A
// random seat is the game's 15-bit output mod 10, so seats 0 to 7 come up 3277 times in
// 32768 and seats 8 and 9 3276 times; a percentage roll is the output mod 100. A
// *candidate* is a living seat other than the one choosing.
#pragma once

#include "ai/sight.hpp"

// --- the draws -------------------------------------------------------------------------------

inline bool is_candidate(const Sight& s, int c) { return c != s.self && s.living[c]; }

// Draws seats until a candidate comes up. A running game always has one.
inline int draw_candidate(const Sight& s, Random& random) {
    int c = random_output(random) % SEAT_COUNT;
    while (!is_candidate(s, c)) c = random_output(random) % SEAT_COUNT;
    return c;
}

// Draws seats until one of the set (a bit a seat; not empty) comes up.
inline int draw_from(unsigned set, Random& random) {
    int c = random_output(random) % SEAT_COUNT;
    while (((set >> c) & 1u) == 0) c = random_output(random) % SEAT_COUNT;
    return c;
}

// A percentage roll: the next output mod 100.
inline int roll_percent(Random& random) { return random_output(random) % 100; }

// Up to n draws, every draw counting: the first candidate that meets the test, or -1.
template <typename Test>
int search_draws(const Sight& s, Random& random, int n, Test test) {
    for (int k = 0; k < n; ++k) {
        const int c = random_output(random) % SEAT_COUNT;
        if (is_candidate(s, c) && test(c)) return c;
    }
    return NONE;
}

// A search that no seat can pass: its n attempts drawn to the end, exactly as one draw
// after another would draw them, RANDOM_RUN draws at a time, counting the candidates (a
// bit a seat of candidates) that come up. -1.
inline int exhaust_attempts(Random& random, unsigned candidates, int n) {
    const auto hit = [&](std::uint32_t state) {
        return static_cast<int>((candidates >> (output_of(state) % SEAT_COUNT)) & 1u);
    };
    int attempts = 0;
    for (;;) {
        std::uint32_t states[RANDOM_RUN];
        next_states(random, states);
        int hits = 0;
        for (std::uint32_t state : states) hits += hit(state);
        if (attempts + hits >= n) {
            for (std::uint32_t state : states) {
                attempts += hit(state);
                if (attempts == n) {
                    random.state = state;
                    return NONE;
                }
            }
        }
        attempts += hits;
        random.state = states[RANDOM_RUN - 1];
    }
}

// Up to n attempts: each attempt draws until a candidate comes up (those draws do not
// count) and then tests it. The first candidate that passes, or -1.
template <typename Test>
int search_attempts(const Sight& s, Random& random, int n, Test test, int search = SEARCH_EXACT) {
    // The test of each seat, once: a search draws thousands of seats when none passes.
    bool passes[SEAT_COUNT];
    unsigned candidates = 0;
    bool any = false;
    for (int c = 0; c < SEAT_COUNT; ++c) {
        passes[c] = is_candidate(s, c) && test(c);
        candidates |= is_candidate(s, c) ? 1u << c : 0u;
        any = any || passes[c];
    }
    if (!any) return search == SEARCH_QUICK ? NONE : exhaust_attempts(random, candidates, n);
    for (int k = 0; k < n; ++k) {
        int c = random_output(random) % SEAT_COUNT;
        while (((candidates >> c) & 1u) == 0) c = random_output(random) % SEAT_COUNT;
        if (passes[c]) return c;
    }
    return NONE;
}

// --- their chances -----------------------------------------------------------------------------

// How often one draw gives the seat.
constexpr double draw_share(int seat) { return (seat < 8 ? 3277.0 : 3276.0) / 32768.0; }

// How often a percentage roll is below percent (at most 68: outputs 0..67 mod 100 come up
// 328 times in 32768, the others 327).
constexpr double roll_below(int percent) { return percent * 328.0 / 32768.0; }

// x to the n by multiplications alone, so that every platform gets the same bits.
constexpr double power(double x, int n) {
    double result = 1.0;
    for (; n > 0; n >>= 1) {
        if ((n & 1) != 0) result *= x;
        x *= x;
    }
    return result;
}

// Seats that pass a test, and how often one draw lands among them.
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

inline Seats candidates_of(const Sight& s) {
    return seats_where([&](int c) { return is_candidate(s, c); });
}

// Adds weight times the chances of a draw confined to `set` (drawn again until it lands
// there).
inline void add_draw(Chances& chances, const Seats& set, double weight) {
    if (set.share <= 0.0 || weight == 0.0) return;
    for (int seat = 0; seat < SEAT_COUNT; ++seat) {
        if (set.in[seat]) chances.seat[seat] += weight * draw_share(seat) / set.share;
    }
}

// The chance that up to n draws, every draw counting, find a seat of the set.
inline double draws_find(const Seats& set, int n) { return 1.0 - power(1.0 - set.share, n); }

// The chance that up to n attempts among the candidates find a seat of the set.
inline double attempts_find(const Seats& set, const Seats& candidates, int n) {
    if (candidates.share <= 0.0) return 0.0;
    return 1.0 - power(1.0 - set.share / candidates.share, n);
}
