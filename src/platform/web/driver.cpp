// The game in a web page, built to WebAssembly. The page owns the terminal (xterm.js) and
// the clock; this side owns the game. There is no loop here: the page starts a game, hands
// over what the player types, and writes each frame it gets back.
//
//   jinro_start(seed)      a new game; returns the first frame
//   jinro_feed(bytes, n)   what the terminal sent (keys, an arrow key's sequence, a paste)
//   jinro_next_frame()     plays the next key typed and returns the frame after it, or
//                          null when every key has been played
//
// Frames are UTF-8 with the terminal's own escape sequences, only what changed, laid out
// for box-drawing characters one column wide, as xterm.js draws them.
#include <emscripten/emscripten.h>

#include <cstdint>
#include <string>

#include "cli/options.hpp"
#include "console/console.hpp"
#include "engine/pass.hpp"
#include "model/new_game.hpp"
#include "model/random.hpp"
#include "platform/frame.hpp"
#include "platform/key_decoder.hpp"
#include "platform/terminal_text.hpp"

namespace {

constexpr char HIDE_CURSOR[] = "\x1b[?25l";

struct WebGame {
    Game* game;
    Console console;
    TerminalView view;
    PendingInput input;
    std::string typed;  // bytes from the page not yet decoded
    std::string frame;
};

WebGame web = {};

const char* encode_frame(bool first) {
    web.frame = first ? HIDE_CURSOR : "";
    append_frame(web.view, web.console.screen, web.frame);
    return web.frame.c_str();
}

// Moves typed bytes into the decoder as room allows; true when a key is waiting.
bool key_waiting() {
    if (web.input.key_count > 0) return true;
    const std::size_t room = input_room(web.input);
    const std::size_t count = web.typed.size() < room ? web.typed.size() : room;
    web.typed.copy(reinterpret_cast<char*>(web.input.bytes) + web.input.length, count);
    web.input.length += count;
    web.typed.erase(0, count);
    // What the page hands over is whole: only where room cut it does a sequence wait for
    // the rest.
    decode_pending(web.input, !web.typed.empty());
    web.input.reply = {};
    return web.input.key_count > 0;
}

}  // namespace

extern "C" {

EMSCRIPTEN_KEEPALIVE const char* jinro_start(double seed) {
    if (web.game == nullptr) web.game = create_game();  // lives as long as the page
    seed_random(static_cast<std::uint32_t>(seed));
    new_game(*web.game);
    web.game->console = &web.console;
    web.view = make_terminal_view(OUTPUT_UTF8, AMBIGUOUS_NARROW);
    web.input = {};
    web.typed.clear();
    next_screen(*web.game);
    return encode_frame(true);
}

EMSCRIPTEN_KEEPALIVE void jinro_feed(const char* bytes, int length) {
    if (bytes != nullptr && length > 0) web.typed.append(bytes, static_cast<std::size_t>(length));
}

EMSCRIPTEN_KEEPALIVE const char* jinro_next_frame() {
    int key = 0;
    if (web.game == nullptr || !key_waiting() || !take_key(web.input, key)) return nullptr;
    play_key(*web.game, static_cast<std::uint8_t>(key));
    return encode_frame(false);
}

// The phase of the screen shown: the page tells a selection screen from one that any key
// leads on from.
EMSCRIPTEN_KEEPALIVE int jinro_phase() { return web.game != nullptr ? web.game->phase : -1; }

// The seat under the cursor: the page walks it to a tapped card with keys.
EMSCRIPTEN_KEEPALIVE int jinro_cursor() { return web.game != nullptr ? web.game->cursor : -1; }

// The seed of today's village for a Unix time in seconds, as `jinro --daily` takes it.
EMSCRIPTEN_KEEPALIVE double jinro_daily_seed(double unix_seconds) {
    return daily_seed(static_cast<std::int64_t>(unix_seconds));
}

// A seed as `jinro --seed` takes it, or -1 when the text is not one.
EMSCRIPTEN_KEEPALIVE double jinro_parse_seed(const char* text) {
    std::uint32_t seed = 0;
    return parse_seed(text, seed) ? static_cast<double>(seed) : -1.0;
}

}  // extern "C"
