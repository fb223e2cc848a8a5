// The computer seats: night actions, record completion and votes.
#include <gtest/gtest.h>

#include <map>
#include <set>

#include "ai/night.hpp"
#include "ai/vote.hpp"
#include "test_support.hpp"

namespace {

constexpr int SEER = 2;
constexpr int HUNTER = 5;
constexpr int MEDIUM = 6;
constexpr int MADMAN = 7;
constexpr int ROLES[SEAT_COUNT] = {ROLE_VILLAGER, ROLE_WOLF,    ROLE_SEER,   ROLE_VILLAGER,
                                   ROLE_WOLF,     ROLE_HUNTER,  ROLE_MEDIUM, ROLE_MADMAN,
                                   ROLE_VILLAGER, ROLE_VILLAGER};

TestGame dealt_game(std::uint32_t seed, int day) {
    TestGame t = new_game_of(seed);
    deal(*t.game, ROLES);
    t.game->day = day;
    seed_random(t.game->random, seed);
    return t;
}

void night_for(Game& game, int seat) {
    ai_night_action(game, game.players[seat]);
    complete_night_record(game, game.players[seat]);
}

TEST(NightActions, TheSeerLooksAtSeatsNobodyKnowsAboutAndSeesTheMadmanWhite) {
    for (std::uint32_t seed = 0; seed < 300; ++seed) {
        TestGame t = dealt_game(seed, 2);
        Game& g = *t.game;
        g.co_public[MEDIUM] = ROLE_MEDIUM;
        g.white_count[0] = 1;
        kill_seat(g, 3);
        night_for(g, SEER);
        const NightRecord& n = g.players[SEER].night[2];
        EXPECT_EQ(g.players[SEER].co_claim, ROLE_SEER);
        ASSERT_TRUE(n.target == 1 || n.target == 4 || n.target == 5 || n.target >= 7) << n.target;
        EXPECT_EQ(n.result, g.players[n.target].role == ROLE_WOLF ? VERDICT_BLACK : VERDICT_WHITE);
        EXPECT_EQ(n.day, 2);
        EXPECT_EQ(n.role, ROLE_SEER);
    }
    // When everybody is known, the seer falls back to the first living seat drawn, and may
    // look at a seat again.
    TestGame t = dealt_game(5, 3);
    Game& g = *t.game;
    for (int& count : g.white_count) count = 1;
    g.black_count[MADMAN] = 0;
    g.white_count[MADMAN] = 1;
    seed_random(g.random, 5);
    int first = random_seat(g);
    while (first == SEER) first = random_seat(g);
    seed_random(g.random, 5);
    night_for(g, SEER);
    EXPECT_EQ(g.players[SEER].night[3].target, first);
    TestGame m = dealt_game(5, 1);
    m.game->white_count[MADMAN] = 0;
    for (int seat = 0; seat < SEAT_COUNT; ++seat) {
        if (seat != MADMAN) kill_seat(*m.game, seat == SEER ? 0 : seat);
    }
    night_for(*m.game, SEER);
    EXPECT_EQ(m.game->players[SEER].night[1].target, MADMAN);
    EXPECT_EQ(m.game->players[SEER].night[1].result, VERDICT_WHITE);
}

TEST(NightActions, TheHunterPrefersTheSeerThenSometimesTheMediumAndNeverHimself) {
    std::map<int, int> guarded;
    for (std::uint32_t seed = 0; seed < 1000; ++seed) {
        TestGame t = dealt_game(seed, 3);
        Game& g = *t.game;
        g.co_public[SEER] = ROLE_SEER;
        g.co_public[MEDIUM] = ROLE_MEDIUM;
        int fallback = random_seat(g);
        while (fallback == HUNTER) fallback = random_seat(g);
        seed_random(g.random, seed);
        night_for(g, HUNTER);
        const int target = g.players[HUNTER].night[3].target;
        ASSERT_TRUE(target == SEER || target == MEDIUM || target == fallback) << seed;
        guarded[target == SEER || target == MEDIUM ? target : -1] += 1;
    }
    // 20 draws find a seat with chance 1 - 0.9^20 (88%); the medium comes first on a roll
    // below 15: about 76% seer, 22% medium, 1% neither.
    EXPECT_NEAR(guarded[SEER], 764, 60);
    EXPECT_NEAR(guarded[MEDIUM], 222, 60);
    EXPECT_LT(guarded[-1], 40);

    // On night 1 nobody has claimed: the guard is the first living seat drawn.
    for (std::uint32_t seed = 0; seed < 50; ++seed) {
        TestGame t = dealt_game(seed, 1);
        int first = random_seat(*t.game);
        while (first == HUNTER) first = random_seat(*t.game);
        seed_random(t.game->random, seed);
        night_for(*t.game, HUNTER);
        EXPECT_EQ(t.game->players[HUNTER].night[1].target, first);
        EXPECT_EQ(t.game->players[HUNTER].co_claim, NONE);  // the hunter never claims
    }

    // Given his own seat as target, the record drops it.
    TestGame t = dealt_game(1, 2);
    t.game->players[HUNTER].night[2].target = HUNTER;
    complete_night_record(*t.game, t.game->players[HUNTER]);
    EXPECT_EQ(t.game->players[HUNTER].night[2].target, NONE);
}

TEST(NightActions, TheMadmanCallsFromNightThree) {
    for (int day = 1; day <= 4; ++day) {
        TestGame t = dealt_game(3, day);
        Game& g = *t.game;
        night_for(g, MADMAN);
        const NightRecord& n = g.players[MADMAN].night[day];
        if (day < 3) {
            EXPECT_EQ(g.players[MADMAN].co_claim, NONE);
            EXPECT_EQ(n.target, NONE);
        } else {
            EXPECT_EQ(g.players[MADMAN].co_claim, ROLE_MADMAN);
            EXPECT_EQ(n.role, ROLE_MADMAN);
            EXPECT_EQ(n.day, NONE);
            ASSERT_TRUE(is_seat(n.target));
            EXPECT_NE(n.target, MADMAN);
        }
    }
}

TEST(NightActions, TheMediumJudgesTheDaysHangingAndNobodyOnNightOne) {
    TestGame t = dealt_game(3, 1);
    Game& g = *t.game;
    night_for(g, MEDIUM);  // nobody hanged: no seat's role is read
    EXPECT_EQ(g.players[MEDIUM].night[1].target, NONE);
    EXPECT_EQ(g.players[MEDIUM].night[1].result, VERDICT_WHITE);
    EXPECT_EQ(g.players[MEDIUM].co_claim, ROLE_MEDIUM);
    for (int hanged : {4, 7}) {
        g.day = hanged == 4 ? 2 : 3;
        g.hanged_on[g.day] = hanged;
        night_for(g, MEDIUM);
        EXPECT_EQ(g.players[MEDIUM].night[g.day].target, hanged);
        EXPECT_EQ(g.players[MEDIUM].night[g.day].result,
                  hanged == 4 ? VERDICT_BLACK : VERDICT_WHITE);
    }
}

// The lowest living black seat, even for the voter who is that seat.
TEST(Votes, WithOneSeerEveryoneButTheMadmanVotesTheLowestLivingBlack) {
    for (std::uint32_t seed = 0; seed < 100; ++seed) {
        TestGame t = dealt_game(seed, 4);
        Game& g = *t.game;
        g.seer_claims = 1;
        g.co_public[SEER] = ROLE_SEER;
        g.black_count[1] = 1;
        kill_seat(g, 1);
        g.black_count[8] = 1;
        g.black_count[9] = 2;
        g.players[MADMAN].night[3].target = 0;
        for (Player& p : g.players) {
            if (p.role == ROLE_WOLF || p.alive != 1) continue;
            ai_vote(g, p);
            EXPECT_EQ(p.vote[4], p.role == ROLE_MADMAN ? 0 : 8);
        }
    }
    // A madman whose called seat has died follows no seer: he votes at random.
    std::set<int> madman_votes;
    for (std::uint32_t seed = 0; seed < 100; ++seed) {
        TestGame t = dealt_game(seed, 4);
        Game& g = *t.game;
        g.seer_claims = 1;
        g.black_count[8] = 1;
        g.players[MADMAN].night[3].target = 1;
        kill_seat(g, 1);
        ai_vote(g, g.players[MADMAN]);
        const int v = g.players[MADMAN].vote[4];
        EXPECT_TRUE(v != 1 && v != MADMAN && is_seat(v)) << v;
        madman_votes.insert(v);
    }
    EXPECT_GT(madman_votes.size(), 4u);
}

TEST(Votes, TheMadmanVotesHisCallUnlessItDiedInTheNight) {
    TestGame t = dealt_game(9, 5);
    Game& g = *t.game;
    g.players[MADMAN].night[4].target = 3;
    kill_seat(g, 3);
    for (std::uint32_t seed = 0; seed < 100; ++seed) {
        seed_random(g.random, seed);
        ai_vote(g, g.players[MADMAN]);
        const int v = g.players[MADMAN].vote[5];
        ASSERT_TRUE(is_seat(v));
        EXPECT_NE(v, 3);
        EXPECT_NE(v, MADMAN);
    }
}

TEST(Votes, WithoutASeerTheVillageVotesAmongSeatsWithoutClaims) {
    for (std::uint32_t seed = 0; seed < 200; ++seed) {
        TestGame t = dealt_game(seed, 2);
        Game& g = *t.game;
        g.seer_claims = 0;
        g.co_public[MEDIUM] = ROLE_MEDIUM;
        g.medium_claims = 1;
        g.co_public[MADMAN] = ROLE_MADMAN;
        ai_vote(g, g.players[0]);
        const int v = g.players[0].vote[2];
        EXPECT_TRUE(v != 0 && v != MEDIUM && v != MADMAN) << v;
    }
}

TEST(Votes, TheMediumRuleNeedsDayThreeAPublishedWhiteAndARollBelowThirty) {
    // Yesterday seat 3 was hanged and the medium published it white; seat 8 voted for it.
    const auto setup = [](std::uint32_t seed, int day) {
        TestGame t = dealt_game(seed, day);
        Game& g = *t.game;
        g.medium_claims = 1;
        g.co_public[MEDIUM] = ROLE_MEDIUM;
        g.hanged_on[day - 1] = 3;
        kill_seat(g, 3);
        g.claims[MEDIUM][day - 1].result = VERDICT_WHITE;
        for (auto& votes : g.votes) votes[day - 1] = 0;
        g.votes[8][day - 1] = 3;
        seed_random(g.random, seed);
        return t;
    };
    int chosen = 0;
    for (std::uint32_t seed = 0; seed < 1000; ++seed) {
        TestGame t = setup(seed, 3);
        const int roll = percent_roll(*t.game);
        seed_random(t.game->random, seed);
        const int v = medium_rule_vote(*t.game, t.game->players[0]);
        EXPECT_EQ(v, roll < 30 ? 8 : NONE) << seed;
        chosen += v == 8;
    }
    EXPECT_NEAR(chosen, 300, 50);

    // Through the vote itself, without a seer: the rule's 30%, and else one of the seven
    // living seats without a claim at random (8 among them): about 40% in all.
    int voted = 0;
    for (std::uint32_t seed = 0; seed < 1000; ++seed) {
        TestGame t = setup(seed, 3);
        t.game->seer_claims = 0;
        ai_vote(*t.game, t.game->players[0]);
        voted += t.game->players[0].vote[3] == 8;
    }
    EXPECT_NEAR(voted, 400, 50);

    TestGame early = setup(1, 2);  // day 2: never
    for (std::uint32_t seed = 0; seed < 50; ++seed) {
        seed_random(early.game->random, seed);
        EXPECT_EQ(medium_rule_vote(*early.game, early.game->players[0]), NONE);
    }
    TestGame black = setup(1, 4);  // a black result: never
    black.game->claims[MEDIUM][3].result = VERDICT_BLACK;
    for (std::uint32_t seed = 0; seed < 50; ++seed) {
        seed_random(black.game->random, seed);
        EXPECT_EQ(medium_rule_vote(*black.game, black.game->players[0]), NONE);
    }
}

}  // namespace
