// What the command line says instead of playing: the help, the version and usage errors,
// in Japanese or in English. All texts are Shift-JIS, like every text of the game.
#pragma once

#include <cstddef>
#include <string>

#include "app/options.hpp"

// The help printed by --help.
const char* help_text(bool japanese);

// "jinro X.Y.Z" and a newline.
std::string version_text();

// One line saying what is wrong with the command line, and a line pointing at --help.
std::string usage_error_text(const Options& options, bool japanese);

// One line saying what is wrong with a record file (RECORD_... of model/record.hpp; a file
// that cannot be read with the system's reason, system_error), or that the file to record
// into is there already (exists) or cannot be made (errno error).
std::string record_error_text(int error, const char* path, bool japanese, int system_error = 0);
std::string record_file_error_text(bool exists, const char* path, int error, bool japanese);

// One line saying that a file (standard output where path is null) could not be created
// or written, and why (errno error).
std::string write_error_text(const char* path, int error, bool creating, bool japanese);

// One line saying that a record is played back, how many keys it has and how to go faster;
// and one saying that it was, and that the game is the player's from there.
std::string replay_start_text(const char* path, std::size_t keys, bool japanese);
std::string replay_over_text(const char* path, std::size_t keys, bool japanese);

// One line saying that memory ran out.
const char* memory_error_text(bool japanese);

// One line saying that standard input could not be read, and why.
std::string read_error_text(int error, bool japanese);

// One line saying that a record reached the most keys a record holds, and that the rest
// of the game went unrecorded.
std::string record_full_text(const char* path, bool japanese);
