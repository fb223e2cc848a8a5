// The coach beside the game: with its switch on (off at first, remembered), each legal
// card of an attack or a vote shows the wolves' chance of winning after choosing it, as the
// odds firm up. The odds are worked out by a worker running the game's own WebAssembly
// (coach-worker.js) from the public record of what the screens have shown, so that a key is
// never kept waiting. The same worker reviews a finished game for the result panel.

const STORED = "jinro.coach";
const WORKER = new URL("./coach-worker.js", import.meta.url);

const same = (a, b) => a !== null && b !== null && a.length === b.length && a.every((byte, k) => byte === b[k]);

// board: the card blocks by seat; words(): the page's words now; screen(): what the keys
// do on the screen shown; labelled(): the cards' labels were written again.
export function createCoach({ game, cardBlocks, words, screen, button }) {
  let enabled = false;
  try {
    const stored = window.localStorage.getItem(STORED);
    if (stored !== null && stored !== "1" && stored !== "0") window.localStorage.removeItem(STORED); // not ours
    enabled = stored === "1";
  } catch {
    enabled = false; // no storage: off, and not remembered
  }
  let worker = null;
  let failed = false;
  let asked = null; // the record whose odds are being worked out
  let id = 0; // of the odds asked for last
  let odds = null;
  let reviewing = null; // {id, each(index, odds, verdict)}
  let reviews = 0;

  function start() {
    if (worker || failed) return worker;
    try {
      worker = new Worker(WORKER, { type: "module" });
    } catch {
      failed = true;
      return null;
    }
    worker.onmessage = ({ data }) => {
      if (data.kind === "odds" && data.id === id) {
        odds = data.odds;
        show();
      } else if (data.kind === "review" && reviewing?.id === data.id) {
        reviewing.each(data.index, data.odds, data.verdict);
      } else if (data.kind === "failed") {
        failed = true;
      }
    };
    worker.onerror = () => {
      failed = true;
    };
    return worker;
  }

  // The odds on the cards, and in their labels for a screen reader.
  function show() {
    const text = words();
    for (const block of cardBlocks) {
      let badge = block.querySelector(".odds");
      const choice = enabled && odds ? odds.choices.find((c) => c.seat === Number(block.dataset.seat)) : null;
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

  function updateButton() {
    button.setAttribute("aria-pressed", String(enabled));
    button.textContent = words().coach;
  }

  return {
    // Follows the game to the screen shown: asks for the odds of a new choice.
    follow() {
      updateButton();
      for (const block of cardBlocks) delete block.querySelector(".label").dataset.base; // labels written again
      const choosing = screen() === "attack" || screen() === "vote";
      const record = enabled && choosing ? game.decision() : null;
      if (record === null) {
        if (asked !== null) worker?.postMessage({ kind: "stop" });
        asked = null;
        odds = null;
      } else if (!same(record, asked)) {
        asked = record;
        odds = null;
        id += 1;
        start()?.postMessage({ kind: "odds", id, record });
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
    // Reviews every choice of the game shown: each(index, odds, verdict) for each as it
    // settles. False when no worker can run.
    review(decisions, each) {
      if (!start()) return false;
      reviews += 1;
      reviewing = { id: reviews, each };
      worker.postMessage({ kind: "review", id: reviews, decisions: decisions.map((d) => ({ record: d.record, chosen: d.chosen })) });
      return true;
    },
  };
}
