// The coach beside the game: with its switch on (off at first, remembered), each legal
// card of an attack or a vote shows the wolves' chance of winning after choosing it, as the
// odds firm up. The odds are worked out by a worker running the game's own WebAssembly
// (coach-worker.js) from the public record of what the screens have shown, so that a key is
// never kept waiting; each message of the worker is checked against its exact form, and
// its odds are handed to the game, which checks them against the choice they answer before
// the cards show them. The same worker reviews a finished game for the result panel.

const STORED = "jinro.coach";
const WORKER = new URL("./coach-worker.js", import.meta.url);

const same = (a, b) => a !== null && b !== null && a.length === b.length && a.every((byte, k) => byte === b[k]);
const isId = (value) => Number.isSafeInteger(value) && value >= 0;
const keysAre = (data, keys) => Object.keys(data).sort().join() === keys;

// A message of the worker in one of its forms (see coach-worker.js), else null.
function workerMessage(data, oddsSize) {
  if (typeof data !== "object" || data === null || Array.isArray(data)) return null;
  const isOdds = (value) => value instanceof Uint8Array && value.length === oddsSize;
  const sound = {
    odds: () => keysAre(data, "id,kind,odds,settled") && isId(data.id) && isOdds(data.odds) && typeof data.settled === "boolean",
    review: () => keysAre(data, "id,index,kind,odds") && isId(data.id) && isId(data.index) && isOdds(data.odds),
    refused: () => keysAre(data, "id,kind") && isId(data.id),
    failed: () => keysAre(data, "kind"),
  };
  return Object.hasOwn(sound, data.kind) && sound[data.kind]() ? data : null;
}

// The worker, started when first needed. It fails once and for all (a "failed" message,
// an error, or no worker at all in this browser), and then says so through failed().
function workerLink(oddsSize, { message, failed }) {
  let worker = null;
  let down = false;
  const fail = () => {
    if (down) return;
    down = true;
    worker?.terminate();
    worker = null;
    failed();
  };
  const start = () => {
    if (worker || down) return worker;
    try {
      worker = new Worker(WORKER, { type: "module" });
    } catch {
      fail();
      return null;
    }
    worker.onmessage = ({ data }) => {
      const taken = workerMessage(data, oddsSize);
      if (taken?.kind === "failed") fail();
      else if (taken) message(taken);
    };
    worker.onerror = fail;
    return worker;
  };
  return {
    // Posts to the worker, started if need be: false when none runs.
    post: (data) => {
      start()?.postMessage(data);
      return worker !== null;
    },
    // Posts only to a worker already at work.
    tell: (data) => worker?.postMessage(data),
  };
}

function readEnabled() {
  try {
    const stored = window.localStorage.getItem(STORED);
    if (stored !== null && stored !== "1" && stored !== "0") window.localStorage.removeItem(STORED); // not ours
    return stored === "1";
  } catch {
    return false; // no storage: off, and not remembered
  }
}

// The odds on the cards (none where odds is null), and in their labels for a screen reader.
function showOdds(cardBlocks, odds, text) {
  for (const block of cardBlocks) {
    let badge = block.querySelector(".odds");
    const choice = odds ? odds.choices.find((c) => c.seat === Number(block.dataset.seat)) : null;
    const label = block.querySelector(".label");
    if (!choice) {
      badge?.remove();
      if (label.dataset.base !== undefined) label.textContent = label.dataset.base;
      continue;
    }
    if (!badge) {
      badge = document.createElement("span");
      badge.className = "odds";
      badge.setAttribute("aria-hidden", "true");
      block.append(badge);
    }
    const percent = Math.round(choice.win * 100);
    const margin = Math.round((choice.high - choice.low) * 50);
    badge.textContent = text.oddsBadge(percent);
    badge.classList.toggle("best", choice.seat === odds.best);
    label.dataset.base ??= label.textContent;
    label.textContent = `${label.dataset.base}${text.and}${text.oddsLabel(percent, margin, choice.seat === odds.best)}`;
  }
}

// game: the driver; cardBlocks: the card elements by seat; words(): the page's words now;
// screen(): what the keys do on the screen shown; button: the coach's switch.
export function createCoach({ game, cardBlocks, words, screen, button }) {
  let enabled = readEnabled();
  let asked = null; // the record whose odds are being worked out
  let id = 0; // of the message sent last (the odds of the choice on screen, or a review)
  let odds = null; // the odds taken for the choice on screen, as the game gives them
  let reviewing = null; // {id, each(index, bytes), failed()}
  const show = () => showOdds(cardBlocks, enabled && odds && !odds.declined ? odds : null, words());
  const link = workerLink(game.oddsSize, {
    message(m) {
      if (m.kind === "odds" && m.id === id && asked !== null && game.takeOdds(m.odds)) {
        odds = game.odds();
        show();
      } else if (m.kind === "review" && m.id === reviewing?.id) {
        reviewing.each(m.index, m.odds);
      } else if (m.kind === "refused" && m.id === reviewing?.id) {
        reviewing.failed();
      }
    },
    failed: () => reviewing?.failed(),
  });

  return {
    // Follows the game to the screen shown: asks for the odds of a new choice.
    follow() {
      button.setAttribute("aria-pressed", String(enabled));
      button.textContent = words().coach;
      for (const block of cardBlocks) delete block.querySelector(".label").dataset.base; // labels written again
      const choosing = screen() === "attack" || screen() === "vote";
      const record = enabled && choosing ? game.decision() : null;
      if (record === null) {
        if (asked !== null) link.tell({ kind: "stop" });
        asked = null;
        odds = null;
      } else if (!same(record, asked)) {
        asked = record;
        odds = null;
        id += 1;
        link.post({ kind: "odds", id, record });
      }
      show();
    },
    toggle() {
      enabled = !enabled;
      try {
        window.localStorage.setItem(STORED, enabled ? "1" : "0");
      } catch {
        // not remembered
      }
      this.follow();
    },
    // Reviews a game's choices, each {record, chosen}: each(index, bytes) with each one's
    // odds as it settles, failed() when the review cannot be worked out. False when no
    // worker runs.
    review(choices, { each, failed }) {
      id += 1;
      reviewing = { id, each, failed };
      return link.post({ kind: "review", id, records: choices.map((c) => c.record), chosen: choices.map((c) => c.chosen) });
    },
  };
}
