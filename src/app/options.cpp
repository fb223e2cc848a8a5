#include "app/options.hpp"

#include <cstring>

#include "coach/policy.hpp"
#include "model/record.hpp"
#include "model/texts.hpp"
#include "platform/console.hpp"

std::string printable(const char* text, std::size_t most) {
    std::string shown;
    for (const char* c = text; *c != '\0' && shown.size() < most; ++c) {
        const auto b = static_cast<unsigned char>(*c);
        shown += b >= 0x20 && b < 0x7F ? *c : '?';
    }
    return shown;
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

// Which of the options that exclude each other were given.
struct Seen {
    bool seed;
    bool daily;
    bool narrow;
    bool wide;
    bool policy;
    bool threads;
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
    return -1;
}

// "--name VALUE" or "--name=VALUE" at argv[i]: the value, or null when the option is not
// this one; fails the options when the value is missing.
bool option_value(Options& options, int argc, const char* const* argv, int& i, const char* name,
                  const char*& value) {
    if (!option_named(argv[i], name, value)) return false;
    if (value == nullptr && i + 1 < argc) value = argv[++i];
    if (value == nullptr) fail(options, USAGE_MISSING_VALUE, name);
    return true;
}

// One option without a value; false when the command line cannot be followed.
bool take_flag(Options& options, Seen& seen, const char* arg) {
    const char* value = nullptr;
    const auto is = [&](const char* name) { return option_named(arg, name, value); };
    if (is("--help")) {
        if (options.action == ACTION_PLAY) options.action = ACTION_HELP;
    } else if (is("--version")) {
        if (options.action == ACTION_PLAY) options.action = ACTION_VERSION;
    } else if (is("--daily")) {
        options.seed_source = SEED_DAILY;
        seen.daily = true;
    } else if (is("--narrow")) {
        options.ambiguous_columns = AMBIGUOUS_NARROW;
        seen.narrow = true;
    } else if (is("--wide")) {
        options.ambiguous_columns = AMBIGUOUS_WIDE;
        seen.wide = true;
    } else if (is("--json")) {
        options.json = true;
    } else if (is("--coach")) {
        options.coach = true;
    } else {
        return fail(options, USAGE_UNKNOWN_OPTION, arg);
    }
    if (value != nullptr) return fail(options, USAGE_UNEXPECTED_VALUE, arg);
    return true;
}

// The file of --record, --replay or --story; false when there is none.
bool take_path(Options& options, const char* arg, const char* value, const char*& path) {
    if (options.action == ACTION_USAGE_ERROR) return false;  // the value was missing
    if (value == nullptr || value[0] == '\0') return fail(options, USAGE_MISSING_VALUE, arg);
    path = value;
    return true;
}

bool check_conflicts(Options& options, const Seen& seen) {
    if (seen.seed && seen.daily) return fail(options, USAGE_SEED_AND_DAILY, "");
    if (seen.narrow && seen.wide) return fail(options, USAGE_NARROW_AND_WIDE, "");
    // A record brings its own seed, and is not written while it is read.
    const bool reading = options.replay_path != nullptr || options.story_path != nullptr;
    const bool replay_and_story = options.replay_path != nullptr && options.story_path != nullptr;
    if (reading &&
        (seen.seed || seen.daily || options.record_path != nullptr || replay_and_story)) {
        return fail(options, USAGE_REPLAY_WITH_OTHERS, "");
    }
    const bool simulate = options.games > 0;
    const bool review = options.review_path != nullptr;
    const bool layout = seen.narrow || seen.wide;
    const bool files = options.record_path != nullptr || reading;
    if (simulate && (review || files || seen.daily || layout || options.coach)) {
        return fail(options, USAGE_SIMULATE_WITH_OTHERS, "");
    }
    if (review && (files || seen.seed || seen.daily || layout || options.coach || seen.policy)) {
        return fail(options, USAGE_REVIEW_WITH_OTHERS, "");
    }
    if (options.coach && options.story_path != nullptr)
        return fail(options, USAGE_COACH_WITH_OTHERS, "");
    if (seen.policy && !simulate) return fail(options, USAGE_NOT_ALONE, "--policy");
    if (seen.threads && !simulate && !review) return fail(options, USAGE_NOT_ALONE, "--threads");
    if (options.json && !simulate && !review) return fail(options, USAGE_NOT_ALONE, "--json");
    if (options.action == ACTION_PLAY && simulate) options.action = ACTION_SIMULATE;
    if (options.action == ACTION_PLAY && review) options.action = ACTION_REVIEW;
    return true;
}

}  // namespace

