// jinro in the browser. The game (WebAssembly) draws into an xterm.js terminal of 76 x 24
// cells; whatever the player does (keys, the buttons, a tap on a card) reaches the game
// as keys of the terminal, one frame after each.
import { Terminal } from "./vendor/xterm.mjs";
import createGame from "./jinro.mjs";

const COLUMNS = 76;
const ROWS = 24;
const SELECTING = new Set([1, 7]); // the attack and the vote: the cursor picks a seat
const LEADING_ON = new Set([0, 3, 5, 8]); // any key goes on
const NEXT_KEY = " ";
const FEED_CHUNK = 4096;

// For automated checks: the terminal, a promise of the first frame in its buffer, and
// how many frames have reached the buffer so far.
let firstFrame;
const hook = { terminal: null, ready: new Promise((resolve) => (firstFrame = resolve)), frames: 0 };
window.jinro = hook;

const encoder = new TextEncoder();
const coarsePointer = window.matchMedia("(pointer: coarse)").matches;

// The seed: ?seed=N for that second, ?daily for today's village in Japan, else now.
function chooseSeed(game) {
  const params = new URLSearchParams(window.location.search);
  const now = Math.floor(Date.now() / 1000);
  if (params.has("seed")) {
    const seed = game.ccall("jinro_parse_seed", "number", ["string"], [params.get("seed")]);
    if (seed >= 0) return seed;
    console.warn("jinro: ?seed= takes a whole number from 0 to 4294967295; dealing from the clock");
  }
  if (params.has("daily")) return game._jinro_daily_seed(now);
  return now;
}

function start(game, terminal, pad) {
  const write = (frame) =>
    terminal.write(frame, () => {
      hook.frames += 1;
      if (hook.frames === 1) firstFrame();
      showButtons(game, pad);
    });

  // Everything typed goes through the game's own key decoder, whole sequences included.
  const type = (data) => {
    const bytes = encoder.encode(data);
    for (let at = 0; at < bytes.length; at += FEED_CHUNK) {
      const piece = bytes.subarray(at, at + FEED_CHUNK);
      game.ccall("jinro_feed", null, ["array", "number"], [piece, piece.length]);
    }
    for (let frame; (frame = game._jinro_next_frame()) !== 0; ) write(game.UTF8ToString(frame));
  };

  write(game.UTF8ToString(game._jinro_start(chooseSeed(game))));
  terminal.onData(type);
  return type;
}

function showButtons(game, pad) {
  const phase = game._jinro_phase();
  for (const button of pad.querySelectorAll("button")) {
    const key = button.dataset.key;
    const usable =
      key === "r" ? phase === 10 || phase === 11 : key === NEXT_KEY ? LEADING_ON.has(phase) : SELECTING.has(phase);
    button.disabled = !usable;
  }
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

// The seat whose card (or cursor mark beside it) is at a cell, or -1.
function seatAt(column, row) {
  for (let seat = 0; seat < 10; seat++) {
    const x = (seat % 5) * 15 + 2;
    const y = Math.floor(seat / 5) * 7 + 2;
    if (column >= x - 1 && column < x + 13 && row >= y && row < y + 6) return seat;
  }
  return -1;
}

// A tap on a card moves the cursor there (it never confirms); on a screen that any key
// leads on from, a tap leads on.
function onTap(event, game, terminal, type) {
  const screen = terminal.element.querySelector(".xterm-screen");
  const box = screen.getBoundingClientRect();
  const column = Math.floor(((event.clientX - box.left) / box.width) * COLUMNS);
  const row = Math.floor(((event.clientY - box.top) / box.height) * ROWS);
  if (column < 0 || column >= COLUMNS || row < 0 || row >= ROWS) return;
  const phase = game._jinro_phase();
  if (LEADING_ON.has(phase)) {
    type(NEXT_KEY);
  } else if (SELECTING.has(phase)) {
    const seat = seatAt(column, row);
    if (seat >= 0) type(walk(game._jinro_cursor(), seat));
  }
}

// The largest font size at which the whole screen fits, measured as xterm.js measures a
// cell: the width of "W" in the first font, and the height of its line.
function fittingFontSize(container, fontFamily) {
  const probe = document.createElement("span");
  probe.style.cssText = `position:absolute;visibility:hidden;white-space:pre;font-kerning:none;font-family:${fontFamily};font-size:100px`;
  probe.textContent = "W".repeat(32);
  document.body.appendChild(probe);
  const cell = { width: probe.offsetWidth / 32 / 100, height: probe.offsetHeight / 100 };
  probe.remove();
  const size = Math.min(container.clientWidth / (COLUMNS * cell.width), container.clientHeight / (ROWS * cell.height));
  return Math.max(6, Math.min(48, Math.floor(size * 2) / 2 - 0.5));
}

function fit(terminal, container) {
  const size = fittingFontSize(container, terminal.options.fontFamily);
  if (size !== terminal.options.fontSize) terminal.options.fontSize = size;
}

async function main() {
  const container = document.getElementById("screen");
  const pad = document.getElementById("pad");
  const [game] = await Promise.all([
    createGame(),
    document.fonts.load('16px "JinroLatin"', "─A"),
    document.fonts.load('16px "JinroCJK"', "人"),
  ]);
  const fontFamily = '"JinroLatin", "JinroCJK", monospace';
  const terminal = new Terminal({
    cols: COLUMNS,
    rows: ROWS,
    fontFamily,
    fontSize: fittingFontSize(container, fontFamily),
    lineHeight: 1,
    scrollback: 0,
    cursorBlink: false,
    theme: {
      background: "#000000",
      foreground: "#c0c0c0",
      white: "#c0c0c0",
      brightGreen: "#55ff55",
      brightCyan: "#55ffff",
      brightRed: "#ff5555",
      brightMagenta: "#ff55ff",
      brightWhite: "#ffffff",
    },
  });
  hook.terminal = terminal;
  const type = start(game, terminal, pad);
  await hook.ready; // the first frame is in the buffer before the terminal is first drawn
  terminal.open(container);
  if (coarsePointer) terminal.textarea?.setAttribute("inputmode", "none"); // no on-screen keyboard

  terminal.element.addEventListener("click", (event) => onTap(event, game, terminal, type));
  pad.addEventListener("click", (event) => {
    const button = event.target.closest("button");
    if (!button || button.disabled) return;
    type(button.dataset.key);
    if (!coarsePointer) terminal.focus();
  });
  let pending = 0;
  window.addEventListener("resize", () => {
    cancelAnimationFrame(pending);
    pending = requestAnimationFrame(() => fit(terminal, container));
  });
  if (!coarsePointer) terminal.focus();
}

main();
