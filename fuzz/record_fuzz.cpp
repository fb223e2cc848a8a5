// Fuzzing the record parser (files for --replay and --story, keys= of the page's links):
// any bytes are either refused with a reason or give a seed and keys spelled as typed
// (ijklzrsmbw, their capitals, and ".") and a game under the record's rules that plays
// them (the first keys of a long record) keeping its invariants. The same bytes as a seed
// (--seed, ?seed=) and as a link's keys (?keys=), which the page and the command line
// share: taken exactly when they are of their form.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "engine/step.hpp"
#include "model/invariants.hpp"
#include "model/record.hpp"

namespace {

constexpr std::size_t KEYS_PLAYED = 2000;

void check(bool holds, const char* what) {
    if (holds) return;
    std::fprintf(stderr, "record: %s\n", what);
    std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static Game* game = new Game{};
    const auto* text = reinterpret_cast<const char*>(data);
    const std::string as_text(text, size);
    std::uint32_t seed = 0;
    const bool digits = size >= 1 && size <= SEED_DIGITS &&
                        as_text.find_first_not_of("0123456789") == std::string::npos;
    const bool seed_taken =
        std::strlen(as_text.c_str()) == size && parse_seed(as_text.c_str(), seed);
    check(seed_taken == (digits && std::stoull(as_text) <= 0xFFFFFFFFull),
          "a seed taken or refused wrongly");
    check(!seed_taken || seed == std::stoull(as_text), "a seed read wrongly");
    const bool keys_form = size <= RECORD_MAX_KEYS &&
                           as_text.find_first_not_of("ijklzrsmbwIJKLZRSMBW.") == std::string::npos;
    check(link_keys_valid(text, size) == keys_form, "a link's keys taken or refused wrongly");
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
    start_game(*game, record.seed, record.rules);
    for (std::size_t k = 0; k < record.keys.size() && k < KEYS_PLAYED; ++k) {
        step_game(*game, static_cast<std::uint8_t>(record.keys[k]));
        check(broken_invariant(*game) == nullptr, broken_invariant(*game));
    }
    return 0;
}
