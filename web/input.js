// What reaches the game from the player: keys typed (as the bytes a terminal would send),
// text that comes without a key (an IME's character, a paste), the buttons under the
// cards, and taps on the board. The panels beside the game never take its keys.

// The bytes a terminal sends for a key, or null for a key that sends nothing.
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

// handlers: type(data, {whole}) plays what the player typed; escape() closes the panels;
// screen() is what the keys do on the screen shown; walk(seat) the keys to a seat; key(action)
// the game's key for what a button does (up, left, down, right, choose, on, again, and the
// morning's seer, medium, decline, black, white); cut(n)
// says that a paste was cut to n characters; most() the most a paste plays.
export function connectInput({ board, pad, keys }, handlers) {
  function onKeyDown(event) {
    if (event.isComposing || event.key === "Process" || event.keyCode === 229) return; // IME: its text comes as input
    if (event.ctrlKey || event.metaKey || event.altKey) return; // the browser's shortcuts stay the browser's
    if (event.key === "Escape") {
      handlers.escape(); // closes the panels; no key of the game
      return;
    }
    if (isControl(event.target) && (event.key === " " || event.key === "Enter")) return; // the button gives its own key
    if (event.target instanceof Element && event.target.closest("select")) return; // the replay's speed
    const bytes = keyBytes(event);
    if (bytes === null) return;
    event.preventDefault();
    handlers.type(bytes);
  }

  // Text that came without a key of its own. A paste is cut at the most keys a record
  // holds, and plays all its keys before its screen is shown.
  function takeText() {
    let typed = keys.value;
    keys.value = "";
    if (!typed) return;
    const most = handlers.most();
    if (typed.length > most) {
      typed = typed.slice(0, most);
      handlers.cut(most);
    }
    handlers.type(typed, { whole: true });
  }

  // A tap on a card moves the cursor there (it never confirms), a false seer's too; on a
  // screen that any key leads on from, a tap anywhere on the board leads on. A tap never
  // answers a question of the morning: only its buttons and keys do.
  function onTap(event) {
    const screen = handlers.screen();
    if (screen === "any key") {
      handlers.type(handlers.key("on"));
    } else if (screen === "attack" || screen === "vote" || screen === "seer verdict") {
      const card = event.target instanceof Element ? event.target.closest(".card") : null;
      if (card) handlers.type(handlers.walk(Number(card.dataset.seat)));
    }
  }

  function onButton(event) {
    const button = event.target instanceof Element ? event.target.closest("button[data-action]") : null;
    if (!button || button.getAttribute("aria-disabled") === "true") return; // the tools are no keys
    handlers.type(handlers.key(button.dataset.action));
  }

  document.addEventListener("keydown", onKeyDown);
  keys.addEventListener("input", (event) => {
    if (!event.isComposing) takeText();
  });
  keys.addEventListener("compositionend", takeText);
  board.addEventListener("click", onTap);
  pad.addEventListener("click", onButton);
  if (!window.matchMedia("(pointer: coarse)").matches) keys.focus({ preventScroll: true });
  else keys.setAttribute("inputmode", "none"); // no on-screen keyboard over the cards
}

// Which buttons act on a screen: the arrows and 決定 where the cursor chooses (the arrows
// also where a false seer names a seat), 次へ where any key leads on, もう一度 after a win;
// the morning's answers of a lying wolf where the morning asks for them. Those that do not
// act are aria-disabled rather than disabled, so that a focused button keeps its focus;
// only where the morning asks are they hidden, and the answers everywhere else (a focused
// button hidden gives its focus to the first one that acts).
const CURSOR = ["attack", "vote"];
const VERDICT = ["seer verdict", "medium verdict"];
const USABLE = {
  up: [...CURSOR, "seer verdict"],
  left: [...CURSOR, "seer verdict"],
  down: [...CURSOR, "seer verdict"],
  right: [...CURSOR, "seer verdict"],
  choose: CURSOR,
  again: ["won"],
  on: ["any key"],
  seer: ["claim"],
  medium: ["claim"],
  decline: ["claim"],
  black: VERDICT,
  white: VERDICT,
};
export function showButtons(pad, screen) {
  const focused = pad.contains(document.activeElement) ? document.activeElement : null;
  const buttons = [...pad.querySelectorAll("button[data-action]")];
  const acts = (button) => Object.hasOwn(USABLE, button.dataset.action) && USABLE[button.dataset.action].includes(screen);
  const asking = buttons.some((button) => button.classList.contains("asked") && acts(button));
  for (const button of buttons) {
    button.hidden = !acts(button) && (asking || button.classList.contains("asked"));
    button.setAttribute("aria-disabled", String(!acts(button)));
  }
  for (const group of pad.querySelectorAll(".arrows, .answers")) group.hidden = !group.querySelector("button:not([hidden])");
  if (focused?.hidden) pad.querySelector("button[data-action]:not([hidden])")?.focus();
}
