// Keys, the phase machine and the rules of attack, guard, hanging and victory.
#include <gtest/gtest.h>

#include <set>

#include "coach/public_record.hpp"
#include "engine/morning.hpp"
#include "engine/rules.hpp"
#include "model/sjis.hpp"
#include "test_support.hpp"

namespace {

constexpr int ROLES[SEAT_COUNT] = {ROLE_VILLAGER, ROLE_WOLF,    ROLE_SEER,   ROLE_VILLAGER,
                                   ROLE_WOLF,     ROLE_HUNTER,  ROLE_MEDIUM, ROLE_MADMAN,
                                   ROLE_VILLAGER, ROLE_VILLAGER};

TestGame game_in_phase(int phase) {
    TestGame t = new_game_of(7);
    deal(*t.game, ROLES);
    t.game->phase = phase;
    return t;
}

void press(Game& game, char key) { handle_key(game, static_cast<std::uint8_t>(key)); }

TEST(Keys, TheCursorWrapsOverTwoRowsOfFive) {
    struct Move {
        int from;
        char key;
        int to;
    };
    const Move moves[] = {{0, 'j', 9}, {0, 'i', 5}, {9, 'l', 0}, {9, 'k', 4}, {4, 'l', 5},
                          {5, 'j', 4}, {2, 'k', 7}, {7, 'i', 2}, {3, 'x', 3}, {6, 'I', 1},
                          {1, 'J', 0}, {0, 'K', 5}, {5, 'L', 6}, {6, 'Z', 6}};
    for (int phase : {PHASE_ATTACK_SELECT, PHASE_VOTE_SELECT}) {
        for (const Move& m : moves) {
            TestGame t = game_in_phase(phase);
            t.game->cursor = m.from;
            press(*t.game, m.key);
            EXPECT_EQ(t.game->cursor, m.to) << m.from << " " << m.key;
        }
    }
    TestGame t = game_in_phase(PHASE_FAKE_CLAIM);  // other phases never move it
    t.game->cursor = 3;
    press(*t.game, 'l');
    EXPECT_EQ(t.game->cursor, 3);
}

// The screens name the keys in capitals: with Caps Lock on the game plays on. Other keys
// choose nothing, and r starts a new game only once one is decided.
TEST(Keys, CapitalsActAsTheirLetters) {
    TestGame t = game_in_phase(PHASE_ATTACK_SELECT);
    t.game->cursor = 0;
    kill_seat(*t.game, 8);
    for (char key : {'R', 'r', '\0', '\x1b', 'x', 'M'}) press(*t.game, key);
    EXPECT_EQ(t.game->phase, PHASE_ATTACK_SELECT);
    EXPECT_EQ(t.game->cursor, 0);
    EXPECT_EQ(t.game->players[8].alive, 0);  // r before a win starts no new game
    press(*t.game, 'Z');                     // seat 0 is a villager: attacked
    EXPECT_EQ(t.game->phase, PHASE_DAWN_CHECK);
    for (int phase : {PHASE_CLAIM_RESULTS, PHASE_VOTE_RESULTS}) {
        t.game->phase = phase;
        press(*t.game, 'R');  // leads on as any key does, and nothing more
        EXPECT_NE(t.game->phase, PHASE_NIGHT_AI);
        EXPECT_EQ(t.game->players[8].alive, 0);
    }
    for (char again : {'r', 'R'}) {
        t.game->phase = PHASE_VILLAGE_WON;
        t.game->winner = WINNER_VILLAGE;
        press(*t.game, 'z');
        EXPECT_EQ(t.game->phase, PHASE_VILLAGE_WON);
        press(*t.game, again);
        EXPECT_EQ(t.game->phase, PHASE_NIGHT_AI);
        EXPECT_EQ(t.game->winner, NONE);
    }
}

TEST(Keys, TheAttackRefusesWolvesAndTheDeadThenAdvancesTheDay) {
    TestGame t = game_in_phase(PHASE_ATTACK_SELECT);
    Game& g = *t.game;
    kill_seat(g, 3);
    for (int seat : {1, 3}) {  // a wolf, a dead seat
        g.cursor = seat;
        press(g, 'z');
        EXPECT_EQ(g.phase, PHASE_ATTACK_SELECT);
        EXPECT_EQ(g.day, 1);
    }
    g.cursor = 8;
    press(g, 'z');
    EXPECT_EQ(g.players[8].alive, 0);
    EXPECT_EQ(g.players[8].attacked_day, 1);
    EXPECT_EQ(g.attacked_on[1], 8);
    EXPECT_EQ(g.phase, PHASE_DAWN_CHECK);
    EXPECT_EQ(g.day, 2);
    EXPECT_EQ(log_line(g), "よもぎの死体が発見された"_sj);
}

TEST(Rules, AGuardedAttackKillsNobodyButTheDayGoesOn) {
    TestGame t = game_in_phase(PHASE_ATTACK_SELECT);
    Game& g = *t.game;
    g.players[5].night[1].target = 2;  // the hunter guards the seer tonight
    g.cursor = 2;
    press(g, 'z');
    EXPECT_EQ(g.players[2].alive, 1);
    EXPECT_EQ(g.death_day[2], NONE);
    EXPECT_EQ(g.attacked_on[1], NONE);
    EXPECT_EQ(log_line(g), "襲撃失敗!"_sj);
    EXPECT_EQ(g.day, 2);
    EXPECT_EQ(g.phase, PHASE_DAWN_CHECK);

    // Last night's guard does not hold tonight.
    g.phase = PHASE_ATTACK_SELECT;
    g.cursor = 2;
    press(g, 'z');
    EXPECT_EQ(g.players[2].alive, 0);
    EXPECT_EQ(g.attacked_on[2], 2);

    // The dead write nothing at night: a dead hunter guards nobody, a dead seer sees nothing.
    for (std::uint32_t seed = 0; seed < 20; ++seed) {
        TestGame u = game_in_phase(PHASE_NIGHT_AI);
        Game& h = *u.game;
        seed_random(h.random, seed);
        h.day = 2;
        kill_seat(h, 5);
        h.players[2].alive = 0;
        h.death_day[2] = 2;
        update(h);
        for (int dead : {2, 5}) {
            EXPECT_EQ(h.players[dead].night[2].target, NONE);
            EXPECT_EQ(h.players[dead].night[2].result, NONE);
        }
        h.cursor = 6;
        press(h, 'z');
        EXPECT_EQ(h.players[6].alive, 0) << seed;
    }
}

TEST(Rules, TheHangingNeverLeavesTheTie) {
    std::set<int> hanged;
    for (std::uint32_t seed = 0; seed < 200; ++seed) {
        TestGame t = game_in_phase(PHASE_VOTE_RESULTS);
        Game& g = *t.game;
        g.day = 3;
        seed_random(g.random, seed);
        const int tally[SEAT_COUNT] = {0, 0, 3, 0, 1, 0, 0, 3, 0, 0};
        execute_hanging(g, tally);
        const int w = g.hanged_on[3];
        ASSERT_TRUE(w == 2 || w == 7) << w;
        hanged.insert(w);
        EXPECT_EQ(g.players[w].alive, 0);
        EXPECT_EQ(g.players[w].hanged_day, 3);
        EXPECT_EQ(g.players[w].attacked_day, NONE);
        EXPECT_EQ(g.death_day[w], 3);
        EXPECT_EQ(log_line(g),
                  std::string(texts_of(LANGUAGE_JAPANESE).names[w]) + "が吊るされた"_sj);
    }
    EXPECT_EQ(hanged.size(), 2u);  // both tied seats come up over many seeds
}

TEST(Rules, AHangingWithoutVotesHangsNobody) {
    TestGame t = game_in_phase(PHASE_VOTE_RESULTS);
    kill_seat(*t.game, 3);
    const int tally[SEAT_COUNT] = {};
    execute_hanging(*t.game, tally);
    EXPECT_EQ(t.game->hanged_on[t.game->day], NONE);
    EXPECT_EQ(t.game->players[3].hanged_day, NONE);  // the dead stay as they died
    for (const Player& p : t.game->players) EXPECT_EQ(p.hanged_day, NONE);
}

TEST(Rules, VictoryThresholds) {
    struct Case {
        int wolves;
        int others;
        int phase;
    };
    const Case cases[] = {
        {2, 2, PHASE_WOLVES_WON}, {2, 3, PHASE_FAKE_CLAIM},  {1, 1, PHASE_WOLVES_WON},
        {1, 2, PHASE_FAKE_CLAIM}, {0, 5, PHASE_VILLAGE_WON}, {2, 6, PHASE_FAKE_CLAIM},
    };
    for (const Case& c : cases) {
        TestGame t = game_in_phase(PHASE_FAKE_CLAIM);
        Game& g = *t.game;
        int wolves_left = c.wolves;
        int others_left = c.others;
        for (int seat = 0; seat < SEAT_COUNT; ++seat) {
            int& left = g.players[seat].role == ROLE_WOLF ? wolves_left : others_left;
            if (left > 0) {
                left -= 1;
            } else {
                kill_seat(g, seat);
            }
        }
        check_victory(g);
        EXPECT_EQ(g.phase, c.phase) << c.wolves << " wolves, " << c.others << " others";
        EXPECT_EQ(g.wolf_count, c.wolves);
        const int winner = c.phase == PHASE_WOLVES_WON    ? WINNER_WOLVES
                           : c.phase == PHASE_VILLAGE_WON ? WINNER_VILLAGE
                                                          : NONE;
        EXPECT_EQ(g.winner, winner);
    }
}

TEST(Keys, TheVerdictTallyFilesOnlyTheLivingButCountsEveryPublishedClaim) {
    TestGame t = game_in_phase(PHASE_CLAIM_RESULTS);
    Game& g = *t.game;
    g.day = 3;
    g.co_public[2] = ROLE_SEER;
    g.players[2].night[2] = {2, ROLE_SEER, 4, VERDICT_BLACK};
    g.co_public[6] = ROLE_MEDIUM;
    g.players[6].night[2] = {2, ROLE_MEDIUM, 8, VERDICT_WHITE};
    g.co_public[7] = ROLE_MADMAN;
    g.players[7].night[2] = {NONE, ROLE_MADMAN, 9, NONE};
    g.co_public[0] = ROLE_SEER;  // a second living seer, with a white verdict
    g.players[0].night[2] = {2, ROLE_SEER, 9, VERDICT_WHITE};
    g.co_public[3] = ROLE_SEER;  // a dead seat that claimed earlier
    g.players[3].night[2] = {2, ROLE_SEER, 5, VERDICT_WHITE};
    kill_seat(g, 3);
    g.cursor = 6;
    press(g, 'q');
    EXPECT_EQ(g.black_count[4], 1);
    EXPECT_EQ(g.white_count[9], 1);
    EXPECT_EQ(g.black_count[9], 0);
    EXPECT_EQ(g.claims[0][2].result, VERDICT_WHITE);
    EXPECT_EQ(g.white_count[5], 0);
    EXPECT_EQ(g.claims[2][2].target, 4);
    EXPECT_EQ(g.claims[2][2].result, VERDICT_BLACK);
    EXPECT_EQ(g.claims[6][2].target, NONE);  // the medium files the verdict only
    EXPECT_EQ(g.claims[6][2].result, VERDICT_WHITE);
    EXPECT_EQ(g.claims[7][2].target, 9);
    EXPECT_EQ(g.claims[3][2].result, NONE);
    EXPECT_EQ(g.seer_claims, 3);
    EXPECT_EQ(g.medium_claims, 1);
    EXPECT_EQ(g.phase, PHASE_AI_VOTES);
    EXPECT_EQ(g.cursor, 6);  // any key leads on without moving the cursor
}

TEST(Keys, WolvesVoteLowerSeatFirstAndADeadWolfIsSkipped) {
    TestGame t = game_in_phase(PHASE_VOTE_SELECT);
    Game& g = *t.game;
    g.day = 2;
    g.voter_index = 0;
    g.cursor = 1;  // a wolf may vote for a wolf
    press(g, 'z');
    EXPECT_EQ(g.players[1].vote[2], 1);
    EXPECT_EQ(g.phase, PHASE_VOTE_SELECT);
    press(g, 'l');
    press(g, 'z');
    EXPECT_EQ(g.players[4].vote[2], 2);
    EXPECT_EQ(g.phase, PHASE_VOTE_RESULTS);

    // Day 3 with one wolf dead: the living one votes alone.
    auto one_wolf_left = [](int dead_wolf) {
        TestGame v = game_in_phase(PHASE_VOTE_SELECT);
        v.game->day = 3;
        v.game->voter_index = 0;
        kill_seat(*v.game, dead_wolf);
        v.game->wolf_count = 1;
        return v;
    };
    TestGame u = one_wolf_left(1);
    Game& h = *u.game;
    // The prompt and the review name the living wolf, not the dead one's skipped turn.
    EXPECT_EQ(voting_wolf(public_record_of(h)), 4);
    draw(u, LANGUAGE_ENGLISH);
    EXPECT_NE(row_text(u, 1).find(std::string(texts_of(LANGUAGE_ENGLISH).names[4]) + " votes"),
              std::string::npos)
        << row_text(u, 1);
    h.cursor = 1;
    press(h, 'z');  // the dead cannot be voted for
    EXPECT_EQ(h.phase, PHASE_VOTE_SELECT);
    h.cursor = 8;
    press(h, 'z');
    EXPECT_EQ(h.players[4].vote[3], 8);
    EXPECT_EQ(h.players[1].vote[3], NONE);
    EXPECT_EQ(h.phase, PHASE_VOTE_RESULTS);

    // With the upper wolf dead, the lower one's single vote ends the wolves' vote.
    TestGame w = one_wolf_left(4);
    Game& k = *w.game;
    k.cursor = 8;
    press(k, 'z');
    EXPECT_EQ(k.players[1].vote[3], 8);
    EXPECT_EQ(k.players[4].vote[3], NONE);
    EXPECT_EQ(k.phase, PHASE_VOTE_RESULTS);
}

// The key of the vote-results screen hangs the most-voted seat, then files every vote:
// the hanged seat's too, and -1 for a seat dead before the vote.
TEST(Keys, TheVoteResultKeyHangsThenFilesEveryVote) {
    TestGame t = game_in_phase(PHASE_VOTE_RESULTS);
    Game& g = *t.game;
    g.day = 2;
    kill_seat(g, 3);
    for (int seat = 0; seat < SEAT_COUNT; ++seat) g.players[seat].vote[2] = seat == 8 ? 9 : 8;
    g.players[3].vote[2] = NONE;
    press(g, 'x');
    EXPECT_EQ(g.hanged_on[2], 8);
    EXPECT_EQ(g.players[8].hanged_day, 2);
    EXPECT_EQ(log_line(g), "よもぎが吊るされた"_sj);
    for (int seat = 0; seat < SEAT_COUNT; ++seat) {
        EXPECT_EQ(g.votes[seat][2], seat == 3 ? NONE : seat == 8 ? 9 : 8);
    }
    EXPECT_EQ(g.phase, PHASE_DUSK_CHECK);
}

TEST(Phases, TheFirstScreenIsTheNightPromptAndComputerVotesSkipWolvesAndTheDead) {
    TestGame t = make_game(11);
    Game& g = *t.game;
    EXPECT_EQ(g.phase, PHASE_ATTACK_SELECT);
    EXPECT_EQ(g.day, 1);

    g.phase = PHASE_AI_VOTES;
    g.day = 2;
    const int dead = g.players[0].role == ROLE_WOLF ? 9 : 0;
    kill_seat(g, dead);
    update(g);
    EXPECT_EQ(g.phase, PHASE_VOTE_SELECT);
    for (const Player& p : g.players) {
        if (p.role == ROLE_WOLF || p.alive != 1) {
            EXPECT_EQ(p.vote[2], NONE);
        } else {
            ASSERT_TRUE(is_seat(p.vote[2]));
            EXPECT_NE(p.vote[2], p.seat);
            EXPECT_EQ(g.players[p.vote[2]].alive, 1);
        }
    }
}

TEST(Phases, AnAttackThatLeavesTheWolvesEvenEndsTheGameAtDawn) {
    TestGame t = game_in_phase(PHASE_ATTACK_SELECT);
    Game& g = *t.game;
    for (int seat : {0, 2, 3, 5, 6}) kill_seat(g, seat);  // wolves 1, 4; others 7, 8, 9
    g.cursor = 9;
    press(g, 'z');
    update(g);
    EXPECT_EQ(g.phase, PHASE_WOLVES_WON);
    EXPECT_EQ(g.winner, WINNER_WOLVES);
    update(g);  // nothing of the morning runs
    EXPECT_EQ(g.phase, PHASE_WOLVES_WON);
}

}  // namespace

