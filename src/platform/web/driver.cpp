// The game in a web page, built to WebAssembly. The page draws the screen of cells itself
// and owns the clock; this side owns the game and every fact the page shows about it.
// There is no loop here: the page starts a game, hands over what the player types, and
// after each key reads the cells and the facts. No rule, code, geometry or key spelling of
// the game is written again in the page: it asks.
//
// What comes from the page: every text arrives through one buffer the module owns
// (jinro_buffer, jinro_buffer_size bytes), with its length, never through the stack.
//   jinro_start(seed)       a new game dealt from the seed, its first screen drawn
//   jinro_set_language(l)   0 Japanese, 1 English: the screen drawn again in it, no key
//                           played again
//   jinro_feed(n)           the first n bytes of the buffer: what the player typed (keys,
//                           an arrow key's sequence, IME text), through the terminal's own
//                           key decoder
//   jinro_next_key()        plays the next key typed and draws the screen after it: the
//                           key played plus one, or 0 when every key has been played
//   jinro_play_typed()      plays every key typed and draws only the last screen: how many
//   jinro_parse_seed(n)     the buffer's first n bytes as a seed, or -1
//   jinro_check_keys(n)     1 when the buffer's first n bytes are a link's keys
// What the page reads:
//   jinro_cells()           the screen of cells, row by row, four bytes a cell: the
//                           Shift-JIS byte, the colour attribute, the part (0 a one-byte
//                           character, 1 the lead and 2 the trail of a double-byte one) and
//                           for a lead byte the ambiguous class of its character
//   jinro_screen()          what the keys do on this screen: "attack" or "vote" (the cursor
//                           chooses), "any key" (leads on), "won" (r plays again)
//   jinro_cursor()          the seat under the cursor
//   jinro_walk(seat)        the keys that walk the cursor there (a text)
//   jinro_layout()          the regions of the screen (JSON)
//   jinro_cards()           each card's facts, for its label (JSON, Shift-JIS)
//   jinro_story()           what the player has seen so far (JSON, Shift-JIS)
//   jinro_keys_played()     every key played since the game was dealt, spelled as records
//                           spell them, at most jinro_record_max_keys()
//   jinro_replay_link()     "?seed=N&keys=..." of the game so far
//   jinro_daily(unix)       today's village for a Unix time in seconds (JSON)
//   jinro_replay_pace_ms(), jinro_record_max_keys()
// The coach: the page's game gives what its screens have shown, and a worker running this
// same module works out the odds from that alone, never from the game itself.
//   jinro_decision()        at an attack or a vote screen, the public record of what the
//                           screens have shown, jinro_decision_size() bytes; else 0
//   jinro_decisions()       every choice the wolves made in the game shown: JSON of
//                           {"key":K,"chosen":S,"record":N,"kind":"attack"|"vote","day":D,
//                           "wolf":S|-1}, N indexing the public records at
//                           jinro_decision_records(), jinro_decision_size() bytes each
//   jinro_coach_begin(n, s) (the worker) the first n bytes of the buffer, a public record:
//                           1 when it is one, and its odds are begun in slot s (0 the
//                           choice on screen, 1 the review); else 0
//   jinro_coach_round(s)    (the worker) plays slot s's next round of rollouts: its odds
//                           so far as JSON, {"settled":B,"best":SEAT,"choices":[{"seat":S,
//                           "win":P,"low":P1,"high":P2,"played":N}...]}
//   jinro_coach_verdict(s, seat)  (the worker) the review of choosing the seat, from slot s's
//                           odds: {"mark":null|"inaccuracy"|"mistake"|"blunder","kept":K},
//                           K the share of the best choice's chance that it kept
// Texts are NUL-terminated, in memory the module owns, valid until the next call.
#include <emscripten/emscripten.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "coach/odds.hpp"
#include "coach/review.hpp"
#include "draw/panels.hpp"
#include "draw/render.hpp"
#include "engine/keys.hpp"
#include "engine/step.hpp"
#include "model/json.hpp"
#include "model/record.hpp"
#include "model/story.hpp"
#include "platform/key_decoder.hpp"

