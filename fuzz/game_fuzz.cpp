// Fuzzing the game with arbitrary key presses: the first four bytes seed the random
// source, every further byte is one key. Each key is played as the terminal plays it (the
// key, then the automatic work and the screen of cells), and after the first screen and
// after every key the records must keep their invariants.
//
// At exit it prints how many keys were played, so that scripts/fuzz can report keys per
// second rather than inputs.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "draw/render.hpp"
#include "engine/step.hpp"
#include "model/invariants.hpp"

namespace {

std::uint64_t keys_played = 0;

void check(const Game& game) {
    if (const char* broken = broken_invariant(game)) {
        std::fprintf(stderr, "invariant broken: %s\n", broken);
        std::abort();
    }
}

void report_keys() {
    std::fprintf(stderr, "keys played: %llu\n", static_cast<unsigned long long>(keys_played));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 4) return 0;
    static Game* game = new Game{};
    static Screen screen = {};
    static const int reported = std::atexit(report_keys);
    (void)reported;
    // Every input starts from a record as fresh as creation leaves it (start_game resets
    // it), so that a crash found on one input reproduces on that input alone. The
    // language of the drawing is the last byte's lowest bit, and its next bit puts the
    // village with lies on the table.
    const int language = data[size - 1] & 1;
    const int rules = (data[size - 1] & 2) != 0 ? RULES_BLUFF : RULES_STANDARD;
    start_game(*game,
               static_cast<std::uint32_t>(data[0] | data[1] << 8 | data[2] << 16 |
                                          static_cast<std::uint32_t>(data[3]) << 24),
               rules);
    render(*game, language, screen);
    check(*game);
    for (std::size_t i = 4; i < size; ++i) {
        step_game(*game, data[i]);
        render(*game, language, screen);
        check(*game);
    }
    keys_played += size - 4;
    return 0;
}
