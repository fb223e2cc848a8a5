#include "app/options.hpp"

#include <cstring>
#include <thread>

#include "coach/policy.hpp"
#include "model/record.hpp"
#include "model/texts.hpp"
#include "platform/console.hpp"

std::string printable(const char* text, std::size_t most) {
    constexpr char ELLIPSIS[] = "...";
    constexpr std::size_t MARK = sizeof ELLIPSIS - 1;
    const auto shown = [](char c) {
        const auto b = static_cast<unsigned char>(c);
        return b >= 0x20 && b < 0x7F ? c : '?';
    };
    const std::size_t length = std::strlen(text);
    std::string out;
    if (length <= most || most <= MARK) {
        for (std::size_t k = 0; k < length && k < most; ++k) out += shown(text[k]);
        return out;
    }
    // Too long: its start and its end (a file's name), the middle left out.
    const std::size_t head = (most - MARK) / 2;
    const std::size_t tail = most - MARK - head;
    for (std::size_t k = 0; k < head; ++k) out += shown(text[k]);
    out += ELLIPSIS;
    for (std::size_t k = length - tail; k < length; ++k) out += shown(text[k]);
    return out;
}

int threads_to_use(const Options& options) {
    const unsigned reported = std::thread::hardware_concurrency();
    const int cores = reported == 0             ? 1
                      : reported > MOST_THREADS ? MOST_THREADS
                                                : static_cast<int>(reported);
    return options.threads > 0 && options.threads < cores ? options.threads : cores;
}

