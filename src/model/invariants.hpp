// The invariants of a game's records, checked by the tests and the fuzzer after every key.
#pragma once

#include "model/game.hpp"

// nullptr when every invariant holds; otherwise what is broken.
const char* broken_invariant(const Game& game);