Options parse_options(int argc, const char* const* argv, const char* language_variable) {
    Options options = {};
    options.action = ACTION_PLAY;
    options.seed_source = SEED_FROM_CLOCK;
    options.ambiguous_columns = AMBIGUOUS_ASK_TERMINAL;
    options.language = LANGUAGE_JAPANESE;
    options.policy = POLICY_HEURISTIC;
    bool language_given = false;
    Seen seen = {};
    bool only_arguments = false;  // after "--"
    for (int i = 1; i < argc; ++i) {
        const char* arg = argv[i];
        const char* value = nullptr;
        if (only_arguments || arg[0] != '-' || arg[1] == '\0') {
            fail(options, USAGE_UNEXPECTED_ARGUMENT, arg);
            return options;
        }
        if (std::strcmp(arg, "--") == 0) {
            only_arguments = true;
        } else if (option_value(options, argc, argv, i, "--seed", value)) {
            if (options.action == ACTION_USAGE_ERROR) return options;  // the value was missing
            if (!parse_seed(value, options.seed)) {
                fail(options, USAGE_BAD_SEED, value);
                return options;
            }
            options.seed_source = SEED_GIVEN;
            seen.seed = true;
        } else if (option_value(options, argc, argv, i, "--record", value)) {
            if (!take_path(options, arg, value, options.record_path)) return options;
        } else if (option_value(options, argc, argv, i, "--replay", value)) {
            if (!take_path(options, arg, value, options.replay_path)) return options;
        } else if (option_value(options, argc, argv, i, "--story", value)) {
            if (!take_path(options, arg, value, options.story_path)) return options;
            if (options.action == ACTION_PLAY) options.action = ACTION_STORY;
        } else if (option_value(options, argc, argv, i, "--review", value)) {
            if (!take_path(options, arg, value, options.review_path)) return options;
        } else if (option_value(options, argc, argv, i, "--simulate", value)) {
            if (options.action == ACTION_USAGE_ERROR) return options;
            options.games = count_of(value, MOST_GAMES);
            if (options.games < 0) {
                fail(options, USAGE_BAD_GAMES, value);
                return options;
            }
        } else if (option_value(options, argc, argv, i, "--threads", value)) {
            if (options.action == ACTION_USAGE_ERROR) return options;
            options.threads = static_cast<int>(count_of(value, MOST_THREADS));
            if (options.threads < 0) {
                fail(options, USAGE_BAD_THREADS, value);
                return options;
            }
            seen.threads = true;
        } else if (option_value(options, argc, argv, i, "--policy", value)) {
            if (options.action == ACTION_USAGE_ERROR) return options;
            options.policy = policy_named(value);
            if (options.policy < 0) {
                fail(options, USAGE_BAD_POLICY, value);
                return options;
            }
            seen.policy = true;
        } else if (option_value(options, argc, argv, i, "--lang", value)) {
            if (options.action == ACTION_USAGE_ERROR) return options;  // the value was missing
            options.language = language_named(value);
            if (options.language < 0) {
                fail(options, USAGE_BAD_LANGUAGE, value);
                return options;
            }
            language_given = true;
        } else if (!take_flag(options, seen, arg)) {
            return options;
        }
    }
    if (!check_conflicts(options, seen)) return options;
    if (!language_given && language_variable != nullptr && language_variable[0] != '\0') {
        options.language = language_named(language_variable);
        if (options.language < 0) fail(options, USAGE_BAD_LANGUAGE_ENVIRONMENT, language_variable);
    }
    return options;
}