namespace {

bool fail(Options& options, int error, const char* argument) {
    options.action = ACTION_USAGE_ERROR;
    options.usage_error = error;
    const std::string shown = printable(argument);
    shown.copy(options.argument, shown.size());
    options.argument[shown.size()] = '\0';
    return false;
}

// "--name" or "--name=value": the name matches, and value points at the value or is null.
bool option_named(const char* arg, const char* name, const char*& value) {
    const std::size_t length = std::strlen(name);
    if (std::strncmp(arg, name, length) != 0) return false;
    if (arg[length] == '\0') {
        value = nullptr;
        return true;
    }
    if (arg[length] != '=') return false;
    value = arg + length + 1;
    return true;
}

// Every option: its name, and whether it takes a value.
constexpr int OPTION_SEED = 0;
constexpr int OPTION_RECORD = 1;
constexpr int OPTION_REPLAY = 2;
constexpr int OPTION_STORY = 3;
constexpr int OPTION_REVIEW = 4;
constexpr int OPTION_SIMULATE = 5;
constexpr int OPTION_THREADS = 6;
constexpr int OPTION_POLICY = 7;
constexpr int OPTION_LANG = 8;
constexpr int OPTION_HELP = 9;
constexpr int OPTION_VERSION = 10;
constexpr int OPTION_DAILY = 11;
constexpr int OPTION_NARROW = 12;
constexpr int OPTION_WIDE = 13;
constexpr int OPTION_JSON = 14;
constexpr int OPTION_COACH = 15;
constexpr int OPTION_PRACTICE = 16;
constexpr int OPTION_BLUFF = 17;
constexpr int OPTION_COUNT = 18;

struct OptionName {
    const char* name;
    bool valued;
};
constexpr OptionName OPTION_NAMES[OPTION_COUNT] = {
    {"--seed", true},     {"--record", true},   {"--replay", true},   {"--story", true},
    {"--review", true},   {"--simulate", true}, {"--threads", true},  {"--policy", true},
    {"--lang", true},     {"--help", false},    {"--version", false}, {"--daily", false},
    {"--narrow", false},  {"--wide", false},    {"--json", false},    {"--coach", false},
    {"--practice", true}, {"--bluff", false},
};

// The options given so far, each at most once.
struct Seen {
    bool given[OPTION_COUNT];
};

// A whole number in 1..most in decimal digits, nothing else; -1 when the text is not one.
long count_of(const char* text, long most) {
    long value = 0;
    if (text == nullptr || text[0] == '\0') return -1;
    for (const char* c = text; *c != '\0'; ++c) {
        if (*c < '0' || *c > '9') return -1;
        value = value * 10 + (*c - '0');
        if (value > most) return -1;
    }
    return value >= 1 ? value : -1;
}

int policy_named(const char* name) {
    if (std::strcmp(name, "random") == 0) return POLICY_RANDOM;
    if (std::strcmp(name, "heuristic") == 0) return POLICY_HEURISTIC;
    if (std::strcmp(name, "coach") == 0) return POLICY_COACH;
    if (std::strcmp(name, "bluff") == 0) return POLICY_BLUFF;
    return -1;
}

// The option arg names, or -1; value points at its "=value", or is null.
int option_of(const char* arg, const char*& value) {
    for (int k = 0; k < OPTION_COUNT; ++k) {
        if (option_named(arg, OPTION_NAMES[k].name, value)) return k;
    }
    return NONE;
}

// A file's path; false when it is empty.
bool take_path(Options& options, const char* name, const char* value, const char*& path) {
    if (value[0] == '\0') return fail(options, USAGE_MISSING_VALUE, name);
    path = value;
    return true;
}

// A whole number in 1..most, or the usage error.
bool take_count(Options& options, const char* value, long most, int error, long& count) {
    count = count_of(value, most);
    return count >= 1 || fail(options, error, value);
}

// Applies one option (with its value, if it takes one); false when the command line
// cannot be followed.
bool take_option(Options& options, int option, const char* value) {
    long count = 0;
    switch (option) {
    case OPTION_SEED:
        options.seed_source = SEED_GIVEN;
        return parse_seed(value, options.seed) || fail(options, USAGE_BAD_SEED, value);
    case OPTION_RECORD: return take_path(options, "--record", value, options.record_path);
    case OPTION_REPLAY: return take_path(options, "--replay", value, options.replay_path);
    case OPTION_STORY: return take_path(options, "--story", value, options.story_path);
    case OPTION_REVIEW: return take_path(options, "--review", value, options.review_path);
    case OPTION_PRACTICE: return take_path(options, "--practice", value, options.practice_path);
    case OPTION_SIMULATE:
        return take_count(options, value, MOST_GAMES, USAGE_BAD_GAMES, options.games);
    case OPTION_THREADS:
        if (!take_count(options, value, MOST_THREADS, USAGE_BAD_THREADS, count)) return false;
        options.threads = static_cast<int>(count);
        return true;
    case OPTION_POLICY:
        options.policy = policy_named(value);
        return options.policy >= 0 || fail(options, USAGE_BAD_POLICY, value);
    case OPTION_LANG:
        options.language = language_named(value);
        options.language_source = LANGUAGE_FROM_OPTION;
        return options.language >= 0 || fail(options, USAGE_BAD_LANGUAGE, value);
    case OPTION_DAILY: options.seed_source = SEED_DAILY; return true;
    case OPTION_NARROW: options.ambiguous_columns = AMBIGUOUS_NARROW; return true;
    case OPTION_WIDE: options.ambiguous_columns = AMBIGUOUS_WIDE; return true;
    case OPTION_JSON: options.json = true; return true;
    case OPTION_COACH: options.coach = true; return true;
    case OPTION_BLUFF: options.rules = RULES_BLUFF; return true;
    case OPTION_HELP:
    case OPTION_VERSION:  // whichever came first
        if (options.action == ACTION_PLAY)
            options.action = option == OPTION_HELP ? ACTION_HELP : ACTION_VERSION;
        return true;
    default: return false;
    }
}

bool check_conflicts(Options& options, const Seen& seen) {
    const auto given = [&](int option) { return seen.given[option]; };
    if (given(OPTION_SEED) && given(OPTION_DAILY)) return fail(options, USAGE_SEED_AND_DAILY, "");
    if (given(OPTION_NARROW) && given(OPTION_WIDE)) return fail(options, USAGE_NARROW_AND_WIDE, "");
    // A record brings its own seed, and is not written while it is read.
    const bool reading = given(OPTION_REPLAY) || given(OPTION_STORY);
    const bool replay_and_story = given(OPTION_REPLAY) && given(OPTION_STORY);
    if (reading &&
        (given(OPTION_SEED) || given(OPTION_DAILY) || given(OPTION_RECORD) || replay_and_story)) {
        return fail(options, USAGE_REPLAY_WITH_OTHERS, "");
    }
    const bool simulate = given(OPTION_SIMULATE);
    const bool review = given(OPTION_REVIEW);
    const bool layout = given(OPTION_NARROW) || given(OPTION_WIDE);
    const bool files = given(OPTION_RECORD) || reading;
    if (simulate && (review || files || given(OPTION_DAILY) || layout || options.coach)) {
        return fail(options, USAGE_SIMULATE_WITH_OTHERS, "");
    }
    if (review && (files || given(OPTION_SEED) || given(OPTION_DAILY) || layout || options.coach ||
                   given(OPTION_POLICY))) {
        return fail(options, USAGE_REVIEW_WITH_OTHERS, "");
    }
    const bool practice = given(OPTION_PRACTICE);
    if (practice && (simulate || review || files || given(OPTION_SEED) || given(OPTION_DAILY) ||
                     options.coach || given(OPTION_POLICY) || options.json)) {
        return fail(options, USAGE_PRACTICE_WITH_OTHERS, "");
    }
    if (options.coach && given(OPTION_STORY)) return fail(options, USAGE_COACH_WITH_OTHERS, "");
    // A record brings its own rules.
    if (given(OPTION_BLUFF) && (reading || review || practice))
        return fail(options, USAGE_BLUFF_WITH_RECORD, "");
    if (given(OPTION_POLICY) && !simulate) return fail(options, USAGE_NOT_ALONE, "--policy");
    if (options.policy == POLICY_BLUFF && options.rules != RULES_BLUFF)
        return fail(options, USAGE_BLUFF_POLICY, "");
    if (given(OPTION_THREADS) && !simulate && !review && !practice)
        return fail(options, USAGE_NOT_ALONE, "--threads");
    if (options.json && !simulate && !review) return fail(options, USAGE_NOT_ALONE, "--json");
    // The games' seeds run on from the first: the last must be a seed too.
    constexpr std::uint64_t LARGEST_SEED = 0xFFFFFFFFu;
    if (simulate &&
        first_seed_of(options) + static_cast<std::uint64_t>(options.games) - 1 > LARGEST_SEED) {
        return fail(options, USAGE_SEEDS_PAST_END, "");
    }
    return true;
}

// The action the options ask for.
int action_of(const Options& options, const Seen& seen) {
    if (options.action != ACTION_PLAY) return options.action;  // the help or the version
    if (seen.given[OPTION_STORY]) return ACTION_STORY;
    if (seen.given[OPTION_SIMULATE]) return ACTION_SIMULATE;
    if (seen.given[OPTION_REVIEW]) return ACTION_REVIEW;
    if (seen.given[OPTION_PRACTICE]) return ACTION_PRACTICE;
    return ACTION_PLAY;
}

// Reads every argument; false at the first that cannot be followed.
bool read_arguments(Options& options, Seen& seen, int argc, const char* const* argv) {
    bool only_arguments = false;  // after "--"
    for (int i = 1; i < argc; ++i) {
        const char* arg = argv[i];
        if (only_arguments || arg[0] != '-' || arg[1] == '\0')
            return fail(options, USAGE_UNEXPECTED_ARGUMENT, arg);
        if (std::strcmp(arg, "--") == 0) {
            only_arguments = true;
            continue;
        }
        const char* value = nullptr;
        const int option = option_of(arg, value);
        if (option == NONE) return fail(options, USAGE_UNKNOWN_OPTION, arg);
        const char* name = OPTION_NAMES[option].name;
        if (seen.given[option]) return fail(options, USAGE_REPEATED, name);
        seen.given[option] = true;
        if (!OPTION_NAMES[option].valued && value != nullptr)
            return fail(options, USAGE_UNEXPECTED_VALUE, arg);
        if (OPTION_NAMES[option].valued && value == nullptr) {
            if (i + 1 >= argc) return fail(options, USAGE_MISSING_VALUE, name);
            value = argv[++i];
        }
        if (!take_option(options, option, value)) return false;
    }
    return true;
}

}  // namespace

