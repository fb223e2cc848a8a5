// Whole games: a scripted game through every phase to a result and a restart, and many
// thousands of random games checking the invariants of the records after every key.
#include <gtest/gtest.h>

#include <random>
#include <set>
#include <string>
#include <vector>

#include "model/invariants.hpp"
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
    for (int passes = 0; passes < 1000 && g.winner == NONE; ++passes) {
        if (phases_seen) phases_seen->insert(g.phase);
        bool alive[SEAT_COUNT];
        for (int s = 0; s < SEAT_COUNT; ++s) alive[s] = g.players[s].alive == 1;
        update(g);
        if (phases_seen) phases_seen->insert(g.phase);  // the phase the screen shows
        render(g);
        g.key = static_cast<std::uint8_t>(scripted_key(g));
        handle_key(g);
        for (int s = 0; s < SEAT_COUNT; ++s) {
            if (alive[s] && g.players[s].alive != 1) {
                deaths.push_back({s, g.death_day[s], g.players[s].hanged_day != NONE});
            }
        }
    }
    update(g);
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
    render(g);
    g.key = 'r';
    handle_key(g);
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
    for (const char* line : g.log) EXPECT_STREQ(line, "");
    update(g);  // and the new game plays its first night
    EXPECT_EQ(g.phase, PHASE_ATTACK_SELECT);
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
        Game& g = *t.game;
        std::mt19937 keys(seed);
        int passes = 0;
        while (g.winner == NONE) {
            ASSERT_LT(passes, 5000) << "seed " << seed << " never ended";
            char key = random_key(keys);
            if (key == 'r') key = 'z';  // a decided game is restarted only at the end
            pass(g, key);
            ++passes;
            if (const char* broken = broken_invariant(g)) {
                FAIL() << broken << ", seed " << seed << ", pass " << passes;
            }
        }
        update(g);
        (g.winner == WINNER_WOLVES ? wolves : village) += 1;
        pass(g, 'r');
        ASSERT_EQ(g.phase, PHASE_NIGHT_AI);
    }
    EXPECT_EQ(village + wolves, static_cast<int>(GAMES));
    EXPECT_GT(village, 0);
    EXPECT_GT(wolves, 0);
}

}  // namespace
