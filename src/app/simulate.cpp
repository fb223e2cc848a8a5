#include "app/simulate.hpp"

#include <chrono>
#include <cmath>
#include <condition_variable>
#include <mutex>
#include <system_error>
#include <thread>
#include <vector>

#include "coach/odds.hpp"
#include "coach/policy.hpp"
#include "coach/simulate.hpp"
#include "model/texts.hpp"

namespace {

constexpr long GAMES_PER_TASK = 64;
constexpr auto PROGRESS_EVERY = std::chrono::milliseconds(500);

// What the threads share: the next task to take and the totals of the games finished.
// The totals are whole numbers: they add up the same in any order, on any threads.
struct Shared {
    std::mutex lock;
    std::condition_variable changed;
    long next_task;
    long done;
    long won;
    long days;
    int running;
};

double seconds_since(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

}  // namespace

Simulation simulate(const Options& options, const std::atomic<bool>& stop,
                    const std::function<void(const Simulation&)>& progress) {
    const std::uint32_t first = first_seed_of(options);
    const long games = options.games;
    const long tasks = (games + GAMES_PER_TASK - 1) / GAMES_PER_TASK;
    Simulation sim{games, 0, 0, 0, 0.0, threads_to_use(options), false};
    Shared shared{};
    const auto work = [&] {
        for (;;) {
            long task = 0;
            {
                const std::lock_guard<std::mutex> held(shared.lock);
                task = shared.next_task++;
            }
            if (task >= tasks || stop) break;
            long won = 0;
            long days = 0;
            long done = 0;
            for (long k = task * GAMES_PER_TASK; k < games && k < (task + 1) * GAMES_PER_TASK;
                 ++k) {
                if (stop) break;
                const Played played = simulate_game(first + static_cast<std::uint32_t>(k),
                                                    options.policy, options.rules);
                won += played.wolves_won ? 1 : 0;
                days += played.last_day;
                done += 1;
            }
            const std::lock_guard<std::mutex> held(shared.lock);
            shared.done += done;
            shared.won += won;
            shared.days += days;
        }
        const std::lock_guard<std::mutex> held(shared.lock);
        shared.running -= 1;
        shared.changed.notify_all();
    };
    const auto start = std::chrono::steady_clock::now();
    std::vector<std::thread> pool;
    try {
        for (int t = 0; t < sim.threads; ++t) {
            const std::lock_guard<std::mutex> held(shared.lock);
            pool.emplace_back(work);
            shared.running += 1;
        }
    } catch (const std::system_error&) {
        // No more threads to be had: those there are play every game.
    }
    sim.threads = static_cast<int>(pool.size());
    if (pool.empty()) {  // not even one: the games are played here, without progress
        sim.threads = 1;
        shared.running = 1;
        work();
    }
    std::unique_lock<std::mutex> held(shared.lock);
    while (!shared.changed.wait_for(held, PROGRESS_EVERY, [&] { return shared.running == 0; })) {
        sim.done = shared.done;
        sim.won = shared.won;
        sim.days = shared.days;
        sim.seconds = seconds_since(start);
        held.unlock();
        progress(sim);
        held.lock();
    }
    held.unlock();
    for (std::thread& thread : pool) thread.join();
    sim.done = shared.done;
    sim.won = shared.won;
    sim.days = shared.days;
    sim.seconds = seconds_since(start);
    sim.partial = sim.done < games;
    return sim;
}

std::string simulation_report(const Options& options, const Simulation& sim) {
    const long n = sim.done;
    const Estimate e = estimate(static_cast<int>(sim.won), static_cast<int>(n));
    const double mean_days = n > 0 ? static_cast<double>(sim.days) / static_cast<double>(n) : 0.0;
    const double speed = sim.seconds > 0.0 ? static_cast<double>(n) / sim.seconds : 0.0;
    const Texts& w = texts_of(options.language);
    const std::uint32_t first = first_seed_of(options);
    if (options.json) {
        return formatted(
                   "{\"games\": %ld, \"policy\": \"%s\", \"rules\": \"%s\", \"first_seed\": %u, "
                   "\"wolves_won\": %ld, ",
                   n, texts_of(LANGUAGE_ENGLISH).simulate_policies[options.policy],
                   options.rules == RULES_BLUFF ? "bluff" : "standard", first, sim.won) +
               formatted("\"win_rate\": %.4f, \"low\": %.4f, \"high\": %.4f, \"mean_days\": %.4f, ",
                         e.win, e.low, e.high, mean_days) +
               formatted("\"games_per_second\": %.0f%s}\n", speed,
                         sim.partial ? ", \"partial\": true" : "");
    }
    std::string out = formatted(w.simulate_heading, w.simulate_policies[options.policy], n, first);
    if (options.rules == RULES_BLUFF) out += w.simulate_bluff;
    if (sim.partial) out += formatted(w.simulate_partial, sim.games);
    return out + "\n  " +
           formatted(w.simulate_won, sim.won, 100.0 * e.win, 100.0 * e.low, 100.0 * e.high) +
           "\n  " + formatted(w.simulate_days, mean_days) + "\n  " +
           formatted(w.simulate_speed, speed, sim.threads) + "\n";
}

std::string progress_line(const Options& options, const Simulation& sim) {
    const Texts& w = texts_of(options.language);
    const double speed = sim.seconds > 0.0 ? static_cast<double>(sim.done) / sim.seconds : 0.0;
    const double rate =
        sim.done > 0 ? 100.0 * static_cast<double>(sim.won) / static_cast<double>(sim.done) : 0.0;
    const long left =
        speed > 0.0 ? std::lround(static_cast<double>(sim.games - sim.done) / speed) : -1;
    return formatted(w.simulate_progress, sim.done, sim.games, rate, speed, left);
}
