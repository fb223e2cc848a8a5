// Fuzzing what the program parses from the terminal: the key decoder with its escape
// sequences, cursor-position replies and characters of every codeset. The first byte
// chooses the codeset and where the input is split into reads; decoding it in those
// pieces must give exactly what decoding it whole gives, and every key and reply must be
// well formed.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "platform/console.hpp"
#include "platform/key_decoder.hpp"

static bool operator==(const DecodedInput& a, const DecodedInput& b) {
    return a.kind == b.kind && a.key == b.key && a.row == b.row && a.column == b.column;
}

namespace {

void check(const DecodedInput& in) {
    const bool key = in.kind == INPUT_KEY && in.key >= 0 && in.key <= 0xFF;
    const bool reply = in.kind == INPUT_POSITION && in.row >= 0 && in.column >= 0;
    if (!key && !reply) std::abort();
}

// Decodes data in pieces of `step` bytes (the last read ends the input).
std::vector<DecodedInput> decode(const std::uint8_t* data, std::size_t size, std::size_t step,
                                 int codeset) {
    std::vector<DecodedInput> events;
    std::vector<unsigned char> pending;
    for (std::size_t at = 0; at < size || !pending.empty();) {
        const std::size_t piece = at < size ? (size - at < step ? size - at : step) : 0;
        pending.insert(pending.end(), data + at, data + at + piece);
        at += piece;
        const bool more = at < size;
        DecodedInput in = {};
        std::size_t taken = 0;
        while ((taken = decode_input(pending.data(), pending.size(), more, codeset, in)) > 0) {
            if (taken > pending.size()) std::abort();
            check(in);
            events.push_back(in);
            pending.erase(pending.begin(), pending.begin() + static_cast<std::ptrdiff_t>(taken));
        }
        if (!more && !pending.empty()) std::abort();  // at the end everything is taken
    }
    return events;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1) return 0;
    const std::size_t step = data[0] % 16 + 1;
    const int codeset = (data[0] / 16) % (CODESET_SINGLE_BYTE + 1);
    const std::vector<DecodedInput> whole = decode(data + 1, size - 1, size, codeset);
    const std::vector<DecodedInput> split = decode(data + 1, size - 1, step, codeset);
    if (!(whole == split)) std::abort();
    return 0;
}
