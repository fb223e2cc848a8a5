#pragma once

#include <cstdint>
#include <cstdio>

#include "cli/options.hpp"
#include "cli/record_file.hpp"
#include "model/game.hpp"

// The one game of the process, created by run_game. It lives until the process ends;
// nothing frees it.
extern Game* process_game;

// The game: seeds the random source (from the clock unless the options say otherwise),
// deals a new game and plays pass after pass (the screen, one key) until input ends.
// Returns the exit status: EXIT_NORMAL, or EXIT_INPUT_OUTPUT_ERROR when reading or
// writing failed.
// The seed the options ask for: given, today's village, or the clock's second.
std::uint32_t choose_seed(const Options& options);

// With a record to replay, its seed deals the game and its keys are played first, one
// every REPLAY_PACE_MS or at once on any key, before the player takes over; with a file
// to record into, every key played is written down as it is played (a failed write ends
// the game: EXIT_INPUT_OUTPUT_ERROR with record->error set).
inline constexpr int REPLAY_PACE_MS = 600;
int run_game(const Options& options, const Record* replay, RecordFile* record);
