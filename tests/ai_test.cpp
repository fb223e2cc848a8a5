// The computer seats: each rule from a sight built by hand, against the chances worked out
// by hand; every rule, played from the sights of real games, against the chances the coach
// reads; and the records the night leaves.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "ai/night.hpp"
#include "ai/vote.hpp"
#include "coach/policy.hpp"
#include "model/keys.hpp"
#include "test_support.hpp"

namespace {

// A sight of day 3 in which everybody lives and nothing has been said, seen by `self`.
Sight plain_sight(int self) {
    Sight s{};
    s.day = 3;
    s.self = self;
    s.call = NONE;
    s.medium_verdict = NONE;
    s.rules = RULES_STANDARD;
    s.role = ROLE_VILLAGER;
    for (int seat = 0; seat < SEAT_COUNT; ++seat) {
        s.living[seat] = true;
        s.claim[seat] = NONE;
        for (std::int8_t& word : s.said[seat]) word = NONE;
    }
    return s;
}

// The seasoned village's sight of day 4: seats 2 and 4 claim to be the seer, 6 the medium.
Sight seasoned_sight(int self, int role) {
    Sight s = plain_sight(self);
    s.day = 4;
    s.rules = RULES_BLUFF;
    s.role = role;
    s.claim[2] = s.claim[4] = ROLE_SEER;
    s.claim[6] = ROLE_MEDIUM;
    s.seers = 2;
    s.mediums = 1;
    return s;
}

// Says a verdict: the claimant's word on the seat (a seer's verdict, a medium's reading).
Sight said(Sight s, int claimant, int seat, int verdict) {
    s.said[claimant][seat] = static_cast<std::int8_t>(verdict);
    (verdict == VERDICT_BLACK ? s.black : s.white)[seat] += s.claim[claimant] == ROLE_SEER;
    return s;
}

constexpr int RULE_INSPECTION = 0;
constexpr int RULE_GUARD = 1;
constexpr int RULE_CALL = 2;
constexpr int RULE_VOTE = 3;
constexpr int RULE_MADMAN_VOTE = 4;

int play_rule(int rule, const Sight& s, Random& random) {
    switch (rule) {
    case RULE_INSPECTION: return inspection_rule(s, random);
    case RULE_GUARD: return guard_rule(s, random);
    case RULE_CALL: return call_rule(s, random);
    default: return vote_rule(s, rule == RULE_MADMAN_VOTE, random);
    }
}

Chances chances_of(int rule, const Sight& s) {
    switch (rule) {
    case RULE_INSPECTION: return inspection_chances(s);
    case RULE_GUARD: return guard_chances(s);
    case RULE_CALL: return call_chances(s);
    default: return vote_chances(s, rule == RULE_MADMAN_VOTE);
    }
}

// A random source started from a state that owes nothing to the one before.
Random fresh_random(Dice& dice) { return Random{static_cast<std::uint32_t>(roll_dice(dice))}; }

struct RuleCase {
    const char* name;
    int rule;
    Sight sight;
    int seat;       // the seat whose chance is known
    double chance;  // worked out by hand
};

// Seat 5 guards with the seer (2) and the medium (6) claimed; 20 draws find each with
// 1 - 0.9^20 = 0.8785; the medium first on a roll below 15 (0.15015).
Sight guard_sight() {
    Sight s = plain_sight(5);
    s.claim[2] = ROLE_SEER;
    s.claim[6] = ROLE_MEDIUM;
    return s;
}

// Day 3: seat 3 was hanged and the one claimed medium (6) said he was human; only seat 8
// voted for him. Seat 0 votes; no seer has claimed.
Sight innocent_sight() {
    Sight s = plain_sight(0);
    s.living[3] = false;
    s.claim[6] = ROLE_MEDIUM;
    s.mediums = 1;
    s.medium_verdict = VERDICT_WHITE;
    s.voted_hanged[8] = true;
    return s;
}

// The seasoned village: two seers (2 and 4) and a medium (6), seen by each role.
void add_seasoned_cases(std::vector<RuleCase>& cases) {
    const Sight roller = seasoned_sight(0, ROLE_VILLAGER);
    cases.push_back({"two seers: the village hangs the lower first", RULE_VOTE, roller, 2, 1.0});
    cases.push_back(
        {"... the true seer votes the other", RULE_VOTE, seasoned_sight(4, ROLE_SEER), 2, 1.0});
    cases.push_back(
        {"... the medium is no judge of seers", RULE_VOTE, seasoned_sight(6, ROLE_MEDIUM), 2, 1.0});
    Sight hanged = said(said(roller, 4, 3, VERDICT_BLACK), 6, 3, VERDICT_WHITE);
    hanged.living[3] = false;
    cases.push_back({"a seer the medium contradicts lies", RULE_VOTE, hanged, 4, 1.0});
    Sight read = said(roller, 6, 2, VERDICT_WHITE);
    read.living[2] = false;
    cases.push_back({"a hanged seer read human: the other lies", RULE_VOTE, read, 4, 1.0});
    Sight liar = said(said(roller, 6, 2, VERDICT_BLACK), 4, 8, VERDICT_BLACK);
    liar.living[2] = false;
    cases.push_back({"a hanged seer read a wolf: the other's black", RULE_VOTE, liar, 8, 1.0});
    Sight two_mediums = seasoned_sight(0, ROLE_VILLAGER);
    two_mediums.claim[4] = ROLE_MEDIUM;
    two_mediums.claim[9] = ROLE_MEDIUM;
    two_mediums.seers = 1;
    two_mediums.mediums = 3;
    cases.push_back({"three mediums: the lowest first", RULE_VOTE, two_mediums, 4, 1.0});
    Sight lone = plain_sight(0);
    lone.rules = RULES_BLUFF;
    lone.claim[2] = ROLE_SEER;
    lone.seers = 1;
    lone.lone_votes[5] = 1u << 2;
    cases.push_back(
        {"who voted the lone seer is suspected 30%", RULE_VOTE, lone, 5, 0.3003 + 0.6997 / 8.0});
    cases.push_back({"... the madman votes as before", RULE_MADMAN_VOTE, lone, 5, 1.0 / 9.0});
    Sight guard = seasoned_sight(5, ROLE_HUNTER);
    guard = said(said(guard, 2, 3, VERDICT_BLACK), 6, 3, VERDICT_WHITE);
    cases.push_back(
        {"the bodyguard never guards a seer shown false", RULE_GUARD, guard, 2, 0.0128 / 9.0});
    cases.push_back(
        {"the seer inspects his rival", RULE_INSPECTION, seasoned_sight(4, ROLE_SEER), 2, 1.0});
    const Sight inspected = said(seasoned_sight(4, ROLE_SEER), 4, 2, VERDICT_BLACK);
    cases.push_back({"... once", RULE_INSPECTION, inspected, 2, 0.0});
}

std::vector<RuleCase> rule_cases() {
    std::vector<RuleCase> cases;
    Sight known = plain_sight(2);  // everybody known but seat 7
    for (int seat = 0; seat < SEAT_COUNT; ++seat) known.white[seat] = seat == 7 ? 0 : 1;
    cases.push_back({"the seer finds the one unknown seat", RULE_INSPECTION, known, 7,
                     1.0 - std::pow(1.0 - 3277.0 / 32768.0, 100) * (8.0 / 9.0)});
    known.white[7] = 1;
    cases.push_back({"with everybody known, any candidate", RULE_INSPECTION, known, 7, 1.0 / 9.0});
    cases.push_back({"the bodyguard guards the seer", RULE_GUARD, guard_sight(), 2,
                     (1.0 - 0.15015 * 0.87849) * 0.87849 + 0.0128 / 9.0});
    cases.push_back(
        {"the bodyguard guards the medium", RULE_GUARD, guard_sight(), 6,
         0.15015 * 0.87849 + (1.0 - 0.15015 * 0.87849) * 0.12151 * 0.87849 + 0.0128 / 9.0});
    cases.push_back({"the bodyguard never guards himself", RULE_GUARD, guard_sight(), 5, 0.0});
    Sight night_one = plain_sight(5);
    night_one.day = 1;
    cases.push_back(
        {"on night 1 the bodyguard guards anyone", RULE_GUARD, night_one, 0, 1.0 / 9.0});
    Sight dead_call = plain_sight(7);
    dead_call.living[4] = false;
    cases.push_back({"the madman calls any living other", RULE_CALL, dead_call, 4, 0.0});
    cases.push_back({"... among eight", RULE_CALL, dead_call, 0, 1.0 / 8.0});
    Sight one_seer = plain_sight(0);
    one_seer.seers = 1;
    one_seer.claim[2] = ROLE_SEER;
    one_seer.black[1] = 1;
    one_seer.living[1] = false;
    one_seer.black[8] = 1;
    one_seer.black[9] = 2;
    cases.push_back({"one seer: the lowest living black", RULE_VOTE, one_seer, 8, 1.0});
    Sight self_black = one_seer;
    self_black.self = 8;
    cases.push_back({"even for the black himself", RULE_VOTE, self_black, 8, 1.0});
    one_seer.self = 7;
    one_seer.call = 0;
    cases.push_back({"the madman votes his call", RULE_MADMAN_VOTE, one_seer, 0, 1.0});
    one_seer.call = 1;
    cases.push_back({"... and at random once it died", RULE_MADMAN_VOTE, one_seer, 1, 0.0});
    cases.push_back({"... among the living", RULE_MADMAN_VOTE, one_seer, 0, 1.0 / 8.0});
    Sight two_seers = plain_sight(0);
    two_seers.seers = 2;
    two_seers.claim[2] = two_seers.claim[4] = ROLE_SEER;
    two_seers.black[8] = 1;
    cases.push_back({"two seers: at random", RULE_VOTE, two_seers, 8, 1.0 / 9.0});
    Sight no_seer = plain_sight(0);
    no_seer.claim[6] = ROLE_MEDIUM;
    no_seer.claim[7] = ROLE_MADMAN;
    no_seer.mediums = 1;
    cases.push_back({"no seer: never a claimant", RULE_VOTE, no_seer, 6, 0.0});
    cases.push_back({"... but anyone else", RULE_VOTE, no_seer, 1, 1.0 / 7.0});
    cases.push_back({"the medium rule on day 3: 30% and a seventh of the rest", RULE_VOTE,
                     innocent_sight(), 8, 0.3003 + 0.6997 / 7.0});
    Sight day_two = innocent_sight();
    day_two.day = 2;
    cases.push_back({"never on day 2", RULE_VOTE, day_two, 8, 1.0 / 7.0});
    Sight black_word = innocent_sight();
    black_word.medium_verdict = VERDICT_BLACK;
    cases.push_back({"never after a black word", RULE_VOTE, black_word, 8, 1.0 / 7.0});
    add_seasoned_cases(cases);
    return cases;
}

TEST(SeatRules, EachRuleFromASightBuiltByHand) {
    Dice dice{2024};
    for (const RuleCase& c : rule_cases()) {
        const Chances chances = chances_of(c.rule, c.sight);
        double total = 0.0;
        for (double p : chances.seat) total += p;
        EXPECT_NEAR(total, 1.0, 1e-9) << c.name;
        EXPECT_NEAR(chances.seat[c.seat], c.chance, 0.002) << c.name;
        for (int tried = 0; tried < 500; ++tried) {  // the rule never chooses what cannot be
            Random random = fresh_random(dice);
            const int seat = play_rule(c.rule, c.sight, random);
            ASSERT_TRUE(is_seat(seat)) << c.name;
            ASSERT_GT(chances.seat[seat], 0.0) << c.name << ": chose " << seat;
        }
    }
}

// The sights the computer seats had in real games: at each night (the seer, the bodyguard
// and from night 3 the madman choose) and each vote (every living seat that is no wolf).
struct Choice {
    int rule;
    Sight sight;
};

std::vector<Choice> corpus(int games, int rules) {
    std::vector<Choice> choices;
    for (std::uint32_t seed = 500; seed < 500u + static_cast<std::uint32_t>(games); ++seed) {
        TestGame t = make_game(seed);
        Game& g = *t.game;
        start_game(g, seed, rules);
        Dice dice{seed};
        while (g.winner == NONE) {
            const int kind = screen_kind(g);
            if (kind == SCREEN_CHOOSE_ATTACK ||
                (kind == SCREEN_CHOOSE_VOTE && g.voter_index == 0)) {
                const Sight village = village_sight(g);
                for (const Player& p : g.players) {
                    if (p.alive != 1 || p.role == ROLE_WOLF) continue;
                    const Sight s = sight_of(village, g, p.seat);
                    if (kind == SCREEN_CHOOSE_VOTE) {
                        choices.push_back(
                            {p.role == ROLE_MADMAN ? RULE_MADMAN_VOTE : RULE_VOTE, s});
                    } else if (p.role == ROLE_SEER) {
                        choices.push_back({RULE_INSPECTION, s});
                    } else if (p.role == ROLE_HUNTER) {
                        choices.push_back({RULE_GUARD, s});
                    } else if (p.role == ROLE_MADMAN && g.day >= MADMAN_FIRST_NIGHT) {
                        choices.push_back({RULE_CALL, s});
                    }
                }
            }
            if (kind == SCREEN_CHOOSE_ATTACK || kind == SCREEN_CHOOSE_VOTE) {
                choose(g, policy_choice(g, POLICY_HEURISTIC, dice));
            } else if (kind == SCREEN_ANY_KEY || kind == SCREEN_WON) {
                step_game(g, 'x');
            } else {  // lies: a seer's on the first morning, a medium's on the third
                Answer a = policy_answer(g, POLICY_BLUFF, dice);
                if (g.day == 3 && kind == SCREEN_CLAIM) a.key = KEY_CLAIM_MEDIUM;
                answer(g, a);
            }
        }
    }
    return choices;
}

// Every computer choice's chance, as the coach reads it, against its rule played a million
// times from the sights of 40 games of each village (the seasoned one with lies told). For each
// rule, the seats are put in bins by the chance given them, and each bin's choices counted against
// the sum of its chances: a chance that is off shows in its bin, wherever it was read. Each rule's
// Pearson statistic stays within four standard deviations of its degrees of freedom.
TEST(SeatRules, EveryChanceTheCoachReadsIsHowOftenTheRuleChooses) {
    std::vector<Choice> choices = corpus(40, RULES_STANDARD);
    const std::vector<Choice> seasoned = corpus(40, RULES_BLUFF);
    choices.insert(choices.end(), seasoned.begin(), seasoned.end());
    ASSERT_GT(choices.size(), 700u);
    const int plays = static_cast<int>(1000000 / choices.size()) + 1;
    constexpr double EDGES[] = {0.02, 0.06, 0.1, 0.125, 0.15, 0.3, 0.5, 0.7, 0.9, 0.999};
    constexpr int BINS = std::size(EDGES) + 1;
    double expected[5][BINS] = {};
    double counted[5][BINS] = {};
    Dice dice{77};
    for (const Choice& c : choices) {
        const Chances chances = chances_of(c.rule, c.sight);
        int bin_of[SEAT_COUNT];
        for (int seat = 0; seat < SEAT_COUNT; ++seat) {
            const double p = chances.seat[seat];
            bin_of[seat] = static_cast<int>(
                std::upper_bound(std::begin(EDGES), std::end(EDGES), p) - std::begin(EDGES));
            expected[c.rule][bin_of[seat]] += plays * p;
        }
        for (int played = 0; played < plays; ++played) {
            Random random = fresh_random(dice);
            const int seat = play_rule(c.rule, c.sight, random);
            ASSERT_GT(chances.seat[seat], 0.0) << "a choice the chances rule out";
            counted[c.rule][bin_of[seat]] += 1.0;
        }
    }
    for (int rule = 0; rule < 5; ++rule) {
        double statistic = 0.0;
        int cells = 0;
        for (int bin = 0; bin < BINS; ++bin) {
            if (expected[rule][bin] < 5.0) continue;  // too few to weigh
            const double off = counted[rule][bin] - expected[rule][bin];
            statistic += off * off / expected[rule][bin];
            cells += 1;
        }
        ASSERT_GE(cells, 2) << "rule " << rule << " hardly seen";
        // The bins below 5 take up the slack of the total: a degree of freedom a bin.
        EXPECT_LT(statistic, cells + 4.0 * std::sqrt(2.0 * cells))
            << "rule " << rule << ": Pearson " << statistic << " on " << cells << " bins";
    }
}

TEST(NightActions, TheRecordsANightLeaves) {
    constexpr int ROLES[SEAT_COUNT] = {ROLE_VILLAGER, ROLE_WOLF,    ROLE_SEER,   ROLE_VILLAGER,
                                       ROLE_WOLF,     ROLE_HUNTER,  ROLE_MEDIUM, ROLE_MADMAN,
                                       ROLE_VILLAGER, ROLE_VILLAGER};
    TestGame t = new_game_of(3);
    Game& g = *t.game;
    deal(g, ROLES);
    const auto night = [&](int day) {
        g.day = day;
        const Sight village = village_sight(g);
        for (Player& p : g.players) {
            ai_night_action(g, p, village);
            complete_night_record(g, p);
        }
    };
    night(1);
    // Night 1: the medium judges nobody and reads no role; the madman does nothing yet.
    EXPECT_EQ(g.players[6].night[1].target, NONE);
    EXPECT_EQ(g.players[6].night[1].result, VERDICT_WHITE);
    EXPECT_EQ(g.players[7].co_claim, NONE);
    EXPECT_EQ(g.players[7].night[1].target, NONE);
    EXPECT_EQ(g.players[2].co_claim, ROLE_SEER);
    EXPECT_EQ(g.players[6].co_claim, ROLE_MEDIUM);
    EXPECT_EQ(g.players[5].co_claim, NONE);  // the bodyguard never claims
    g.hanged_on[3] = 4;
    night(3);
    EXPECT_EQ(g.players[6].night[3].target, 4);
    EXPECT_EQ(g.players[6].night[3].result, VERDICT_BLACK);
    EXPECT_EQ(g.players[7].co_claim, ROLE_MADMAN);
    EXPECT_EQ(g.players[7].night[3].role, ROLE_MADMAN);
    EXPECT_EQ(g.players[7].night[3].day, NONE);
    EXPECT_TRUE(is_seat(g.players[7].night[3].target));
    // The seer sees the madman white and a wolf black.
    for (int target : {7, 1}) {
        g.players[2].night[3].target = target;
        complete_night_record(g, g.players[2]);
        EXPECT_EQ(g.players[2].night[3].result, target == 1 ? VERDICT_BLACK : VERDICT_WHITE);
    }
    // Given his own seat as target, the bodyguard's record drops it.
    g.players[5].night[3].target = 5;
    complete_night_record(g, g.players[5]);
    EXPECT_EQ(g.players[5].night[3].target, NONE);
}

}  // namespace
