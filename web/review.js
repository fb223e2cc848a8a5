// The review of the game on screen: every choice the wolves made, worked out by the coach's
// worker from what the screens had shown, and reviewed by the game in its own words
// (review-view.js shows it). The odds of each choice are kept here as the worker sent them,
// and handed to the game again whenever it shows that game anew (a screen of it shown deals
// it again). Once the whole game is reviewed, its marked choices go to practice.
import { renderReview } from "./review-view.js";

export { reviewTitle } from "./review-view.js";

// game: the driver; coach: its review(records, {each, failed}); changed(): the review has
// more to show; show(seed, keys, lies, key): the screen of the game dealt from seed (with
// lies or not) after keys, up to the key at index key; practice: {keep(questions), count(),
// start()}.
export function createReview({ game, coach, changed, show, practice }) {
  let current = null; // {seed, keys, lies, decisions: [key...], odds: [bytes...], failed, kept}

  // Whether the game on screen is the one reviewed, or a screen of it.
  function shown(seed, keys, decisions) {
    if (!current || current.seed !== seed || current.lies !== game.gameLies()) return false;
    return current.keys.startsWith(keys) || (keys.startsWith(current.keys) && decisions === current.decisions.length);
  }

  // The game's review of the game on screen, its odds handed to it again first; null when
  // it is not the game reviewed. A worker's odds the game refuses fail the review.
  function rows() {
    const decisions = game.decisions().length;
    if (!shown(game.gameSeed(), game.gameKeys(), decisions)) return null;
    current.odds.forEach((bytes, k) => {
      if (bytes && k < decisions && !game.takeReviewOdds(k, bytes)) current.failed = true;
    });
    return { ...game.review(), keys: current.decisions.slice(0, decisions) };
  }

  // Once every choice of the game on screen has its odds: its marked choices (those with a
  // key kept) to practice, once.
  function keepMarked() {
    if (current.kept || current.failed || current.odds.filter(Boolean).length < current.decisions.length) return;
    const review = rows();
    if (!review || review.done < review.total || current.failed) return;
    current.kept = true;
    const questions = [];
    review.rows.forEach((r, k) => {
      const key = current.decisions[k];
      if (r?.mark && key >= 0) questions.push({ seed: current.seed, lies: current.lies, keys: current.keys.slice(0, key), odds: current.odds[k] });
    });
    if (questions.length > 0) practice.keep(questions);
  }

  // Begins the review of the game on screen, unless it is the one reviewed already.
  function begin() {
    const seed = game.gameSeed();
    const keys = game.gameKeys();
    const decisions = game.decisions();
    if (shown(seed, keys, decisions.length)) return;
    const mine = { seed, keys, lies: game.gameLies(), decisions: decisions.map((d) => d.key), odds: [], failed: false, kept: false };
    current = mine;
    if (decisions.length === 0) return;
    const fail = () => {
      mine.failed = true;
      if (current === mine) changed();
    };
    const each = (index, bytes) => {
      if (index >= mine.decisions.length) return fail();
      mine.odds[index] = bytes;
      if (current !== mine) return;
      keepMarked();
      changed();
    };
    if (
      !coach.review(
        decisions.map((d) => ({ record: d.record, chosen: d.chosen })),
        { each, failed: fail },
      )
    )
      mine.failed = true;
  }

  // The review into the panel's body, in the page's language.
  function render(body, language) {
    if (current) keepMarked();
    const review = current && rows();
    if (!review) return;
    const pick = (k) => review.keys[k] >= 0 && show(current.seed, current.keys, current.lies, review.keys[k]);
    renderReview(body, language, { review, failed: current.failed, show: pick, practice });
  }

  return { begin, render };
}
