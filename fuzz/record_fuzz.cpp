// Fuzzing the record parser (files for --replay and --story, keys= of the page's links):
// any bytes are either refused with a reason or give a seed and keys spelled ijklzr. and
// a game that plays them (the first keys of a long record) keeping its invariants.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "cli/record.hpp"
#include "console/console.hpp"
#include "engine/pass.hpp"
#include "model/invariants.hpp"
#include "model/new_game.hpp"
#include "model/random.hpp"

namespace {

constexpr std::size_t KEYS_PLAYED = 2000;

void check(bool holds, const char* what) {
    if (holds) return;
    std::fprintf(stderr, "record: %s\n", what);
    std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static Game* game = create_game();
    static Console console = {};
    Record record{};
    const int result = parse_record(reinterpret_cast<const char*>(data), size, record);
    check(result >= RECORD_OK && result <= RECORD_TOO_LARGE, "an unknown result");
    if (result != RECORD_OK) return 0;
    check(record.keys.size() <= RECORD_MAX_KEYS, "too many keys taken");
    for (char key : record.keys) check(key == '.' || spelled_key(key) == key, "a key not spelled");
    std::string again;
    check(parse_keys(record.keys.data(), record.keys.size(), again) == RECORD_OK &&
              again == record.keys,
          "the keys do not read back");
    reset_game(*game);
    console = Console{};
    seed_random(record.seed);
    new_game(*game);
    game->console = &console;
    next_screen(*game);
    for (std::size_t k = 0; k < record.keys.size() && k < KEYS_PLAYED; ++k) {
        play_key(*game, static_cast<std::uint8_t>(record.keys[k]));
        check(broken_invariant(*game) == nullptr, broken_invariant(*game));
    }
    return 0;
}
