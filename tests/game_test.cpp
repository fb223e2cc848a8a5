// Whole games: a scripted game through every phase to a result and a restart, and many
// thousands of random games checking the invariants of the records after every key.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <random>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "model/invariants.hpp"
#include "model/json.hpp"
#include "model/sjis.hpp"
#include "model/story.hpp"
#include "platform/web/page_json.hpp"
#include "test_support.hpp"

namespace {

struct Death {
    int seat;
    int day;
    bool hanged;
    bool operator==(const Death&) const = default;
    friend void PrintTo(const Death& d, std::ostream* os) {
        *os << "{seat " << d.seat << ", day " << d.day << (d.hanged ? ", hanged}" : ", attacked}");
    }
};

// Plays one game from the seed with the scripted keys; returns its deaths in order.
std::vector<Death> play_scripted(std::uint32_t seed, std::set<int>* phases_seen,
                                 TestGame* out = nullptr) {
    TestGame t = make_game(seed);
    Game& g = *t.game;
    std::vector<Death> deaths;
    for (int keys = 0; keys < 1000 && g.winner == NONE; ++keys) {
        if (phases_seen) phases_seen->insert(g.phase);  // the phase the screen shows
        bool alive[SEAT_COUNT];
        for (int s = 0; s < SEAT_COUNT; ++s) alive[s] = g.players[s].alive == 1;
        handle_key(g, static_cast<std::uint8_t>(scripted_key(g)));
        if (phases_seen) phases_seen->insert(g.phase);  // the automatic work after the key
        update(g);
        for (int s = 0; s < SEAT_COUNT; ++s) {
            if (alive[s] && g.players[s].alive != 1) {
                deaths.push_back({s, g.death_day[s], g.players[s].hanged_day != NONE});
            }
        }
    }
    if (phases_seen) phases_seen->insert(g.phase);
    if (out) *out = std::move(t);
    return deaths;
}

TEST(WholeGame, AScriptedGameVisitsEveryPhaseEndsAndReplaysFromItsSeed) {
    std::set<int> phases;
    TestGame t;
    const std::vector<Death> deaths = play_scripted(20261207, &phases, &t);
    for (int phase = PHASE_NIGHT_AI; phase <= PHASE_DUSK_CHECK; ++phase) {
        EXPECT_TRUE(phases.count(phase)) << "phase " << phase;
    }
    Game& g = *t.game;
    ASSERT_NE(g.winner, NONE);
    EXPECT_EQ(g.phase, g.winner == WINNER_WOLVES ? PHASE_WOLVES_WON : PHASE_VILLAGE_WON);

    // The same seed gives the same game, death for death.
    EXPECT_EQ(play_scripted(20261207, nullptr), deaths);
    // ...and these are its deaths on every platform and compiler.
    const std::vector<Death> expected = {{0, 1, false}, {1, 2, true},  {2, 2, false},
                                         {4, 3, true},  {3, 3, false}, {5, 4, true}};
    EXPECT_EQ(deaths, expected);

    // r starts again and leaves no trace of the old game.
    handle_key(g, 'r');
    EXPECT_EQ(g.phase, PHASE_NIGHT_AI);
    EXPECT_EQ(g.day, 1);
    EXPECT_EQ(g.winner, NONE);
    EXPECT_EQ(g.cursor, 0);
    EXPECT_EQ(g.seer_claims + g.medium_claims, 0);
    for (int seat = 0; seat < SEAT_COUNT; ++seat) {
        const Player& p = g.players[seat];
        EXPECT_EQ(p.alive, 1);
        EXPECT_EQ(g.death_day[seat], NONE);
        EXPECT_EQ(p.co_claim, NONE);
        EXPECT_EQ(g.co_public[seat], NONE);
        EXPECT_EQ(g.black_count[seat] + g.white_count[seat], 0);
        for (int day = 0; day < DAY_SLOTS; ++day) {
            EXPECT_EQ(p.night[day].target, NONE);
            EXPECT_EQ(p.night[day].result, NONE);
            EXPECT_EQ(g.claims[seat][day].target, NONE);
            EXPECT_EQ(g.claims[seat][day].result, NONE);
            EXPECT_EQ(g.votes[seat][day], NONE);
            if (day > 0) {
                EXPECT_EQ(p.vote[day], NONE);
            }
        }
    }
    for (int day = 0; day < DAY_SLOTS; ++day) {
        EXPECT_EQ(g.attacked_on[day], NONE);
        EXPECT_EQ(g.hanged_on[day], NONE);
    }
    for (const LogLine& line : g.log) EXPECT_EQ(line.kind, NONE);
    update(g);  // and the new game plays its first night
    EXPECT_EQ(g.phase, PHASE_ATTACK_SELECT);
}

// A game is one value: a copy taken at any screen, fed the same keys, shows the same
// screens as the game it was copied from; a copy given a fresh random source is a game
// of its own that keeps every invariant to its end.
TEST(WholeGame, ACopyAtAnyScreenPlaysOnAsTheGameItself) {
    for (std::uint32_t seed : {7u, 1767225600u, 20261208u}) {
        TestGame t = make_game(seed);
        std::vector<Game> copies;
        std::vector<char> keys;
        std::vector<std::string> screens;
        const auto screen_of = [](const Game& game) {
            Screen screen{};
            render(game, LANGUAGE_JAPANESE, screen);
            std::string rows;
            for (int y = 0; y < SCREEN_ROWS; ++y) rows += screen_row(screen, y) + "\n";
            return rows;
        };
        while (t.game->winner == NONE) {
            copies.push_back(*t.game);
            screens.push_back(screen_of(*t.game));
            keys.push_back(scripted_key(*t.game));
            step_game(*t.game, static_cast<std::uint8_t>(keys.back()));
        }
        screens.push_back(screen_of(*t.game));
        for (std::size_t at = 0; at < copies.size(); ++at) {
            Game copy = copies[at];
            for (std::size_t k = at; k < keys.size(); ++k) {
                step_game(copy, static_cast<std::uint8_t>(keys[k]));
                ASSERT_EQ(screen_of(copy), screens[k + 1])
                    << "seed " << seed << ", copied at " << at;
            }
            Game fresh = copies[at];
            seed_random(fresh.random, seed + static_cast<std::uint32_t>(at) * 977u);
            for (int k = 0; k < 1000 && fresh.winner == NONE; ++k) {
                step_game(fresh, static_cast<std::uint8_t>(scripted_key(fresh)));
                const char* broken = broken_invariant(fresh);
                ASSERT_EQ(broken, nullptr) << broken << ", seed " << seed << ", copied at " << at;
            }
            EXPECT_NE(fresh.winner, NONE);
        }
    }
}

char random_key(std::mt19937& keys) {
    static const char meaningful[] = "ijklzzzr";
    static const char others[] = "IJKLZR xq\x1b\r\n";
    const unsigned roll = keys() % 10;
    if (roll < 7) return meaningful[keys() % (sizeof meaningful - 1)];
    if (roll < 9) return others[keys() % (sizeof others - 1)];
    return static_cast<char>(keys() % 256);
}

TEST(WholeGame, ThousandsOfRandomGamesKeepTheInvariantsAndAllEnd) {
    constexpr std::uint32_t GAMES = 2500;
    int village = 0;
    int wolves = 0;
    for (std::uint32_t seed = 1; seed <= GAMES; ++seed) {
        TestGame t = make_game(seed * 7919);
        const Game& g = *t.game;
        std::mt19937 keys(seed);
        int passes = 0;
        while (g.winner == NONE) {
            ASSERT_LT(passes, 5000) << "seed " << seed << " never ended";
            char key = random_key(keys);
            if (key == 'r') key = 'z';  // a decided game is restarted only at the end
            play(t, key);
            ++passes;
            if (const char* broken = broken_invariant(g)) {
                FAIL() << broken << ", seed " << seed << ", pass " << passes;
            }
        }
        (g.winner == WINNER_WOLVES ? wolves : village) += 1;
        play(t, 'r');
        ASSERT_EQ(g.phase, PHASE_ATTACK_SELECT);
        ASSERT_EQ(g.day, 1);
    }
    // Random keys still let both sides win, each many times.
    EXPECT_GT(village, static_cast<int>(GAMES / 10));
    EXPECT_GT(wolves, static_cast<int>(GAMES / 10));
}

}  // namespace

