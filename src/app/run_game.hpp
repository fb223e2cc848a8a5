// The game in the terminal: the seed chosen, the game dealt, then screen after screen,
// each shown until its key comes, until input ends.
#pragma once

#include <cstdint>

#include "app/options.hpp"
#include "app/record_file.hpp"
#include "model/game.hpp"
#include "model/record.hpp"

// The one game of the process, created by run_game. It lives until the process ends;
// nothing frees it.
extern Game* process_game;

// The seed the options ask for: given, today's village, or the clock's second.
std::uint32_t choose_seed(const Options& options);

// Deals the game from the options' seed, or from the record to replay, and plays it on
// the process console until input ends. A record to replay has its keys played first,
// one every REPLAY_PACE_MS or at once on any key typed, before the player takes over; with
// a file to record into, every key played is written down as it is played. Returns the
// exit status: EXIT_NORMAL, or EXIT_INPUT_OUTPUT_ERROR when reading or writing failed (a
// failed write to the record sets record->error).
int run_game(const Options& options, const Record* replay, RecordFile* record);
