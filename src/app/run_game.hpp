// The game in the terminal: the seed chosen, the game dealt, then screen after screen,
// each shown until its key comes, until input ends.
#pragma once

#include <cstdint>
#include <string>

#include "app/options.hpp"
#include "app/record_file.hpp"
#include "model/game.hpp"
#include "model/record.hpp"

// The seed the options ask for: given, today's village, or the clock's second.
std::uint32_t choose_seed(const Options& options);

// A record to play back before the player takes over, and what was said of it.
struct Replay {
    const Record* record;
    const char* path;
    bool japanese;      // the language of what is said
    std::string later;  // what could not be said while the game held the terminal
};

// Deals the game from the options' seed, or from the record to replay, and plays it on
// the process console until input ends. A record to replay has its keys played first,
// one every REPLAY_PACE_MS or at once on any key typed (with --coach, not before the odds
// of a choice are shown), before the player takes over; standard error says when the
// replay starts and when it hands over (where standard error is the game's own terminal,
// the hand-over is kept in replay->later for when the terminal is given back). With a file
// to record into, every key played is written down as it is played. Returns the exit
// status: EXIT_NORMAL, or EXIT_INPUT_OUTPUT_ERROR when reading or writing failed (a failed
// write to the record sets record->error).
int run_game(const Options& options, Replay* replay, RecordFile* record);
