// How good the coach's odds are, measured on whole games (a report, not a test; slow):
//
//   jinro_coach_check calibration [DECISIONS] [THREADS]
//     Plays games with the heuristic from seed 1790000000 on, takes the coach's odds of
//     every choice the heuristic made (at least DECISIONS of them, default 5000), and
//     prints, by tenths of the predicted chance, the mean prediction beside the share of
//     those decisions whose game the wolves won, with the Brier score.
//
//   jinro_coach_check strength [SEEDS] [THREADS]
//     Plays the coach and the heuristic on the same seeds (default 2000) and prints both
//     win rates with their 95% intervals, and the paired difference with its interval.
#include <atomic>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "coach/odds.hpp"
#include "coach/policy.hpp"
#include "coach/simulate.hpp"
#include "engine/keys.hpp"
#include "engine/step.hpp"

namespace {

constexpr std::uint32_t FIRST_SEED = 1790000000u;

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
    start_game(*game, seed);
    Dice dice{0x6A696E726Full ^ (static_cast<std::uint64_t>(seed) << 17)};
    std::vector<Decision> made;
    while (game->winner == NONE) {
        const int kind = screen_kind(*game);
        if (kind != SCREEN_CHOOSE_ATTACK && kind != SCREEN_CHOOSE_VOTE) {
            step_game(*game, 'x');
            continue;
        }
        const int seat = policy_choice(*game, POLICY_HEURISTIC, dice);
        const Odds odds = odds_of(public_record_of(*game), COACH_FULL);
        for (int c = 0; c < odds.count; ++c) {
            if (odds.choice[c].seat != seat) continue;
            made.push_back({estimate(odds.choice[c].wins, odds.choice[c].played).win, false});
        }
        choose(*game, seat);
    }
    for (Decision& d : made) d.won = game->winner == WINNER_WOLVES;
    return made;
}

void calibration(int wanted, int threads) {
    std::vector<Decision> all;
    std::mutex lock;
    int games = 0;
    for (std::uint32_t batch = 0; static_cast<int>(all.size()) < wanted; batch += 64) {
        parallel(64, threads, [&](int k) {
            const std::vector<Decision> made =
                heuristic_decisions(FIRST_SEED + batch + static_cast<std::uint32_t>(k));
            const std::lock_guard<std::mutex> held(lock);
            all.insert(all.end(), made.begin(), made.end());
        });
        games += 64;
    }
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

void strength(int seeds, int threads) {
    std::vector<int> coach(static_cast<std::size_t>(seeds));
    std::vector<int> heuristic(static_cast<std::size_t>(seeds));
    parallel(seeds, threads, [&](int k) {
        const std::uint32_t seed = FIRST_SEED + static_cast<std::uint32_t>(k);
        coach[static_cast<std::size_t>(k)] = simulate_game(seed, POLICY_COACH).wolves_won ? 1 : 0;
        heuristic[static_cast<std::size_t>(k)] =
            simulate_game(seed, POLICY_HEURISTIC).wolves_won ? 1 : 0;
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
    std::printf("strength on seeds %u to %u:\n", FIRST_SEED,
                FIRST_SEED + static_cast<std::uint32_t>(seeds) - 1);
    std::printf("  coach      %5.1f%% (95%% interval %.1f%% to %.1f%%)\n", 100.0 * ce.win,
                100.0 * ce.low, 100.0 * ce.high);
    std::printf("  heuristic  %5.1f%% (95%% interval %.1f%% to %.1f%%)\n", 100.0 * he.win,
                100.0 * he.low, 100.0 * he.high);
    std::printf("  paired difference %+.1f points (95%% interval %+.1f to %+.1f)%s\n", 100.0 * mean,
                100.0 * (mean - 1.96 * spread), 100.0 * (mean + 1.96 * spread),
                mean - 1.96 * spread > 0.0 ? ": the coach wins more" : ": NOT shown to win more");
}

}  // namespace

int main(int argc, char** argv) {
    const char* mode = argc > 1 ? argv[1] : "";
    const int count = argc > 2 ? std::atoi(argv[2]) : 0;
    const int threads =
        argc > 3 ? std::atoi(argv[3]) : static_cast<int>(std::thread::hardware_concurrency());
    if (std::strcmp(mode, "calibration") == 0) {
        calibration(count > 0 ? count : 5000, threads > 0 ? threads : 1);
    } else if (std::strcmp(mode, "strength") == 0) {
        strength(count > 1 ? count : 2000, threads > 0 ? threads : 1);
    } else {
        std::fprintf(stderr, "usage: %s calibration|strength [COUNT] [THREADS]\n", argv[0]);
        return 2;
    }
    return 0;
}
