// Fuzzing the game with arbitrary key presses: the first four bytes seed the random
// source, every further byte is one key. After every pass (update, render on the screen
// of cells, the key) the records must keep their invariants.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "console/console.hpp"
#include "console/render.hpp"
#include "engine/keys.hpp"
#include "engine/phases.hpp"
#include "model/invariants.hpp"
#include "model/new_game.hpp"
#include "model/random.hpp"

namespace {

void check(const Game& game) {
    if (const char* broken = broken_invariant(game)) {
        std::fprintf(stderr, "invariant broken: %s\n", broken);
        std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 4) return 0;
    static Game* game = create_game();
    static Console console = {};
    // Every input starts from a record as fresh as creation leaves it, so that a crash
    // found on one input reproduces on that input alone.
    reset_game(*game);
    console = Console{};
    seed_random(static_cast<std::uint32_t>(data[0] | data[1] << 8 | data[2] << 16 |
                                           static_cast<std::uint32_t>(data[3]) << 24));
    new_game(*game);
    game->console = &console;
    for (std::size_t i = 4; i < size; ++i) {
        update(*game);
        render(*game);
        check(*game);
        game->key = data[i];
        handle_key(*game);
        check(*game);
    }
    return 0;
}
