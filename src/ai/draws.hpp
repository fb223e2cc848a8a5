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

// Up to n draws, every draw counting: the first living candidate that meets the test,
// or -1.
template <typename Test>
int search_draws(Game& game, const Player& p, int n, Test test) {
    for (int k = 0; k < n; ++k) {
        const int c = random_seat(game);
        if (is_living_candidate(game, p, c) && test(c)) return c;
    }
    return NONE;
}

// Up to n attempts: each attempt draws until a living candidate comes up (those draws do
// not count) and then tests it. The first candidate that passes, or -1.
template <typename Test>
int search_attempts(Game& game, const Player& p, int n, Test test) {
    for (int k = 0; k < n; ++k) {
        const int c = draw_living_candidate(game, p);
        if (test(c)) return c;
    }
    return NONE;
}
