// jinro in the browser. The game (WebAssembly) keeps its screen of 76 x 24 cells, counted
// in Shift-JIS bytes; this page draws those cells itself, one element per cell, and lays
// them out by region: as in a terminal where 76 columns fit, and on a narrow phone with
// the header and prompt wrapped, the ten cards flowing in fewer columns, then the panel
// lines and the log line. Keys typed, the buttons and taps on cards all reach the game as
// keys; the game draws exactly once per key, and a resize only lays out the cells again.
  const COLUMNS = 76;
  const ROWS = 24;
  const CELL_BYTES = 4; // byte, colour attribute, part, ambiguous class
  const LEAD = 1;
  const TRAIL = 2;
  const SELECTING = new Set([1, 7]); // the attack and the vote: the cursor picks a seat
  const LEADING_ON = new Set([0, 3, 5, 8]); // any key goes on
  const WON = new Set([10, 11]);
  const NEXT_KEY = " ";
  // The regions of the screen: rows 0-1 the header and prompt; rows 2-14 the cards (a
  // card with its cursor mark is 15 columns wide, from column 1, rows 2-7 and 9-14); rows
  // 15-22 the panel lines, halves at column 40; row 23 the log line.
  const CARD_ROWS = [2, 9];
  const CARD_HEIGHT = 6;
  const CARD_WIDTH = 15;
  const PANEL_ROWS = [15, 22];
  const PANEL_SPLIT = 40;
  const LOG_ROW = 23;
  const MIN_FONT_PX = 13;
  const RECORD_WIDTH = 340; // the record panel beside a wide screen
  const ROW_EM = 1.17; // the Latin font's own line: rows with kana never grow
  // A box line padded in its second cell, as a terminal that draws it one column wide shows it.
  const FILLERS = { 1: " ", 2: "─", 3: "━" };

  // The page's own words, by language; the game's come from the game.
  const TEXTS = {
    ja: {
      seat: (n) => `${n}番`,
      and: "、",
      sentence: "。 ",
      alive: "生存",
      noClaim: "なし",
      cursor: "カーソル",
      cursorOn: (label) => `カーソル: ${label}`,
      loadFailed: "ゲームを読み込めませんでした。ページを読み込み直してください。",
      badSeed: "seed= が読めないので、いまの時刻の村で遊びます。",
      badDaily: "daily が読めないので、いまの時刻の村で遊びます。",
      pasteCut: (n) => `貼り付けが長すぎるので、最初の ${n} 文字だけを遊びます。`,
      recordFull: (n) => `キーが ${n} 個に達したので、ここから先は共有のリンクに残りません。`,
      seats: "席",
      controls: "操作",
      keys: "キー入力",
      keysHelp: "i j k l でカーソルを動かし、z で決めます。ほかの画面はどのキーでも進みます。勝負がついたら r でもう一度遊べます。",
      buttons: { i: ["↑", "上 (i)"], j: ["←", "左 (j)"], k: ["↓", "下 (k)"], l: ["→", "右 (l)"], z: ["決定"], " ": ["次へ"], r: ["もう一度"] },
      other: "en",
      switchTo: ["English", "Play in English"],
    },
    en: {
      seat: (n) => `Seat ${n}`,
      and: ", ",
      sentence: ". ",
      alive: "alive",
      noClaim: "none",
      cursor: "cursor",
      cursorOn: (label) => `Cursor: ${label}`,
      loadFailed: "The game could not be loaded. Please reload the page.",
      badSeed: "seed= could not be read: this is the village of the current second.",
      badDaily: "daily could not be read: this is the village of the current second.",
      pasteCut: (n) => `The paste was too long: only its first ${n} characters are played.`,
      recordFull: (n) => `${n} keys played: from here on, the share link no longer follows the game.`,
      seats: "Seats",
      controls: "Controls",
      keys: "Keys",
      keysHelp: "i j k l move the cursor, z confirms. Any key goes on from the other screens. After a win, r plays again.",
      buttons: { i: ["↑", "Up (i)"], j: ["←", "Left (j)"], k: ["↓", "Down (k)"], l: ["→", "Right (l)"], z: ["Confirm"], " ": ["Next"], r: ["Again"] },
      other: "ja",
      switchTo: ["日本語", "日本語で遊ぶ"],
    },
  };
  const LANGUAGE_CODES = { ja: 0, en: 1 };
  const STORED_LANGUAGE = "jinro.language";

  // ?lang=en or ?lang=ja, else what this browser chose before, else Japanese. An unknown
  // ?lang= is ignored. The browser's storage is first opened only after the first frame
  // (opening it costs a new visitor more than the whole game takes to start); a choice
  // remembered there then shows the game again in that language.
  let stored; // the remembered choice: undefined until read, null for none
  const isLanguage = (value) => typeof value === "string" && Object.hasOwn(TEXTS, value);
  function storedLanguage() {
    if (stored === undefined) {
      try {
        stored = window.localStorage.getItem(STORED_LANGUAGE);
        if (stored !== null && !isLanguage(stored)) {
          window.localStorage.removeItem(STORED_LANGUAGE); // not one of ours: forgotten
          stored = null;
        }
      } catch {
        stored = null; // no storage: the page works without remembering
      }
    }
    return stored;
  }
  let params; // the address's query
  let asked; // ?lang=, where it names a language of the page
  let language = "ja";
  let text = TEXTS[language];

  // For automated checks: a promise of the first frame on screen, how many frames the
  // page has shown, and the cells as drawn.
  let resolveReady;
  let rejectReady;
  const ready = new Promise((resolve, reject) => {
    resolveReady = resolve;
    rejectReady = reject;
  });
  ready.catch(() => {}); // a failed load is shown on the page; the hook still rejects
  const hook = { ready, frames: 0, screen: readScreen };
  window.jinro = hook;

  const $ = (id) => document.getElementById(id);
  const cardBlocks = []; // by seat
  let decoder;
  let encoder;
  const charOf = new Map(); // Shift-JIS code -> character
  let shown = new Uint8Array(ROWS * COLUMNS * CELL_BYTES).fill(255); // what the cells show
  let game = null;
  let seed = 0;
  let typedLog = []; // every byte typed since the game was dealt: a change of language replays them
  let playedKeys = ""; // every key played, spelled as records spell them: ijklzr and "."
  let maxKeys = 0; // the most keys a record holds: playedKeys stops there
  let panels = null; // the panels beside the game, once loaded

  // --- the cells -------------------------------------------------------------------------
  // Each region's part of a screen row is one line of text, in runs of one colour. The
  // Japanese font is scaled so that a kana or kanji advances exactly two cells of the
  // Latin font, and a box line, one cell wide in the Latin font, is followed by what a
  // terminal that draws it narrow puts in its second cell; so every character stands in
  // its own columns without an element of its own.

  const segments = []; // {element, y, from, to}
  const drawn = []; // drawn[y][x]: {ch, attr} as the page drew it; "" in a second cell

  function segment(y, from, to, extra = "") {
    const element = document.createElement("div");
    element.className = `line${extra}`;
    segments.push({ element, y, from, to });
    return element;
  }

  function build() {
    for (let y = 0; y < ROWS; y++) drawn.push(Array.from({ length: COLUMNS }, () => ({ ch: " ", attr: 7 })));
    $("head").append(segment(0, 0, COLUMNS, " text"), segment(1, 0, COLUMNS, " text"));
    // The header's first row has text from the first frame on: when the browser supports
    // element timing, this says when that frame reached the screen (scripts/web-budget).
    segments[0].element.setAttribute("elementtiming", "jinro-first-frame");
    const bands = [];
    for (const top of CARD_ROWS) {
      const band = document.createElement("div");
      band.className = "band";
      const gap = document.createElement("div"); // column 0, left of the first cursor mark
      gap.className = "gap";
      gap.setAttribute("aria-hidden", "true");
      for (let y = top; y < top + CARD_HEIGHT; y++) gap.append(segment(y, 0, 1));
      band.append(gap);
      for (let k = 0; k < 5; k++) {
        const seat = (top === CARD_ROWS[0] ? 0 : 5) + k;
        const block = document.createElement("div");
        block.className = "card";
        block.dataset.seat = String(seat);
        const lines = document.createElement("div");
        lines.setAttribute("aria-hidden", "true");
        const x0 = 1 + k * CARD_WIDTH;
        for (let y = top; y < top + CARD_HEIGHT; y++) lines.append(segment(y, x0, x0 + CARD_WIDTH));
        const label = document.createElement("span");
        label.className = "visually-hidden";
        block.append(lines, label);
        band.append(block);
        cardBlocks[seat] = block;
      }
      bands.push(band);
    }
    const between = segment(CARD_ROWS[1] - 1, 0, COLUMNS, " between"); // the blank row between the bands
    between.setAttribute("aria-hidden", "true");
    $("cards").append(bands[0], between, bands[1]);
    for (const [from, to] of [[0, PANEL_SPLIT], [PANEL_SPLIT, COLUMNS]]) {
      const half = document.createElement("div");
      half.className = "half";
      for (let y = PANEL_ROWS[0]; y <= PANEL_ROWS[1]; y++) half.append(segment(y, from, to));
      $("panel").append(half);
    }
    $("log").append(segment(LOG_ROW, 0, COLUMNS, " text"));
  }

  function character(lead, trail) {
    const code = (lead << 8) | trail;
    let c = charOf.get(code);
    if (c === undefined) {
      c = trail === 0 ? decoder.decode(new Uint8Array([lead])) : decoder.decode(new Uint8Array([lead, trail]));
      if (c.length !== 1 && !(c.length === 2 && c.codePointAt(0) > 0xffff)) c = "?";
      charOf.set(code, c);
    }
    return c;
  }

  const gameCells = () => {
    const base = game._jinro_cells();
    return game.HEAPU8.subarray(base, base + ROWS * COLUMNS * CELL_BYTES);
  };

  // Draws one segment from the game's cells: its runs of one colour, and the draw list.
  function drawSegment({ element, y, from, to }, now) {
    const runs = [];
    let blank = true;
    for (let x = from; x < to; x++) {
      const at = (y * COLUMNS + x) * CELL_BYTES;
      const [byte, attr, part, ambiguous] = [now[at], now[at + 1], now[at + 2], now[at + 3]];
      let ch;
      let shows;
      if (part === TRAIL) {
        ch = "";
        shows = x === from ? " " : ""; // a character cut by the region's edge shows as a blank
      } else if (part === LEAD && x + 1 < COLUMNS) {
        ch = character(byte, now[at + CELL_BYTES]);
        shows = ambiguous ? ch + (FILLERS[ambiguous] ?? " ") : ch;
        if (x + 1 >= to) shows = ambiguous ? ch : " "; // cut by the region's edge
      } else {
        ch = byte >= 0x20 && byte !== 0x7f ? character(byte, 0) : "?";
        shows = ch;
      }
      drawn[y][x] = { ch: part === TRAIL ? "" : ch, attr };
      if (ch.trim()) blank = false;
      const run = runs.at(-1);
      if (run && (run.attr === attr || shows.trim() === "")) run.text += shows;
      else runs.push({ attr, text: shows });
    }
    // A line that wraps on a phone ends at its last character: blanks after it would hang
    // past the edge of the screen.
    if (element.classList.contains("text")) {
      while (runs.length && !runs.at(-1).text.trim()) runs.pop();
      if (runs.length) runs.at(-1).text = runs.at(-1).text.trimEnd();
    }
    element.replaceChildren(
      ...runs.map(({ attr, text }) => {
        const span = document.createElement("span");
        span.className = `a${attr}`;
        span.textContent = text;
        return span;
      }),
    );
    element.classList.toggle("blank", blank);
  }

  // Brings every segment in which a cell changed to what the game's screen holds now.
  function draw() {
    const now = gameCells();
    for (const seg of segments) {
      const start = (seg.y * COLUMNS + seg.from) * CELL_BYTES;
      const end = (seg.y * COLUMNS + seg.to) * CELL_BYTES + CELL_BYTES; // the next lead's trail too
      let same = true;
      for (let at = start; at < end && at < now.length && same; at++) same = now[at] === shown[at];
      if (!same) drawSegment(seg, now);
    }
    shown = now.slice();
  }

  // The 24 rows as drawn: each cell {ch, attr}; a double-byte character gives its
  // character in its first cell and "" in its second.
  function readScreen() {
    return drawn.map((row) => row.map((cell) => ({ ...cell })));
  }

  // --- what a screen reader hears --------------------------------------------------------

  const rowText = (y, from = 0, to = COLUMNS) =>
    drawn[y]
      .slice(from, to)
      .map((cell) => cell.ch)
      .join("")
      .replace(/[─━│┃┌┐└┘]/g, " ")
      .replace(/\s+/g, " ")
      .trim();

  // A card as words: its seat, and each of its rows (name, claim, counts, death).
  function cardLabel(seat) {
    const top = CARD_ROWS[seat < 5 ? 0 : 1];
    const x = 1 + (seat % 5) * CARD_WIDTH;
    const inner = (dy) => rowText(top + dy, x + 1, x + CARD_WIDTH);
    const [number, role] = [inner(0).slice(0, 1), inner(0).slice(1).trim()];
    const claim = inner(2).replace(/[？?]$/, text.noClaim);
    const parts = [text.seat(number), inner(1), claim, inner(3), inner(4) || text.alive];
    if (role) parts.push(role);
    return parts.join(text.and);
  }

  function updateLabels(cursor) {
    for (let seat = 0; seat < 10; seat++) {
      const label = cardLabel(seat) + (seat === cursor ? `${text.and}${text.cursor}` : "");
      cardBlocks[seat].lastElementChild.textContent = label;
    }
    $("head-text").textContent = `${rowText(0)} ${rowText(1)}`;
  }

  let said = { prompt: "", log: "", panel: "", cursor: -1 };
  function announce(cursor) {
    const prompt = rowText(1);
    const log = rowText(LOG_ROW);
    const panel = [];
    for (let y = PANEL_ROWS[0]; y <= PANEL_ROWS[1]; y++) panel.push(rowText(y, 0, PANEL_SPLIT), rowText(y, PANEL_SPLIT));
    const panelText = panel.filter(Boolean).join("。");
    const parts = [];
    if (prompt !== said.prompt && prompt) parts.push(prompt);
    if (panelText !== said.panel && panelText) parts.push(panelText);
    if (log !== said.log && log) parts.push(log);
    if (cursor !== said.cursor && SELECTING.has(game._jinro_phase())) parts.push(text.cursorOn(cardLabel(cursor)));
    said = { prompt, log, panel: panelText, cursor };
    const sentences = parts.map((part) => (/[.。!！?？]$/.test(part) ? part : part + text.sentence.trim()));
    if (parts.length) $("live").textContent = sentences.join(" ");
  }

  // --- playing -------------------------------------------------------------------------

  // Everything the page shows of the game's screen, brought up to date.
  function refresh() {
    draw();
    const cursor = game._jinro_cursor();
    updateLabels(cursor);
    announce(cursor);
    showButtons();
    panels?.update();
  }

  function showScreen() {
    refresh();
    hook.frames += 1;
    document.body.classList.remove("starting"); // the board shows from its first frame on
  }

  function readStory() {
    const at = game._jinro_story();
    const end = game.HEAPU8.indexOf(0, at);
    return JSON.parse(decoder.decode(game.HEAPU8.subarray(at, end)));
  }

  // Everything typed goes through the game's own key decoder. A key, a button or a tap
  // shows a screen per key; a paste plays all its keys and shows the screen after the last.
  function type(data, { whole = false } = {}) {
    if (!game) return;
    const bytes = typeof data === "string" ? encoder.encode(data) : data;
    typedLog.push(bytes);
    feed(bytes);
    let shown = true;
    for (let played; (played = game._jinro_next_key()) !== 0; ) {
      const key = String.fromCharCode(played - 1);
      if (playedKeys.length < maxKeys) playedKeys += "ijklzr".includes(key) && key !== "" ? key : ".";
      else if (playedKeys.length === maxKeys) sayOnce("recordFull", text.recordFull(maxKeys));
      shown = !whole;
      if (shown) showScreen();
    }
    if (!shown) showScreen();
  }

  // Bytes into the game through the buffer it owns, a piece at a time.
  function toBuffer(bytes) {
    game.HEAPU8.set(bytes, game._jinro_buffer());
    return bytes.length;
  }
  function feed(bytes) {
    const size = game._jinro_buffer_size();
    for (let at = 0; at < bytes.length; at += size) game._jinro_feed(toBuffer(bytes.subarray(at, at + size)));
  }

  // Keys of a record or a link, as the game checks them: only i j k l z r and ".".
  function keysAreValid(keys) {
    if (typeof keys !== "string" || keys.length > maxKeys) return false;
    const bytes = encoder.encode(keys);
    if (bytes.length !== keys.length) return false;
    const size = game._jinro_buffer_size();
    for (let at = 0; at < bytes.length; at += size) {
      if (!game._jinro_check_keys(toBuffer(bytes.subarray(at, at + size)))) return false;
    }
    return true;
  }

  // A notice for the player, said once per kind and visit.
  const noticed = new Set();
  function sayOnce(kind, message) {
    if (noticed.has(kind)) return;
    noticed.add(kind);
    say(message);
  }
  function say(message) {
    $("live").textContent = message;
    $("notice").textContent = message;
    $("notice").hidden = false;
  }

  // The game in the other language: the same seed and keys played again, the last screen
  // shown. Log lines are kept as they were written, so nothing less would do; no key is
  // drawn twice on the page and no frame is counted.
  function switchLanguage(to) {
    language = to;
    text = TEXTS[to];
    stored = to;
    try {
      window.localStorage.setItem(STORED_LANGUAGE, to);
    } catch {
      // not remembered, nothing more
    }
    applyTexts();
    if (!game) return;
    game._jinro_set_language(LANGUAGE_CODES[to]);
    game._jinro_start(seed);
    for (const bytes of typedLog) feed(bytes);
    while (game._jinro_next_key() !== 0);
    refresh();
  }

  // The page's labels in the chosen language, and the switch to the other one. Where this
  // browser's languages leave out Japanese, the switch offers English in words.
  function applyTexts() {
    document.documentElement.lang = language;
    $("cards").setAttribute("aria-label", text.seats);
    $("pad").setAttribute("aria-label", text.controls);
    $("keys-label").textContent = text.keys;
    $("keys-help").textContent = text.keysHelp;
    for (const button of document.querySelectorAll("#pad button[data-key]")) {
      const [shown, name] = text.buttons[button.dataset.key];
      button.textContent = shown;
      if (name) button.setAttribute("aria-label", name);
    }
    // Offered from the first paint on (the storage is read later): only a visitor who chose
    // Japanese before sees the switch change.
    const offer = language === "ja" && !stored && !navigator.languages?.some((l) => l.startsWith("ja"));
    const toggle = $("language");
    toggle.textContent = offer ? "Play in English" : text.switchTo[0];
    toggle.lang = text.other;
    toggle.setAttribute("aria-label", text.switchTo[1]);
    toggle.classList.toggle("offer", offer);
  }

  function showButtons() {
    const phase = game._jinro_phase();
    for (const button of document.querySelectorAll("#pad button[data-key]")) {
      const key = button.dataset.key;
      const usable = key === "r" ? WON.has(phase) : key === NEXT_KEY ? LEADING_ON.has(phase) : SELECTING.has(phase);
      // aria-disabled rather than disabled: a focused button keeps its focus.
      button.setAttribute("aria-disabled", String(!usable));
    }
  }

  // The bytes a terminal would send for a key, or null for a key that sends nothing.
  const SEQUENCES = {
    Enter: "\r",
    Backspace: "\x7f",
    ArrowUp: "\x1b[A",
    ArrowDown: "\x1b[B",
    ArrowRight: "\x1b[C",
    ArrowLeft: "\x1b[D",
    Home: "\x1b[H",
    End: "\x1b[F",
    Insert: "\x1b[2~",
    Delete: "\x1b[3~",
    PageUp: "\x1b[5~",
    PageDown: "\x1b[6~",
    F1: "\x1bOP",
    F2: "\x1bOQ",
    F3: "\x1bOR",
    F4: "\x1bOS",
    F5: "\x1b[15~",
    F6: "\x1b[17~",
    F7: "\x1b[18~",
    F8: "\x1b[19~",
    F9: "\x1b[20~",
    F10: "\x1b[21~",
    F11: "\x1b[23~",
    F12: "\x1b[24~",
  };
  function keyBytes(event) {
    if ([...event.key].length === 1) return event.key;
    return SEQUENCES[event.key] ?? null;
  }

  const isControl = (element) => element instanceof Element && element.closest("button, a, summary, select, textarea") !== null;

  function onKeyDown(event) {
    if (event.isComposing || event.key === "Process" || event.keyCode === 229) return; // IME: its text comes as input
    if (event.ctrlKey || event.metaKey || event.altKey) return; // the browser's shortcuts stay the browser's
    if (event.key === "Escape") {
      panels?.escape(); // closes the panels; no key of the game
      return;
    }
    if (isControl(event.target) && (event.key === " " || event.key === "Enter")) return; // the button gives its own key
    if (event.target instanceof Element && event.target.closest("select")) return; // the replay's speed
    const bytes = keyBytes(event);
    if (bytes === null) return;
    event.preventDefault();
    playerTypes(bytes);
  }

  // What the player types (not what a replay plays): it takes over a replay and closes an
  // open help or result panel, and reaches the game.
  function playerTypes(data, options) {
    panels?.beforeKey();
    type(data, options);
  }

  // Text that came without a key of its own: an IME's character, a paste, a typed "あ".
  // A paste is cut at the most keys a record holds.
  function takeText() {
    const input = $("keys");
    let typed = input.value;
    input.value = "";
    if (!typed) return;
    if (typed.length > maxKeys) {
      typed = typed.slice(0, maxKeys);
      sayOnce("pasteCut", text.pasteCut(maxKeys));
    }
    playerTypes(typed, { whole: true });
  }

  // The keys that walk the cursor from one seat to another: k swaps the rows of five,
  // then l or j along the row.
  function walk(from, to) {
    let keys = "";
    let at = from;
    if (Math.floor(at / 5) !== Math.floor(to / 5)) {
      keys += "k";
      at = (at + 5) % 10;
    }
    const steps = to - at;
    return keys + (steps > 0 ? "l".repeat(steps) : "j".repeat(-steps));
  }

  // A tap on a card moves the cursor there (it never confirms); on a screen that any key
  // leads on from, a tap anywhere on the board leads on.
  function onTap(event) {
    if (!game) return;
    const phase = game._jinro_phase();
    if (LEADING_ON.has(phase)) {
      playerTypes(NEXT_KEY);
    } else if (SELECTING.has(phase)) {
      const card = event.target instanceof Element ? event.target.closest(".card") : null;
      if (card) playerTypes(walk(game._jinro_cursor(), Number(card.dataset.seat)));
    }
  }

  function onButton(event) {
    const button = event.target instanceof Element ? event.target.closest("button[data-key]") : null;
    if (!button || button.getAttribute("aria-disabled") === "true") return; // the tools are no keys
    playerTypes(button.dataset.key);
  }

  // --- layout --------------------------------------------------------------------------

  let cellRatio = 0.60205; // the width of a cell in em: DejaVu Sans Mono's, measured again once the fonts are in
  function measureCell() {
    const probe = document.createElement("span");
    probe.className = "probe";
    probe.textContent = "0".repeat(40);
    $("board").append(probe);
    const width = probe.getBoundingClientRect().width;
    probe.remove();
    if (width > 0) cellRatio = width / 40 / 100;
  }

  // The largest text at which the whole 76 x 24 screen fits beside or above the buttons;
  // where that is under 13 px, the narrow arrangement with cards in as many columns as fit.
  function layout() {
    const root = document.documentElement;
    const recordBeside = window.innerWidth >= 1000 && panels?.recordOpen();
    document.body.classList.toggle("record-beside", Boolean(recordBeside));
    const width = window.innerWidth - 16 - (recordBeside ? RECORD_WIDTH : 0);
    const height = window.innerHeight - 16;
    const cell = (px) => px * cellRatio;
    const beside = Math.min((width - 176) / cell(COLUMNS), height / (ROWS * ROW_EM));
    // Under the screen the buttons take one row where the window is wide, two elsewhere.
    const padHeight = width >= 900 ? 64 : 120;
    const below = Math.min(width / cell(COLUMNS), (height - padHeight) / (ROWS * ROW_EM));
    const best = Math.max(beside, below);
    let font;
    let mode;
    if (best >= MIN_FONT_PX) {
      mode = beside > below ? "wide beside" : "wide below";
      font = Math.min(32, Math.floor(best * 2) / 2);
    } else {
      const perRow = Math.max(1, Math.floor(width / cell(CARD_WIDTH * MIN_FONT_PX)));
      font = Math.max(MIN_FONT_PX, Math.min(22, Math.floor((width / cell(CARD_WIDTH * perRow)) * 2) / 2));
      mode = "narrow";
    }
    document.body.classList.remove("wide", "narrow", "beside", "below");
    document.body.classList.add(...mode.split(" "));
    root.style.setProperty("--font", `${font}px`);
  }

  // --- start ---------------------------------------------------------------------------

  function fail(message, error) {
    rejectReady(error ?? new Error(message));
    document.body.classList.remove("starting");
    const box = document.getElementById("message");
    if (!box) return;
    box.textContent = message;
    box.hidden = false;
    document.body.classList.add("failed");
  }

  // ?seed=N (one to ten digits, at most 4294967295), else ?daily, else the clock's second.
  // A value that is not of its form is said, and the clock deals.
  function chooseSeed() {
    const now = Math.floor(Date.now() / 1000);
    if (params.has("seed")) {
      const asked = params.get("seed");
      const seed = /^[0-9]{1,10}$/.test(asked) ? game._jinro_parse_seed(toBuffer(encoder.encode(asked))) : -1;
      if (seed >= 0 && seed <= 4294967295) return seed;
      say(text.badSeed);
      return now;
    }
    if (params.has("daily")) {
      if (["", "1"].includes(params.get("daily"))) return game._jinro_daily_seed(now);
      say(text.badDaily);
    }
    return now;
  }

  // The panels come once the first frame is on screen: nothing of them delays it.
  function loadPanels() {
    import("./panels.js")
      .then(({ startPanels }) => {
        panels = startPanels({
          language: () => language,
          seed: () => seed,
          keys: () => playedKeys,
          checkKeys: keysAreValid,
          story: readStory,
          play: (key) => type(key),
          say,
          relayout: layout,
        });
      })
      .catch(() => {}); // the game plays on without them
  }

  async function main() {
    document.getElementById("served-only")?.remove(); // scripts run: the page is served
    // Until the first frame the board is laid out but not shown: its rows fill at once,
    // and nothing on screen moves when they do.
    document.body.classList.add("starting");
    params = new URLSearchParams(window.location.search);
    if (isLanguage(params.get("lang"))) {
      asked = params.get("lang");
      language = asked;
      text = TEXTS[language];
    }
    decoder = new TextDecoder("shift_jis");
    encoder = new TextEncoder();
    // The game compiles while the board is built.
    const loading = import("./jinro.mjs").then(({ default: createGame }) => createGame());
    loading.catch(() => {});
    build();
    applyTexts();
    layout(); // with the Latin font's own cell width; measured again once the fonts are in
    window.addEventListener("resize", layout);
    game = await loading;
    maxKeys = game._jinro_record_max_keys();
    seed = chooseSeed();
    game._jinro_set_language(LANGUAGE_CODES[language]);
    game._jinro_start(seed);
    showScreen();
    // After the first frame, each in a task of its own so that none keeps a key waiting:
    // the storage (a remembered language shows the game again in it), then the panels
    // once the browser is idle.
    requestAnimationFrame(() =>
      setTimeout(() => {
        resolveReady();
        const remembered = storedLanguage();
        if (!asked && remembered && remembered !== language) switchLanguage(remembered);
        else applyTexts(); // the offer of English, now that the storage is known
        const idle = window.requestIdleCallback ?? ((run) => setTimeout(run, 1));
        idle(loadPanels, { timeout: 500 });
      }),
    );

    document.addEventListener("keydown", onKeyDown);
    $("keys").addEventListener("input", (event) => {
      if (!event.isComposing) takeText();
    });
    $("keys").addEventListener("compositionend", takeText);
    $("board").addEventListener("click", onTap);
    $("pad").addEventListener("click", onButton);
    $("language").addEventListener("click", () => switchLanguage(text.other));
    if (!window.matchMedia("(pointer: coarse)").matches) $("keys").focus({ preventScroll: true });
    else $("keys").setAttribute("inputmode", "none"); // no on-screen keyboard over the cards
    document.fonts?.ready.then(() => {
      measureCell();
      layout();
    });
    if ("serviceWorker" in navigator) navigator.serviceWorker.register("sw.js").catch(() => {});
  }

  // Awaited at the top of the module. The script is render-blocking, so the first paint
  // already has the board built and laid out (the controls beside an empty screen), and
  // nothing moves when the game's first frame fills it. Whatever fails on the way to the
  // first frame is said on the page, and ready rejects.
  try {
    await main();
  } catch (error) {
    fail(text.loadFailed, error);
  }
