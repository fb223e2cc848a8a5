// jinro in the browser. The game (WebAssembly) keeps its screen of 76 x 24 cells, counted
// in Shift-JIS bytes, and every fact about itself; this page draws those cells region by
// region (cells.js), fits them to the window (layout.js), gives a screen reader the cards
// and what changed (speech.js), and passes on what the player types (input.js). The
// panels beside the game come once its first frame is on screen (panels.js).
//
// For automated checks, window.jinro: `ready`, a promise of the first frame on screen
// (rejected when the page cannot start); `frames`, how many frames the page has shown;
// `screen()`, the cells as drawn.
import { createBoard } from "./cells.js";
import { createCoach } from "./coach.js";
import { driverOf } from "./driver.js";
import { connectInput, showButtons } from "./input.js";
import { createLayout } from "./layout.js";
import { rememberedLanguage, rememberLanguage, showLabels } from "./labels.js";
import { askedLies, createLiesSwitch } from "./lies.js";
import { createSpeech } from "./speech.js";
import { isLanguage, TEXTS } from "./texts.js";

let resolveReady;
let rejectReady;
const ready = new Promise((resolve, reject) => {
  resolveReady = resolve;
  rejectReady = reject;
});
ready.catch(() => {}); // a failed start is shown on the page; the hook still rejects
const hook = { ready, frames: 0, screen: () => [] };
window.jinro = hook;

const $ = (id) => document.getElementById(id);
const encoder = new TextEncoder();

let language = "ja";
let text = TEXTS.ja;
let asked = null; // ?lang=, where it names a language of the page
let game = null; // the driver, once the module is in
let board = null;
let speech = null;
let fitter = null;
let coach = null;
let panels = null; // the panels beside the game, once loaded
let lies = null; // the switch of the village with lies
const decided = []; // the games the visitor's own keys decided, not yet counted: {wolves, seed}

// A notice for the player, said once per kind and visit.
const noticed = new Set();
function say(message) {
  $("live").textContent = message;
  $("notice").textContent = message;
  $("notice").hidden = false;
}
function sayOnce(kind, message) {
  if (noticed.has(kind)) return;
  noticed.add(kind);
  say(message);
}

// Everything the page shows of the game's screen, brought up to date.
function refresh() {
  board.draw(game.cells(board.cellBytes));
  const cards = game.cards();
  const screen = game.screen();
  speech.label(cards, text);
  speech.announce(cards, ["attack", "vote", "seer verdict"].includes(screen), text);
  showButtons($("pad"), screen);
  coach?.follow();
  panels?.update();
}

function showScreen() {
  refresh();
  hook.frames += 1;
  document.body.classList.remove("starting"); // the page shows from the first frame on
}

// A game dealt from the seed, with lies or not; the games r deals after it follow the switch.
function deal(seed, withLies) {
  game.start(seed, withLies);
  game.nextLies(lies.on());
}

// The switch turned: a game not yet begun (no key played, nothing replayed or practised) is
// dealt again under the rules chosen; else they come with the next game.
function liesToggled(on) {
  game.nextLies(on);
  if (game.gameKeys() === "" && panels?.quiet() && game.gameLies() !== on) {
    deal(game.gameSeed(), on);
    showScreen();
  } else if (game.gameLies() !== on) {
    say(text.liesNext(on));
  }
}

// A game the visitor's key decided: kept for the statistics, which count it once.
function decide(before) {
  if (before === "won" || game.screen() !== "won") return;
  decided.push({ wolves: game.story().winner === "wolves", seed: game.gameSeed() });
}

// Everything typed goes through the game's own key decoder. A key, a button or a tap
// shows a screen per key; a paste plays all its keys and shows the screen after the last.
// Only the visitor's own keys (byPlayer) decide a game for the statistics, never a replay's.
function type(data, { whole = false, byPlayer = false } = {}) {
  if (!game) return;
  game.feed(typeof data === "string" ? encoder.encode(data) : data);
  let before = game.screen();
  if (whole) {
    const played = game.playTyped();
    if (byPlayer) decide(before);
    if (played > 0) showScreen();
  } else {
    while (game.nextKey() !== null) {
      if (byPlayer) decide(before);
      before = game.screen();
      showScreen();
    }
  }
  if (game.gameKeys().length >= game.maxKeys()) sayOnce("recordFull", text.recordFull(game.maxKeys()));
}

// What the player types (not what a replay plays): it takes over a replay and closes an
// open help or result panel, and reaches the game, unless practice takes it.
function playerTypes(data, options) {
  panels?.beforeKey();
  if (panels?.practiceTakes(data)) return;
  type(data, { ...options, byPlayer: true });
}

// The game in the other language: drawn again, no key played again, no frame counted.
function switchLanguage(to) {
  language = to;
  text = TEXTS[to];
  rememberLanguage(to);
  applyTexts();
  if (!game) return;
  game.setLanguage(text.code);
  refresh();
}

// The page's labels in the chosen language (the buttons' keys once the game names them).
function applyTexts() {
  showLabels(language, text, game?.keys);
}

function fail(message, error) {
  rejectReady(error ?? new Error(message));
  document.body.classList.remove("starting");
  const box = $("message");
  if (!box) return;
  box.textContent = message;
  box.hidden = false;
  document.body.classList.add("failed");
}

