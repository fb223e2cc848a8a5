// The result panel after a game: who won and on which day, the true roles, this browser's
// statistics, a share of the game (its replay link and the link that plays its village
// from the start), and the review of its choices. Opened on a link to a review of a game
// not yet decided, it shows that review alone.
import { $, element } from "./dom.js";
import { reviewTitle } from "./review.js";

const WORDS = {
  ja: {
    roles: "役",
    played: "遊んだ数",
    wolfWins: "人狼の勝利",
    streak: "今日の村の連続日数",
    share: "共有",
    copied: "コピーしました",
    notCopied: "コピーできませんでした",
    cancelled: "共有をやめました",
    village: (seed, daily) => (daily ? `${daily.month}月${daily.date}日の村` : `村 ${seed}`),
    withLies: "（騙りあり）",
    statsReset: "このブラウザの成績が読めなかったので、初めから数え直します。",
  },
  en: {
    roles: "Roles",
    played: "Games played",
    wolfWins: "Wins as the wolves",
    streak: "Daily villages played in a row",
    share: "Share",
    copied: "Copied",
    notCopied: "Could not copy",
    cancelled: "Not shared",
    village: (seed, daily) => (daily ? `the village of ${daily.month}/${daily.date}` : `village ${seed}`),
    withLies: " (with lies)",
    statsReset: "This browser's statistics could not be read, so they start again from zero.",
  },
};

export const statsResetWords = (language) => WORDS[language].statsReset;

// Today's village, as the game tells it, when the seed is its seed; else null.
export function dailyOf(game, seed) {
  const today = game.daily(Date.now() / 1000);
  return today.seed === seed ? today : null;
}

// The text shared: the village (and whether it had lies), how the game ended, the game's
// replay link and its village's link, in the page's language.
function shareText(game, story, language) {
  const seed = game.gameSeed();
  const base = `${location.origin}${location.pathname}`;
  const langPart = language === "en" ? "&lang=en" : "";
  const words = WORDS[language];
  const lies = game.gameLies();
  const village = `${words.village(seed, dailyOf(game, seed))}${lies ? words.withLies : ""}`;
  return `人狼 jinro — ${village}: ${story.won}\n${base}${game.replayLink()}${langPart}\n${base}?seed=${seed}${lies ? "&bluff=1" : ""}${langPart}`;
}

function statsList(stats, words) {
  const list = element("dl");
  for (const [term, value] of [
    [words.played, stats.played],
    [words.wolfWins, stats.wolfWins],
    [words.streak, stats.streak],
  ]) {
    list.append(element("dt", term), element("dd", String(value)));
  }
  return list;
}

// game: the driver; stats: this browser's; review: the review of the game on screen.
export function createResult({ game, stats, review }) {
  let message = ""; // what became of the last share
  let last = { story: null, language: "ja" };

  async function share() {
    const { story, language } = last;
    const words = WORDS[language];
    const text = shareText(game, story, language);
    try {
      if (navigator.share) {
        await navigator.share({ text });
        return;
      }
      await navigator.clipboard.writeText(text);
      message = words.copied;
    } catch (error) {
      message = error?.name === "AbortError" ? words.cancelled : words.notCopied;
    }
    render(last.story, last.language);
  }

  // The panel for the story shown; with reviewOnly, the review of a game not yet decided.
  function render(story, language, { reviewOnly = false } = {}) {
    last = { story, language };
    const words = WORDS[language];
    const body = $("result-body");
    body.replaceChildren();
    if (reviewOnly) {
      $("result-title").textContent = reviewTitle(language);
      review.render(body, language);
      return;
    }
    if (!story?.winner) return;
    $("result-title").textContent = story.won;
    const roles = element("ul", null, { "aria-label": words.roles });
    story.names.forEach((name, seat) => roles.append(element("li", `${seat} ${name}: ${story.roles[seat] ?? ""}`)));
    body.append(roles);
    if (stats.kept()) body.append(statsList(stats.read(), words));
    const button = element("button", words.share, { type: "button", id: "share" });
    button.addEventListener("click", share);
    body.append(button, element("p", message, { role: "status", id: "share-status" }));
    review.render(body, language);
  }

  return { render, forget: () => (message = "") };
}
