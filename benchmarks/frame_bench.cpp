// How much reaches the terminal and how long one pass of the main loop takes.
//
// Bytes: the first frame, a cursor move, and a phase change, as the POSIX back end would
// send them (UTF-8, one-column box lines). Time: one pass = update + render + the frame
// encoded and written (to /dev/null), over whole games of random keys; per-pass CPU time
// median and 99th percentile.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <ctime>
#include <random>
#include <string>
#include <vector>

#include "console/console.hpp"
#include "console/render.hpp"
#include "engine/keys.hpp"
#include "engine/phases.hpp"
#include "model/new_game.hpp"
#include "model/random.hpp"
#include "platform/frame.hpp"
#include "platform/terminal_text.hpp"

namespace {

struct Bench {
    Game* game;
    Console console;
    TerminalView view;
};

void start(Bench& b, std::uint32_t seed) {
    seed_random(seed);
    b.game = create_game();
    new_game(*b.game);
    b.game->console = &b.console;
    b.view = make_terminal_view(OUTPUT_UTF8, 1);
}

std::size_t frame_bytes(Bench& b) {
    std::string out;
    append_frame(b.view, b.console.screen, out);
    return out.size();
}

void press(Bench& b, char key) {
    b.game->key = static_cast<std::uint8_t>(key);
    handle_key(*b.game);
    update(*b.game);
    render(*b.game);
}

void BM_BytesSent(benchmark::State& state) {
    std::size_t first = 0;
    std::size_t move = 0;
    std::size_t phase_change = 0;
    for (auto _ : state) {
        Bench b{};
        start(b, 1767225600);
        update(*b.game);
        render(*b.game);
        first = frame_bytes(b);
        press(b, 'l');
        move = frame_bytes(b);
        while (b.game->players[b.game->cursor].role == ROLE_WOLF) press(b, 'l');
        press(b, 'z');  // the attack: night prompt to morning, a card turns grey
        phase_change = frame_bytes(b);
        delete b.game;
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

void BM_Pass(benchmark::State& state) {
    const int sink = open("/dev/null", O_WRONLY);
    Bench b{};
    start(b, 1);
    std::mt19937 keys(1);
    const char choices[] = "ijklzzz x";
    std::vector<double> samples;
    std::string out;
    for (auto _ : state) {
        const double before = thread_cpu_ns();
        update(*b.game);
        render(*b.game);
        out.clear();
        append_frame(b.view, b.console.screen, out);
        benchmark::DoNotOptimize(write(sink, out.data(), out.size()));
        const char key = b.game->winner == NONE ? choices[keys() % (sizeof choices - 1)] : 'r';
        b.game->key = static_cast<std::uint8_t>(key);
        handle_key(*b.game);
        samples.push_back(thread_cpu_ns() - before);
    }
    std::sort(samples.begin(), samples.end());
    state.counters["median_us"] = samples[samples.size() / 2] / 1000.0;
    state.counters["p99_us"] = samples[samples.size() * 99 / 100] / 1000.0;
    delete b.game;
    close(sink);
}
BENCHMARK(BM_Pass)->Iterations(200000);

}  // namespace

BENCHMARK_MAIN();