int messages_language(const Options& options, bool japanese_locale) {
    if (options.language_source != LANGUAGE_BY_DEFAULT) return options.language;
    return japanese_locale ? LANGUAGE_JAPANESE : LANGUAGE_ENGLISH;
}

int record_language(const Options& options, int recorded) {
    if (options.language_source == LANGUAGE_FROM_OPTION) return options.language;
    if (recorded == LANGUAGE_JAPANESE || recorded == LANGUAGE_ENGLISH) return recorded;
    return options.language;  // JINRO_LANG's, or Japanese
}

std::uint32_t first_seed_of(const Options& options) {
    return options.seed_source == SEED_GIVEN ? options.seed : FIRST_SIMULATED_SEED;
}

Options parse_options(int argc, const char* const* argv, const char* language_variable) {
    Options options = {};
    options.action = ACTION_PLAY;
    options.seed_source = SEED_FROM_CLOCK;
    options.ambiguous_columns = AMBIGUOUS_ASK_TERMINAL;
    options.language = LANGUAGE_JAPANESE;
    options.policy = POLICY_HEURISTIC;
    Seen seen = {};
    if (!read_arguments(options, seen, argc, argv) || !check_conflicts(options, seen)) {
        return options;
    }
    options.action = action_of(options, seen);
    // The help and the version need no language of the game's: JINRO_LANG never stops them.
    const bool messages_only = options.action == ACTION_HELP || options.action == ACTION_VERSION;
    const bool variable = language_variable != nullptr && language_variable[0] != '\0';
    if (!seen.given[OPTION_LANG] && variable) {
        const int language = language_named(language_variable);
        if (language >= 0) {
            options.language = language;
            options.language_source = LANGUAGE_FROM_ENVIRONMENT;
        } else if (!messages_only) {
            fail(options, USAGE_BAD_LANGUAGE_ENVIRONMENT, language_variable);
        }
    }
    return options;
}
