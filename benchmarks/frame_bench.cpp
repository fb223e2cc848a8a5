// How much reaches the terminal, how long one key takes, how fast a game steps, and how
// fast the coach works.
//
// Bytes: the first frame, a cursor move, and a phase change, as the POSIX back end would
// send them (UTF-8, one-column box lines). Time: one key as the terminal plays it = the
// step, the screen drawn, the frame encoded and written (to /dev/null), over whole games
// of random keys; per-key CPU time median and 99th percentile. Steps: keys per second of
// the game stepped alone, and stepped and drawn, over the same games. Games: whole games
// of the heuristic a second on one core, simulated (choices made directly, nothing drawn)
// and played key by key, every screen drawn. Coach: the odds of
// every choice of a game (the best two within 3 points at 95%), and a whole game's review.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <ctime>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "coach/odds.hpp"
#include "coach/policy.hpp"
#include "coach/review.hpp"
#include "coach/simulate.hpp"
#include "draw/render.hpp"
#include "engine/keys.hpp"
#include "engine/step.hpp"
#include "platform/frame.hpp"
#include "platform/terminal_text.hpp"

namespace {

struct Bench {
    Game game;
    Screen screen;
    TerminalView view;
};

std::unique_ptr<Bench> start(std::uint32_t seed) {
    auto b = std::make_unique<Bench>();
    start_game(b->game, seed);
    render(b->game, LANGUAGE_JAPANESE, b->screen);
    b->view = make_terminal_view(OUTPUT_UTF8, 1);
    return b;
}

std::size_t frame_bytes(Bench& b) {
    std::string out;
    append_frame(b.view, b.screen, out);
    return out.size();
}

void press(Bench& b, char key) {
    step_game(b.game, static_cast<std::uint8_t>(key));
    render(b.game, LANGUAGE_JAPANESE, b.screen);
}

void BM_BytesSent(benchmark::State& state) {
    std::size_t first = 0;
    std::size_t move = 0;
    std::size_t phase_change = 0;
    for (auto _ : state) {
        const auto b = start(1767225600);
        first = frame_bytes(*b);
        press(*b, 'l');
        move = frame_bytes(*b);
        while (b->game.players[b->game.cursor].role == ROLE_WOLF) press(*b, 'l');
        press(*b, 'z');  // the attack: night prompt to morning, a card turns grey
        phase_change = frame_bytes(*b);
    }
    state.counters["first_frame_bytes"] = static_cast<double>(first);
    state.counters["cursor_move_bytes"] = static_cast<double>(move);
    state.counters["phase_change_bytes"] = static_cast<double>(phase_change);
}
BENCHMARK(BM_BytesSent)->Iterations(1);

double thread_cpu_ns() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) * 1e9 + static_cast<double>(t.tv_nsec);
}

// A random key of a player who plays on: r after a win. The generator advances only
// while the game runs.
// cppcheck-suppress constParameter
char next_key(const Game& game, std::mt19937& keys) {
    static const char choices[] = "ijklzzz x";
    return game.winner == NONE ? choices[keys() % (sizeof choices - 1)] : 'r';
}

void BM_Key(benchmark::State& state) {
    const int sink = open("/dev/null", O_WRONLY);
    const auto b = start(1);
    std::mt19937 keys(1);
    std::vector<double> samples;
    std::string out;
    for (auto _ : state) {
        const double before = thread_cpu_ns();
        press(*b, next_key(b->game, keys));
        out.clear();
        append_frame(b->view, b->screen, out);
        benchmark::DoNotOptimize(write(sink, out.data(), out.size()));
        samples.push_back(thread_cpu_ns() - before);
    }
    std::sort(samples.begin(), samples.end());
    state.counters["median_us"] = samples[samples.size() / 2] / 1000.0;
    state.counters["p99_us"] = samples[samples.size() * 99 / 100] / 1000.0;
    close(sink);
}
BENCHMARK(BM_Key)->Iterations(200000);

