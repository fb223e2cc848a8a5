// Practice: the marked choices of the games reviewed in this browser (practice-store.js),
// asked again until each has been found twice. Each question shows its screen, dealt again
// from its seed (under its rules) with its keys played, the coach's odds hidden; the player
// moves the cursor with the usual keys, buttons or taps, and the key that makes a choice
// (the game says which: z on a seat, or an answer of the morning) does not reach the game:
// the game judges the choice from the odds kept with the question, and its verdict, the
// best and the reason are shown. Any key, or the button, asks the next question. While no
// question is asked, practice takes no key.
import { $, element } from "./dom.js";
import { fromBase64 } from "./practice-store.js";

const WORDS = {
  ja: {
    title: "練習",
    button: (n) => `練習 (${n})`,
    left: (n) => `残り ${n} 問`,
    ask: (k, screen) =>
      `振り返りで印のついた選択です。勝率は隠してあります。${
        {
          claim: `騙るなら ${k.seer}（占い師）か ${k.medium}（霊媒師）、騙らないならほかのキーで答えてください。`,
          "seer verdict": `カーソルで占った人を選び、${k.black}（黒）か ${k.white}（白）で答えてください。`,
          "medium verdict": `${k.black}（黒）か ${k.white}（白）で答えてください。`,
        }[screen] ?? "カーソルを動かし、決定で答えてください。"
      }`,
    foundOnce: "この問題は一度見つけました。もう一度見つけると終わりです。",
    foundTwice: "二度目です。この問題はおしまいです。",
    next: "次の問題",
    stop: "練習をやめる",
    close: "閉じる",
    done: "すべての問題を二度ずつ見つけました。練習はおしまいです。",
    none: "練習する問題はまだありません。振り返りで印のついた選択が、ここに加わります。",
    stale: "いまのゲームでは元の画面にならない問題があったので、取り除きました。",
    reset: "このブラウザの練習の問題が読めなかったので、取り除きました。",
  },
  en: {
    title: "Practice",
    button: (n) => `Practice (${n})`,
    left: (n) => (n === 1 ? "1 question left" : `${n} questions left`),
    ask: (k, screen) =>
      `A choice the review marked. The odds are hidden: ${
        {
          claim: `claim the seer (${k.seer}) or the medium (${k.medium}), or answer with any other key for no claim.`,
          "seer verdict": `name a player with the cursor, then call him a wolf (${k.black}) or human (${k.white}).`,
          "medium verdict": `call the hanged player a wolf (${k.black}) or human (${k.white}).`,
        }[screen] ?? "move the cursor and choose as you would."
      }`,
    foundOnce: "You found this one once: find it again and it is done.",
    foundTwice: "Found twice: this question is done.",
    next: "Next question",
    stop: "Stop practice",
    close: "Close",
    done: "Every question found twice: nothing is left to practise.",
    none: "Nothing to practise yet: the choices a review marks come here.",
    stale: "A question no longer led to its screen in this version of the game, so it was removed.",
    reset: "This browser's practice questions could not be read, so they were removed.",
  },
};

export const practiceResetWords = (language) => WORDS[language].reset;

const idOf = (q) => `${q.seed} ${q.lies} ${q.keys}`;
const encoder = new TextEncoder();

// The section's contents for the state, in its two parts: the heading with the buttons,
// and the status (what to do, or what the game said), a live region kept from question to
// question so that a screen reader hears each change.
function practiceBody(section, state, words, { left, told, asking, onNext, onStop }) {
  if (section.childElementCount !== 2) section.replaceChildren(element("div", null, { class: "top" }), element("div", null, { role: "status" }));
  const [top, status] = section.children;
  const heading = element("h2", `${words.title}: ${words.left(left)}`, { id: "practice-title", tabindex: "-1" });
  const lines = [];
  const buttons = element("div", null, { class: "buttons" });
  const button = (label, act) => {
    const made = element("button", label, { type: "button" });
    made.addEventListener("click", act);
    buttons.append(made);
  };
  if (state.phase === "asking") {
    lines.push(element("p", asking));
    if (state.question.found === 1) lines.push(element("p", words.foundOnce));
  } else if (state.phase === "told") {
    (told?.told ?? []).forEach((line, k) => lines.push(element("p", line.trim(), k === 0 ? { class: told.found ? "found" : "missed" } : {})));
    if (state.finds > 0) lines.push(element("p", state.finds === 1 ? words.foundOnce : words.foundTwice));
    button(words.next, onNext);
  } else {
    lines.push(element("p", words.done));
  }
  button(state.phase === "done" ? words.close : words.stop, onStop);
  top.replaceChildren(heading, buttons);
  status.replaceChildren(...lines);
}

// The game's verdict on the choice of the code at the question's screen, from the odds kept.
function verdictOf(p, code) {
  if (p.game.decision() === null || !p.game.takeOdds(fromBase64(p.state.question.odds))) return null;
  return p.game.practice(code);
}

