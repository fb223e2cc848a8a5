// The replay: a game played back key by key from a link (?seed=N&keys=...) or from a
// screen of the review, with play, pause, step and speed. The keys a replay plays are the
// replay's, never the visitor's: a game it decides is not counted. A key the visitor types,
// or "Play from here", takes the game over.
import { $ } from "./dom.js";

const SPEEDS = [0.5, 1, 2, 4];

const WORDS = {
  ja: {
    replay: "リプレイ",
    play: "再生",
    pause: "一時停止",
    step: "一手進む",
    speed: "速さ",
    takeOver: "ここから遊ぶ",
    badKeys: "keys= が読めないので、最初から遊びます。",
  },
  en: {
    replay: "Replay",
    play: "Play",
    pause: "Pause",
    step: "Step",
    speed: "Speed",
    takeOver: "Play from here",
    badKeys: "keys= could not be read, so the game starts from the beginning.",
  },
};

// The keys of the page's link, checked as the game checks them: {keys, review} (review: the
// link asks for the game's review), or null. Keys not of their form are said, and ignored.
export function linkKeys(game, say, language) {
  const params = new URLSearchParams(location.search);
  if (!params.has("keys")) return null;
  const keys = params.get("keys");
  if (!game.checkKeys(keys)) {
    say(WORDS[language].badKeys);
    return null;
  }
  return { keys, review: params.get("review") === "1" };
}

// game: the driver (the replay's pace); play(key) plays one key; language() the page's;
// ended() is called when a replay has played its last key.
export function createReplay({ game, play, language, ended }) {
  let keys = "";
  let at = 0;
  let playing = false;
  let speed = 1;
  let timer = 0;

  function render() {
    const words = WORDS[language()];
    $("replay-title").textContent = `${words.replay} ${at} / ${keys.length}`;
    $("replay-play").textContent = playing ? words.pause : words.play;
    $("replay-step").textContent = words.step;
    $("replay-take").textContent = words.takeOver;
    $("replay-speed-label").textContent = words.speed;
  }

  function stop() {
    playing = false;
    clearTimeout(timer);
    keys = "";
    $("replay").hidden = true;
    return false;
  }

  // The next key played; false once none is left (and the replay ends).
  function step() {
    if (at >= keys.length) {
      stop();
      ended();
      return false;
    }
    play(keys[at++]);
    render();
    return true;
  }

  function schedule() {
    clearTimeout(timer);
    if (playing) timer = setTimeout(() => step() && schedule(), game.replayPace() / speed);
  }

  // Plays keys from the one at index from (the game already shows the screen before it).
  function start(given, from, { paused = false } = {}) {
    keys = given;
    at = from;
    playing = !paused;
    $("replay").hidden = false;
    render();
    schedule();
  }

  $("replay-play").addEventListener("click", () => {
    playing = !playing;
    render();
    schedule();
  });
  $("replay-step").addEventListener("click", () => {
    playing = false;
    schedule();
    step();
  });
  $("replay-take").addEventListener("click", stop);
  $("replay-speed").addEventListener("change", (event) => {
    speed = SPEEDS.includes(Number(event.target.value)) ? Number(event.target.value) : 1;
    schedule();
  });

  return { start, stop, render, active: () => keys !== "" };
}
