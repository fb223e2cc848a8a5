// The game's side of the page: the WebAssembly module's exports, wrapped. Every fact the
// page shows comes through here from the game; texts from the page reach the game
// through the buffer the module owns, with their length.

const encoder = new TextEncoder();

export function driverOf(module) {
  const sjis = new TextDecoder("shift_jis");
  const ascii = new TextDecoder("ascii");
  const heap = () => module.HEAPU8;
  const size = module._jinro_buffer_size();
  // A NUL-terminated text the module handed over.
  const text = (at, decoder = ascii) => decoder.decode(heap().subarray(at, heap().indexOf(0, at)));
  const json = (at, decoder = ascii) => JSON.parse(text(at, decoder));
  // Bytes into the buffer, at most its size; how many.
  const put = (bytes) => {
    heap().set(bytes, module._jinro_buffer());
    return bytes.length;
  };
  const pieces = (bytes, each) => {
    for (let at = 0; at < bytes.length || at === 0; at += size) {
      if (!each(bytes.subarray(at, at + size))) return false;
      if (bytes.length === 0) break;
    }
    return true;
  };
  return {
    start: (seed) => module._jinro_start(seed),
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
    cards: () => json(module._jinro_cards(), sjis),
    story: () => json(module._jinro_story(), sjis),
    keysPlayed: () => text(module._jinro_keys_played()),
    replayLink: () => text(module._jinro_replay_link()),
    daily: (unixSeconds) => json(module._jinro_daily(unixSeconds)),
    // A seed of the form the game takes (one to ten digits, at most 4294967295), or null.
    parseSeed: (asked) => {
      if (typeof asked !== "string" || !/^[0-9]{1,10}$/.test(asked)) return null;
      const seed = module._jinro_parse_seed(put(encoder.encode(asked)));
      return seed >= 0 ? seed : null;
    },
    // True when the text is a link's keys, as the game checks them.
    checkKeys: (keys) => {
      if (typeof keys !== "string") return false;
      const bytes = encoder.encode(keys);
      if (bytes.length !== keys.length || bytes.length > module._jinro_record_max_keys()) return false;
      return pieces(bytes, (piece) => module._jinro_check_keys(put(piece)) === 1);
    },
    // At an attack or a vote: the public record of what the screens have shown (a copy of
    // its bytes, for the coach's worker); else null.
    decision: () => {
      const at = module._jinro_decision();
      return at === 0 ? null : heap().slice(at, at + module._jinro_decision_size());
    },
    // Every choice the wolves made in the game shown: {key, chosen, record (bytes)}.
    decisions: () => {
      const made = json(module._jinro_decisions());
      const at = module._jinro_decision_records();
      const bytes = module._jinro_decision_size();
      return made.map((d) => ({ ...d, record: heap().slice(at + d.record * bytes, at + (d.record + 1) * bytes) }));
    },
    replayPace: () => module._jinro_replay_pace_ms(),
    maxKeys: () => module._jinro_record_max_keys(),
  };
}
