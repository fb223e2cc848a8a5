#pragma once

// The game: seeds the random source from the clock, deals a new game and plays pass
// after pass (update, render, one key, handle the key) until input ends.
void run_game();
