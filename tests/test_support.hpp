// Helpers shared by the tests: a game started from a seed as every front end starts it,
// with a screen of its own to draw into, and the keys a sensible wolf player presses.
#pragma once

#include <memory>
#include <string>

#include "draw/render.hpp"
#include "engine/keys.hpp"
#include "engine/phases.hpp"
#include "engine/step.hpp"
#include "model/game.hpp"
#include "model/new_game.hpp"
#include "model/texts.hpp"

struct TestGame {
    std::unique_ptr<Game> game;
    std::unique_ptr<Screen> screen;
};

// A game dealt from the seed, waiting on its first screen (the first night's prompt),
// not yet drawn.
inline TestGame make_game(std::uint32_t seed) {
    TestGame t{std::make_unique<Game>(), std::make_unique<Screen>()};
    start_game(*t.game, seed);
    return t;
}

// A game dealt from the seed, before its first night: for tests that deal roles of their
// own (deal below) and set up the phase they test.
inline TestGame new_game_of(std::uint32_t seed) {
    TestGame t{std::make_unique<Game>(), std::make_unique<Screen>()};
    reset_game(*t.game);
    seed_random(t.game->random, seed);
    new_game(*t.game);
    return t;
}

// Draws the game's screen in a language.
inline void draw(const TestGame& t, int language = LANGUAGE_JAPANESE) {
    render(*t.game, language, *t.screen);
}

// One key as a front end plays it: the step, then the screen drawn.
inline void play(TestGame& t, char key, int language = LANGUAGE_JAPANESE) {
    step_game(*t.game, static_cast<std::uint8_t>(key));
    render(*t.game, language, *t.screen);
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

// The newest log line as a screen shows it in a language.
inline std::string log_line(const Game& game, int line = 0, int language = LANGUAGE_JAPANESE) {
    char text[LOG_LINE_BYTES];
    log_text(texts_of(language), game.log[line], text);
    return text;
}

// A screen row's bytes (Shift-JIS): compare with "..."_sj literals.
inline std::string row_text(const TestGame& t, int row) { return screen_row(*t.screen, row); }