namespace {

// Spaces folded: a panel line and the same line in the story compare equal.
std::string folded(const std::string& text) {
    std::string out;
    for (char c : text) {
        if (c == ' ' && (out.empty() || out.back() == ' ')) continue;
        out += c;
    }
    while (!out.empty() && out.back() == ' ') out.pop_back();
    return out;
}

// Over many whole games: after every key, every line the story tells has stood on a screen
// of the same game already (claims and votes as panel lines, deaths as log lines), a
// day's votes come only after its vote-results screen, and the roles only after a win.
// The seeds are many enough that a guarded attack, a medium's day-3 result, a tied vote
// and both winners all come up.
TEST(Story, TellsOnlyWhatTheScreensShowed) {
    bool failed_attack = false;
    bool medium_result = false;
    bool tie = false;
    bool village = false;
    bool wolves = false;
    for (std::uint32_t seed = 0; seed < 60; ++seed) {
        TestGame t = make_game(seed);
        Game& g = *t.game;
        draw(t);
        std::string seen;  // every row of every screen so far, spaces folded
        for (int key = 0; key < 400; ++key) {
            for (int y = 0; y < SCREEN_ROWS; ++y) seen += folded(row_text(t, y)) + "\n";
            const Story s = story_of(g);
            std::istringstream lines(story_text(g, LANGUAGE_JAPANESE));
            for (std::string line; std::getline(lines, line);) {
                line = folded(line.substr(line.find_first_not_of(' ')));
                const std::size_t arrow = line.find(" → "_sj);
                if (arrow != std::string::npos) {  // a vote: "A → B" was the panel's "A > B"
                    line.replace(arrow, std::strlen(" → "_sj), " > ");
                }
                // A failed attack names the seat the player chose; the screen said it failed.
                if (line.find("への襲撃は失敗した"_sj) != std::string::npos) line = "襲撃失敗!"_sj;
                const bool heading_or_count = line.find("日目"_sj) != std::string::npos ||
                                              line.find("日夜"_sj) != std::string::npos ||
                                              line.find("票"_sj) != std::string::npos ||
                                              line.find("勝利"_sj) != std::string::npos ||
                                              g.winner != NONE;
                if (!heading_or_count) {
                    EXPECT_NE(seen.find(line), std::string::npos)
                        << "seed " << seed << " key " << key << ": never shown: " << line;
                }
            }
            for (int d = 1; d <= s.days; ++d) {
                const StoryDay& day = s.day[d - 1];
                if (g.day == d && g.phase == PHASE_VOTE_RESULTS) {
                    EXPECT_FALSE(day.voted) << "seed " << seed << ": day " << d
                                            << "'s votes before their screen was left";
                }
                failed_attack = failed_attack || day.attacked == NONE;
                for (int seat = 0; seat < SEAT_COUNT; ++seat) {
                    medium_result = medium_result || (day.claim[seat] == ROLE_MEDIUM &&
                                                      day.claim_result[seat] != NONE);
                }
                int tally[SEAT_COUNT] = {};
                for (int v : day.vote) {
                    if (is_seat(v)) tally[v] += 1;
                }
                const int most = *std::max_element(tally, tally + SEAT_COUNT);
                tie = tie || (most > 0 && std::count(tally, tally + SEAT_COUNT, most) > 1);
            }
            EXPECT_EQ(s.role[0] != NONE, g.winner != NONE);
            if (g.winner != NONE) {
                // The page's record tells each day in the story's own lines.
                const std::string json = story_json(g, LANGUAGE_ENGLISH);
                const std::string text = story_text(g, LANGUAGE_ENGLISH);
                for (std::size_t at = json.find("\"told\":["); at != std::string::npos;
                     at = json.find("\"told\":[", at + 1)) {
                    const std::size_t end = json.find(']', at);
                    for (std::size_t q = json.find('"', at + 8); q < end;
                         q = json.find('"', json.find('"', q + 1) + 1)) {
                        const std::string told = json.substr(q + 1, json.find('"', q + 1) - q - 1);
                        EXPECT_NE(text.find("  " + told + "\n"), std::string::npos) << told;
                    }
                }
                village = village || g.winner == WINNER_VILLAGE;
                wolves = wolves || g.winner == WINNER_WOLVES;
                break;
            }
            play(t, scripted_key(g));
        }
    }
    EXPECT_TRUE(failed_attack && medium_result && tie && village && wolves)
        << failed_attack << medium_result << tie << village << wolves;
}

// A game the wolves win by the night's attack ends its story with that night (heading
// and JSON alike): the morning after it never came. A failed attack names the seat the
// wolves chose.
TEST(Story, ADawnWinEndsWithItsNightAndAFailedAttackNamesItsVictim) {
    bool dawn = false;
    bool failed = false;
    for (std::uint32_t seed = 0; seed < 200 && !(dawn && failed); ++seed) {
        TestGame t = make_game(seed);
        Game& g = *t.game;
        while (g.winner == NONE) step_game(g, static_cast<std::uint8_t>(scripted_key(g)));
        const std::string text = story_text(g, LANGUAGE_ENGLISH);
        const std::string json = story_json(g, LANGUAGE_ENGLISH);
        for (int night = 1; night < g.day; ++night) {
            if (!is_seat(g.attacks[night]) || g.attacked_on[night] != NONE) continue;
            failed = true;
            const std::string line = std::string("The attack on ") +
                                     texts_of(LANGUAGE_ENGLISH).names[g.attacks[night]] + " failed";
            EXPECT_NE(text.find(line), std::string::npos) << text;
        }
        if (g.winner != WINNER_WOLVES || g.hanged_on[g.day] != NONE) continue;
        dawn = true;
        const std::string night = "Night " + std::to_string(g.day - 1) + "\n";
        EXPECT_NE(text.find(night), std::string::npos) << text;
        EXPECT_EQ(text.find("Day " + std::to_string(g.day) + "\n"), std::string::npos) << text;
        EXPECT_NE(text.find("Your wolves won after night " + std::to_string(g.day - 1)),
                  std::string::npos);
        const std::string last = "{\"day\":" + std::to_string(g.day - 1) + ",\"night\":true";
        EXPECT_NE(json.find(last), std::string::npos) << json;
        EXPECT_NE(story_text(g, LANGUAGE_JAPANESE).find(std::to_string(g.day - 1) + "日夜"_sj),
                  std::string::npos);
    }
    EXPECT_TRUE(dawn && failed) << dawn << failed;
}

// The page parses the story as JSON: a double-byte character whose trail byte is 0x5C
// (ソ, 表) passes whole, and only one-byte quotes, backslashes and control bytes are
// escaped or dropped.
TEST(Story, ItsJsonKeepsEveryShiftJisCharacterWhole) {
    const struct {
        const char* text;
        std::string json;
    } cases[] = {
        {"ソ表"_sj, std::string("\"") + "ソ表"_sj + "\""},
        {"a\"b\\c\n", "\"a\\\"b\\\\c\\n\""},
        {"x\ty\x1b\x7f", "\"xy\""},
        {"\x83", "\"\""},  // a lead byte without its trail
    };
    for (const auto& c : cases) {
        std::string json;
        json_string(json, c.text);
        EXPECT_EQ(json, c.json);
    }
    const std::string story = story_json(*make_game(7).game, LANGUAGE_JAPANESE);
    EXPECT_NE(story.find(std::string("\"names\":[\"") + "ミモザ"_sj + "\""), std::string::npos)
        << story;
}

}  // namespace
