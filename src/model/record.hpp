// A game written down: its seed and every key since the start, restarts included (r
// deals the next game from the same random sequence, so a second game is reached only
// through the first). Files and links spell the keys the same way: i j k l z r and their
// capitals as they were typed, and "." for any other key, which every screen takes alike.
//
//   jinro-record 2 1767225600 en
//   lzxxllzz...
//
// The first line names the language the game was played in (ja or en), and "bluff" after
// it when the game was played under the rules with lies; records of the first version,
// without them, still read.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

inline constexpr int RECORD_VERSION = 2;
// A record played back goes at this pace, a key at a time, in the terminal and the page.
inline constexpr int REPLAY_PACE_MS = 600;
inline constexpr int SEED_DIGITS = 10;  // 4294967295, the largest seed
inline constexpr std::size_t RECORD_MAX_KEYS = 100000;
// The header, the keys, and a line break every so often: anything longer is no record.
inline constexpr std::size_t RECORD_MAX_BYTES = 2 * RECORD_MAX_KEYS;

inline constexpr int RECORD_OK = 0;
inline constexpr int RECORD_BAD_SYNTAX = 1;
inline constexpr int RECORD_UNKNOWN_VERSION = 2;
inline constexpr int RECORD_BAD_SEED = 3;
inline constexpr int RECORD_TOO_MANY_KEYS = 4;
inline constexpr int RECORD_NOT_TEXT = 5;  // a NUL or another control byte: a binary file
inline constexpr int RECORD_TOO_LARGE = 6;
inline constexpr int RECORD_READ_ERROR = 7;   // the file could not be read: status 1, not 2
inline constexpr int RECORD_NOT_REGULAR = 8;  // a directory, a FIFO, a device: never read

// A seed as the command line, records and the web page take it: a whole number
// 0..4294967295 in one to ten decimal digits, nothing else. False when the text is not one.
bool parse_seed(const char* text, std::uint32_t& seed);

struct Record {
    std::uint32_t seed;
    std::string keys;  // spelled: ijklzrsmbw, their capitals and "."
    int language;      // LANGUAGE_... of model/texts.hpp it was played in, or NONE (version 1)
    int rules;         // RULES_... of model/game.hpp it was played under
};

// How a key is written down: itself for i j k l z r s m b w and their capitals, "." for
// any other.
char spelled_key(int key);

// The keys of a link or a file, checked: only i j k l z r s m b w, their capitals and "."
// (and, in a file, line breaks, dropped). RECORD_OK, or what is wrong.
int parse_keys(const char* text, std::size_t length, std::string& keys);

// True when text is the keys of a link (keys=...): only i j k l z r s m b w, their capitals
// and ".", no line breaks, at most RECORD_MAX_KEYS of them.
bool link_keys_valid(const char* text, std::size_t length);

// The first line of a record file, for a game dealt from the seed and played in the
// language.
std::string record_header(std::uint32_t seed, int language, int rules);

// A whole record file. RECORD_OK, or what is wrong.
int parse_record(const char* text, std::size_t length, Record& record);

// The address of the page that plays the record: "?seed=N&keys=..." (and "&bluff=1" for a
// game under the rules with lies).
std::string record_link(const Record& record);