namespace {

// The morning of the village with lies, seen through its questions: the screen asked, and
// the wolf it asks.
struct Asked {
    int screen;
    int wolf;
};

Asked asked(const Game& g) { return {screen_kind(g), morning_question(g).wolf}; }

}  // namespace

// Each living wolf is asked once a morning whether it lies, until it has claimed; a false
// seer names a living seat other than himself, black or white, every morning; a false
// medium speaks from day 3, of the seat hanged the day before. What they said is published
// and filed as a true claim is. Under the first village's rules the morning asks nothing.
TEST(Morning, TheWolvesAreAskedAndTheirLiesFiledAsClaims) {
    TestGame t = game_in_phase(PHASE_FAKE_CLAIM);  // wolves 1 and 4; the seer 2
    Game& g = *t.game;
    g.day = 2;
    g.rules = RULES_BLUFF;
    kill_seat(g, 0);
    EXPECT_EQ(asked(g).screen, SCREEN_CLAIM);
    EXPECT_EQ(asked(g).wolf, 1);
    press(g, 'x');  // wolf 1 tells no lie today
    EXPECT_EQ(asked(g).wolf, 4);
    press(g, 'S');  // wolf 4 claims the seer, in capitals too
    EXPECT_EQ(asked(g).screen, SCREEN_SEER_VERDICT);
    const struct {
        int cursor;
        char key;
        bool filed;
    } names[] = {{0, 'b', false}, {4, 'w', false}, {3, 'x', false}, {3, 'B', true}};
    for (const auto& n : names) {  // the dead and himself cannot be named
        g.cursor = n.cursor;
        press(g, n.key);
        EXPECT_EQ(g.players[4].night[1].result != NONE, n.filed) << n.cursor << n.key;
    }
    EXPECT_EQ(g.players[4].night[1].result, VERDICT_BLACK);
    EXPECT_EQ(g.phase, PHASE_PUBLISH_CLAIMS);
    update(g);
    EXPECT_EQ(g.co_public[4], ROLE_SEER);
    EXPECT_EQ(g.claimed_on[4], 2);
    press(g, 'x');  // the claims' screen: the verdicts are filed and counted
    EXPECT_EQ(g.black_count[3], 1);
    EXPECT_EQ(g.claims[4][1].target, 3);
    EXPECT_EQ(g.seer_claims, 1);

    g.day = 3;  // the next morning: wolf 1 is asked again, wolf 4 only for his verdict
    g.phase = PHASE_FAKE_CLAIM;
    g.hanged_on[2] = 8;
    g.players[8].alive = 0;
    g.death_day[8] = 2;
    EXPECT_EQ(asked(g).wolf, 1);
    press(g, 'm');  // wolf 1 claims the medium: his word on seat 8 is asked at once
    EXPECT_EQ(asked(g).screen, SCREEN_MEDIUM_VERDICT);
    press(g, 'l');  // only b and w answer
    EXPECT_EQ(asked(g).screen, SCREEN_MEDIUM_VERDICT);
    press(g, 'w');
    EXPECT_EQ(g.players[1].night[2].target, 8);
    EXPECT_EQ(g.players[1].night[2].result, VERDICT_WHITE);
    EXPECT_EQ(asked(g).screen, SCREEN_SEER_VERDICT);
    EXPECT_EQ(asked(g).wolf, 4);

    TestGame plain = game_in_phase(PHASE_FAKE_CLAIM);
    plain.game->day = 2;
    EXPECT_EQ(screen_kind(*plain.game), SCREEN_ANY_KEY);
    press(*plain.game, 's');
    EXPECT_EQ(plain.game->phase, PHASE_PUBLISH_CLAIMS);
    EXPECT_EQ(plain.game->players[1].co_claim, NONE);
}
