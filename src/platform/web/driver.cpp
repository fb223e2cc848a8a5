// The game in a web page, built to WebAssembly. The page draws the screen of cells itself
// and owns the clock; this side owns the game and every fact the page shows about it.
// There is no loop here: the page starts a game, hands over what the player types, and
// after each key reads the cells and the facts. No rule, code, geometry, key spelling or
// word of the game is written again in the page: it asks.
//
// What comes from the page: every text arrives through one buffer the module owns
// (jinro_buffer, jinro_buffer_size bytes), with its length, never through the stack.
//   jinro_start(seed, lies) a new game dealt from the seed, its first screen drawn: under
//                           the rules with lies for lies 1, the first village's for 0; 1
//                           when dealt, 0 (nothing dealt) for any other lies
//   jinro_next_lies(lies)   the rules a game dealt by r is played under, as for jinro_start
//                           (until then, the rules of the game it follows)
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
//                           chooses), "any key" (leads on), "won" (r plays again); under the
//                           rules with lies, the morning's questions to a wolf: "claim" (the
//                           seer, the medium, or any other key: no), "seer verdict" (the
//                           cursor names a seat, then black or white), "medium verdict"
//                           (black or white)
//   jinro_cursor()          the seat under the cursor
//   jinro_walk(seat)        the keys that walk the cursor there (a text)
//   jinro_keys()            the keys by what they do (JSON)
//   jinro_layout()          the regions of the screen (JSON)
//   jinro_cards()           each card's facts, for its label (JSON, Shift-JIS)
//   jinro_story()           what the player has seen so far (JSON, Shift-JIS)
//   jinro_game_seed()       the seed the game shown was dealt from: the first game's is the
//                           one started, each next game's where the last left the random
//                           source (r deals from there)
//   jinro_game_keys()       every key of the game shown, spelled as records spell them, at
//                           most jinro_record_max_keys()
//   jinro_game_lies()       1 when the game shown is played under the rules with lies
//   jinro_replay_link()     "?seed=N&keys=..." of the game shown, from its own seed (and
//                           "&bluff=1" under the rules with lies)
//   jinro_daily(unix)       today's village for a Unix time in seconds (JSON)
//   jinro_replay_pace_ms(), jinro_record_max_keys()
// The coach: the page's game gives what its screens have shown, and a worker running this
// same module works out the odds from that alone, never from the game itself. What the
// worker sends back is checked here, against the decision it answers, before any use.
//   jinro_decision()        at a screen of choice (an attack, a vote, a question of the
//                           morning), the public record of what the screens have shown,
//                           jinro_decision_size() bytes; else 0
//   jinro_take_odds(n)      the buffer's first n bytes: the worker's odds of the decision on
//                           screen (jinro_odds_size() bytes); 1 when they are odds of it
//   jinro_odds()            the odds taken, for the cards (Shift-JIS): {"declined":B,
//                           "best":S,"bestCode":C,"question":Q,"facts":T,"choices":[{"seat":S,
//                           "code":C,"label":T,"win":P,"low":P,"high":P,"text":T,"verdict":T,
//                           "good":B}...],"read":[{"seat":S,"role":T,"glyph":T,"percent":N}...]},
//                           or null; C a choice's code, and verdict the short word of the
//                           colour a false verdict gives (only on those)
//   jinro_practice(code)    practice at the decision on screen, from the odds taken: whether
//                           the choice of the code is found, and the lines to show
//                           (Shift-JIS): {"found":B,"told":[T...]}, or null
//   jinro_key_waiting()     1 when a key typed waits to be played
//   jinro_next_choice()     the choice (its code) that key makes on the screen shown; -1 when
//                           it makes none, or none waits
//   jinro_drop_typed()      forgets every key typed and not yet played
//   jinro_decisions()       every choice the wolves made in the game shown: JSON of
//                           {"key":K|-1,"chosen":C,"record":N,"kind":"attack"|"vote"|"claim"|
//                           "seer"|"medium","day":D,"wolf":S|-1}, N indexing the public records at
//                           jinro_decision_records(), jinro_decision_size() bytes each; K the
//                           index of its key among the game's keys (-1: past the most kept)
//   jinro_take_review_odds(k, n)  the buffer's first n bytes: the odds of decision k; 1 when
//                           they are odds of it
//   jinro_review()          the review of the game shown, in its words, from the odds taken:
//                           {"rows":[{"key":K,"then":{"told":T,"before":P,"after":P,
//                           "swing":B}|null,"when":T,"chosen":T,"best":T|null,"verdict":T,
//                           "sign":T,"mark":M,"markWord":T,"reason":T,"axis":T,"win":P,
//                           "declined":B}|null...],"accuracy":A|null,"accuracyText":T|null,
//                           "sums":T|null,"legend":T,"done":n,"total":N}
//   jinro_coach_begin(n, s, c)  (the worker) the first n bytes of the buffer, a public
//                           record: 1 when it is one, and its odds are begun in slot s (0 the
//                           choice on screen, 1 the review), for the choice of code c made
//                           there (-1, or a code the decision does not offer: none); else 0
//   jinro_coach_round(s)    (the worker) plays slot s's next round of rollouts: 1 while more
//                           rounds are to come, 0 once the odds are settled (or declined)
//   jinro_coach_odds(s)     (the worker) slot s's odds so far, jinro_odds_size() bytes
// Texts are NUL-terminated, in memory the module owns, valid until the next call.
#include <emscripten/emscripten.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "coach/review_text.hpp"
#include "draw/render.hpp"
#include "engine/keys.hpp"
#include "engine/morning.hpp"
#include "engine/step.hpp"
#include "model/json.hpp"
#include "model/record.hpp"
#include "platform/key_decoder.hpp"
#include "platform/web/page_json.hpp"

