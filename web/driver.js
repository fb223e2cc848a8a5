// The game's side of the page: the WebAssembly module's exports, wrapped. Every fact the
// page shows comes through here from the game; texts and bytes from the page reach the
// game through the buffer the module owns, with their length, each checked against its
// exact form and size before it is copied there.

const encoder = new TextEncoder();
const ASCII = new TextDecoder("ascii");
const SJIS = new TextDecoder("shift_jis");
const ACTIONS = ["up", "left", "down", "right", "choose", "again", "on", "seer", "medium", "black", "white", "decline"];

// The keys by what they do, as the game names them: each one printable ASCII character.
function keysOf(named) {
  const keys = {};
  for (const action of ACTIONS) {
    const key = named?.[action];
    if (typeof key !== "string" || !/^[\x21-\x7e]$/.test(key)) throw new Error(`the game names no key for ${action}`);
    keys[action] = key;
  }
  return Object.freeze(keys);
}

// A choice's code as the game gives it: a whole number, bounded; the game says whether the
// decision offers it.
const isCode = (code) => Number.isInteger(code) && code >= 0 && code <= 0xffff;

// How texts and bytes pass between the page and the module.
function channel(module) {
  const heap = () => module.HEAPU8;
  const size = module._jinro_buffer_size();
  // A NUL-terminated text the module handed over.
  const text = (at, decoder = ASCII) => decoder.decode(heap().subarray(at, heap().indexOf(0, at)));
  return {
    heap,
    size,
    text,
    json: (at, decoder = ASCII) => JSON.parse(text(at, decoder)),
    // Bytes into the buffer, at most its size; how many.
    put: (bytes) => {
      heap().set(bytes, module._jinro_buffer());
      return bytes.length;
    },
    // Bytes of any length, a buffer's size at a time: false as soon as a piece is refused.
    pieces: (bytes, each) => {
      for (let at = 0; at < bytes.length || at === 0; at += size) {
        if (!each(bytes.subarray(at, at + size))) return false;
        if (bytes.length === 0) break;
      }
      return true;
    },
  };
}

// The coach's part of the game, on the page's side: the decision on screen, the worker's
// odds of it and of every choice of the game shown, checked by the game before any use.
function coachOf(module, { heap, size, json, put }) {
  const decisionSize = module._jinro_decision_size();
  const oddsSize = module._jinro_odds_size();
  // Odds from the worker: exactly the game's size of odds, else nothing is copied.
  const isOdds = (bytes) => bytes instanceof Uint8Array && bytes.length === oddsSize && oddsSize <= size;
  return {
    oddsSize,
    // At a screen of choice (an attack, a vote, a question of the morning): the public record
    // of what the screens have shown (a copy of its bytes, for the coach's worker); else null.
    decision: () => {
      const at = module._jinro_decision();
      return at === 0 ? null : heap().slice(at, at + decisionSize);
    },
    // The worker's odds of the decision on screen: true when the game takes them as such.
    takeOdds: (bytes) => isOdds(bytes) && module._jinro_take_odds(put(bytes)) === 1,
    // The odds taken, for the cards, in the game's words: {declined, best, bestCode, question,
    // facts, choices: [{seat, code, label, win, low, high, text, verdict (a false verdict's
    // word), good}], read: [{seat, role, glyph, percent}]}, or null.
    odds: () => json(module._jinro_odds(), SJIS),
    // Practice at the decision on screen, from the odds taken: whether the choice of the code
    // is found, {found, told: [lines]}; or null.
    practice: (code) => (isCode(code) ? json(module._jinro_practice(code), SJIS) : null),
    // Whether a key typed waits to be played, and the choice (its code) it makes on the screen
    // shown, or -1 for none.
    keyWaiting: () => module._jinro_key_waiting() === 1,
    nextChoice: () => module._jinro_next_choice(),
    // Forgets every key typed and not yet played.
    dropTyped: () => module._jinro_drop_typed(),
    // Every choice the wolves made in the game shown: {key, chosen, kind, day, wolf, record}
    // (record: its bytes; key: its index among the game's keys, -1 past the most kept).
    decisions: () => {
      const made = json(module._jinro_decisions());
      const at = module._jinro_decision_records();
      return made.map((d) => ({ ...d, record: heap().slice(at + d.record * decisionSize, at + (d.record + 1) * decisionSize) }));
    },
    // The worker's odds of decision k of the game shown: true when they are its odds.
    takeReviewOdds: (k, bytes) => Number.isSafeInteger(k) && isOdds(bytes) && module._jinro_take_review_odds(k, put(bytes)) === 1,
    // The review of the game shown, in its words: {rows, accuracy, accuracyText, sums, legend,
    // done, total}.
    review: () => json(module._jinro_review(), SJIS),
  };
}

export function driverOf(module) {
  const io = channel(module);
  const { text, json, put, pieces, heap } = io;
  return {
    keys: keysOf(json(module._jinro_keys())),
    // A game dealt from the seed, under the rules with lies or not (lies: a boolean).
    start: (seed, lies) => {
      if (typeof lies !== "boolean" || module._jinro_start(seed, lies ? 1 : 0) !== 1) throw new Error("the game deals no such game");
    },
    // The rules of a game dealt by r (until then, those of the game it follows).
    nextLies: (lies) => typeof lies === "boolean" && module._jinro_next_lies(lies ? 1 : 0) === 1,
    setLanguage: (code) => module._jinro_set_language(code),
    feed: (bytes) => pieces(bytes, (piece) => (module._jinro_feed(put(piece)), true)),
    // The next key typed, played and drawn: the key, or null when none is left.
    nextKey: () => {
      const played = module._jinro_next_key();
      return played === 0 ? null : String.fromCharCode(played - 1);
    },
    playTyped: () => module._jinro_play_typed(),
    cells: (length) => heap().subarray(module._jinro_cells(), module._jinro_cells() + length),
    screen: () => text(module._jinro_screen()),
    cursor: () => module._jinro_cursor(),
    walk: (seat) => text(module._jinro_walk(seat)),
    layout: () => json(module._jinro_layout()),
    cards: () => json(module._jinro_cards(), SJIS),
    story: () => json(module._jinro_story(), SJIS),
    // The game shown: the seed it was dealt from, its keys, whether it is played with lies,
    // the link that replays it.
    gameSeed: () => module._jinro_game_seed(),
    gameKeys: () => text(module._jinro_game_keys()),
    gameLies: () => module._jinro_game_lies() === 1,
    replayLink: () => text(module._jinro_replay_link()),
    daily: (unixSeconds) => json(module._jinro_daily(unixSeconds)),
    // A seed of the form the game takes (one to ten digits, at most 4294967295), or null.
    parseSeed: (asked) => {
      if (typeof asked !== "string" || !/^[0-9]{1,10}$/.test(asked)) return null;
      const seed = module._jinro_parse_seed(put(encoder.encode(asked)));
      return seed >= 0 ? seed : null;
    },
    // True when the text is a link's keys, as the game checks them.
    checkKeys: (given) => {
      if (typeof given !== "string") return false;
      const bytes = encoder.encode(given);
      if (bytes.length !== given.length || bytes.length > module._jinro_record_max_keys()) return false;
      return pieces(bytes, (piece) => module._jinro_check_keys(put(piece)) === 1);
    },
    replayPace: () => module._jinro_replay_pace_ms(),
    maxKeys: () => module._jinro_record_max_keys(),
    ...coachOf(module, io),
  };
}
