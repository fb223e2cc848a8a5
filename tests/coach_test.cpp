// The coach: it sees only the public record; the deals it draws agree with what was shown,
// in proportion to their weights; its odds are the same on any number of threads, and
// roughly right.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <map>
#include <vector>

#include "coach/forecast.hpp"
#include "coach/odds.hpp"
#include "coach/policy.hpp"
#include "coach/review_text.hpp"
#include "coach/rollouts.hpp"
#include "coach/sampler.hpp"
#include "engine/morning.hpp"
#include "model/invariants.hpp"
#include "model/keys.hpp"
#include "test_support.hpp"

namespace {

constexpr Budget LIGHT = {0.06, 400};  // enough to test with, quick under the sanitizers

// Plays the heuristic from the seed, typing its keys (kept in keys, if given); calls
// at(game, code) at every choice before the choice (its code) is made. In the village with
// lies the wolves lie as the bluff policy does, and the higher wolf claims to be the medium
// on day 3. The winner.
template <typename At>
int heuristic_game(std::uint32_t seed, At at, Game* end = nullptr, int rules = RULES_STANDARD,
                   std::string* keys = nullptr) {
    TestGame t = make_game(seed);
    Game& g = *t.game;
    start_game(g, seed, rules);
    Dice dice{seed};
    const auto type = [&](char key) {
        if (keys != nullptr) *keys += key;
        step_game(g, static_cast<std::uint8_t>(key));
    };
    while (g.winner == NONE) {
        const int kind = screen_kind(g);
        if (kind == SCREEN_ANY_KEY) {
            type(KEY_ON);
            continue;
        }
        Answer a = {policy_choice(g, POLICY_HEURISTIC, dice), KEY_CHOOSE};
        if (kind != SCREEN_CHOOSE_ATTACK && kind != SCREEN_CHOOSE_VOTE) {
            a = policy_answer(g, POLICY_BLUFF, dice);
            const Question q = morning_question(g);
            if (q.kind == QUESTION_CLAIM && q.wolf == g.wolf_seats[1] && g.day == 3)
                a.key = KEY_CLAIM_MEDIUM;
        }
        if (is_seat(a.seat)) {
            for (char key : keys_to_seat(g.cursor, a.seat)) type(key);
        }
        at(g, choice_made(g, static_cast<std::uint8_t>(a.key)));
        type(static_cast<char>(a.key));
    }
    if (end != nullptr) *end = g;
    return g.winner;
}

// The coach's only input is the public record, so what it sees of a game must not change
// with anything hidden: at every choice of many games, the roles of two unclaimed seats
// swapped with their nights, another random source, tonight's hidden records and today's
// computer votes redrawn, the last key; the record stays the same bytes. And what the
// screens did show changes it.
TEST(Coach, SeesOnlyThePublicRecord) {
    int compared = 0;
    for (std::uint32_t seed = 1790000003; seed < 1790000023; ++seed) {
        const int rules = seed % 2 == 0 ? RULES_STANDARD : RULES_BLUFF;
        heuristic_game(
            seed,
            [&](const Game& g, int) {
                Game other = g;
                seed_random(other.random, seed * 7u);
                other.key = 'q';
                int first = NONE;
                bool swapped = false;
                for (int seat = 0; seat < SEAT_COUNT; ++seat) {
                    Player& p = other.players[seat];
                    if (p.role == ROLE_WOLF || g.co_public[seat] != NONE) continue;
                    p.night[g.day].target = (seat + 3) % SEAT_COUNT;  // hidden: tonight, today
                    if (g.phase == PHASE_VOTE_SELECT) p.vote[g.day] = (seat + 1) % SEAT_COUNT;
                    if (first == NONE) {
                        first = seat;
                    } else if (!swapped && p.role != other.players[first].role) {
                        std::swap(p.role, other.players[first].role);
                        std::swap(p.night, other.players[first].night);
                        swapped = true;
                    }
                }
                const PublicRecord a = public_record_of(g);
                const PublicRecord b = public_record_of(other);
                ASSERT_EQ(std::memcmp(&a, &b, sizeof a), 0) << "seed " << seed << ", day " << g.day;
                other = g;
                other.white_count[g.wolf_seats[0] == 0 ? 1 : 0] += 1;  // a verdict was shown
                const PublicRecord c = public_record_of(other);
                EXPECT_NE(std::memcmp(&a, &c, sizeof a), 0);
                compared += 1;
            },
            nullptr, rules);
    }
    EXPECT_GT(compared, 80);
}

// What the village saw, as the game has it and as the coach reads it off the record.
bool same_sight(const Sight& a, const Sight& b) {
    const bool plain = std::memcmp(a.living, b.living, sizeof a.living) == 0 &&
                       std::memcmp(a.claim, b.claim, sizeof a.claim) == 0 &&
                       std::memcmp(a.black, b.black, sizeof a.black) == 0 &&
                       std::memcmp(a.white, b.white, sizeof a.white) == 0 && a.seers == b.seers &&
                       a.mediums == b.mediums && a.medium_verdict == b.medium_verdict &&
                       std::memcmp(a.voted_hanged, b.voted_hanged, sizeof a.voted_hanged) == 0;
    const bool seasoned = a.rules != RULES_BLUFF ||
                          (std::memcmp(a.said, b.said, sizeof a.said) == 0 &&
                           std::memcmp(a.lone_votes, b.lone_votes, sizeof a.lone_votes) == 0);
    return plain && a.rules == b.rules && seasoned;
}

// At every choice of many games, with lies and without: the village's sight read off the
// record is the game's; the true deal is among the coach's, with a weight; every deal it
// draws makes a game that shows exactly what this one showed, and offers the same choices.
TEST(Coach, EveryDealDrawnAgreesWithWhatWasShown) {
    auto beliefs = std::make_unique<Beliefs>();
    int choices = 0;
    int mornings = 0;
    for (std::uint32_t seed = 1; seed <= 160; ++seed) {
        const int rules = seed <= 120 ? RULES_STANDARD : RULES_BLUFF;
        heuristic_game(
            seed,
            [&](const Game& g, int code) {
                const PublicRecord r = public_record_of(g);
                ASSERT_TRUE(public_record_valid(r));
                if (g.phase != PHASE_FAKE_CLAIM) {
                    const Sight read = village_at(r, g.day, g.phase == PHASE_ATTACK_SELECT);
                    ASSERT_TRUE(same_sight(village_sight(g), read))
                        << "seed " << seed << ", day " << g.day;
                }
                build_beliefs(r, *beliefs);
                ASSERT_TRUE(beliefs->weighed)
                    << "seed " << seed << ": nothing explains what was seen";
                bool found = false;
                for (int k = 0; k < beliefs->count; ++k) {
                    bool same = true;
                    for (int s = 0; s < SEAT_COUNT; ++s)
                        same = same && beliefs->role[k][s] == g.players[s].role;
                    if (same) found = beliefs->weight[k] > 0.0;
                }
                EXPECT_TRUE(found)
                    << "seed " << seed << ", day " << g.day << ": the true deal is ruled out";
                Dice dice{seed * 31u + static_cast<std::uint32_t>(g.day)};
                for (int n = 0; n < 5; ++n) {
                    Game drawn;
                    determinize(r, beliefs->role[draw_deal(*beliefs, dice)], 7, drawn);
                    const PublicRecord again = public_record_of(drawn);
                    ASSERT_EQ(std::memcmp(&r, &again, sizeof r), 0)
                        << "seed " << seed << ", day " << g.day;
                    ASSERT_EQ(broken_invariant(drawn), nullptr);
                    if (g.phase != PHASE_FAKE_CLAIM) {  // the village sees what it saw in the game
                        ASSERT_TRUE(same_sight(village_sight(drawn), village_sight(g)))
                            << "seed " << seed << ", day " << g.day;
                    }
                    drawn.cursor = code_seat(code);
                    ASSERT_EQ(choice_made(drawn, static_cast<std::uint8_t>(code_key(code))), code);
                }
                choices += 1;
                mornings += g.phase == PHASE_FAKE_CLAIM ? 1 : 0;
            },
            nullptr, rules);
    }
    EXPECT_GT(choices, 1300);
    EXPECT_GT(mornings, 150);
}

// A small case (day 3, the seer and the medium claimed, one failed attack and one
// killing): every deal the rules allow is among the coach's, found by trying them all, and
// each is drawn as often as its weight says.
TEST(Coach, InASmallCaseEveryDealIsDrawnAsOftenAsItsWeight) {
    PublicRecord found{};
    for (std::uint32_t seed = 1790000000; found.day == 0 && seed < 1790000100; ++seed) {
        heuristic_game(seed, [&](const Game& g, int) {
            const bool failed = g.attacks[1] != NONE && g.attacked_on[1] == NONE;
            if (found.day == 0 && g.day == 3 && g.phase == PHASE_ATTACK_SELECT && failed)
                found = public_record_of(g);
        });
    }
    ASSERT_EQ(found.day, 3);
    auto beliefs = std::make_unique<Beliefs>();
    build_beliefs(found, *beliefs);
    // Every placing of madman, seer, medium and hunter that keeps the claims, and the
    // deaths before the claims would have been made.
    int allowed = 0;
    for (int m = 0; m < SEAT_COUNT; ++m) {
        for (int s = 0; s < SEAT_COUNT; ++s) {
            for (int d = 0; d < SEAT_COUNT; ++d) {
                for (int h = 0; h < SEAT_COUNT; ++h) {
                    const int seats[4] = {m, s, d, h};
                    const int roles[4] = {ROLE_MADMAN, ROLE_SEER, ROLE_MEDIUM, ROLE_HUNTER};
                    bool ok = true;
                    for (int i = 0; i < 4; ++i) {
                        for (int j = i + 1; j < 4; ++j) ok = ok && seats[i] != seats[j];
                        ok = ok && seats[i] != found.wolf_seats[0] &&
                             seats[i] != found.wolf_seats[1];
                        const int claim = found.co_public[seats[i]];
                        ok = ok && (claim == NONE || claim == roles[i]);
                        if (claim == NONE && roles[i] != ROLE_MADMAN && roles[i] != ROLE_HUNTER) {
                            ok = ok && !alive_at_morning(found, seats[i], 2);
                        }
                    }
                    for (int seat = 0; seat < SEAT_COUNT; ++seat) {  // every claimant placed
                        const int claim = found.co_public[seat];
                        ok = ok && (claim == NONE || seats[claim == ROLE_MADMAN ? 0
                                                           : claim == ROLE_SEER ? 1
                                                                                : 2] == seat);
                    }
                    allowed += ok;
                }
            }
        }
    }
    ASSERT_EQ(beliefs->count, allowed);
    ASSERT_LT(beliefs->count, 60);
    constexpr int DRAWS = 40000;
    std::map<int, int> drawn;
    Dice dice{99};
    for (int n = 0; n < DRAWS; ++n) drawn[draw_deal(*beliefs, dice)] += 1;
    const double total = beliefs->cumulative[beliefs->count - 1];
    for (int k = 0; k < beliefs->count; ++k) {
        const double expected = DRAWS * beliefs->weight[k] / total;
        if (expected >= 1.0) {
            EXPECT_GT(drawn[k], 0) << "deal " << k << " never drawn";
        }
        EXPECT_NEAR(drawn[k], expected, 5.0 * std::sqrt(expected) + 2.0) << "deal " << k;
    }
}

// A record from outside that no game can have is declined before a rollout is played: the
// issue's day 2 with seat 0 killed and nobody claiming (the seer or the medium lived to the
// morning and would have claimed) admits no deal; day 5 with all ten alive had no hangings.
// A rollout given a game that cannot end stops at the last day slot.
TEST(Coach, DeclinesARecordNoGameCanHaveAndEveryRolloutEnds) {
    PublicRecord r{};
    for (auto& row : r.claims) {
        for (NightRecord& n : row) n = {NONE, NONE, NONE, NONE};
    }
    for (int seat = 0; seat < SEAT_COUNT; ++seat) {
        r.alive[seat] = 1;
        r.hanged_day[seat] = r.attacked_day[seat] = r.co_public[seat] = NONE;
        for (int& vote : r.votes[seat]) vote = NONE;
    }
    for (int day = 0; day < DAY_SLOTS; ++day)
        r.attacks[day] = r.attacked_on[day] = r.hanged_on[day] = NONE;
    r.asked = NONE;
    for (int k = 0; k < WOLF_SEATS; ++k) {
        r.wolf_claim[k] = r.claim_asked[k] = NONE;
        for (NightRecord& n : r.wolf_said[k]) n = {NONE, NONE, NONE, NONE};
    }
    r.day = 2;
    r.phase = PHASE_VOTE_SELECT;
    r.wolf_count = 2;
    r.wolf_seats[0] = 4;
    r.wolf_seats[1] = 7;
    r.wolf_votes[0] = r.wolf_votes[1] = NONE;
    r.alive[0] = 0;
    r.attacked_day[0] = 1;
    r.attacks[1] = r.attacked_on[1] = 0;
    ASSERT_TRUE(public_record_valid(r));
    auto work = std::make_unique<OddsWork>();
    EXPECT_FALSE(odds_begin(*work, r, COACH_FULL));
    EXPECT_EQ(odds_of(r, COACH_FULL).count, 0);
    EXPECT_EQ(best_choice(r, COACH_FULL).seat, NONE);
    EXPECT_TRUE(odds_valid(Odds{}, r));  // "no odds" is an answer the page takes

    PublicRecord all_alive = r;
    all_alive.day = 5;
    all_alive.alive[0] = 1;
    all_alive.attacked_day[0] = NONE;
    all_alive.attacks[1] = all_alive.attacked_on[1] = NONE;
    EXPECT_FALSE(public_record_valid(all_alive));
    EXPECT_FALSE(odds_begin(*work, all_alive, COACH_FULL));

    // A game at the last day slot, and one with nobody for the wolves to choose.
    for (const bool nobody : {false, true}) {
        TestGame t = make_game(3);
        Game& g = *t.game;
        g.day = DAY_SLOTS - 1;
        if (nobody) {
            for (Player& p : g.players) p.role = ROLE_WOLF;
        }
        Dice dice{1};
        play_out(g, POLICY_HEURISTIC, dice);
        EXPECT_LE(g.day, DAY_SLOTS);  // and nothing written past the last slot (the sanitizers)
        if (nobody) {
            EXPECT_EQ(g.winner, NONE);
        }
    }
}

// The keys of whole games played at random from the seed, r between them: a record.
std::string random_games(std::uint32_t seed, int games) {
    TestGame t = make_game(seed);
    std::string keys;
    Dice dice{seed};
    for (int played = 0; played < games;) {
        const int kind = screen_kind(*t.game);
        std::string walk(1, KEY_ON);
        if (kind == SCREEN_CHOOSE_ATTACK || kind == SCREEN_CHOOSE_VOTE) {
            walk = keys_to_seat(t.game->cursor, policy_choice(*t.game, POLICY_RANDOM, dice)) + "z";
        } else if (kind == SCREEN_WON) {
            walk = (++played < games) ? "r" : "";
        }
        for (char key : walk) step_game(*t.game, static_cast<std::uint8_t>(key));
        keys += walk;
    }
    return keys;
}

// Each game of a record is the game its own seed and keys deal and play, with the same
// choices; a record that ends in r has no game after it.
TEST(Coach, EachGameOfARecordIsTheGameItsOwnLinkPlays) {
    const std::string keys = random_games(11, 3) + "r";
    std::vector<RecordGame> games;
    each_game(11, keys, RULES_STANDARD, [&](const RecordGame& g) { games.push_back(g); });
    ASSERT_EQ(games.size(), 3u);
    std::size_t decisions = 0;
    for (const RecordGame& g : games) {
        EXPECT_NE(g.winner, NONE);
        TestGame alone = make_game(g.seed);
        int made = 0;
        for (char key : g.keys) {
            made += screen_kind(*alone.game) != SCREEN_ANY_KEY && key == KEY_CHOOSE;
            step_game(*alone.game, static_cast<std::uint8_t>(key));
        }
        EXPECT_EQ(alone.game->winner, g.winner);
        EXPECT_EQ(alone.game->day, g.day);
        EXPECT_EQ(static_cast<std::size_t>(made), g.decisions.size());
        // Its first choice as the page would review it from the link alone.
        std::vector<RecordGame> again;
        each_game(g.seed, g.keys, RULES_STANDARD, [&](const RecordGame& a) { again.push_back(a); });
        ASSERT_EQ(again.size(), 1u);
        ASSERT_FALSE(g.decisions.empty());
        EXPECT_EQ(std::memcmp(&again[0].decisions[0].record, &g.decisions[0].record,
                              sizeof(PublicRecord)),
                  0);
        decisions += g.decisions.size();
    }
    EXPECT_EQ(games[0].seed, 11u);
    EXPECT_EQ(games[0].keys.size() + games[1].keys.size() + games[2].keys.size() + 3, keys.size());
    EXPECT_GT(decisions, 10u);
}

// The same record gives the same review, byte for byte, on one thread and on a pool of
// four reused round after round.
TEST(Coach, TheSameReviewOnAnyNumberOfThreads) {
    std::vector<RecordGame> games;
    each_game(7, random_games(7, 1), RULES_STANDARD,
              [&](const RecordGame& g) { games.push_back(g); });
    ASSERT_EQ(games.size(), 1u);
    RolloutPool pool{};
    pool_start(pool, 4);
    const GameReview one = review_game(games[0], nullptr);
    const GameReview four = review_game(games[0], &pool);
    pool_stop(pool);
    const Texts& english = texts_of(LANGUAGE_ENGLISH);
    const std::string a = review_text(games[0], one, english);
    EXPECT_EQ(a, review_text(games[0], four, english));
    EXPECT_NE(a.find("Accuracy"), std::string::npos) << a;
    EXPECT_EQ(review_json(games[0], one, english), review_json(games[0], four, english));
}

// A game with lies, reviewed from its record: every choice of the morning among the odds,
// which offer the morning's choices (whether to claim and as what; each seat named, black
// or white; black or white), and the review tells the lie in words.
TEST(Coach, ALyingGameIsReviewedChoiceByChoice) {
    constexpr std::uint32_t SEED = 1790000005;
    std::string keys;
    heuristic_game(
        SEED, [](const Game&, int) {}, nullptr, RULES_BLUFF, &keys);
    std::vector<RecordGame> games;
    each_game(SEED, keys, RULES_BLUFF, [&](const RecordGame& g) { games.push_back(g); });
    ASSERT_EQ(games.size(), 1u);
    int mornings = 0;
    std::vector<Odds> odds;
    for (const Decision& d : games[0].decisions) {
        odds.push_back(odds_of(d.record, LIGHT, nullptr, d.chosen));
        const Odds& o = odds.back();
        ASSERT_TRUE(odds_valid(o, d.record));
        ASSERT_NE(choice_index(o, d.chosen), NONE) << d.chosen;
        int living = 0;
        for (int alive : d.record.alive) living += alive;
        const int offered[] = {0, 3, 2 * (living - 1), 2};
        if (d.record.phase == PHASE_FAKE_CLAIM) {
            EXPECT_EQ(o.count, offered[d.record.question]);
            mornings += 1;
        }
    }
    EXPECT_GE(mornings, 3);
    const std::string told =
        review_text(games[0], game_review(games[0], odds), texts_of(LANGUAGE_ENGLISH));
    EXPECT_NE(told.find("'s claim: chose the seer"), std::string::npos) << told;
    EXPECT_NE(told.find("'s seer result: chose "), std::string::npos) << told;
    EXPECT_NE(told.find("&bluff=1&review=1"), std::string::npos) << told;
}

// A small, fixed version of the calibration script: the odds of the heuristic's own choices
// over whole games predict their outcomes far better than a constant does, and on average
// they are right within a few points.
TEST(Coach, TheOddsOfTheHeuristicsChoicesComeTrue) {
    std::vector<std::pair<double, bool>> made;
    for (std::uint32_t seed = 1790000000; made.size() < 300; ++seed) {
        std::vector<double> predicted;
        const int winner = heuristic_game(seed, [&](const Game& g, int seat) {
            const Odds odds = odds_of(public_record_of(g), LIGHT);
            const ChoiceOdds& c = odds.choice[choice_index(odds, seat)];
            predicted.push_back(estimate(c.wins, c.played).win);
        });
        for (double p : predicted) made.emplace_back(p, winner == WINNER_WOLVES);
    }
    double brier = 0.0;
    double predicted = 0.0;
    double won = 0.0;
    for (const auto& [p, w] : made) {
        brier += (p - (w ? 1.0 : 0.0)) * (p - (w ? 1.0 : 0.0));
        predicted += p;
        won += w ? 1.0 : 0.0;
    }
    const double n = static_cast<double>(made.size());
    const double base = won / n * (1.0 - won / n);
    EXPECT_LT(brier / n, 0.8 * base) << "Brier " << brier / n << " against " << base;
    EXPECT_NEAR(predicted / n, won / n, 0.06);
}

// A choice is marked only where its loss against the best, world by world, cannot be zero
// at 95%, however large the loss looks; choices the worlds cannot tell apart are as good
// as the best, never marked.
TEST(Coach, AMarkOnlyWhereTheLossCannotBeZero) {
    const struct {
        const char* what;
        int wins, common, ahead, behind;
        bool as_good;
        int mark;
    } cases[] = {
        {"the same worlds won", 400, 400, 0, 0, true, NONE},
        {"a point apart", 395, 1000, 30, 25, true, NONE},
        {"six points, too few worlds to tell", 34, 100, 10, 4, true, NONE},
        {"four points, told apart", 360, 1000, 45, 5, false, NONE},
        {"an inaccuracy", 340, 1000, 65, 5, false, MARK_INACCURACY},
        {"a mistake", 300, 1000, 110, 10, false, MARK_MISTAKE},
        {"a blunder", 150, 1000, 260, 10, false, MARK_BLUNDER},
    };
    for (const auto& c : cases) {
        Odds odds{};
        odds.count = 2;
        odds.best = 0;
        odds.choice[0] = {3, 'z', 400, 1000, 0, 1000, 0, 0};
        odds.choice[1] = {5, 'z', c.wins, c.common, 0, c.common, c.ahead, c.behind};
        EXPECT_EQ(as_good_as_best(odds, 1), c.as_good) << c.what;
        EXPECT_EQ(mark_of(odds, 5), c.mark) << c.what;
        EXPECT_EQ(kept_of(odds, 5) == 1.0, c.as_good) << c.what;
        if (c.mark != NONE) {
            EXPECT_GT(loss_of(odds.choice[1]).low, 0.0) << c.what;
        }
    }
}

// What the coach says the village will do comes true: over the heuristic's games, at the
// first wolf's vote of each day, the chance it gives the seat voted for of being hanged,
// against how often it was, by tenths; and the votes it expects each living seat to get
// from the computer seats, against the votes they cast.
TEST(Coach, TheForecastsOfTheVillageComeTrue) {
    struct Vote {
        int day;
        int seat;
        double hanged;
        double votes[SEAT_COUNT];
        bool living[SEAT_COUNT];
    };
    double predicted[10] = {};
    int count[10] = {};
    int hanged[10] = {};
    std::vector<std::pair<double, int>> seat_votes;  // expected, cast
    auto beliefs = std::make_unique<Beliefs>();
    int total = 0;
    for (std::uint32_t seed = 1790000000; total < 800; ++seed) {
        std::vector<Vote> votes;
        Game last{};
        heuristic_game(
            seed,
            [&](const Game& g, int seat) {
                if (g.phase != PHASE_VOTE_SELECT || g.voter_index != 0) return;
                const PublicRecord r = public_record_of(g);
                const Odds odds = odds_of(r, LIGHT, nullptr, seat);
                const ChoiceOdds& c = odds.choice[choice_index(odds, seat)];
                build_beliefs(r, *beliefs);
                const Forecast f = forecast_of(r, *beliefs);
                Vote v{g.day, seat, static_cast<double>(c.hanged) / c.played, {}, {}};
                for (int s = 0; s < SEAT_COUNT; ++s) {
                    v.votes[s] = f.votes[s];
                    v.living[s] = g.players[s].alive == 1;
                }
                votes.push_back(v);
                total += 1;
            },
            &last);
        for (const Vote& v : votes) {
            const int tenth = std::min(9, static_cast<int>(v.hanged * 10.0));
            predicted[tenth] += v.hanged;
            count[tenth] += 1;
            hanged[tenth] += last.hanged_on[v.day] == v.seat ? 1 : 0;
            for (int s = 0; s < SEAT_COUNT; ++s) {
                if (!v.living[s]) continue;
                int cast = 0;
                for (int voter = 0; voter < SEAT_COUNT; ++voter) {
                    const bool wolf = last.players[voter].role == ROLE_WOLF;
                    cast += !wolf && last.votes[voter][v.day] == s ? 1 : 0;
                }
                seat_votes.emplace_back(v.votes[s], cast);
            }
        }
    }
    for (int tenth = 0; tenth < 10; ++tenth) {
        if (count[tenth] < 100) continue;  // too few to tell
        EXPECT_NEAR(predicted[tenth] / count[tenth],
                    static_cast<double>(hanged[tenth]) / count[tenth], 0.05)
            << "tenth " << tenth << " of " << count[tenth] << " votes";
    }
    // The votes expected add up to the votes cast, and tell the seats apart: they miss by
    // far less than expecting every seat the mean would.
    double expected = 0.0;
    double cast = 0.0;
    for (const auto& [e, c] : seat_votes) {
        expected += e;
        cast += c;
    }
    const double n = static_cast<double>(seat_votes.size());
    double miss = 0.0;
    double spread = 0.0;
    for (const auto& [e, c] : seat_votes) {
        miss += (c - e) * (c - e);
        spread += (c - cast / n) * (c - cast / n);
    }
    EXPECT_NEAR(expected / n, cast / n, 0.05);
    EXPECT_LT(miss, 0.5 * spread) << miss / n << " against " << spread / n;
}

}  // namespace