namespace {

constexpr int CELL_BYTES = 4;
// Larger than any seed or piece of typed text the page hands over at once; longer keys
// come in pieces of this size.
constexpr int BUFFER_BYTES = 4096;

struct WebGame {
    Game game;
    Screen screen;
    int language;
    std::uint32_t seed;
    bool started;
    PendingInput input;
    std::string typed;  // bytes from the page not yet decoded
    std::string keys;   // every key played, spelled: ijklzr and "."
    std::string text;   // the last text handed to the page
    std::uint8_t cells[SCREEN_ROWS * SCREEN_COLUMNS * CELL_BYTES];
    char buffer[BUFFER_BYTES];
    PublicRecord decision;               // what the screens have shown, at a choice
    std::vector<PublicRecord> shown;     // at each choice the wolves made in the game shown
    std::unique_ptr<OddsWork> coach[2];  // the worker's odds: the choice on screen, the review
    std::unique_ptr<Round> round;
    bool coaching[2];
};
static_assert(sizeof(PublicRecord) <= BUFFER_BYTES, "a public record comes through the buffer");

WebGame web = {};

// Draws the screen and copies it where the page reads it.
void draw() {
    render(web.game, web.language, web.screen);
    std::uint8_t* out = web.cells;
    for (const Cell* row : web.screen.cells) {
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

// Steps the game with the next key typed, if there is one; the key, or -1.
int step_typed() {
    int key = 0;
    if (!web.started || !key_waiting() || !take_key(web.input, key)) return -1;
    step_game(web.game, static_cast<std::uint8_t>(key));
    if (web.keys.size() < RECORD_MAX_KEYS) web.keys += spelled_key(key);
    return key;
}

const char* handed(std::string text) {
    web.text = std::move(text);
    return web.text.c_str();
}

// A share 0..1 as JSON with four decimals, written with whole numbers (printing floating
// point would double the module's code).
std::string share(double value) {
    const int tenths_of_thousands = static_cast<int>(value * 10000.0 + 0.5);
    const std::string digits = std::to_string(10000 + tenths_of_thousands % 10000);
    return std::to_string(tenths_of_thousands / 10000) + "." + digits.substr(1);
}

}  // namespace

extern "C" {

EMSCRIPTEN_KEEPALIVE char* jinro_buffer() { return web.buffer; }

EMSCRIPTEN_KEEPALIVE int jinro_buffer_size() { return BUFFER_BYTES; }

EMSCRIPTEN_KEEPALIVE void jinro_start(double seed) {
    web.seed = static_cast<std::uint32_t>(seed);
    start_game(web.game, web.seed);
    web.started = true;
    web.input = {};
    web.typed.clear();
    web.keys.clear();
    draw();
}

EMSCRIPTEN_KEEPALIVE void jinro_set_language(int language) {
    web.language = language == LANGUAGE_ENGLISH ? LANGUAGE_ENGLISH : LANGUAGE_JAPANESE;
    if (web.started) draw();
}

EMSCRIPTEN_KEEPALIVE void jinro_feed(int length) {
    if (length > 0 && length <= BUFFER_BYTES)
        web.typed.append(web.buffer, static_cast<std::size_t>(length));
}

EMSCRIPTEN_KEEPALIVE int jinro_next_key() {
    const int key = step_typed();
    if (key < 0) return 0;
    draw();
    return key + 1;
}

EMSCRIPTEN_KEEPALIVE int jinro_play_typed() {
    int played = 0;
    while (step_typed() >= 0) ++played;
    if (played > 0) draw();
    return played;
}

EMSCRIPTEN_KEEPALIVE const std::uint8_t* jinro_cells() { return web.cells; }

EMSCRIPTEN_KEEPALIVE const char* jinro_screen() {
    switch (web.started ? screen_kind(web.game) : 0) {
    case SCREEN_CHOOSE_ATTACK: return "attack";
    case SCREEN_CHOOSE_VOTE: return "vote";
    case SCREEN_WON: return "won";
    default: return "any key";
    }
}

EMSCRIPTEN_KEEPALIVE int jinro_cursor() { return web.started ? web.game.cursor : -1; }

EMSCRIPTEN_KEEPALIVE const char* jinro_walk(int seat) {
    return handed(web.started ? keys_to_seat(web.game.cursor, seat) : "");
}

// {"columns":76,"rows":24,"header":[0,1],"cards":{"rows":[2,9],"height":6,"left":1,
//  "width":15,"perRow":5},"panel":{"rows":[15,22],"split":40},"log":23}: a card with the
// cursor mark before it is `width` columns from `left`; the panel rows lie between the
// cards and the log line, in two halves.
EMSCRIPTEN_KEEPALIVE const char* jinro_layout() {
    const auto n = [](int value) { return std::to_string(value); };
    return handed("{\"columns\":" + n(SCREEN_COLUMNS) + ",\"rows\":" + n(SCREEN_ROWS) +
                  ",\"header\":[0,1],\"cards\":{\"rows\":[" + n(card_y(0)) + "," + n(card_y(5)) +
                  "],\"height\":" + n(CARD_HEIGHT) + ",\"left\":" + n(card_x(0) - 1) +
                  ",\"width\":" + n(card_x(1) - card_x(0)) +
                  ",\"perRow\":5},\"panel\":{\"rows\":[" + n(PANEL_TOP) + "," + n(LOG_Y - 1) +
                  "],\"split\":" + n(PANEL_SPLIT) + "},\"log\":" + n(LOG_Y) + "}");
}

// [{"seat":0,"name":NAME,"claim":ROLE|null,"black":B,"white":W,"alive":true,
//   "died":{"day":D,"hanged":BOOL}|null,"role":ROLE|null,"cursor":BOOL} x10]: the roles
// in words of the language, the true role only after a win.
EMSCRIPTEN_KEEPALIVE const char* jinro_cards() {
    const Game& g = web.game;
    const Texts& t = texts_of(web.language);
    std::string out;
    const auto role = [&](int code) {
        if (code >= 0 && code < ROLE_COUNT) {
            json_string(out, t.role_names[code]);
        } else {
            out += "null";
        }
    };
    json_array(out, SEAT_COUNT, [&](int seat) {
        const Player& p = g.players[seat];
        out += "{\"seat\":" + std::to_string(seat) + ",\"name\":";
        json_string(out, name_of(t, seat));
        out += ",\"claim\":";
        role(g.co_public[seat]);
        out += ",\"black\":" + std::to_string(g.black_count[seat]) +
               ",\"white\":" + std::to_string(g.white_count[seat]);
        out += p.alive == 1 ? ",\"alive\":true,\"died\":null" : ",\"alive\":false,\"died\":";
        if (p.alive != 1) {
            const bool hanged = p.hanged_day != NONE;
            out += "{\"day\":" + std::to_string(hanged ? p.hanged_day : p.attacked_day) +
                   ",\"hanged\":" + (hanged ? "true}" : "false}");
        }
        out += ",\"role\":";
        role(g.winner != NONE ? p.role : NONE);
        out += seat == g.cursor ? ",\"cursor\":true}" : ",\"cursor\":false}";
    });
    return handed(out);
}

EMSCRIPTEN_KEEPALIVE const char* jinro_story() {
    return handed(web.started ? story_json(web.game, web.language) : "{}");
}

EMSCRIPTEN_KEEPALIVE const char* jinro_keys_played() { return handed(web.keys); }

EMSCRIPTEN_KEEPALIVE const char* jinro_replay_link() {
    return handed(record_link(Record{web.seed, web.keys}));
}

// {"seed":S,"day":N,"month":M,"date":D}: the seed of the village of the day in Japan that
// the Unix time falls on, that day's number since 1970 (consecutive days, consecutive
// numbers), and its month and date.
EMSCRIPTEN_KEEPALIVE const char* jinro_daily(double unix_seconds) {
    const std::uint32_t seed = daily_seed(static_cast<std::int64_t>(unix_seconds));
    constexpr std::int64_t JAPAN_OFFSET = 9 * 3600;
    const std::int64_t day = (static_cast<std::int64_t>(seed) + JAPAN_OFFSET) / 86400;
    // The civil date of a day number (Howard Hinnant's days_from_civil, inverted).
    const std::int64_t z = day + 719468;
    const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const std::int64_t doe = z - era * 146097;
    const std::int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const std::int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const std::int64_t mp = (5 * doy + 2) / 153;
    const std::int64_t date = doy - (153 * mp + 2) / 5 + 1;
    const std::int64_t month = mp < 10 ? mp + 3 : mp - 9;
    return handed("{\"seed\":" + std::to_string(seed) + ",\"day\":" + std::to_string(day) +
                  ",\"month\":" + std::to_string(month) + ",\"date\":" + std::to_string(date) +
                  "}");
}

EMSCRIPTEN_KEEPALIVE double jinro_parse_seed(int length) {
    if (length <= 0 || length > SEED_DIGITS) return -1.0;
    char text[SEED_DIGITS + 1] = {};
    std::memcpy(text, web.buffer, static_cast<std::size_t>(length));
    std::uint32_t seed = 0;
    return parse_seed(text, seed) ? static_cast<double>(seed) : -1.0;
}

EMSCRIPTEN_KEEPALIVE int jinro_check_keys(int length) {
    if (length < 0 || length > BUFFER_BYTES) return 0;
    return link_keys_valid(web.buffer, static_cast<std::size_t>(length)) ? 1 : 0;
}

EMSCRIPTEN_KEEPALIVE int jinro_replay_pace_ms() { return REPLAY_PACE_MS; }

EMSCRIPTEN_KEEPALIVE int jinro_decision_size() { return static_cast<int>(sizeof(PublicRecord)); }

EMSCRIPTEN_KEEPALIVE const PublicRecord* jinro_decision() {
    const int kind = web.started ? screen_kind(web.game) : 0;
    if (kind != SCREEN_CHOOSE_ATTACK && kind != SCREEN_CHOOSE_VOTE) return nullptr;
    web.decision = public_record_of(web.game);
    return &web.decision;
}

EMSCRIPTEN_KEEPALIVE const char* jinro_decisions() {
    std::vector<Decision> decisions;
    std::vector<Ending> endings;
    decisions_of(web.seed, web.keys, decisions, endings);
    web.shown.clear();
    std::string out = "[";
    for (const Decision& d : decisions) {
        if (d.game != endings.back().game) continue;  // only the game shown
        const bool attack = d.record.phase == PHASE_ATTACK_SELECT;
        const int wolf = attack ? NONE : voting_wolf(d.record);
        out += std::string(web.shown.empty() ? "" : ",") + "{\"key\":" + std::to_string(d.key) +
               ",\"chosen\":" + std::to_string(d.chosen) +
               ",\"record\":" + std::to_string(web.shown.size()) + ",\"kind\":\"" +
               (attack ? "attack" : "vote") + "\",\"day\":" + std::to_string(d.record.day) +
               ",\"wolf\":" + std::to_string(wolf) + "}";
        web.shown.push_back(d.record);
    }
    return handed(out + "]");
}

EMSCRIPTEN_KEEPALIVE const PublicRecord* jinro_decision_records() { return web.shown.data(); }

EMSCRIPTEN_KEEPALIVE int jinro_coach_begin(int length, int slot) {
    if (slot < 0 || slot > 1) return 0;
    web.coaching[slot] = false;
    if (length != static_cast<int>(sizeof(PublicRecord))) return 0;
    PublicRecord record{};
    std::memcpy(&record, web.buffer, sizeof record);
    if (!public_record_valid(record)) return 0;
    if (web.coach[slot] == nullptr) web.coach[slot] = std::make_unique<OddsWork>();
    if (web.round == nullptr) web.round = std::make_unique<Round>();
    odds_begin(*web.coach[slot], record, COACH_FULL);
    web.coaching[slot] = true;
    return 1;
}

EMSCRIPTEN_KEEPALIVE const char* jinro_coach_verdict(int slot, int seat) {
    if (slot < 0 || slot > 1 || !web.coaching[slot]) return handed("null");
    static const char* const MARKS[] = {"\"inaccuracy\"", "\"mistake\"", "\"blunder\""};
    const Odds& odds = web.coach[slot]->odds;
    const int mark = mark_of(odds, seat);
    return handed(std::string("{\"mark\":") + (mark < 0 ? "null" : MARKS[mark]) +
                  ",\"kept\":" + share(kept_of(odds, seat)) + "}");
}

EMSCRIPTEN_KEEPALIVE const char* jinro_coach_round(int slot) {
    if (slot < 0 || slot > 1 || !web.coaching[slot]) return handed("null");
    OddsWork& work = *web.coach[slot];
    const bool settled = odds_plan(work, *web.round) == 0;
    if (!settled) {
        for (int k = 0; k < web.round->size; ++k)
            web.round->won[k] = play_rollout(work, web.round->rollout[k]);
        odds_add(work, *web.round);
    }
    const Odds& odds = work.odds;
    std::string out = std::string("{\"settled\":") + (settled ? "true" : "false") + ",\"best\":" +
                      std::to_string(odds.count > 0 ? odds.choice[odds.best].seat : NONE) +
                      ",\"choices\":[";
    for (int c = 0; c < odds.count; ++c) {
        const Estimate e = estimate(odds.choice[c].wins, odds.choice[c].played);
        out += std::string(c > 0 ? "," : "") + "{\"seat\":" + std::to_string(odds.choice[c].seat) +
               ",\"win\":" + share(e.win) + ",\"low\":" + share(e.low) +
               ",\"high\":" + share(e.high) +
               ",\"played\":" + std::to_string(odds.choice[c].played) + "}";
    }
    return handed(out + "]}");
}

EMSCRIPTEN_KEEPALIVE int jinro_record_max_keys() { return static_cast<int>(RECORD_MAX_KEYS); }

}  // extern "C"
