// Helpers shared by the tests: a game on a private console, seeded, and passes of the
// main loop driven by a list of keys.
#pragma once

#include <memory>
#include <string>

#include "console/console.hpp"
#include "console/render.hpp"
#include "engine/keys.hpp"
#include "engine/phases.hpp"
#include "model/game.hpp"
#include "model/new_game.hpp"
#include "model/random.hpp"

struct TestGame {
    std::unique_ptr<Game> game;
    std::unique_ptr<Console> console;
};

// A new game dealt from the given seed, drawing on its own console.
inline TestGame make_game(std::uint32_t seed) {
    TestGame t{std::unique_ptr<Game>(create_game()), std::make_unique<Console>()};
    seed_random(seed);
    new_game(*t.game);
    t.game->console = t.console.get();
    return t;
}

// One pass of the main loop with the given key: update, render, key, handle_key.
inline void pass(Game& game, char key) {
    update(game);
    render(game);
    game.key = static_cast<std::uint8_t>(key);
    handle_key(game);
}

// The first seat at or after the cursor (in seat order, wrapping) that test accepts.
template <typename Test>
int next_seat(const Game& game, Test test) {
    for (int k = 0; k < SEAT_COUNT; ++k) {
        const int seat = (game.cursor + k) % SEAT_COUNT;
        if (test(seat)) return seat;
    }
    return -1;
}

// Keys l that walk the cursor from where it is to seat.
inline std::string walk_to(const Game& game, int seat) {
    return std::string(static_cast<std::size_t>((seat - game.cursor + SEAT_COUNT) % SEAT_COUNT),
                       'l');
}

// The key a sensible wolf player presses: attack the next living villager, vote for the
// next living non-wolf, and lead on everywhere else.
inline char scripted_key(const Game& g) {
    const auto living_other = [&](int seat) {
        return g.players[seat].alive == 1 && g.players[seat].role != ROLE_WOLF;
    };
    if (g.phase == PHASE_ATTACK_SELECT || g.phase == PHASE_VOTE_SELECT) {
        const int target = next_seat(g, living_other);
        return target == g.cursor ? 'z' : 'l';
    }
    return 'x';
}

// Kills seat as if the wolves had attacked it on the current night.
inline void kill_seat(Game& game, int seat) {
    game.players[seat].alive = 0;
    game.players[seat].attacked_day = game.day;
    game.death_day[seat] = game.day;
}

// Gives every seat a role: roles[i] for seat i, wolves listed in wolf_seats.
inline void deal(Game& game, const int (&roles)[SEAT_COUNT]) {
    int wolves = 0;
    for (int seat = 0; seat < SEAT_COUNT; ++seat) {
        game.players[seat].role = roles[seat];
        if (roles[seat] == ROLE_WOLF && wolves < WOLF_SEATS) game.wolf_seats[wolves++] = seat;
    }
    game.wolf_count = wolves;
}

// The screen row as UTF-8-free bytes: compare with "..."_sj literals.
inline std::string row_text(const Game& game, int row) {
    return screen_row(game.console->screen, row);
}
