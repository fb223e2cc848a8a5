// The coach beside the game: with its switch on (off at first, remembered), each legal
// card of an attack or a vote shows the wolves' chance of winning after choosing it, as the
// odds firm up, in the game's one notation ("41% (38-44%)"), every choice as good as the
// best marked as best; where a false seer names a seat, each card shows the better of its
// two verdicts; where the morning asks whether to claim, or a false medium's verdict, a list
// of the answers stands under the board. The cards of the seats whose role the wolves do
// not know show the coach's read of them, and the best choice's facts stand under the
// board. The odds are worked out by a worker running the game's own WebAssembly
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

// A small element of a card, made once, shown over its cells and hidden from a screen
// reader (the card's label says the same).
function badgeOf(block, className) {
  let badge = block.querySelector(`.${className}`);
  if (!badge) {
    badge = document.createElement("span");
    badge.className = className;
    badge.setAttribute("aria-hidden", "true");
    block.append(badge);
  }
  return badge;
}

// The screens whose answers are listed under the board rather than shown on the cards.
const LISTED = ["claim", "medium verdict"];

// A seat's choices on the cards: the one of an attack or a vote, or a false seer's two
// verdicts on it; the better shown first.
function cardChoices(odds, seat, screen) {
  if (!odds || LISTED.includes(screen)) return [];
  return odds.choices.filter((c) => c.seat === seat).sort((a, b) => b.win - a.win);
}

// What a card says of its choices: the badge's text (a verdict's word before its chance) and
// the label's words.
function cardWords(choices, text) {
  const [shown] = choices;
  const verdict = shown.verdict;
  const badge = verdict ? `${verdict} ${shown.text}` : shown.text;
  if (choices.length === 1 && !verdict) return { badge, verdict, label: text.oddsLabel(shown.text, shown.good) };
  return { badge, verdict, label: choices.map((c) => text.choiceLabel(c.label, c.text, c.good)).join(text.and) };
}

// The odds of each legal card in the game's one notation, every choice as good as the best
// marked so, and the coach's read of the seats whose role the wolves do not know; on the
// cards, and in their labels for a screen reader. None where odds is null.
function showOdds(cardBlocks, odds, text, screen) {
  for (const block of cardBlocks) {
    const seat = Number(block.dataset.seat);
    const choices = cardChoices(odds, seat, screen);
    const choice = choices[0] ?? null;
    const read = odds?.read.find((r) => r.seat === seat) ?? null;
    const label = block.querySelector(".label");
    // The label's own words: as the coach left them, less what it added; else as written anew.
    const base = label.dataset.shown === label.textContent ? label.dataset.base : label.textContent;
    if (!choice) block.querySelector(".odds")?.remove();
    if (!read) block.querySelector(".read")?.remove();
    const parts = [base];
    if (choice) {
      const words = cardWords(choices, text);
      const badge = badgeOf(block, "odds");
      if (badge.dataset.text !== words.badge) {
        // The percentage always; its interval where the card's width allows (the style says where).
        const [, win, range] = /^(.*?\d+%)( .+)?$/.exec(words.badge) ?? [null, words.badge, ""];
        const part = (className, shown) => Object.assign(document.createElement("span"), { className, textContent: shown ?? "" });
        badge.replaceChildren(part("win", win), part("range", range));
        badge.dataset.text = words.badge;
      }
      badge.classList.toggle("best", choice.good);
      badge.classList.toggle("verdict", Boolean(words.verdict));
      parts.push(words.label);
    }
    if (read) {
      badgeOf(block, "read").textContent = `${read.glyph} ${read.percent}%`;
      parts.push(text.readLabel(read.role, read.percent));
    }
    label.textContent = parts.join(text.and);
    label.dataset.base = base;
    label.dataset.shown = label.textContent;
  }
}

// The answers of a question of the morning, under the board: each in the game's words with
// its chance, every answer as good as the best marked so. Hidden where there are none.
function showAnswers(list, odds, text, screen) {
  const shown = odds && LISTED.includes(screen) ? odds.choices : [];
  const key = shown.map((c) => `${c.label} ${c.text} ${c.good}`).join("\n");
  if (list.dataset.shown !== key) {
    list.replaceChildren(
      ...shown.map((c) => {
        const item = document.createElement("li");
        item.className = c.good ? "best" : "";
        item.textContent = c.good ? `${c.label} ${c.text} ${text.best}` : `${c.label} ${c.text}`;
        return item;
      }),
    );
    list.dataset.shown = key;
  }
  list.setAttribute("aria-label", text.answers);
  list.hidden = shown.length === 0;
}

// The best choice's facts under the board while the coach is on; said to a screen reader
// once its odds are settled, and only when they say something new.
function factsLine({ shown, live }) {
  let said = "";
  return {
    show(facts) {
      if (shown.textContent !== facts) shown.textContent = facts;
      shown.hidden = facts === "";
    },
    settled(facts) {
      if (facts === said) return;
      said = facts;
      if (facts) live.textContent = facts;
    },
  };
}

// game: the driver; cardBlocks: the card elements by seat; words(): the page's words now;
// screen(): what the keys do on the screen shown; button: the coach's switch; facts: {shown,
// live}, the elements of the best choice's facts; answers: the list of a question's answers.
export function createCoach({ game, cardBlocks, words, screen, button, facts, answers }) {
  let enabled = readEnabled();
  let held = false; // practice hides the odds
  let asked = null; // the record whose odds are being worked out
  let id = 0; // of the message sent last (the odds of the choice on screen, or a review)
  let odds = null; // the odds taken for the choice on screen, as the game gives them
  let oddsScreen = ""; // the screen they are of
  let oddsWords = null; // and the page's words they were read in
  let reviewing = null; // {id, each(index, bytes), failed()}
  const line = factsLine(facts);
  const shownOdds = () => (enabled && !held && odds && !odds.declined ? odds : null);
  const show = () => {
    showOdds(cardBlocks, shownOdds(), words(), oddsScreen);
    showAnswers(answers, shownOdds(), words(), oddsScreen);
    line.show(shownOdds()?.facts ?? "");
  };
  const link = workerLink(game.oddsSize, {
    message(m) {
      if (m.kind === "odds" && m.id === id && asked !== null && game.takeOdds(m.odds)) {
        odds = game.odds();
        oddsWords = words();
        show();
        if (m.settled) line.settled(shownOdds()?.facts ?? "");
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
      const record = enabled && !held ? game.decision() : null;
      if (record === null) {
        if (asked !== null) link.tell({ kind: "stop" });
        asked = null;
        odds = null;
        line.settled("");
      } else if (!same(record, asked)) {
        asked = record;
        odds = null;
        oddsScreen = screen();
        id += 1;
        link.post({ kind: "odds", id, record });
      } else if (odds && oddsWords !== words()) {
        odds = game.odds(); // the same odds, in the other language
        oddsWords = words();
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
    // Practice: the odds hidden (held), or shown again.
    hold(on) {
      held = on;
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
