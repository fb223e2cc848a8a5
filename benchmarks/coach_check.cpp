// How good the coach's odds are, measured on whole games (a report, not a test; slow):
//
//   jinro_coach_check calibration [DECISIONS] [THREADS]
//     Plays games with the heuristic from seed 1790000000 on, takes the coach's odds of
//     every choice the heuristic made (at least DECISIONS of them, default 5000), and
//     prints, by tenths of the predicted chance, the mean prediction beside the share of
//     those decisions whose game the wolves won, with the Brier score.
//
//   jinro_coach_check forecasts [VOTES] [THREADS]
//     At the first wolf's vote of each day of the heuristic's games, the chance the coach
//     gives the seat voted for of being hanged, against how often it was, by tenths; and the
//     votes it expects each living seat to get from the computer seats, against those cast.
//
//   jinro_coach_check strength [SEEDS] [THREADS]
//     Plays the coach and the heuristic on the same seeds (default 2000) and prints both
//     win rates with their 95% intervals, and the paired difference with its interval.
//
// A last argument `bluff` measures the village with lies instead: the heuristic's choices
// include its answers on the morning screen, and strength adds the naive lie (the bluff
// policy) against the seasoned village and against the first village's rules.
#include <atomic>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "coach/forecast.hpp"
#include "coach/odds.hpp"
#include "coach/policy.hpp"
#include "coach/simulate.hpp"
#include "engine/keys.hpp"
#include "engine/step.hpp"