namespace {

constexpr int CELL_BYTES = 4;
// Larger than any seed, piece of typed text or odds the page hands over at once; longer
// keys come in pieces of this size.
constexpr int BUFFER_BYTES = 4096;

struct WebGame {
    Game game;
    Screen screen;
    int language;
    bool started;
    int next_rules;  // the rules of a game r deals
    PendingInput input;
    std::string typed;  // bytes from the page not yet decoded
    // The game shown as a record holds it: the seed it was dealt from, its keys, its choices
    // as they were made (a decision's key is -1 once the game has more keys than a record
    // keeps) and what the screens showed between them.
    RecordGame shown;
    std::vector<PublicRecord> records;  // the decisions' records, side by side for the page
    std::vector<Odds> review;           // the worker's odds of each decision, checked
    std::vector<bool> reviewed;
    PublicRecord decision;  // what the screens have shown, at a choice
    Forecast forecast;      // and what the village will do, worked out here
    Odds odds;              // the worker's odds of it, checked
    bool odds_taken;
    std::string text;  // the last text handed to the page
    std::uint8_t cells[SCREEN_ROWS * SCREEN_COLUMNS * CELL_BYTES];
    char buffer[BUFFER_BYTES];
    std::unique_ptr<OddsWork> coach[2];  // the worker's odds: the choice on screen, the review
    std::unique_ptr<Round> round;
};
static_assert(sizeof(PublicRecord) <= BUFFER_BYTES, "a public record comes through the buffer");
static_assert(sizeof(Odds) <= BUFFER_BYTES, "odds come through the buffer");

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

// A new game shown: nothing of the last one's choices kept.
void forget_review() {
    web.review.clear();
    web.reviewed.clear();
    web.odds_taken = false;
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

// Steps the game with the next key typed, if there is one, the record of the game shown
// along with it; the key, or -1.
int step_typed() {
    int key = 0;
    if (!web.started || !key_waiting() || !take_key(web.input, key)) return -1;
    // A decided game deals the next one (on r) under its own rules: the ones asked for next.
    if (web.game.winner != NONE) web.game.rules = web.next_rules;
    if (!step_record_game(web.shown, web.game, static_cast<std::uint8_t>(key), RECORD_MAX_KEYS)) {
        web.shown.rules = web.game.rules;
        forget_review();
    }
    return key;
}

// The rules the page asks for: 1 the rules with lies, 0 the first village's; NONE for
// anything else.
int rules_of(int lies) {
    if (lies == 1) return RULES_BLUFF;
    return lies == 0 ? RULES_STANDARD : NONE;
}

// A screen on which the wolves make a choice the coach weighs.
bool choosing(int kind) {
    return kind == SCREEN_CHOOSE_ATTACK || kind == SCREEN_CHOOSE_VOTE || kind == SCREEN_CLAIM ||
           kind == SCREEN_SEER_VERDICT || kind == SCREEN_MEDIUM_VERDICT;
}

// What a decision is, for the page: its screen's name.
const char* decision_kind(const PublicRecord& r) {
    switch (r.question) {
    case QUESTION_CLAIM: return "claim";
    case QUESTION_SEER_VERDICT: return "seer";
    case QUESTION_MEDIUM_VERDICT: return "medium";
    default: return r.phase == PHASE_ATTACK_SELECT ? "attack" : "vote";
    }
}

// The wolf a decision is his: the one voting, or the one the morning asks; NONE at an attack.
int decision_wolf(const PublicRecord& r) {
    if (r.question != QUESTION_NONE) return r.asked;
    return r.phase == PHASE_ATTACK_SELECT ? NONE : voting_wolf(r);
}

const char* handed(std::string text) {
    web.text = std::move(text);
    return web.text.c_str();
}

// The buffer's first n bytes as odds of the record: false when they are not exactly such.
bool take_odds(int length, const PublicRecord& record, Odds& odds) {
    if (length != static_cast<int>(sizeof(Odds))) return false;
    Odds given{};
    std::memcpy(&given, web.buffer, sizeof given);
    if (!odds_valid(given, record)) return false;
    odds = given;
    return true;
}

}  // namespace

extern "C" {

EMSCRIPTEN_KEEPALIVE char* jinro_buffer() { return web.buffer; }

EMSCRIPTEN_KEEPALIVE int jinro_buffer_size() { return BUFFER_BYTES; }

EMSCRIPTEN_KEEPALIVE int jinro_start(double seed, int lies) {
    const int rules = rules_of(lies);
    if (rules == NONE) return 0;
    start_game(web.game, static_cast<std::uint32_t>(seed), rules);
    web.next_rules = rules;
    web.started = true;
    web.input = {};
    web.typed.clear();
    begin_record_game(web.shown, 1, static_cast<std::uint32_t>(seed), web.game.rules);
    forget_review();
    draw();
    return 1;
}

EMSCRIPTEN_KEEPALIVE int jinro_next_lies(int lies) {
    const int rules = rules_of(lies);
    if (rules == NONE) return 0;
    web.next_rules = rules;
    return 1;
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
    case SCREEN_CLAIM: return "claim";
    case SCREEN_SEER_VERDICT: return "seer verdict";
    case SCREEN_MEDIUM_VERDICT: return "medium verdict";
    default: return "any key";
    }
}

EMSCRIPTEN_KEEPALIVE int jinro_cursor() { return web.started ? web.game.cursor : -1; }

EMSCRIPTEN_KEEPALIVE const char* jinro_walk(int seat) {
    return handed(web.started ? keys_to_seat(web.game.cursor, seat) : "");
}

EMSCRIPTEN_KEEPALIVE const char* jinro_keys() { return handed(keys_json()); }

EMSCRIPTEN_KEEPALIVE const char* jinro_layout() { return handed(layout_json()); }

EMSCRIPTEN_KEEPALIVE const char* jinro_cards() {
    return handed(cards_json(web.game, web.language));
}

EMSCRIPTEN_KEEPALIVE const char* jinro_story() {
    return handed(web.started ? story_json(web.game, web.language) : "{}");
}

EMSCRIPTEN_KEEPALIVE double jinro_game_seed() { return web.shown.seed; }

EMSCRIPTEN_KEEPALIVE const char* jinro_game_keys() { return handed(web.shown.keys); }

EMSCRIPTEN_KEEPALIVE int jinro_game_lies() { return web.shown.rules == RULES_BLUFF ? 1 : 0; }

EMSCRIPTEN_KEEPALIVE const char* jinro_replay_link() {
    return handed(record_link(Record{web.shown.seed, web.shown.keys, NONE, web.shown.rules}));
}

EMSCRIPTEN_KEEPALIVE const char* jinro_daily(double unix_seconds) {
    return handed(daily_json(static_cast<std::int64_t>(unix_seconds)));
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

EMSCRIPTEN_KEEPALIVE int jinro_record_max_keys() { return static_cast<int>(RECORD_MAX_KEYS); }

// --- the coach, on the page's side --------------------------------------------------------

EMSCRIPTEN_KEEPALIVE int jinro_decision_size() { return static_cast<int>(sizeof(PublicRecord)); }

EMSCRIPTEN_KEEPALIVE int jinro_odds_size() { return static_cast<int>(sizeof(Odds)); }

EMSCRIPTEN_KEEPALIVE const PublicRecord* jinro_decision() {
    if (!web.started || !choosing(screen_kind(web.game))) return nullptr;
    const PublicRecord now = public_record_of(web.game);
    if (std::memcmp(&now, &web.decision, sizeof now) != 0) {
        web.odds_taken = false;
        const auto beliefs = std::make_unique<Beliefs>();
        build_beliefs(now, *beliefs);
        web.forecast = forecast_of(now, *beliefs);
    }
    web.decision = now;
    return &web.decision;
}

EMSCRIPTEN_KEEPALIVE int jinro_take_odds(int length) {
    web.odds_taken = take_odds(length, web.decision, web.odds);
    return web.odds_taken ? 1 : 0;
}

EMSCRIPTEN_KEEPALIVE const char* jinro_odds() {
    if (!web.odds_taken) return handed("null");
    return handed(odds_json(web.decision, web.odds, web.forecast, texts_of(web.language)));
}

// What practice says of the choice of the code at the decision on screen, from the odds
// taken: {"found":B,"told":[TEXT...]} (Shift-JIS), or null without odds.
EMSCRIPTEN_KEEPALIVE const char* jinro_practice(int code) {
    if (!web.odds_taken || web.odds.count == 0) return handed("null");
    const Texts& w = texts_of(web.language);
    const std::string told = practice_text(web.decision, web.odds, web.forecast, code, w);
    std::string out = std::string("{\"found\":") +
                      (practice_found(web.odds, code) ? "true" : "false") + ",\"told\":[";
    std::size_t at = 0;
    for (std::size_t end; (end = told.find('\n', at)) != std::string::npos; at = end + 1) {
        if (at > 0) out += ",";
        json_string(out, told.substr(at, end - at).c_str());
    }
    return handed(out + "]}");
}

// The choice the next key typed makes on the screen shown, as the game decodes and reads
// it: practice keeps that key from the game and asks jinro_practice instead.
EMSCRIPTEN_KEEPALIVE int jinro_key_waiting() { return web.started && key_waiting() ? 1 : 0; }

EMSCRIPTEN_KEEPALIVE int jinro_next_choice() {
    if (jinro_key_waiting() == 0) return NONE;
    const int key = web.input.keys[web.input.first];
    return choice_made(web.game, static_cast<std::uint8_t>(key));
}

EMSCRIPTEN_KEEPALIVE void jinro_drop_typed() {
    web.input = {};
    web.typed.clear();
}

EMSCRIPTEN_KEEPALIVE const char* jinro_decisions() {
    web.records.clear();
    std::string out = "[";
    for (const Decision& d : web.shown.decisions) {
        out += std::string(web.records.empty() ? "" : ",") + "{\"key\":" + std::to_string(d.key) +
               ",\"chosen\":" + std::to_string(d.chosen) +
               ",\"record\":" + std::to_string(web.records.size()) + ",\"kind\":\"" +
               decision_kind(d.record) + "\",\"day\":" + std::to_string(d.record.day) +
               ",\"wolf\":" + std::to_string(decision_wolf(d.record)) + "}";
        web.records.push_back(d.record);
    }
    return handed(out + "]");
}

EMSCRIPTEN_KEEPALIVE const PublicRecord* jinro_decision_records() { return web.records.data(); }

EMSCRIPTEN_KEEPALIVE int jinro_take_review_odds(int index, int length) {
    const std::vector<Decision>& decisions = web.shown.decisions;
    if (index < 0 || index >= static_cast<int>(decisions.size())) return 0;
    const auto k = static_cast<std::size_t>(index);
    web.review.resize(decisions.size());
    web.reviewed.resize(decisions.size());
    web.reviewed[k] = take_odds(length, decisions[k].record, web.review[k]);
    return web.reviewed[k] ? 1 : 0;
}

EMSCRIPTEN_KEEPALIVE const char* jinro_review() {
    const Texts& w = texts_of(web.language);
    const std::vector<Decision>& decisions = web.shown.decisions;
    std::size_t done = 0;
    for (std::size_t k = 0; k < decisions.size() && k < web.reviewed.size(); ++k)
        done += web.reviewed[k];
    const bool whole = done == decisions.size() && done > 0;
    // Once every choice has its odds, the game's review with what happened between them.
    GameReview game{};
    if (whole) game = game_review(web.shown, web.review);
    std::string rows = "[";
    for (std::size_t k = 0; k < decisions.size(); ++k) {
        if (k > 0) rows += ",";
        if (k >= web.reviewed.size() || !web.reviewed[k]) {
            rows += "null";
            continue;
        }
        const ReviewedChoice c =
            whole ? game.choices[k] : reviewed_choice(decisions[k], web.review[k]);
        std::string row = choice_json(c, w);
        row.insert(1, "\"key\":" + std::to_string(decisions[k].key) + ",\"then\":" +
                          (whole ? then_json(web.shown, game, k, w) : std::string("null")) + ",");
        rows += row;
    }
    std::string summary = "null,\"accuracyText\":null,\"sums\":null";
    if (whole) {
        const int a = accuracy_of(game.choices);
        summary = std::to_string(a) + ",\"accuracyText\":";
        json_string(summary, formatted(w.review_accuracy, a).c_str());
        summary += ",\"sums\":";
        json_string(summary,
                    formatted(w.review_sums, static_cast<int>(std::lround(game.cost * 100.0)),
                              static_cast<int>(std::lround(game.luck * 100.0)))
                        .c_str());
    }
    std::string legend;
    json_string(legend, w.review_legend);
    return handed("{\"rows\":" + rows + "],\"accuracy\":" + summary + ",\"legend\":" + legend +
                  ",\"done\":" + std::to_string(done) +
                  ",\"total\":" + std::to_string(decisions.size()) + "}");
}

// --- the coach, in the worker ---------------------------------------------------------------

EMSCRIPTEN_KEEPALIVE int jinro_coach_begin(int length, int slot, int chosen) {
    if (slot < 0 || slot > 1) return 0;
    if (web.coach[slot] == nullptr) web.coach[slot] = std::make_unique<OddsWork>();
    if (web.round == nullptr) web.round = std::make_unique<Round>();
    web.coach[slot]->odds = {};
    web.coach[slot]->odds.count = 0;
    if (length != static_cast<int>(sizeof(PublicRecord))) return 0;
    PublicRecord record{};
    std::memcpy(&record, web.buffer, sizeof record);
    if (!public_record_valid(record)) return 0;
    // Declined: no choice, no round. A review's choice made is worked out as the best is; a
    // code the decision does not offer is no choice made.
    odds_begin(*web.coach[slot], record, COACH_FULL, chosen >= 0 ? chosen : NONE);
    return 1;
}

EMSCRIPTEN_KEEPALIVE int jinro_coach_round(int slot) {
    if (slot < 0 || slot > 1 || web.coach[slot] == nullptr) return 0;
    return odds_round(*web.coach[slot], *web.round, nullptr) ? 1 : 0;
}

EMSCRIPTEN_KEEPALIVE const Odds* jinro_coach_odds(int slot) {
    if (slot < 0 || slot > 1 || web.coach[slot] == nullptr) return nullptr;
    return &web.coach[slot]->odds;
}

}  // extern "C"
