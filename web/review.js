// The review of the game on screen: every choice the wolves made, worked out by the coach's
// worker from what the screens had shown, and reviewed by the game in its own words. The
// odds across the game as a graph, marked where a choice lost much, and the same as a table
// for screen readers; a row's button (or a point of the graph) shows that screen of the
// game. The odds of each choice are kept here as the worker sent them, and handed to the
// game again whenever it shows that game anew (a screen of it shown deals it again).
import { element, tableHead } from "./dom.js";
import { reviewGraph } from "./review-graph.js";

const WORDS = {
  ja: {
    title: "振り返り",
    working: (done, all) => `計算中 ${done} / ${all}`,
    caption: "選択ごとの勝率（95% 区間）",
    columns: ["#", "場面", "選んだ手", "最善", "評価", "画面"],
    sameAsBest: "同じ",
    show: "この画面へ",
    showLabel: (n) => `${n} 番目の選択の画面を見る`,
    cannot: "このブラウザでは振り返りを計算できません。",
  },
  en: {
    title: "Review",
    working: (done, all) => `Working out ${done} of ${all}`,
    caption: "The wolves' chance to win after each choice (95% intervals)",
    columns: ["#", "When", "Chosen", "Best", "Mark", "Screen"],
    sameAsBest: "the same",
    show: "Show",
    showLabel: (n) => `Show the screen of choice ${n}`,
    cannot: "This browser cannot work out the review.",
  },
};

export const reviewTitle = (language) => WORDS[language].title;

function reviewTable(review, words, show) {
  const table = element("table", null, { class: "review" });
  // The caption names the table for a screen reader; the same words stand over it on
  // screen, outside the part that scrolls.
  table.append(element("caption", words.caption, { class: "visually-hidden" }));
  const rows = element("tbody");
  review.keys.forEach((key, k) => {
    const r = review.rows[k] ?? null;
    const row = element("tr");
    row.append(element("th", String(k + 1), { scope: "row" }));
    row.append(element("td", r ? r.when : "…"));
    row.append(element("td", r ? r.chosen : "…"));
    row.append(element("td", !r || r.declined ? "" : (r.best ?? words.sameAsBest)));
    row.append(element("td", r?.markWord ?? "", r?.mark ? { class: r.mark } : {}));
    const cell = element("td");
    if (key >= 0) {
      const button = element("button", words.show, { type: "button", "aria-label": words.showLabel(k + 1) });
      button.addEventListener("click", () => show(k));
      cell.append(button);
    }
    row.append(cell);
    rows.append(row);
  });
  table.append(tableHead(words.columns), rows);
  const scroller = element("div", null, { class: "table-scroll" }); // on a narrow phone the table scrolls sideways within the panel
  scroller.append(table);
  return scroller;
}

// game: the driver; coach: its review(records, {each, failed}); changed(): the review has
// more to show; show(seed, keys, key): the screen of the game dealt from seed after keys,
// up to the key at index key.
export function createReview({ game, coach, changed, show }) {
  let current = null; // {seed, keys, decisions: [key...], odds: [bytes...], failed}

  // Whether the game on screen is the one reviewed, or a screen of it.
  function shown(seed, keys, decisions) {
    if (!current || current.seed !== seed) return false;
    return current.keys.startsWith(keys) || (keys.startsWith(current.keys) && decisions === current.decisions.length);
  }

  // Begins the review of the game on screen, unless it is the one reviewed already.
  function begin() {
    const seed = game.gameSeed();
    const keys = game.gameKeys();
    const decisions = game.decisions();
    if (shown(seed, keys, decisions.length)) return;
    const mine = { seed, keys, decisions: decisions.map((d) => d.key), odds: [], failed: false };
    current = mine;
    if (decisions.length === 0) return;
    const fail = () => {
      mine.failed = true;
      if (current === mine) changed();
    };
    const each = (index, bytes) => {
      if (index >= mine.decisions.length) return fail();
      mine.odds[index] = bytes;
      if (current === mine) changed();
    };
    if (
      !coach.review(
        decisions.map((d) => ({ record: d.record, chosen: d.chosen })),
        { each, failed: fail },
      )
    )
      mine.failed = true;
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

  // The review into the panel's body, in the page's language.
  function render(body, language) {
    const review = current && rows();
    if (!review) return;
    const words = WORDS[language];
    const section = element("section", null, { "aria-labelledby": "review-title" });
    section.append(element("h3", words.title, { id: "review-title" }));
    body.append(section);
    if (current.failed) {
      section.append(element("p", words.cannot, { role: "status" }));
      return;
    }
    if (review.done < review.total) section.append(element("p", words.working(review.done, review.total), { role: "status" }));
    else if (review.accuracyText) section.append(element("p", review.accuracyText));
    const pick = (k) => review.keys[k] >= 0 && show(current.seed, current.keys, review.keys[k]);
    const graph = reviewGraph(review.rows, pick);
    if (graph) section.append(graph);
    section.append(element("p", words.caption, { "aria-hidden": "true" }));
    section.append(reviewTable(review, words, pick));
  }

  return { begin, render };
}
