// Random seat choices shared by the computer seats' night actions and votes, drawn from
// the game's own random source.
#pragma once

#include "model/game.hpp"

// A seat other than p that is still alive.
inline bool is_living_candidate(const Game& game, const Player& p, int c) {
    return c != p.seat && game.death_day[c] == NONE;
}

// Draws seats until a living candidate comes up. A running game always has one.
inline int draw_living_candidate(Game& game, const Player& p) {
    int c = random_seat(game);
    while (!is_living_candidate(game, p, c)) c = random_seat(game);
    return c;
}

// True when no living candidate meets the test: a search for one cannot succeed. A game
// played out for the coach's odds then gives up at once (its outcome, -1, is the same; only
// the random draws after it differ, and such a game has fresh random futures anyway).
template <typename Test>
bool search_is_vain(const Game& game, const Player& p, Test test) {
    if (game.quick_searches == 0) return false;
    for (int c = 0; c < SEAT_COUNT; ++c) {
        if (is_living_candidate(game, p, c) && test(c)) return false;
    }
    return true;
}

// Up to n draws, every draw counting: the first living candidate that meets the test,
// or -1.
template <typename Test>
int search_draws(Game& game, const Player& p, int n, Test test) {
    if (search_is_vain(game, p, test)) return NONE;
    for (int k = 0; k < n; ++k) {
        const int c = random_seat(game);
        if (is_living_candidate(game, p, c) && test(c)) return c;
    }
    return NONE;
}

// A search that no seat can pass: its n attempts drawn to the end, exactly as one draw
// after another would draw them, four draws at a time, counting the living candidates
// (living_mask, a bit a seat) that come up. -1.
inline int exhaust_attempts(Game& game, unsigned living_mask, int n) {
    int attempts = 0;
    for (;;) {
        std::uint32_t states[4];
        next_four_states(game.random, states);
        int hit[4];
        for (int j = 0; j < 4; ++j)
            hit[j] = static_cast<int>((living_mask >> (output_of(states[j]) % SEAT_COUNT)) & 1u);
        if (attempts + hit[0] + hit[1] + hit[2] + hit[3] >= n) {
            for (int j = 0; j < 4; ++j) {
                attempts += hit[j];
                if (attempts == n) {
                    game.random.state = states[j];
                    return NONE;
                }
            }
        }
        attempts += hit[0] + hit[1] + hit[2] + hit[3];
        game.random.state = states[3];
    }
}

// Up to n attempts: each attempt draws until a living candidate comes up (those draws do
// not count) and then tests it. The first candidate that passes, or -1.
template <typename Test>
int search_attempts(Game& game, const Player& p, int n, Test test) {
    if (search_is_vain(game, p, test)) return NONE;
    // The test of each seat, once: a search draws thousands of seats when none passes.
    bool living[SEAT_COUNT];
    bool passes[SEAT_COUNT];
    unsigned living_mask = 0;
    bool any = false;
    for (int c = 0; c < SEAT_COUNT; ++c) {
        living[c] = is_living_candidate(game, p, c);
        passes[c] = living[c] && test(c);
        living_mask |= living[c] ? 1u << c : 0u;
        any = any || passes[c];
    }
    if (!any) return exhaust_attempts(game, living_mask, n);
    for (int k = 0; k < n; ++k) {
        int c = random_seat(game);
        while (!living[c]) c = random_seat(game);
        if (passes[c]) return c;
    }
    return NONE;
}
