// The command line: options and their errors, the seed of today's village, and messages
// that never pass on what the user typed as control bytes.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/messages.hpp"
#include "app/options.hpp"
#include "model/random.hpp"
#include "model/record.hpp"
#include "model/texts.hpp"
#include "platform/console.hpp"
#include "platform/locale.hpp"

namespace {

Options parse(std::vector<const char*> args, const char* language_variable = nullptr) {
    args.insert(args.begin(), "jinro");
    return parse_options(static_cast<int>(args.size()), args.data(), language_variable);
}

TEST(CommandLine, OptionsAndEveryWayToGetThemWrong) {
    struct Case {
        std::vector<const char*> args;
        int action;
        int seed_source;
        std::uint32_t seed;
        int ambiguous;
        int error;
    };
    const int play = ACTION_PLAY;
    const int bad = ACTION_USAGE_ERROR;
    const int ask = AMBIGUOUS_ASK_TERMINAL;
    const Case cases[] = {
        {{}, play, SEED_FROM_CLOCK, 0, ask, 0},
        {{"--seed", "1767225600"}, play, SEED_GIVEN, 1767225600u, ask, 0},
        {{"--seed=4294967295", "--wide"}, play, SEED_GIVEN, 4294967295u, AMBIGUOUS_WIDE, 0},
        {{"--daily", "--narrow"}, play, SEED_DAILY, 0, AMBIGUOUS_NARROW, 0},
        {{"--help"}, ACTION_HELP, SEED_FROM_CLOCK, 0, ask, 0},
        {{"--version", "--help"}, ACTION_VERSION, SEED_FROM_CLOCK, 0, ask, 0},
        {{"--seed", "4294967296"}, bad, SEED_FROM_CLOCK, 0, ask, USAGE_BAD_SEED},
        {{"--seed", "-1"}, bad, SEED_FROM_CLOCK, 0, ask, USAGE_BAD_SEED},
        {{"--seed", ""}, bad, SEED_FROM_CLOCK, 0, ask, USAGE_BAD_SEED},
        {{"--seed", "12x"}, bad, SEED_FROM_CLOCK, 0, ask, USAGE_BAD_SEED},
        {{"--seed", "00000000007"}, bad, SEED_FROM_CLOCK, 0, ask, USAGE_BAD_SEED},  // 11 digits
        {{"--seed"}, bad, SEED_FROM_CLOCK, 0, ask, USAGE_MISSING_VALUE},
        {{"--seed", "5", "--daily"}, bad, SEED_GIVEN, 5, ask, USAGE_SEED_AND_DAILY},
        {{"--wide", "--narrow"}, bad, SEED_FROM_CLOCK, 0, AMBIGUOUS_NARROW, USAGE_NARROW_AND_WIDE},
        {{"--helpme"}, bad, SEED_FROM_CLOCK, 0, ask, USAGE_UNKNOWN_OPTION},
        {{"-h"}, bad, SEED_FROM_CLOCK, 0, ask, USAGE_UNKNOWN_OPTION},
        {{"--daily=yes"}, bad, SEED_DAILY, 0, ask, USAGE_UNEXPECTED_VALUE},
        {{"game"}, bad, SEED_FROM_CLOCK, 0, ask, USAGE_UNEXPECTED_ARGUMENT},
        {{"--", "--help"}, bad, SEED_FROM_CLOCK, 0, ask, USAGE_UNEXPECTED_ARGUMENT},
        {{"--seed", "1", "--seed=2"}, bad, SEED_GIVEN, 1, ask, USAGE_REPEATED},
        {{"--narrow", "--narrow"}, bad, SEED_FROM_CLOCK, 0, AMBIGUOUS_NARROW, USAGE_REPEATED},
        {{"--record", "a", "--record", "b"}, bad, SEED_FROM_CLOCK, 0, ask, USAGE_REPEATED},
        {{"--simulate", "2", "--seed", "4294967294"},
         ACTION_SIMULATE,
         SEED_GIVEN,
         4294967294u,
         ask,
         0},
        {{"--simulate", "3", "--seed", "4294967294"},
         bad,
         SEED_GIVEN,
         0,
         ask,
         USAGE_SEEDS_PAST_END},
        {{"--simulate", "1", "--simulate", "2"}, bad, SEED_FROM_CLOCK, 0, ask, USAGE_REPEATED},
        {{"--policy", "coach", "--policy", "random"}, bad, SEED_FROM_CLOCK, 0, ask, USAGE_REPEATED},
    };
    for (const Case& c : cases) {
        const Options o = parse(c.args);
        std::string line;
        for (const char* a : c.args) line += std::string(a) + " ";
        EXPECT_EQ(o.action, c.action) << line;
        EXPECT_EQ(o.usage_error, c.error) << line;
        if (c.action == ACTION_USAGE_ERROR) continue;
        EXPECT_EQ(o.seed_source, c.seed_source) << line;
        EXPECT_EQ(o.seed, c.seed) << line;
        EXPECT_EQ(o.ambiguous_columns, c.ambiguous) << line;
    }
}

// --lang wins over JINRO_LANG; nothing else (the locale least of all) chooses English.
TEST(CommandLine, TheLanguageComesFromLangOrJinroLangOnly) {
    const struct {
        std::vector<const char*> args;
        const char* variable;
        int language;
        int error;
    } cases[] = {
        {{}, nullptr, LANGUAGE_JAPANESE, 0},
        {{}, "", LANGUAGE_JAPANESE, 0},
        {{"--lang", "en"}, nullptr, LANGUAGE_ENGLISH, 0},
        {{"--lang=en", "--seed", "3"}, nullptr, LANGUAGE_ENGLISH, 0},
        {{}, "en", LANGUAGE_ENGLISH, 0},
        {{"--lang", "ja"}, "en", LANGUAGE_JAPANESE, 0},
        {{"--lang=ja"}, "fr", LANGUAGE_JAPANESE, 0},
        {{"--lang"}, nullptr, 0, USAGE_MISSING_VALUE},
        {{"--lang", "fr"}, nullptr, 0, USAGE_BAD_LANGUAGE},
        {{"--lang="}, "en", 0, USAGE_BAD_LANGUAGE},
        {{"--lang", "EN"}, nullptr, 0, USAGE_BAD_LANGUAGE},
        {{}, "english", 0, USAGE_BAD_LANGUAGE_ENVIRONMENT},
        {{"--wide", "--narrow"}, "xx", 0, USAGE_NARROW_AND_WIDE},
        {{"--help"}, "xx", LANGUAGE_JAPANESE, 0},  // the help and the version never need it
        {{"--version"}, "klingon", LANGUAGE_JAPANESE, 0},
    };
    for (const auto& c : cases) {
        const Options o = parse(c.args, c.variable);
        const std::string where = (c.args.empty() ? "" : c.args[0]) + std::string(" / ") +
                                  (c.variable != nullptr ? c.variable : "unset");
        EXPECT_EQ(o.usage_error, c.error) << where;
        if (c.error == 0) {
            EXPECT_EQ(o.language, c.language) << where;
        }
    }
    EXPECT_NE(usage_error_text(parse({}, "fr"), false).find("JINRO_LANG"), std::string::npos);
    // A record's game speaks its own language unless --lang says otherwise; the messages
    // speak the language chosen, else the locale's.
    const struct {
        std::vector<const char*> args;
        const char* variable;
        int recorded;
        int game;
        int messages;  // under an English locale
    } spoken[] = {
        {{}, nullptr, LANGUAGE_ENGLISH, LANGUAGE_ENGLISH, LANGUAGE_ENGLISH},
        {{}, "ja", LANGUAGE_ENGLISH, LANGUAGE_ENGLISH, LANGUAGE_JAPANESE},
        {{"--lang", "ja"}, nullptr, LANGUAGE_ENGLISH, LANGUAGE_JAPANESE, LANGUAGE_JAPANESE},
        {{}, nullptr, NONE, LANGUAGE_JAPANESE, LANGUAGE_ENGLISH},  // an old record
        {{}, "en", NONE, LANGUAGE_ENGLISH, LANGUAGE_ENGLISH},
    };
    for (const auto& c : spoken) {
        const Options o = parse(c.args, c.variable);
        EXPECT_EQ(record_language(o, c.recorded), c.game);
        EXPECT_EQ(messages_language(o, false), c.messages);
    }
}

TEST(CommandLine, RecordsAndTheirReadingsExcludeSeedsAndEachOther) {
    const struct {
        std::vector<const char*> args;
        int action;
        int error;
    } cases[] = {
        {{"--simulate", "20000", "--policy", "random", "--seed", "1", "--threads", "4", "--json"},
         ACTION_SIMULATE,
         0},
        {{"--simulate=1000000000"}, ACTION_SIMULATE, 0},
        {{"--review", "game.rec", "--json", "--threads=2", "--lang", "en"}, ACTION_REVIEW, 0},
        {{"--coach", "--seed", "5", "--record", "game.rec"}, ACTION_PLAY, 0},
        {{"--simulate", "0"}, ACTION_USAGE_ERROR, USAGE_BAD_GAMES},
        {{"--simulate", "1000000001"}, ACTION_USAGE_ERROR, USAGE_BAD_GAMES},
        {{"--simulate", "-5"}, ACTION_USAGE_ERROR, USAGE_BAD_GAMES},
        {{"--simulate", "9", "--threads", "257"}, ACTION_USAGE_ERROR, USAGE_BAD_THREADS},
        {{"--simulate", "9", "--policy", "wolf"}, ACTION_USAGE_ERROR, USAGE_BAD_POLICY},
        {{"--simulate", "9", "--record", "a"}, ACTION_USAGE_ERROR, USAGE_SIMULATE_WITH_OTHERS},
        {{"--simulate", "9", "--review", "a"}, ACTION_USAGE_ERROR, USAGE_SIMULATE_WITH_OTHERS},
        {{"--simulate", "9", "--coach"}, ACTION_USAGE_ERROR, USAGE_SIMULATE_WITH_OTHERS},
        {{"--review", "a", "--seed", "3"}, ACTION_USAGE_ERROR, USAGE_REVIEW_WITH_OTHERS},
        {{"--review", "a", "--policy", "coach"}, ACTION_USAGE_ERROR, USAGE_REVIEW_WITH_OTHERS},
        {{"--coach", "--story", "a"}, ACTION_USAGE_ERROR, USAGE_COACH_WITH_OTHERS},
        {{"--policy", "random"}, ACTION_USAGE_ERROR, USAGE_NOT_ALONE},
        {{"--json"}, ACTION_USAGE_ERROR, USAGE_NOT_ALONE},
        {{"--threads", "2"}, ACTION_USAGE_ERROR, USAGE_NOT_ALONE},
        {{"--record", "game.rec", "--seed", "5"}, ACTION_PLAY, 0},
        {{"--replay=game.rec", "--lang", "en"}, ACTION_PLAY, 0},
        {{"--story", "game.rec"}, ACTION_STORY, 0},
        {{"--record"}, ACTION_USAGE_ERROR, USAGE_MISSING_VALUE},
        {{"--story="}, ACTION_USAGE_ERROR, USAGE_MISSING_VALUE},
        {{"--replay", "a", "--seed", "1"}, ACTION_USAGE_ERROR, USAGE_REPLAY_WITH_OTHERS},
        {{"--daily", "--story", "a"}, ACTION_USAGE_ERROR, USAGE_REPLAY_WITH_OTHERS},
        {{"--replay", "a", "--record", "b"}, ACTION_USAGE_ERROR, USAGE_REPLAY_WITH_OTHERS},
        {{"--replay", "a", "--story", "a"}, ACTION_USAGE_ERROR, USAGE_REPLAY_WITH_OTHERS},
        {{"--bluff", "--seed", "3", "--record", "a", "--coach"}, ACTION_PLAY, 0},
        {{"--simulate", "9", "--bluff", "--policy", "bluff"}, ACTION_SIMULATE, 0},
        {{"--simulate", "9", "--policy", "bluff"}, ACTION_USAGE_ERROR, USAGE_BLUFF_POLICY},
        {{"--replay", "a", "--bluff"}, ACTION_USAGE_ERROR, USAGE_BLUFF_WITH_RECORD},
        {{"--review", "a", "--bluff"}, ACTION_USAGE_ERROR, USAGE_BLUFF_WITH_RECORD},
    };
    for (const auto& c : cases) {
        const Options o = parse(c.args);
        EXPECT_EQ(o.action, c.action) << c.args[0];
        EXPECT_EQ(o.usage_error, c.error) << c.args[0];
    }
}

// Keys after a win are valid (r plays on); everything else that is not a record is
// refused with what is wrong.
TEST(CommandLine, TheRecordParserRefusesEveryBadInput) {
    const std::string many(RECORD_MAX_KEYS + 1, '.');
    const std::string huge(RECORD_MAX_BYTES + 1, '\n');
    const struct {
        std::string text;
        int result;
        std::uint32_t seed;
        const char* keys;
    } cases[] = {
        {"jinro-record 1 7\nz..lzz\n..r\n", RECORD_OK, 7, "z..lzz..r"},
        {"jinro-record 1 4294967295\r\nijklIJKLZR", RECORD_OK, 4294967295u, "ijklIJKLZR"},
        {"jinro-record 2 4294967295 en\r\nijkl", RECORD_OK, 4294967295u, "ijkl"},
        {"jinro-record 1 0", RECORD_OK, 0, ""},
        {"jinro-record 2 7 en\nz", RECORD_OK, 7, "z"},  // the language it was played in
        {"jinro-record 2 7\nz", RECORD_BAD_SYNTAX, 0, ""},
        {"jinro-record 2 7 fr\nz", RECORD_BAD_SYNTAX, 0, ""},
        {"jinro-record 3 7 ja\nz", RECORD_UNKNOWN_VERSION, 0, ""},
        {"jinro-record x 7\n", RECORD_UNKNOWN_VERSION, 0, ""},
        {"jinro-record 1 4294967296\n", RECORD_BAD_SEED, 0, ""},
        {"jinro-record 1 -1\n", RECORD_BAD_SEED, 0, ""},
        {"jinro-record 1 00000000007\n", RECORD_BAD_SEED, 0, ""},
        {"jinro-record 1\n", RECORD_BAD_SYNTAX, 0, ""},
        {"jinro 1 7\n", RECORD_BAD_SYNTAX, 0, ""},
        {"jinro-record 1 7\nzx", RECORD_BAD_SYNTAX, 0, ""},
        {"jinro-record 1 7\nz\tz", RECORD_NOT_TEXT, 0, ""},
        {std::string("jinro-record 1 7\nz\0z", 20), RECORD_NOT_TEXT, 0, ""},
        {"jinro-record 1 7\n" + many, RECORD_TOO_MANY_KEYS, 0, ""},
        {"jinro-record 1 7\n" + huge, RECORD_TOO_LARGE, 0, ""},
        {"", RECORD_BAD_SYNTAX, 0, ""},
    };
    for (const auto& c : cases) {
        Record r{};
        EXPECT_EQ(parse_record(c.text.data(), c.text.size(), r), c.result) << c.text.substr(0, 30);
        if (c.result != RECORD_OK) continue;
        EXPECT_EQ(r.seed, c.seed);
        EXPECT_EQ(r.keys, c.keys);
        EXPECT_EQ(record_link(r), "?seed=" + std::to_string(c.seed) + "&keys=" + c.keys);
        EXPECT_EQ(r.language, c.text.rfind("jinro-record 2", 0) == 0 ? LANGUAGE_ENGLISH : NONE);
    }
    std::string spelled;
    for (int key : {int{'i'}, int{'j'}, int{'k'}, int{'l'}, int{'z'}, int{'r'}, int{'x'}, int{'Z'},
                    int{'.'}, 0x1B, 0xE3, 0})
        spelled += spelled_key(key);
    EXPECT_EQ(spelled, "ijklzr.Z....");
    EXPECT_NE(record_error_text(RECORD_UNKNOWN_VERSION, "a\x1b[2Jb", false)
                  .find("a?[2Jb: an unknown version"),
              std::string::npos);
}

TEST(CommandLine, AnArgumentInAnErrorNeverCarriesControlBytes) {
    const Options o = parse({"--\x1b[2J\x07\xe3\x81\x82"});
    const std::string text = usage_error_text(o, false);
    EXPECT_EQ(text,
              "jinro: unrecognized option '--?[2J????"
              "'\n"
              "Try 'jinro --help' for more information.\n");
    const std::string long_argument(500, 'x');
    EXPECT_LT(usage_error_text(parse({long_argument.c_str()}), true).size(), 200u);
}

// The help fits a terminal of 80 columns in either language (Shift-JIS: a byte a column).
TEST(CommandLine, TheHelpFitsEightyColumns) {
    for (bool japanese : {true, false}) {
        const std::string help = help_text(japanese);
        for (std::size_t at = 0, end; at < help.size(); at = end + 1) {
            end = help.find('\n', at);
            if (end == std::string::npos) end = help.size();
            EXPECT_LT(end - at, 80u) << help.substr(at, end - at);
        }
    }
}

TEST(CommandLine, TodaysVillageIsMidnightInJapan) {
    // 2025-12-08 00:00:00 JST is 2025-12-07 15:00:00 UTC, Unix time 1765119600.
    const std::int64_t midnight = 1765119600;
    EXPECT_EQ(daily_seed(midnight), midnight);
    EXPECT_EQ(daily_seed(midnight + 86399), midnight);  // 23:59:59 in Japan
    EXPECT_EQ(daily_seed(midnight - 1), midnight - 86400);
    EXPECT_EQ(daily_seed(midnight + 32400), midnight);             // 09:00 JST, midnight in London
    EXPECT_EQ(daily_seed(0), static_cast<std::uint32_t>(-32400));  // 1970-01-01 09:00 JST
    EXPECT_EQ(daily_seed(-32401), static_cast<std::uint32_t>(-32400 - 86400));
}

// The messages (help, errors) speak Japanese to a Japanese locale, English to any other.
TEST(CommandLine, OnlyAJapaneseLocaleGetsJapaneseMessages) {
    EXPECT_TRUE(locale_is_japanese("ja_JP.UTF-8"));
    EXPECT_TRUE(locale_is_japanese("ja"));
    EXPECT_FALSE(locale_is_japanese("jam"));
    EXPECT_FALSE(locale_is_japanese("C.UTF-8"));
    EXPECT_FALSE(locale_is_japanese(""));
}

}  // namespace
