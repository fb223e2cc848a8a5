// One pass of the main loop, written once for every front end (the terminal, the web
// page, the tests): the automatic work of the phase and the screen, then a key.
#pragma once

#include <cstdint>

#include "model/game.hpp"

// Runs the automatic work of the current phase and draws the screen that waits for the
// next key. A new game starts with this.
void next_screen(Game& game);

// Stores the key and handles it, then goes on to the next screen.
void play_key(Game& game, std::uint8_t key);