// Keys per second: the step alone (state.range(0) == 0), or the step and the screen drawn.
void BM_Steps(benchmark::State& state) {
    const bool drawn = state.range(0) != 0;
    const auto b = start(1);
    std::mt19937 keys(1);
    for (auto _ : state) {
        const char key = next_key(b->game, keys);
        if (drawn) {
            press(*b, key);
        } else {
            step_game(b->game, static_cast<std::uint8_t>(key));
        }
        benchmark::DoNotOptimize(b->game.phase);
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()));
    state.SetLabel(drawn ? "step and draw" : "step alone");
}
BENCHMARK(BM_Steps)->Arg(0)->Arg(1);

constexpr std::uint32_t FIRST_SEED = 1790000000u;

void BM_SimulatedGames(benchmark::State& state) {
    std::uint32_t seed = FIRST_SEED;
    for (auto _ : state) benchmark::DoNotOptimize(simulate_game(seed++, POLICY_HEURISTIC));
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()));
    state.SetLabel("games, simulated");
}
BENCHMARK(BM_SimulatedGames);

// The same games as a player plays them: the cursor walked to each choice, every key
// key by key, every screen drawn.
void BM_PlayedGames(benchmark::State& state) {
    std::uint32_t seed = FIRST_SEED;
    auto b = start(seed);
    for (auto _ : state) {
        start_game(b->game, seed);
        Dice dice{0x6A696E726Full ^ (static_cast<std::uint64_t>(seed) << 17)};
        while (b->game.winner == NONE) {
            const int kind = screen_kind(b->game);
            if (kind == SCREEN_CHOOSE_ATTACK || kind == SCREEN_CHOOSE_VOTE) {
                const int seat = policy_choice(b->game, POLICY_HEURISTIC, dice);
                for (char key : keys_to_seat(b->game.cursor, seat) + "z") press(*b, key);
            } else {
                press(*b, 'x');
            }
        }
        ++seed;
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()));
    state.SetLabel("games, every screen drawn");
}
BENCHMARK(BM_PlayedGames);

// The decisions of whole heuristic games, and how the games went.
std::vector<Decision> heuristic_decisions(int games) {
    std::vector<Decision> all;
    for (int k = 0; k < games; ++k) {
        Game game{};
        start_game(game, FIRST_SEED + static_cast<std::uint32_t>(k));
        Dice dice{static_cast<std::uint64_t>(k)};
        while (game.winner == NONE) {
            const int kind = screen_kind(game);
            if (kind == SCREEN_CHOOSE_ATTACK || kind == SCREEN_CHOOSE_VOTE) {
                const int seat = policy_choice(game, POLICY_HEURISTIC, dice);
                all.push_back({0, public_record_of(game), seat});
                choose(game, seat);
            } else {
                step_game(game, KEY_ON);
            }
        }
    }
    return all;
}

void BM_DecisionOdds(benchmark::State& state) {
    const std::vector<Decision> decisions = heuristic_decisions(20);
    std::vector<double> samples;
    std::size_t next = 0;
    for (auto _ : state) {
        const double before = thread_cpu_ns();
        benchmark::DoNotOptimize(odds_of(decisions[next++ % decisions.size()].record, COACH_FULL));
        samples.push_back(thread_cpu_ns() - before);
    }
    std::sort(samples.begin(), samples.end());
    state.counters["median_ms"] = samples[samples.size() / 2] / 1e6;
    state.counters["p90_ms"] = samples[samples.size() * 9 / 10] / 1e6;
    state.counters["max_ms"] = samples.back() / 1e6;
    state.SetLabel("one decision's odds, one core");
}
BENCHMARK(BM_DecisionOdds)->Iterations(100)->Unit(benchmark::kMillisecond);

void BM_Review(benchmark::State& state) {
    const std::vector<Decision> decisions = heuristic_decisions(1);
    for (auto _ : state) {
        for (const Decision& d : decisions) benchmark::DoNotOptimize(odds_of(d.record, COACH_FULL));
    }
    state.counters["choices"] = static_cast<double>(decisions.size());
    state.SetLabel("a whole game's review, one core");
}
BENCHMARK(BM_Review)->Iterations(5)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