namespace {

constexpr std::uint32_t FIRST_SEED = 1790000000u;

int rules = RULES_STANDARD;  // RULES_BLUFF with the argument `bluff`

// Runs each(k) for k in [0, count) on `threads` threads.
template <typename Each>
void parallel(int count, int threads, Each each) {
    std::atomic<int> next{0};
    std::vector<std::thread> pool;
    pool.reserve(static_cast<std::size_t>(threads));
    for (int t = 0; t < threads; ++t) {
        pool.emplace_back([&] {
            for (int k; (k = next.fetch_add(1)) < count;) each(k);
        });
    }
    for (std::thread& thread : pool) thread.join();
}

struct Decision {
    double predicted;
    bool won;
};

// The coach's odds of each choice the heuristic makes in the game of this seed.
std::vector<Decision> heuristic_decisions(std::uint32_t seed) {
    const auto game = std::make_unique<Game>();
    start_game(*game, seed, rules);
    Dice dice{0x6A696E726Full ^ (static_cast<std::uint64_t>(seed) << 17)};
    std::vector<Decision> made;
    while (game->winner == NONE && game->day < DAY_SLOTS) {
        const int kind = screen_kind(*game);
        if (kind == SCREEN_ANY_KEY) {
            step_game(*game, KEY_ON);
            continue;
        }
        const bool seat_choice = kind == SCREEN_CHOOSE_ATTACK || kind == SCREEN_CHOOSE_VOTE;
        const Answer a = seat_choice
                             ? Answer{policy_choice(*game, POLICY_HEURISTIC, dice), KEY_CHOOSE}
                             : policy_answer(*game, POLICY_HEURISTIC, dice);
        const Odds odds = odds_of(public_record_of(*game), COACH_FULL);
        const int c = choice_index(odds, choice_code(a.seat, a.key));
        if (c != NONE)
            made.push_back({estimate(odds.choice[c].wins, odds.choice[c].played).win, false});
        answer(*game, a);
    }
    for (Decision& d : made) d.won = game->winner == WINNER_WOLVES;
    return made;
}

// What games from FIRST_SEED on give (of_game(seed): a vector of them), 64 games at a time
// until there are at least `wanted`; `games` counts the games played.
template <typename OfGame>
auto gather(int wanted, int threads, int& games, OfGame of_game) {
    decltype(of_game(FIRST_SEED)) all;
    std::mutex lock;
    games = 0;
    for (std::uint32_t batch = 0; static_cast<int>(all.size()) < wanted; batch += 64) {
        parallel(64, threads, [&](int k) {
            const auto made = of_game(FIRST_SEED + batch + static_cast<std::uint32_t>(k));
            const std::lock_guard<std::mutex> held(lock);
            all.insert(all.end(), made.begin(), made.end());
        });
        games += 64;
    }
    return all;
}

void calibration(int wanted, int threads) {
    int games = 0;
    const std::vector<Decision> all = gather(wanted, threads, games, heuristic_decisions);
    std::printf("calibration: %zu decisions of the heuristic in %d games (seeds %u to %u)\n",
                all.size(), games, FIRST_SEED, FIRST_SEED + static_cast<std::uint32_t>(games) - 1);
    std::printf("  predicted    decisions  mean predicted  won    difference\n");
    double brier = 0.0;
    for (const Decision& d : all)
        brier += (d.predicted - (d.won ? 1.0 : 0.0)) * (d.predicted - (d.won ? 1.0 : 0.0));
    for (int tenth = 0; tenth < 10; ++tenth) {
        int count = 0;
        double predicted = 0.0;
        int won = 0;
        for (const Decision& d : all) {
            const int bucket = d.predicted >= 1.0 ? 9 : static_cast<int>(d.predicted * 10.0);
            if (bucket != tenth) continue;
            count += 1;
            predicted += d.predicted;
            won += d.won ? 1 : 0;
        }
        if (count == 0) {
            std::printf("  %3d-%3d%%    %9d\n", tenth * 10, tenth * 10 + 10, 0);
            continue;
        }
        const double mean = predicted / count;
        const double share = static_cast<double>(won) / count;
        std::printf("  %3d-%3d%%    %9d  %13.1f%%  %5.1f%%  %+6.1f%s\n", tenth * 10,
                    tenth * 10 + 10, count, 100.0 * mean, 100.0 * share, 100.0 * (share - mean),
                    count >= 200 && std::fabs(share - mean) > 0.04 ? "  OVER 4 points" : "");
    }
    std::printf("  Brier score %.4f (always predicting the mean outcome: %.4f)\n",
                brier / static_cast<double>(all.size()), [&] {
                    double won = 0.0;
                    for (const Decision& d : all) won += d.won ? 1.0 : 0.0;
                    const double p = won / static_cast<double>(all.size());
                    return p * (1.0 - p);
                }());
}

struct VoteForecast {
    int seat;       // voted for
    double hanged;  // the chance given the seat voted for
    bool was;       // it was hanged
    double expected[SEAT_COUNT];
    int cast[SEAT_COUNT];
    bool living[SEAT_COUNT];
};

std::vector<VoteForecast> vote_forecasts(std::uint32_t seed) {
    const auto game = std::make_unique<Game>();
    start_game(*game, seed, rules);
    Dice dice{0x6A696E726Full ^ (static_cast<std::uint64_t>(seed) << 17)};
    std::vector<VoteForecast> made;
    std::vector<int> days;
    const auto beliefs = std::make_unique<Beliefs>();
    while (game->winner == NONE) {
        const int kind = screen_kind(*game);
        if (kind != SCREEN_CHOOSE_ATTACK && kind != SCREEN_CHOOSE_VOTE) {
            answer(*game, policy_answer(*game, POLICY_HEURISTIC, dice));
            continue;
        }
        const int seat = policy_choice(*game, POLICY_HEURISTIC, dice);
        if (kind == SCREEN_CHOOSE_VOTE && game->voter_index == 0) {
            const PublicRecord r = public_record_of(*game);
            const Odds odds = odds_of(r, COACH_FULL, nullptr, seat);
            build_beliefs(r, *beliefs);
            const Forecast f = forecast_of(r, *beliefs);
            VoteForecast v{};
            v.seat = seat;
            for (int c = 0; c < odds.count; ++c) {
                if (odds.choice[c].seat == seat)
                    v.hanged = static_cast<double>(odds.choice[c].hanged) / odds.choice[c].played;
            }
            v.was = false;
            for (int s = 0; s < SEAT_COUNT; ++s) {
                v.expected[s] = f.votes[s];
                v.living[s] = game->players[s].alive == 1;
            }
            made.push_back(v);
            days.push_back(game->day);
        }
        choose(*game, seat);
    }
    for (std::size_t k = 0; k < made.size(); ++k) {
        const int day = days[k];
        made[k].was = game->hanged_on[day] == made[k].seat;
        for (int voter = 0; voter < SEAT_COUNT; ++voter) {
            const int vote = game->votes[voter][day];
            if (game->players[voter].role != ROLE_WOLF && is_seat(vote)) made[k].cast[vote] += 1;
        }
    }
    return made;
}

void forecasts(int wanted, int threads) {
    int games = 0;
    const std::vector<VoteForecast> all = gather(wanted, threads, games, vote_forecasts);
    std::printf("forecasts: %zu first votes of a day of the heuristic in %d games\n", all.size(),
                games);
    std::printf("  chance of being hanged  votes  mean predicted  hanged  difference\n");
    for (int tenth = 0; tenth < 10; ++tenth) {
        int count = 0;
        int was = 0;
        double predicted = 0.0;
        for (const VoteForecast& v : all) {
            if (std::min(9, static_cast<int>(v.hanged * 10.0)) != tenth) continue;
            count += 1;
            predicted += v.hanged;
            was += v.was ? 1 : 0;
        }
        if (count == 0) continue;
        const double mean = predicted / count;
        const double share = static_cast<double>(was) / count;
        std::printf("  %3d-%3d%%               %6d  %13.1f%%  %5.1f%%  %+6.1f%s\n", tenth * 10,
                    tenth * 10 + 10, count, 100.0 * mean, 100.0 * share, 100.0 * (share - mean),
                    count >= 100 && std::fabs(share - mean) > 0.05 ? "  OVER 5 points" : "");
    }
    std::printf("  votes expected         seats  mean expected  mean cast\n");
    for (int bin = 0; bin < 8; ++bin) {
        int count = 0;
        double expected = 0.0;
        double cast = 0.0;
        for (const VoteForecast& v : all) {
            for (int s = 0; s < SEAT_COUNT; ++s) {
                if (!v.living[s] || std::min(7, static_cast<int>(v.expected[s])) != bin) continue;
                count += 1;
                expected += v.expected[s];
                cast += v.cast[s];
            }
        }
        if (count > 0) {
            std::printf("  %d-%d%s                  %6d  %13.2f  %9.2f\n", bin, bin + 1,
                        bin == 7 ? "+" : " ", count, expected / count, cast / count);
        }
    }
}

void print_rate(const char* what, int won, int seeds) {
    const Estimate e = estimate(won, seeds);
    std::printf("  %-34s %5.1f%% (95%% interval %.1f%% to %.1f%%)\n", what, 100.0 * e.win,
                100.0 * e.low, 100.0 * e.high);
}

// The naive lie against the seasoned village, and against the first village's rules.
void bluff_strength(int seeds, int threads) {
    std::vector<int> seasoned(static_cast<std::size_t>(seeds));
    std::vector<int> plain(static_cast<std::size_t>(seeds));
    parallel(seeds, threads, [&](int k) {
        const std::uint32_t seed = FIRST_SEED + static_cast<std::uint32_t>(k);
        const auto at = static_cast<std::size_t>(k);
        seasoned[at] = simulate_game(seed, POLICY_BLUFF, RULES_BLUFF).wolves_won ? 1 : 0;
        plain[at] = simulate_game(seed, POLICY_BLUFF, RULES_LIES_PLAIN_VILLAGE).wolves_won ? 1 : 0;
    });
    int s = 0;
    int p = 0;
    for (int k = 0; k < seeds; ++k) {
        s += seasoned[static_cast<std::size_t>(k)];
        p += plain[static_cast<std::size_t>(k)];
    }
    print_rate("bluff against the seasoned village", s, seeds);
    print_rate("bluff against the first village", p, seeds);
}

void strength(int seeds, int threads) {
    std::vector<int> coach(static_cast<std::size_t>(seeds));
    std::vector<int> heuristic(static_cast<std::size_t>(seeds));
    parallel(seeds, threads, [&](int k) {
        const std::uint32_t seed = FIRST_SEED + static_cast<std::uint32_t>(k);
        coach[static_cast<std::size_t>(k)] =
            simulate_game(seed, POLICY_COACH, rules).wolves_won ? 1 : 0;
        heuristic[static_cast<std::size_t>(k)] =
            simulate_game(seed, POLICY_HEURISTIC, rules).wolves_won ? 1 : 0;
    });
    int c = 0;
    int h = 0;
    double sum = 0.0;
    double squares = 0.0;
    for (int k = 0; k < seeds; ++k) {
        c += coach[static_cast<std::size_t>(k)];
        h += heuristic[static_cast<std::size_t>(k)];
        const double d =
            coach[static_cast<std::size_t>(k)] - heuristic[static_cast<std::size_t>(k)];
        sum += d;
        squares += d * d;
    }
    const double mean = sum / seeds;
    const double spread = std::sqrt((squares / seeds - mean * mean) / (seeds - 1));
    const Estimate ce = estimate(c, seeds);
    const Estimate he = estimate(h, seeds);
    std::printf("strength on seeds %u to %u%s:\n", FIRST_SEED,
                FIRST_SEED + static_cast<std::uint32_t>(seeds) - 1,
                rules == RULES_BLUFF ? ", the village with lies" : "");
    std::printf("  coach      %5.1f%% (95%% interval %.1f%% to %.1f%%)\n", 100.0 * ce.win,
                100.0 * ce.low, 100.0 * ce.high);
    std::printf("  heuristic  %5.1f%% (95%% interval %.1f%% to %.1f%%)\n", 100.0 * he.win,
                100.0 * he.low, 100.0 * he.high);
    std::printf("  paired difference %+.1f points (95%% interval %+.1f to %+.1f)%s\n", 100.0 * mean,
                100.0 * (mean - 1.96 * spread), 100.0 * (mean + 1.96 * spread),
                mean - 1.96 * spread > 0.0 ? ": the coach wins more" : ": NOT shown to win more");
    if (rules == RULES_BLUFF) bluff_strength(seeds, threads);
}

}  // namespace

int main(int argc, char** argv) {
    const char* mode = argc > 1 ? argv[1] : "";
    const int count = argc > 2 ? std::atoi(argv[2]) : 0;
    const int threads =
        argc > 3 ? std::atoi(argv[3]) : static_cast<int>(std::thread::hardware_concurrency());
    if (argc > 4 && std::strcmp(argv[4], "bluff") == 0) rules = RULES_BLUFF;
    if (std::strcmp(mode, "calibration") == 0) {
        calibration(count > 0 ? count : 5000, threads > 0 ? threads : 1);
    } else if (std::strcmp(mode, "forecasts") == 0) {
        forecasts(count > 0 ? count : 3000, threads > 0 ? threads : 1);
    } else if (std::strcmp(mode, "strength") == 0) {
        strength(count > 1 ? count : 2000, threads > 0 ? threads : 1);
    } else {
        std::fprintf(stderr, "usage: %s calibration|forecasts|strength [COUNT] [THREADS] [bluff]\n",
                     argv[0]);
        return 2;
    }
    return 0;
}
