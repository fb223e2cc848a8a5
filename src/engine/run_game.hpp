#pragma once

#include "cli/options.hpp"
#include "model/game.hpp"

// The one game of the process, created by run_game. It lives until the process ends;
// nothing frees it.
extern Game* process_game;

// The game: seeds the random source (from the clock unless the options say otherwise),
// deals a new game and plays pass after pass (the screen, one key) until input ends.
// Returns the exit status: EXIT_NORMAL, or EXIT_INPUT_OUTPUT_ERROR when reading or
// writing failed.
int run_game(const Options& options);