// ?seed=N (one to ten digits, at most 4294967295, as the game takes it), else ?daily (no
// value, or 1), else the clock's second. A value that is not of its form is said, and the
// clock deals.
function chooseSeed(params) {
  const now = Math.floor(Date.now() / 1000);
  if (params.has("seed")) {
    const given = game.parseSeed(params.get("seed"));
    if (given !== null) return given;
    say(text.badSeed);
    return now;
  }
  if (params.has("daily")) {
    if (["", "1"].includes(params.get("daily"))) return game.daily(now).seed;
    say(text.badDaily);
  }
  return now;
}

// Lies where the address asks for them (bad values said and left out); else, for a link's
// keys, none (a link of a game with lies says so); else as the switch says.
function chooseLies(params) {
  const wanted = askedLies(params, () => say(text.badLies));
  if (wanted !== null) return wanted;
  return params.has("keys") ? false : lies.on();
}

// The panels come once the first frame is on screen: nothing of them delays it.
function loadPanels() {
  import("./panels.js")
    .then(({ startPanels }) => {
      panels = startPanels({
        language: () => language,
        game,
        coach,
        story: () => game.story(),
        decided: () => decided.splice(0),
        showKeys: (seed, keys, withLies) => {
          // That screen of a game: dealt again from its seed (under its rules) and its keys
          // played, the last screen shown.
          deal(seed, withLies);
          game.feed(encoder.encode(keys));
          game.playTyped();
          showScreen();
        },
        lies,
        play: (key) => type(key),
        step: () => game.nextKey() !== null && showScreen(), // the next key typed, and its screen
        say,
        relayout: () => fitter.fit(),
      });
    })
    .catch(() => {}); // the game plays on without them
}

async function main() {
  $("served-only")?.remove(); // scripts run: the page is served
  // Until the first frame the page is laid out but not shown: the board's rows fill and
  // the controls find their place at once, and nothing on screen moves when they do.
  document.body.classList.add("starting");
  const params = new URLSearchParams(window.location.search);
  if (isLanguage(params.get("lang"))) {
    asked = params.get("lang");
    language = asked;
    text = TEXTS[language];
  }
  applyTexts();
  const module = await import("./jinro.mjs").then(({ default: createGame }) => createGame());
  game = driverOf(module);
  const layout = game.layout();
  board = createBoard(layout, { head: $("head"), cards: $("cards"), panel: $("panel"), log: $("log") });
  hook.screen = board.read;
  speech = createSpeech({ board, layout, cardBlocks: board.cardBlocks, headText: $("head-text"), live: $("live") });
  fitter = createLayout(layout, { board: $("board"), recordOpen: () => panels?.recordOpen() });
  const facts = { shown: $("facts"), live: $("facts-live") };
  coach = createCoach({
    game,
    cardBlocks: board.cardBlocks,
    words: () => text,
    screen: () => game.screen(),
    button: $("coach-button"),
    facts,
    answers: $("answers"),
  });
  // What stands under the cards (the coach's facts, practice) takes the panel's rows, blank
  // on a screen of choice, where the whole screen shows.
  $("board").style.setProperty("--panel-top", String(layout.panel.rows[0]));
  $("board").style.setProperty("--panel-rows", String(layout.panel.rows[1] - layout.panel.rows[0] + 1));
  $("coach-button").addEventListener("click", () => coach.toggle());
  fitter.fit(); // with the Latin font's own cell width; measured again once the fonts are in
  window.addEventListener("resize", () => fitter.fit());
  applyTexts(); // the buttons' keys, now that the game names them
  game.setLanguage(text.code);
  lies = createLiesSwitch({ button: $("lies-button"), reset: () => say(text.liesReset), toggled: liesToggled });
  deal(chooseSeed(params), chooseLies(params));
  showScreen();
  connectInput(
    { board: $("board"), pad: $("pad"), keys: $("keys") },
    {
      type: playerTypes,
      escape: () => panels?.escape(),
      screen: () => game.screen(),
      walk: (seat) => game.walk(seat),
      key: (action) => game.keys[action],
      most: () => game.maxKeys(),
      cut: (most) => sayOnce("pasteCut", text.pasteCut(most)),
    },
  );
  $("language").addEventListener("click", () => switchLanguage(text.other));
  // After the first frame, each in a task of its own so that none keeps a key waiting:
  // the storage (a remembered language shows the game again in it), then the panels
  // once the browser is idle.
  requestAnimationFrame(() =>
    setTimeout(() => {
      resolveReady();
      const remembered = rememberedLanguage();
      if (!asked && remembered && remembered !== language) switchLanguage(remembered);
      else applyTexts(); // the offer of English, now that the storage is known
      const idle = window.requestIdleCallback ?? ((run) => setTimeout(run, 1));
      idle(loadPanels, { timeout: 500 });
    }),
  );
  document.fonts?.ready.then(() => {
    fitter.measureCell();
    fitter.fit();
  });
  if ("serviceWorker" in navigator) navigator.serviceWorker.register("sw.js").catch(() => {});
}

// Awaited at the top of the module: whatever fails on the way to the first frame is said
// on the page, and ready rejects.
try {
  await main();
} catch (error) {
  fail(text.loadFailed, error);
}
