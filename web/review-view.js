// The review in the result panel, in the game's words: its accuracy with what it means,
// what the choices cost and what luck moved, the graph of the odds with its legend, and a
// table with a row a choice (its night or day; the choice with its odds, the verdict and
// the mark; the reason; what the screens showed after it with the odds before and after;
// a button that shows its screen). The graph is hidden from screen readers: the table
// says the same.
import { element, tableHead } from "./dom.js";
import { reviewGraph } from "./review-graph.js";

const WORDS = {
  ja: {
    title: "振り返り",
    working: (done, all) => `計算中 ${done} / ${all}`,
    caption: "選択ごとの勝率（95% 区間）と評価",
    columns: ["いつ", "選んだ手", "画面"],
    why: "理由: ",
    then: "その後: ",
    swing: "運の振れ",
    show: "この画面へ",
    showLabel: (n) => `${n} 番目の選択の画面を見る`,
    cannot: "このブラウザでは振り返りを計算できません。",
    practice: (n) => `印のついた手を練習する (${n})`,
  },
  en: {
    title: "Review",
    working: (done, all) => `Working out ${done} of ${all}`,
    caption: "The wolves' chance to win after each choice (95% intervals), and its verdict",
    columns: ["When", "Choice", "Screen"],
    why: "Why: ",
    then: "Then: ",
    swing: "swing of luck",
    show: "Show",
    showLabel: (n) => `Show the screen of choice ${n}`,
    cannot: "This browser cannot work out the review.",
    practice: (n) => `Practise the marked choices (${n})`,
  },
};

export const reviewTitle = (language) => WORDS[language].title;

const percent = (share) => `${Math.round(share * 100)}%`;

// A choice reviewed, in its words: the choice and its verdict with the mark, the reason,
// and what happened after it.
function choiceCell(r, words) {
  const cell = element("td");
  if (!r) {
    cell.textContent = "…";
    return cell;
  }
  cell.append(element("p", r.when, { class: "when" }));
  const chosen = element("p", `${r.chosen}${r.verdict}`, { class: "chosen" });
  if (r.mark) chosen.append(" ", element("span", `${r.sign} ${r.markWord}`, { class: `mark ${r.mark}` }));
  cell.append(chosen);
  if (r.reason) cell.append(element("p", `${words.why}${r.reason}`, { class: "why" }));
  if (r.then) {
    const then = element("p", `${words.then}${r.then.told} `, { class: "then" });
    then.append(element("span", `${percent(r.then.before)} → ${percent(r.then.after)}`, { class: "move" }));
    if (r.then.swing) then.append(" ", element("strong", words.swing, { class: "swing" }));
    cell.append(then);
  }
  return cell;
}

function reviewTable(review, words, show) {
  const table = element("table", null, { class: "review" });
  // The caption names the table for a screen reader; the same words stand over it on
  // screen, outside the part that scrolls.
  table.append(element("caption", words.caption, { class: "visually-hidden" }));
  const rows = element("tbody");
  review.keys.forEach((key, k) => {
    const r = review.rows[k] ?? null;
    const row = element("tr");
    row.append(element("th", r ? r.axis : String(k + 1), { scope: "row" }), choiceCell(r, words));
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
  return table;
}

// The review into the panel's body: review is the game's ({rows, accuracyText, sums,
// legend, done, total}) with keys (each choice's key); failed, when it cannot be worked
// out; show(k) shows choice k's screen; practice: {count(), start()}.
export function renderReview(body, language, { review, failed, show, practice }) {
  const words = WORDS[language];
  const section = element("section", null, { "aria-labelledby": "review-title", class: "review" });
  section.append(element("h3", words.title, { id: "review-title" }));
  body.append(section);
  if (failed) {
    section.append(element("p", words.cannot, { role: "status" }));
    return;
  }
  if (review.done < review.total) section.append(element("p", words.working(review.done, review.total), { role: "status" }));
  for (const line of [review.accuracyText, review.sums]) if (line) section.append(element("p", line));
  const graph = reviewGraph(review.rows, show);
  // The legend, each mark with its word: a line breaks only between them (two spaces apart).
  if (graph) section.append(graph, element("p", review.legend.replace(/(\S) (?=\S)/g, "$1\u00a0"), { class: "legend" }));
  if (practice.count() > 0) {
    const button = element("button", words.practice(practice.count()), { type: "button", class: "practise" });
    button.addEventListener("click", practice.start);
    section.append(button);
  }
  section.append(element("p", words.caption, { "aria-hidden": "true", class: "caption" }));
  section.append(reviewTable(review, words, show));
}
