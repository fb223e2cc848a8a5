// The command line. Without arguments the game starts as it always has: dealt from the
// clock, asking the terminal how wide it draws the box-drawing lines.
#pragma once

#include <cstdint>
#include <string>

inline constexpr int ACTION_PLAY = 0;
inline constexpr int ACTION_HELP = 1;
inline constexpr int ACTION_VERSION = 2;
inline constexpr int ACTION_USAGE_ERROR = 3;
inline constexpr int ACTION_STORY = 4;     // --story FILE: print the story of a record
inline constexpr int ACTION_SIMULATE = 5;  // --simulate N: play N games with a policy
inline constexpr int ACTION_REVIEW = 6;    // --review FILE: the odds of every choice of a record
inline constexpr int ACTION_PRACTICE = 7;  // --practice FILE: a record's marked choices asked again

// Where the language came from: nowhere (the game speaks Japanese, the messages the locale's
// language), JINRO_LANG, or --lang.
inline constexpr int LANGUAGE_BY_DEFAULT = 0;
inline constexpr int LANGUAGE_FROM_ENVIRONMENT = 1;
inline constexpr int LANGUAGE_FROM_OPTION = 2;

inline constexpr int SEED_FROM_CLOCK = 0;
inline constexpr int SEED_GIVEN = 1;  // --seed N
inline constexpr int SEED_DAILY = 2;  // --daily

// What went wrong on a command line that cannot be followed.
inline constexpr int USAGE_UNKNOWN_OPTION = 1;
inline constexpr int USAGE_MISSING_VALUE = 2;
inline constexpr int USAGE_BAD_SEED = 3;
inline constexpr int USAGE_SEED_AND_DAILY = 4;
inline constexpr int USAGE_NARROW_AND_WIDE = 5;
inline constexpr int USAGE_UNEXPECTED_ARGUMENT = 6;
inline constexpr int USAGE_UNEXPECTED_VALUE = 7;
inline constexpr int USAGE_BAD_LANGUAGE = 8;              // --lang xx
inline constexpr int USAGE_BAD_LANGUAGE_ENVIRONMENT = 9;  // JINRO_LANG=xx
inline constexpr int USAGE_REPLAY_WITH_OTHERS = 10;       // --replay or --story with --seed, ...
inline constexpr int USAGE_BAD_GAMES = 11;                // --simulate 0
inline constexpr int USAGE_BAD_THREADS = 12;              // --threads 0
inline constexpr int USAGE_BAD_POLICY = 13;               // --policy xx
inline constexpr int USAGE_SIMULATE_WITH_OTHERS = 14;     // --simulate with --record, ...
inline constexpr int USAGE_REVIEW_WITH_OTHERS = 15;       // --review with --seed, ...
inline constexpr int USAGE_COACH_WITH_OTHERS = 16;        // --coach with --story, ...
inline constexpr int USAGE_NOT_ALONE = 17;                // --policy without --simulate, ...
inline constexpr int USAGE_REPEATED = 18;                 // --record a --record b
inline constexpr int USAGE_SEEDS_PAST_END = 19;           // --simulate 2 --seed 4294967295
inline constexpr int USAGE_PRACTICE_WITH_OTHERS = 20;     // --practice with --seed, ...
inline constexpr int USAGE_BLUFF_WITH_RECORD = 21;        // --bluff with --replay, ...
inline constexpr int USAGE_BLUFF_POLICY = 22;             // --policy bluff without --bluff

inline constexpr long MOST_GAMES = 1000000000;            // --simulate
inline constexpr std::uint32_t FIRST_SIMULATED_SEED = 1;  // --simulate without --seed
inline constexpr int MOST_THREADS = 256;                  // --threads

inline constexpr int ARGUMENT_BYTES = 64;

// Exit statuses.
inline constexpr int EXIT_NORMAL = 0;
inline constexpr int EXIT_INPUT_OUTPUT_ERROR = 1;
inline constexpr int EXIT_USAGE_ERROR = 2;
inline constexpr int EXIT_INTERRUPTED = 130;  // 128 + SIGINT, as a shell reports Ctrl-C

// Everything the game passes on from outside (an argument, a path, a system's message)
// as it may be printed: printable ASCII kept, anything else "?", at most `most` bytes; a
// longer one keeps its start and its end, "..." between them.
// Nothing from outside reaches the terminal as a control sequence.
std::string printable(const char* text, std::size_t most = ARGUMENT_BYTES - 1);

struct Options {
    int action;
    int seed_source;
    std::uint32_t seed;             // with SEED_GIVEN
    int ambiguous_columns;          // AMBIGUOUS_ASK_TERMINAL, _NARROW or _WIDE
    int language;                   // LANGUAGE_JAPANESE unless English is chosen
    int language_source;            // LANGUAGE_BY_DEFAULT, _FROM_ENVIRONMENT or _FROM_OPTION
    const char* record_path;        // --record FILE: the game written down as it is played
    const char* replay_path;        // --replay FILE: a record played back, then played on
    const char* story_path;         // --story FILE
    const char* review_path;        // --review FILE
    const char* practice_path;      // --practice FILE
    long games;                     // --simulate N
    int policy;                     // --policy: POLICY_... of coach/policy.hpp
    int threads;                    // --threads T, or 0 for every core
    bool json;                      // --json: --simulate and --review for tools
    bool coach;                     // --coach: the odds of each choice beside the game
    int rules;                      // --bluff: RULES_BLUFF; else RULES_STANDARD
    int usage_error;                // with ACTION_USAGE_ERROR
    char argument[ARGUMENT_BYTES];  // the argument at fault, printable ASCII only
};

// The language of the messages (the help, errors, the simulator's report): the one chosen
// (--lang, else JINRO_LANG), else the locale's (japanese_locale).
int messages_language(const Options& options, bool japanese_locale);

// The language of a record's game (its replay, story, review and practice): --lang, else
// the record's own, else JINRO_LANG, else Japanese.
int record_language(const Options& options, int recorded);

// The seed of the first game --simulate plays: --seed, or FIRST_SIMULATED_SEED.
std::uint32_t first_seed_of(const Options& options);

// The threads to use for --simulate and --review: the option's, at most one a core; by
// default one a core.
int threads_to_use(const Options& options);

// The command line, and the value of JINRO_LANG (null when it is not set): the game's
// language is --lang where given, else JINRO_LANG, else Japanese. The locale never
// chooses it.
Options parse_options(int argc, const char* const* argv, const char* language_variable);
