// The game in a web page, built to WebAssembly. The page draws the screen of cells itself
// and owns the clock; this side owns the game. There is no loop here: the page starts a
// game, hands over what the player types, and after each key reads the cells.
//
//   jinro_buffer()         where the page writes bytes for the game: jinro_buffer_size()
//                          bytes that the module owns; every text from the page comes
//                          through it with its length, never through the stack
//   jinro_set_language(l)  the language of the games started from now on
//   jinro_start(seed)      a new game, its first screen drawn
//   jinro_feed(n)          the first n bytes of the buffer: what the player typed (keys,
//                          an arrow key's sequence, IME text)
//   jinro_next_key()       plays the next key typed and draws the screen after it: the
//                          key played plus one, or 0 when every key has been played
//   jinro_story()          what the player has seen so far, as JSON (see below)
//   jinro_cells()          the screen of cells, row by row, four bytes a cell: the
//                          Shift-JIS byte, the colour attribute, the part (0 a one-byte
//                          character, 1 the lead and 2 the trail of a double-byte one) and
//                          for a lead byte the ambiguous class of its character
//
// Keys go through the same key decoder as in a terminal, and every key through the same
// pass of the main loop: a typed letter is one key, an arrow key one key without meaning.
#include <emscripten/emscripten.h>

#include <cstdint>
#include <cstring>
#include <string>

#include "cli/options.hpp"
#include "cli/record.hpp"
#include "console/console.hpp"
#include "console/glyphs.hpp"
#include "engine/pass.hpp"
#include "model/new_game.hpp"
#include "model/random.hpp"
#include "model/story.hpp"
#include "model/texts.hpp"
#include "platform/key_decoder.hpp"

namespace {

constexpr int CELL_BYTES = 4;
// Larger than any seed or piece of typed text the page hands over at once; a replay's
// keys come in pieces of this size.
constexpr int BUFFER_BYTES = 4096;

struct WebGame {
    Game* game;
    Console console;
    PendingInput input;
    std::string typed;  // bytes from the page not yet decoded
    std::string story;
    std::uint8_t cells[SCREEN_ROWS * SCREEN_COLUMNS * CELL_BYTES];
    char buffer[BUFFER_BYTES];
};

WebGame web = {};

// Copies the screen where the page reads it.
void publish_cells() {
    std::uint8_t* out = web.cells;
    for (const Cell* row : web.console.screen.cells) {
        for (int x = 0; x < SCREEN_COLUMNS; ++x) {
            *out++ = static_cast<std::uint8_t>(row[x].byte);
            *out++ = row[x].attr;
            *out++ = row[x].part;
            *out++ = static_cast<std::uint8_t>(glyph_ambiguous_class(row, x));
        }
    }
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

// The language of everything the game shows from the next jinro_start on: 0 Japanese,
// 1 English.
EMSCRIPTEN_KEEPALIVE void jinro_set_language(int language) { choose_language(language); }

EMSCRIPTEN_KEEPALIVE void jinro_start(double seed) {
    if (web.game == nullptr) web.game = create_game();  // lives as long as the page
    seed_random(static_cast<std::uint32_t>(seed));
    new_game(*web.game);
    web.game->console = &web.console;
    web.input = {};
    web.typed.clear();
    next_screen(*web.game);
    publish_cells();
}

EMSCRIPTEN_KEEPALIVE char* jinro_buffer() { return web.buffer; }

EMSCRIPTEN_KEEPALIVE int jinro_buffer_size() { return BUFFER_BYTES; }

EMSCRIPTEN_KEEPALIVE void jinro_feed(int length) {
    if (length > 0 && length <= BUFFER_BYTES)
        web.typed.append(web.buffer, static_cast<std::size_t>(length));
}

EMSCRIPTEN_KEEPALIVE int jinro_next_key() {
    int key = 0;
    if (web.game == nullptr || !key_waiting() || !take_key(web.input, key)) return 0;
    play_key(*web.game, static_cast<std::uint8_t>(key));
    publish_cells();
    return key + 1;
}

EMSCRIPTEN_KEEPALIVE const std::uint8_t* jinro_cells() { return web.cells; }

// What the player has seen of the game so far, for the page's record and result panels:
// JSON in Shift-JIS (the names and words of the chosen language), NUL-terminated.
//   {"days":[{"day":2,"attacked":S,"claims":[[seat,role,target,result]...],
//             "votes":[S x10]|null,"hanged":S}...],
//    "winner":W,"roles":[R x10],"names":[...],"glyphs":[...],"roleNames":[...],
//    "story":"..."}
EMSCRIPTEN_KEEPALIVE const char* jinro_story() {
    web.story = web.game != nullptr ? story_json(*web.game) : "{}";
    return web.story.c_str();
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

// The first `length` bytes of the buffer as a seed, as `jinro --seed` takes it, or -1
// when they are not one.
EMSCRIPTEN_KEEPALIVE double jinro_parse_seed(int length) {
    if (length <= 0 || length > SEED_DIGITS) return -1.0;
    char text[SEED_DIGITS + 1] = {};
    std::memcpy(text, web.buffer, static_cast<std::size_t>(length));
    std::uint32_t seed = 0;
    return parse_seed(text, seed) ? static_cast<double>(seed) : -1.0;
}

// The first `length` bytes of the buffer as keys of a record or a link (ijklzr and "."):
// 1 when they are, 0 when not. Longer keys are checked piece by piece.
EMSCRIPTEN_KEEPALIVE int jinro_check_keys(int length) {
    if (length < 0 || length > BUFFER_BYTES) return 0;
    return link_keys_valid(web.buffer, static_cast<std::size_t>(length)) ? 1 : 0;
}

// The most keys a record holds: the page's list of played keys stops there too.
EMSCRIPTEN_KEEPALIVE int jinro_record_max_keys() { return static_cast<int>(RECORD_MAX_KEYS); }

}  // extern "C"
