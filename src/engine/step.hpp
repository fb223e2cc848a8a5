// The game's step, the only way it moves: a key, then the automatic work of the phase up
// to the next screen that waits for a key. Nothing is drawn: a front end draws the game
// (draw/render.hpp) as often as it likes. Every front end, the fuzzers and the tests start
// and step a game through these two.
#pragma once

#include <cstdint>

#include "ai/sight.hpp"
#include "model/game.hpp"

// A new game dealt from the seed: the record reset, the random source seeded, the roles
// dealt, and the first night's automatic work done, so that the game waits on its first
// screen (the night's prompt).
void start_game(Game& game, std::uint32_t seed, int rules = RULES_STANDARD);

// Stores the key and handles it, then does the automatic work up to the next screen: a
// computer seat's search that no seat can pass drawn as `search` says (SEARCH_EXACT for
// every game a player plays; SEARCH_QUICK only for the coach's rollouts).
void step_game(Game& game, std::uint8_t key, int search = SEARCH_EXACT);
