// How much reaches the terminal, how long one key takes, and how fast a game steps.
//
// Bytes: the first frame, a cursor move, and a phase change, as the POSIX back end would
// send them (UTF-8, one-column box lines). Time: one key as the terminal plays it = the
// step, the screen drawn, the frame encoded and written (to /dev/null), over whole games
// of random keys; per-key CPU time median and 99th percentile. Steps: keys per second of
// the game stepped alone, and stepped and drawn, over the same games.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <ctime>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "draw/render.hpp"
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
    play_key(b.game, static_cast<std::uint8_t>(key), LANGUAGE_JAPANESE, b.screen);
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

// A random key of a player who plays on: r after a win.
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

}  // namespace

BENCHMARK_MAIN();
