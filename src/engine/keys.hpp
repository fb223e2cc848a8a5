// What the human's keys do in each phase. Keys are single bytes and case-sensitive:
// i j k l move the cursor, z confirms, r starts again after a win.
#pragma once

#include "model/game.hpp"

// Moves the cursor for key i, j, k or l over the two rows of five seats, wrapping.
void move_cursor(Game& game);

// Acts on game.key for the current phase.
void handle_key(Game& game);
