// What the human's keys do in each phase. Keys are single bytes and case-sensitive:
// i j k l move the cursor, z confirms, r starts again after a win.
#pragma once

#include <string>

#include "model/game.hpp"

// What the keys do on the screen a game shows: move the cursor and choose the wolves'
// victim, or one wolf's vote; any key leads on; r starts again.
inline constexpr int SCREEN_CHOOSE_ATTACK = 1;
inline constexpr int SCREEN_CHOOSE_VOTE = 2;
inline constexpr int SCREEN_ANY_KEY = 3;
inline constexpr int SCREEN_WON = 4;

// The kind of the screen the game shows now (in a phase that waits for a key).
int screen_kind(const Game& game);

// The keys that walk the cursor from seat `from` to seat `to`: k to change rows of five,
// then l or j along the row.
std::string keys_to_seat(int from, int to);

// Moves the cursor for key i, j, k or l over the two rows of five seats, wrapping.
void move_cursor(Game& game);

// Acts on game.key for the current phase.
void handle_key(Game& game);
