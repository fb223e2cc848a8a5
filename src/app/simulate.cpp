#include "app/simulate.hpp"

#include <atomic>
#include <chrono>
#include <cstdio>
#include <thread>
#include <vector>

#include "coach/odds.hpp"
#include "coach/policy.hpp"
#include "coach/simulate.hpp"
#include "model/texts.hpp"

namespace {

constexpr long GAMES_PER_TASK = 64;
constexpr std::uint32_t FIRST_SEED = 1;  // without --seed

struct Totals {
    long won;
    long days;
};

}  // namespace

int threads_to_use(const Options& options) {
    if (options.threads > 0) return options.threads;
    const unsigned cores = std::thread::hardware_concurrency();
    return cores == 0 ? 1 : static_cast<int>(cores > MOST_THREADS ? MOST_THREADS : cores);
}

std::string simulation_report(const Options& options) {
    const std::uint32_t first = options.seed_source == SEED_GIVEN ? options.seed : FIRST_SEED;
    const long games = options.games;
    const int threads = threads_to_use(options);
    // Tasks of consecutive games, each summed on its own; the sums add up the same in any
    // order, on any number of threads.
    const long tasks = (games + GAMES_PER_TASK - 1) / GAMES_PER_TASK;
    std::vector<Totals> totals(static_cast<std::size_t>(tasks));
    std::atomic<long> next{0};
    const auto start = std::chrono::steady_clock::now();
    const auto work = [&] {
        for (long task; (task = next.fetch_add(1)) < tasks;) {
            Totals t{};
            for (long k = task * GAMES_PER_TASK; k < games && k < (task + 1) * GAMES_PER_TASK;
                 ++k) {
                const Played played =
                    simulate_game(first + static_cast<std::uint32_t>(k), options.policy);
                t.won += played.wolves_won ? 1 : 0;
                t.days += played.last_day;
            }
            totals[static_cast<std::size_t>(task)] = t;
        }
    };
    std::vector<std::thread> pool;
    for (int t = 1; t < threads; ++t) pool.emplace_back(work);
    work();
    for (std::thread& thread : pool) thread.join();
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    Totals all{};
    for (const Totals& t : totals) {
        all.won += t.won;
        all.days += t.days;
    }
    const Estimate e = estimate(static_cast<int>(all.won), static_cast<int>(games));
    const double mean_days = static_cast<double>(all.days) / static_cast<double>(games);
    const double speed = seconds > 0.0 ? static_cast<double>(games) / seconds : 0.0;
    const Texts& w = texts_of(options.language);
    const char* policy = w.simulate_policies[options.policy];
    if (options.json) {
        return formatted(
                   "{\"games\": %ld, \"policy\": \"%s\", \"first_seed\": %u, \"wolves_won\": %ld, ",
                   games, texts_of(LANGUAGE_ENGLISH).simulate_policies[options.policy], first,
                   all.won) +
               formatted("\"win_rate\": %.4f, \"low\": %.4f, \"high\": %.4f, \"mean_days\": %.4f, ",
                         e.win, e.low, e.high, mean_days) +
               formatted("\"games_per_second\": %.0f}\n", speed);
    }
    return formatted(w.simulate_heading, policy, games, first) + "\n  " +
           formatted(w.simulate_won, all.won, 100.0 * e.win, 100.0 * e.low, 100.0 * e.high) +
           "\n  " + formatted(w.simulate_days, mean_days) + "\n  " +
           formatted(w.simulate_speed, speed, threads) + "\n";
}
