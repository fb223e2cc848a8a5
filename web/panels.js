// The panels beside the game, loaded after its first frame: how to play (help.js), the
// record of what the screens have shown (record.js), the result after a win with this
// browser's statistics, a share and the review (result.js, stats.js, review.js), and the
// replay of a game from its link (replay.js). None of them is modal or takes the game's
// keys: every game key still reaches the game (the first one closes an open help or result
// panel), and Escape closes a panel without being a key of the game.
import { $ } from "./dom.js";
import { firstVisit, helpTitle, renderHelp } from "./help.js";
import { recordTitle, renderRecord } from "./record.js";
import { createPractice, practiceResetWords } from "./practice.js";
import { createPracticeStore } from "./practice-store.js";
import { createReplay, linkKeys } from "./replay.js";
import { createResult, dailyOf, statsResetWords } from "./result.js";
import { createReview } from "./review.js";
import { createStats } from "./stats.js";

const CLOSE = { ja: "閉じる", en: "Close" };

const isOpen = (id) => !$(id).hidden;

// Opens or closes a panel (toggles it without open): true when that changed it.
function setPanel(id, open) {
  const panel = $(id);
  const was = panel.hidden;
  panel.hidden = open === undefined ? !panel.hidden : !open;
  $(`${id}-button`)?.setAttribute("aria-expanded", String(!panel.hidden));
  return was !== panel.hidden;
}

function labelButtons(language) {
  $("help-button").textContent = helpTitle(language);
  $("record-button").textContent = recordTitle(language);
  for (const close of document.querySelectorAll(".panel .close")) close.setAttribute("aria-label", CLOSE[language]);
}

// The help and record buttons, and every panel's close button.
function wireButtons(togglePanel) {
  $("help-button").addEventListener("click", () => togglePanel("help"));
  $("record-button").addEventListener("click", () => togglePanel("record"));
  for (const close of document.querySelectorAll(".panel .close")) {
    close.addEventListener("click", () => togglePanel(close.closest(".panel").id, false));
  }
}

// Practice and its questions: the practice itself, and what the review asks of it (keep
// the marked choices of a game, how many questions there are, start). before(): what
// practice closes as it starts.
function practiceOf(api, before) {
  const store = createPracticeStore({ game: api.game, told: () => api.say(practiceResetWords(api.language())) });
  const practice = createPractice({ ...api, store, before });
  store.read(); // what is stored is checked at once
  const hooks = {
    keep: (questions) => {
      store.keep(questions);
      practice.render();
    },
    count: store.count,
    label: practice.label,
    start: practice.start,
  };
  return { practice, hooks };
}

// The page's link: a replay of its keys, or the review of the game they play, shown at once.
function openLink(api) {
  const link = linkKeys(api.game, api.say, api.language());
  if (link?.review) {
    api.showKeys(api.game.gameSeed(), link.keys, api.game.gameLies());
    $("result").dataset.shown = "1";
    setPanel("result", true);
  }
  return link;
}

// api: language(), game (the driver), coach, story(), decided() (the games the visitor's
// keys decided since it was last asked, to count), showKeys(seed, keys, lies), lies (the
// switch of the village with lies: on(), toggle()), play(key),
// say(message), relayout().
export function startPanels(api) {
  const { game } = api;
  let story = null;
  let linkReview = false; // the page was opened on a link to a review, and no key typed since

  function togglePanel(id, open) {
    if (!setPanel(id, open)) return;
    if (id === "record") api.relayout();
    if (isOpen(id)) render();
  }

  const stats = createStats({ daily: (seed) => dailyOf(game, seed), reset: () => api.say(statsResetWords(api.language())) });
  const replay = createReplay({ game, play: api.play, language: api.language, ended: () => render() });
  // A screen of the review: the game dealt again and played to it, the replay ready to go on.
  const showChoice = (seed, keys, withLies, key) => {
    togglePanel("result", false);
    api.showKeys(seed, keys.slice(0, key), withLies);
    replay.start(keys, key, { paused: true });
  };
  const { practice, hooks } = practiceOf(api, () => beforeKey());
  const review = createReview({ game, coach: api.coach, changed: () => isOpen("result") && renderResult(), show: showChoice, practice: hooks });
  const result = createResult({ game, stats, review });
  const renderResult = () => result.render(story, api.language(), { reviewOnly: !story?.winner && linkReview });

  function render() {
    story = api.story();
    for (const fact of api.decided()) stats.add(fact);
    const language = api.language();
    if (isOpen("help")) renderHelp(language, game.keys, hooks, api.lies);
    if (isOpen("record")) renderRecord(story, language);
    // A decided game's review (not while a replay walks through it), or a review's link.
    if ((story.winner && !replay.active()) || linkReview) review.begin();
    if (story.winner && !$("result").dataset.shown) {
      $("result").dataset.shown = "1"; // the result panel opens by itself once a game
      setPanel("result", true);
    }
    if (story.winner || linkReview) {
      renderResult();
    } else {
      delete $("result").dataset.shown;
      setPanel("result", false);
      result.forget();
    }
    replay.render();
    practice.render();
    labelButtons(language);
  }

  wireButtons(togglePanel);
  if (firstVisit() && new URLSearchParams(location.search).get("help") !== "0") togglePanel("help", true);
  stats.read(); // what is stored is checked at once, not only after a win
  const link = openLink(api);
  linkReview = link?.review === true;
  render();
  if (link && !link.review) replay.start(link.keys, 0);

  // A game key, or practice beginning: the player takes over a replay, and an open help or
  // result panel closes.
  function beforeKey() {
    linkReview = false;
    if (replay.active()) replay.stop();
    togglePanel("help", false);
    togglePanel("result", false);
  }

  return {
    update: render,
    beforeKey,
    // While practising, what the player types is practice's (true), not the game's.
    practiceTakes: (data) => practice.takes(data),
    // Escape closes the panels and ends practice, and is no key of the game.
    escape() {
      for (const id of ["help", "result", "record"]) togglePanel(id, false);
      practice.stop();
    },
    recordOpen: () => isOpen("record"),
    // Nothing but the player moves the game shown: no replay, practice or review's link.
    quiet: () => !replay.active() && !practice.active() && !linkReview,
  };
}