// The practice section and the tools' button, for the state; the section is built again
// only when what it shows changes (a screen reader hears its status once).
function render(p) {
  const { state, store } = p;
  const words = WORDS[p.language()];
  const count = store.count();
  document.body.classList.toggle("practising", state !== null);
  const toolButton = $("practice-button");
  toolButton.hidden = state !== null || count === 0;
  toolButton.textContent = words.button(count);
  const section = $("practice");
  const now = state && `${state.phase} ${idOf(state.question ?? {})} ${count} ${p.language()}`;
  if (now === p.built) return;
  p.built = now;
  section.hidden = state === null;
  const focused = section.contains(document.activeElement);
  if (!state) return section.replaceChildren();
  const told = state.phase === "told" ? verdictOf(p, state.code) : null;
  const asking = words.ask(p.game.keys, p.game.screen());
  practiceBody(section, state, words, { left: count, told, asking, onNext: () => next(p), onStop: () => stop(p) });
  if (focused) $("practice-title").focus({ preventScroll: true });
}

// Shows the question's screen, its odds ready for the verdict; a question whose keys no
// longer lead to its choice is removed, and the next one asked.
function ask(p, question) {
  p.state.question = question;
  p.state.phase = "asking";
  p.showKeys(question.seed, question.keys, question.lies);
  if (p.game.decision() === null || !p.game.takeOdds(fromBase64(question.odds))) {
    p.store.remove(question);
    p.say(WORDS[p.language()].stale);
    next(p);
    return;
  }
  render(p);
}

// The next question not yet asked in this round (then a round again), or the end.
function next(p) {
  const { state } = p;
  const items = p.store.read();
  if (items.length === 0) {
    state.phase = "done";
    render(p);
    return;
  }
  let question = items.find((item) => !state.asked.has(idOf(item)));
  if (!question) {
    state.asked.clear();
    question = items[0];
  }
  state.asked.add(idOf(question));
  ask(p, question);
}

// The choice made (its code): judged by the game, and counted when found.
function choose(p, code) {
  const told = verdictOf(p, code);
  if (!told || told.told.length === 0) return; // not a choice of this question
  const left = p.store.answer(p.state.question, told.found);
  // Found: how many times now (two once it has left the questions).
  p.state.finds = told.found ? (left.find((item) => idOf(item) === idOf(p.state.question))?.found ?? 2) : 0;
  p.state.phase = "told";
  p.state.code = code;
  render(p);
}

function start(p) {
  if (p.state) return;
  if (p.store.read().length === 0) {
    p.say(WORDS[p.language()].none);
    render(p);
    return;
  }
  p.before();
  p.state = {
    back: { seed: p.game.gameSeed(), keys: p.game.gameKeys(), lies: p.game.gameLies() },
    asked: new Set(),
    question: null,
    phase: "asking",
    code: -1,
    finds: 0,
  };
  p.coach.hold(true);
  next(p);
  $("practice-title")?.focus({ preventScroll: true });
}

// Back to the game shown before practice.
function stop(p) {
  if (!p.state) return;
  const { back } = p.state;
  p.state = null;
  render(p);
  p.showKeys(back.seed, back.keys, back.lies);
  p.coach.hold(false); // the coach follows the game shown again
}

// What the player typed, while practising: key by key as the game reads them, those that
// make no choice reach the game, the first that makes one is judged (and the rest
// forgotten); after a verdict any key asks the next question. False when not practising:
// the keys are the game's.
function takes(p, data) {
  const { state } = p;
  if (!state) return false;
  if (state.phase !== "asking") {
    if (state.phase === "done") stop(p);
    else next(p);
    return true;
  }
  p.game.feed(typeof data === "string" ? encoder.encode(data) : data);
  while (p.game.keyWaiting()) {
    const code = p.game.nextChoice();
    if (code >= 0) {
      p.game.dropTyped();
      choose(p, code);
      return true;
    }
    p.step();
  }
  return true;
}

// game: the driver; coach: its hold(on); store: the questions; showKeys(seed, keys, lies)
// deals a game and plays its keys; step() plays the next key typed in the game shown;
// say(message); language(); before(): what practice closes as it starts (a replay, the
// panels over the game).
export function createPractice({ game, coach, store, showKeys, step, say, language, before }) {
  // The practice's state ({back: {seed, keys, lies}, asked: Set, question, phase, code}, or
  // null while not practising) and what its section shows.
  const p = { game, coach, store, showKeys, step, say, language, before, state: null, built: "" };
  $("practice-button").addEventListener("click", () => start(p));
  return {
    start: () => start(p),
    stop: () => stop(p),
    takes: (data) => takes(p, data),
    render: () => render(p),
    active: () => p.state !== null,
    label: () => WORDS[language()].button(store.count()),
  };
}
