// The panels beside the game, loaded after its first frame: how to play (遊び方), the
// record of what the screens have shown (記録), the result after a win with this
// browser's statistics and a share, and the replay of a game from its link
// (?seed=N&keys=...). None of them is modal or takes the game's keys: every game key
// still reaches the game (the first one closes an open help or result panel), and Escape
// closes a panel without being a key of the game.

const SPEEDS = [0.5, 1, 2, 4];
const STATS = "jinro.stats";
const HELP_SEEN = "jinro.helpSeen";

const WORDS = {
  ja: {
    help: "遊び方",
    record: "記録",
    close: "閉じる",
    helpBody: [
      ["h3", "目的"],
      [
        "p",
        "あなたは二人の人狼です。夜ごとに村人を一人襲い、昼の投票で吊られないようにして、人狼の数が残りの村人と同じになれば勝ちです。人狼が二人とも吊られると村人の勝ちです。",
      ],
      ["h3", "役"],
      [
        "p",
        "狼 人狼（あなた）。狂 狂人：人狼の味方の村人で、3日目の夜から「死ね」と一人を名指しします。占 占い師：毎晩一人を占い、朝に 黒（人狼）か 白 を言います。霊 霊媒師：前の日に吊られた人が人狼だったかを言います。狩 狩人：毎晩一人を守り、その人への襲撃は失敗します。村 村人：何もしません。",
      ],
      ["h3", "CO（名乗り）"],
      [
        "p",
        "CO は、自分の役を皆の前で名乗ることです。占い師と霊媒師は最初の朝に名乗り、それから毎朝結果を言います。村人はその結果で投票するので、人狼を見つけた占い師がいちばんの脅威です。狩人は名乗らず、たいてい名乗った占い師を守ります。4日目からは狂人も名乗ります。それはあなたの味方が名乗り出たということです。狂人は「死ね」と一人を名指しして、その人に投票します。狂人は襲わないように。",
      ],
      ["h3", "キーとボタン"],
      [
        "p",
        "i j k l（↑ ← ↓ →）でカーソルを動かし、z（決定）で決めます。ほかの画面はどのキーでも（次へ）進みます。勝負がついたら r（もう一度）。カードをタップするとカーソルがそこへ動きます。Escape でこの窓を閉じます。",
      ],
      ["h3", "カード"],
      [
        "p",
        "赤は生きている人狼、紫は 狂 を名乗った人、水色は 占 か 霊 を名乗った人、灰色は死んだ人。CO は名乗った役、黒 と 白 はその人が受けた占いの数、下の行は死んだ日と 襲撃 か 吊り。",
      ],
      ["h3", "一日の流れ"],
      [
        "p",
        "夜：襲う人を選ぶ。朝：死体が見つかり、名乗った人が結果を言う（CO結果）。投票：人狼ごとに一票を入れ、いちばん票の多い人が吊られる（同数ならくじ）。そして次の夜。",
      ],
    ],
    votes: "投票",
    seat: "席",
    roles: "役",
    played: "遊んだ数",
    wolfWins: "人狼の勝利",
    streak: "今日の村の連続日数",
    share: "共有",
    copied: "コピーしました",
    notCopied: "コピーできませんでした",
    cancelled: "共有をやめました",
    village: (seed, daily) => (daily ? `${daily.month}月${daily.date}日の村` : `村 ${seed}`),
    replay: "リプレイ",
    play: "再生",
    pause: "一時停止",
    step: "一手進む",
    speed: "速さ",
    takeOver: "ここから遊ぶ",
    badKeys: "keys= が読めないので、最初から遊びます。",
    statsReset: "このブラウザの成績が読めなかったので、初めから数え直します。",
    review: "振り返り",
    reviewing: (done, all) => `計算中 ${done} / ${all}`,
    accuracy: (a) => `正確さ ${a}%（最善の勝率のうち、選んだ手で保てた割合）`,
    reviewCaption: "選択ごとの勝率（95% 区間）",
    reviewColumns: ["#", "場面", "選んだ手", "最善", "評価", "画面"],
    attack: (d) => `${d}日夜 襲撃`,
    vote: (d, wolf) => `${d}日 ${wolf}の投票`,
    odds: (name, o) => `${name} ${Math.round(o.win * 100)}% (${Math.round(o.low * 100)}-${Math.round(o.high * 100)}%)`,
    sameAsBest: "同じ",
    marks: { inaccuracy: "疑問手", mistake: "悪手", blunder: "大悪手" },
    show: "この画面へ",
    showLabel: (n) => `${n} 番目の選択の画面を見る`,
    noReview: "このブラウザでは振り返りを計算できません。",
  },
  en: {
    help: "How to play",
    record: "Record",
    close: "Close",
    helpBody: [
      ["h3", "Goal"],
      [
        "p",
        "You play both werewolves against eight computer players. Each night your wolves kill one of them; each day everyone votes, and the player with the most votes is hanged. Your wolves win as soon as they are as many as the other living players. The village wins once both wolves are hanged.",
      ],
      ["h3", "Roles"],
      [
        "p",
        "Wo werewolf: you, twice. Ma madman: a human who wins when the wolves win. Se seer: each night he checks one player and tells in the morning whether that player is a wolf or human. Me medium: from day 3 he tells whether the player hanged the day before was a wolf. Bg bodyguard: each night he guards one player (never himself), and an attack on that player fails. Vi villager: no power, only a vote.",
      ],
      ["h3", "Claims"],
      [
        "p",
        "A claim is a player saying openly which role he has. The seer and the medium claim on the first morning and tell their results every morning after; the village votes by them, so a seer who finds a wolf is your worst danger. The bodyguard never claims, and mostly guards a claimed seer. From day 4 the madman claims too: that is your ally announcing himself. He names a player who must die and votes for him; never kill him.",
      ],
      ["h3", "Keys and buttons"],
      [
        "p",
        "i j k l (↑ ← ↓ →) move the cursor, z (Choose) chooses. On the other screens any key (Next) goes on. After a game, r (Again) plays again. A tap on a card moves the cursor there. Escape closes this panel.",
      ],
      ["h3", "Cards"],
      [
        "p",
        "Red: a living wolf. Magenta: the claimed madman. Cyan: a claimed seer or medium. Grey: dead. Claim: the role a player claims (-- for none). Seer W and H: how many times the seer has called that player a wolf (W) or human (H). The last row of the dead: Killed: N2, killed by the wolves on night 2; Hanged: D3, hanged by the village on day 3.",
      ],
      ["h3", "A day"],
      [
        "p",
        "Night 1: choose your victim. Day 2: the body is found, the claimants tell their results, then each wolf votes in turn and the votes are shown (a tie is drawn by lot). The most-voted player is hanged, and night 2 falls. Night N always comes before day N + 1.",
      ],
    ],
    votes: "Votes",
    seat: "Seat",
    roles: "Roles",
    played: "Games played",
    wolfWins: "Wins as the wolves",
    streak: "Daily villages played in a row",
    share: "Share",
    copied: "Copied",
    notCopied: "Could not copy",
    cancelled: "Not shared",
    village: (seed, daily) => (daily ? `the village of ${daily.month}/${daily.date}` : `village ${seed}`),
    replay: "Replay",
    play: "Play",
    pause: "Pause",
    step: "Step",
    speed: "Speed",
    takeOver: "Play from here",
    badKeys: "keys= could not be read, so the game starts from the beginning.",
    statsReset: "This browser's statistics could not be read, so they start again from zero.",
    review: "Review",
    reviewing: (done, all) => `Working out ${done} of ${all}`,
    accuracy: (a) => `Accuracy ${a}% (how much of the best choice's chance to win your choices kept)`,
    reviewCaption: "The wolves' chance to win after each choice (95% intervals)",
    reviewColumns: ["#", "When", "Chosen", "Best", "Mark", "Screen"],
    attack: (d) => `Night ${d}, the attack`,
    vote: (d, wolf) => `Day ${d}, ${wolf}'s vote`,
    odds: (name, o) => `${name} ${Math.round(o.win * 100)}% (${Math.round(o.low * 100)}-${Math.round(o.high * 100)}%)`,
    sameAsBest: "the same",
    marks: { inaccuracy: "inaccuracy", mistake: "mistake", blunder: "blunder" },
    show: "Show",
    showLabel: (n) => `Show the screen of choice ${n}`,
    noReview: "This browser cannot work out the review.",
  },
};

const $ = (id) => document.getElementById(id);

function element(tag, text, attributes = {}) {
  const made = document.createElement(tag);
  if (text !== undefined && text !== null) made.textContent = text;
  for (const [name, value] of Object.entries(attributes)) made.setAttribute(name, value);
  return made;
}

function storage() {
  try {
    return window.localStorage;
  } catch {
    return null; // no storage: the page works, without statistics
  }
}

// api: language(), seed(), game (the driver: story, keys, links, today's village, the
// replay's pace), play(key), say(message), relayout().
export function startPanels(api) {
  const { game } = api;
  const words = () => WORDS[api.language()];
  let story = null;
  let counted = false; // this game's result is in the statistics
  let shareMessage = "";

  // --- panels ----------------------------------------------------------------------------

  function togglePanel(id, open) {
    const panel = $(id);
    const was = panel.hidden;
    panel.hidden = open === undefined ? !panel.hidden : !open;
    $(`${id}-button`)?.setAttribute("aria-expanded", String(!panel.hidden));
    if (was === panel.hidden) return;
    if (id === "record") api.relayout();
    if (!panel.hidden) render();
  }

  const isOpen = (id) => !$(id).hidden;

  function renderHelp() {
    const w = words();
    const body = $("help-body");
    body.replaceChildren(...w.helpBody.map(([tag, line]) => element(tag, line)));
    $("help-title").textContent = w.help;
  }

  function renderRecord() {
    const w = words();
    $("record-title").textContent = w.record;
    const body = $("record-body");
    body.replaceChildren();
    if (!story) return;
    const days = story.days.filter((d) => d.day >= 2);
    for (const d of days) {
      if (d.told.length === 0) continue;
      const list = element("ul");
      for (const line of d.told) list.append(element("li", line));
      body.append(element("h3", d.heading), list);
    }
    const voted = days.filter((d) => d.votes);
    if (voted.length === 0) return;
    // Seats in rows and days in columns, as players draw a vote table.
    const table = element("table");
    table.append(element("caption", w.votes));
    const head = element("tr");
    head.append(element("th", w.seat, { scope: "col" }));
    for (const d of voted) head.append(element("th", d.heading, { scope: "col" }));
    const thead = element("thead");
    thead.append(head);
    table.append(thead);
    const rows = element("tbody");
    for (let seat = 0; seat < 10; seat++) {
      const row = element("tr");
      row.append(element("th", `${seat} ${story.names[seat]}`, { scope: "row" }));
      for (const d of voted) {
        row.append(element("td", d.votes[seat] ?? "", d.hanged === seat ? { class: "hanged" } : {}));
      }
      rows.append(row);
    }
    table.append(rows);
    body.append(table);
  }

  // --- the result of a game ----------------------------------------------------------------

  // Today's village, as the game tells it, when the seed is its seed; else null.
  function daily(seed) {
    const today = game.daily(Date.now() / 1000);
    return today.seed === seed ? today : null;
  }

  // The statistics as stored: exactly these four whole numbers, each in its range. Anything
  // else (another shape, a string, a negative count) is removed, and the player told once.
  const FRESH = { played: 0, wolfWins: 0, streak: 0, lastDaily: -1 };
  const count = (value, least = 0) => Number.isSafeInteger(value) && value >= least;
  function statsAreSound(stats) {
    if (typeof stats !== "object" || stats === null || Array.isArray(stats)) return false;
    const keys = Object.keys(stats).sort();
    if (keys.join() !== "lastDaily,played,streak,wolfWins") return false;
    return count(stats.played) && count(stats.wolfWins) && stats.wolfWins <= stats.played && count(stats.streak) && count(stats.lastDaily, -1);
  }
  let statsChecked = false;
  function readStats() {
    let stats;
    try {
      const stored = storage()?.getItem(STATS) ?? null;
      if (stored === null) return { ...FRESH };
      stats = JSON.parse(stored);
    } catch {
      stats = null;
    }
    if (statsAreSound(stats)) return stats;
    try {
      storage()?.removeItem(STATS);
    } catch {
      // nothing stored can be changed: the statistics stay as they are shown
    }
    if (!statsChecked) api.say(words().statsReset);
    statsChecked = true;
    return { ...FRESH };
  }

  function countGame() {
    const store = storage();
    if (!store || counted) return;
    counted = true;
    const stats = readStats();
    stats.played += 1;
    if (story.winner === "wolves") stats.wolfWins += 1;
    const today = daily(api.seed());
    if (today && stats.lastDaily !== today.day) {
      stats.streak = stats.lastDaily === today.day - 1 ? stats.streak + 1 : 1;
      stats.lastDaily = today.day;
    }
    try {
      store.setItem(STATS, JSON.stringify(stats));
    } catch {
      // a full or refused storage: the statistics stay as they were
    }
  }

  function links() {
    const base = `${location.origin}${location.pathname}`;
    const langPart = api.language() === "en" ? "&lang=en" : "";
    return { replay: `${base}${game.replayLink()}${langPart}`, play: `${base}?seed=${api.seed()}${langPart}` };
  }

  function shareText() {
    const w = words();
    const { replay, play } = links();
    return `人狼 jinro — ${w.village(api.seed(), daily(api.seed()))}: ${story.won}\n${replay}\n${play}`;
  }

  async function share() {
    const w = words();
    const text = shareText();
    try {
      if (navigator.share) {
        await navigator.share({ text });
        return;
      }
      await navigator.clipboard.writeText(text);
      shareMessage = w.copied;
    } catch (error) {
      shareMessage = error?.name === "AbortError" ? w.cancelled : w.notCopied;
    }
    renderResult();
  }

  function renderResult() {
    const w = words();
    const body = $("result-body");
    body.replaceChildren();
    if (story && !story.winner && linkReview) {
      $("result-title").textContent = w.review; // a link to the review of a game not yet decided
      renderReview(body);
      return;
    }
    if (!story || !story.winner) return;
    $("result-title").textContent = story.won;
    const roles = element("ul", null, { "aria-label": w.roles });
    story.names.forEach((name, seat) => roles.append(element("li", `${seat} ${name}: ${story.roles[seat] ?? ""}`)));
    body.append(roles);
    if (storage()) {
      const stats = readStats();
      const list = element("dl");
      for (const [term, value] of [
        [w.played, stats.played],
        [w.wolfWins, stats.wolfWins],
        [w.streak, stats.streak],
      ]) {
        list.append(element("dt", term), element("dd", String(value)));
      }
      body.append(list);
    }
    const button = element("button", w.share, { type: "button", id: "share" });
    button.addEventListener("click", share);
    body.append(button, element("p", shareMessage, { role: "status", id: "share-status" }));
    renderReview(body);
  }

  // --- the review of a game ----------------------------------------------------------------
  // Every choice the wolves made, worked out by the coach's worker from what the screens had
  // shown: the odds across the game as a graph, marked where a choice lost much, and the
  // same as a table for screen readers; a row's button (or a point of the graph) shows that
  // screen of the game, with the replay's controls to go on from it.

  let review = null; // {keys, decisions, results: [{odds, verdict}], failed}
  let linkReview = false; // the page was opened on a link to a review

  function startReview() {
    const keys = game.keysPlayed();
    if (review?.keys === keys) return;
    const decisions = game.decisions();
    review = { keys, decisions, results: [], failed: false };
    const mine = review;
    const ok =
      decisions.length === 0 ||
      api.coach.review(decisions, (index, odds, verdict) => {
        mine.results[index] = { odds, verdict };
        if (review === mine && isOpen("result")) renderResult();
      });
    review.failed = !ok;
  }

  function showChoice(index) {
    const key = review.decisions[index].key;
    const keys = review.keys;
    togglePanel("result", false);
    api.showKeys(keys.slice(0, key));
    replayKeys = keys;
    replayAt = key;
    playing = false;
    $("replay").hidden = false;
    renderReplay();
    schedule();
  }

  function graph(results, points) {
    const NS = "http://www.w3.org/2000/svg";
    const svg = document.createElementNS(NS, "svg");
    const width = Math.max(120, 24 * points.length + 40);
    svg.setAttribute("viewBox", `0 0 ${width} 110`);
    svg.setAttribute("class", "review-graph");
    svg.setAttribute("aria-hidden", "true");
    const add = (tag, attributes, text) => {
      const made = document.createElementNS(NS, tag);
      for (const [name, value] of Object.entries(attributes)) made.setAttribute(name, value);
      if (text) made.textContent = text;
      svg.append(made);
      return made;
    };
    const y = (chance) => 100 - chance * 90;
    for (const chance of [0, 0.5, 1]) {
      add("line", { x1: 34, x2: width - 4, y1: y(chance), y2: y(chance), class: "axis" });
      add("text", { x: 30, y: y(chance) + 3, class: "scale" }, `${chance * 100}%`);
    }
    const x = (k) => 44 + k * 24;
    const at = points.map((k) => `${x(k)},${y(results[k].chosen.win)}`);
    if (at.length > 1) add("polyline", { points: at.join(" "), class: "odds-line" });
    for (const k of points) {
      const circle = add("circle", { cx: x(k), cy: y(results[k].chosen.win), r: 5, class: `point ${results[k].verdict.mark ?? "fine"}` });
      circle.addEventListener("click", () => showChoice(k));
    }
    return svg;
  }

  function renderReview(body) {
    if (!review) return;
    const w = words();
    const section = element("section", null, { "aria-labelledby": "review-title" });
    section.append(element("h3", w.review, { id: "review-title" }));
    if (review.failed) {
      section.append(element("p", w.noReview));
      body.append(section);
      return;
    }
    const total = review.decisions.length;
    const results = review.decisions.map((d, k) => {
      const r = review.results[k];
      if (!r || !r.odds) return null;
      const chosen = r.odds.choices.find((c) => c.seat === d.chosen);
      const best = r.odds.choices.find((c) => c.seat === r.odds.best);
      return { chosen, best, verdict: r.verdict };
    });
    const done = results.filter(Boolean).length;
    if (done < total) {
      section.append(element("p", w.reviewing(done, total), { role: "status" }));
    } else if (total > 0) {
      const kept = results.reduce((sum, r) => sum + r.verdict.kept, 0) / total;
      section.append(element("p", w.accuracy(Math.round(kept * 100))));
    }
    const points = results.flatMap((r, k) => (r ? [k] : []));
    if (points.length) section.append(graph(results, points));
    const table = element("table", null, { class: "review" });
    // The caption names the table for a screen reader; the same words stand over it on
    // screen, outside the part that scrolls.
    table.append(element("caption", w.reviewCaption, { class: "visually-hidden" }));
    const head = element("tr");
    for (const column of w.reviewColumns) head.append(element("th", column, { scope: "col" }));
    const thead = element("thead");
    thead.append(head);
    const rows = element("tbody");
    review.decisions.forEach((d, k) => {
      const row = element("tr");
      row.append(element("th", String(k + 1), { scope: "row" }));
      row.append(element("td", d.kind === "attack" ? w.attack(d.day) : w.vote(d.day, story.names[d.wolf] ?? "")));
      const r = results[k];
      row.append(element("td", r ? w.odds(story.names[d.chosen], r.chosen) : "…"));
      row.append(element("td", !r ? "" : r.best.seat === r.chosen.seat ? w.sameAsBest : w.odds(story.names[r.best.seat], r.best)));
      row.append(element("td", r?.verdict.mark ? w.marks[r.verdict.mark] : "", r?.verdict.mark ? { class: r.verdict.mark } : {}));
      const cell = element("td");
      const button = element("button", w.show, { type: "button", "aria-label": w.showLabel(k + 1) });
      button.addEventListener("click", () => showChoice(k));
      cell.append(button);
      row.append(cell);
      rows.append(row);
    });
    table.append(thead, rows);
    // On a narrow phone the table scrolls sideways within the panel, never the page.
    section.append(element("p", w.reviewCaption, { "aria-hidden": "true" }));
    const scroller = element("div", null, { class: "table-scroll" });
    scroller.append(table);
    section.append(scroller);
    body.append(section);
  }

  // --- replays -----------------------------------------------------------------------------

  let replayKeys = "";
  let replayAt = 0;
  let playing = false;
  let speed = 1;
  let timer = 0;

  function replayStep() {
    if (replayAt >= replayKeys.length) return stopReplay();
    api.play(replayKeys[replayAt++]);
    renderReplay();
    return true;
  }

  function schedule() {
    clearTimeout(timer);
    if (playing) timer = setTimeout(() => replayStep() && schedule(), game.replayPace() / speed);
  }

  function stopReplay() {
    playing = false;
    clearTimeout(timer);
    replayKeys = "";
    $("replay").hidden = true;
    return false;
  }

  function renderReplay() {
    const w = words();
    $("replay-title").textContent = `${w.replay} ${replayAt} / ${replayKeys.length}`;
    $("replay-play").textContent = playing ? w.pause : w.play;
    $("replay-step").textContent = w.step;
    $("replay-take").textContent = w.takeOver;
    $("replay-speed-label").textContent = w.speed;
  }

  function startReplay() {
    const params = new URLSearchParams(location.search);
    if (!params.has("keys")) return;
    const keys = params.get("keys");
    if (!game.checkKeys(keys)) {
      api.say(words().badKeys);
      return;
    }
    if (params.get("review") === "1") {
      // A link to a review: the game played to where the link ends, and its review.
      linkReview = true;
      api.showKeys(keys);
      story = api.story();
      startReview();
      $("result").dataset.shown = "1";
      togglePanel("result", true);
      renderResult();
      return;
    }
    replayKeys = keys;
    replayAt = 0;
    playing = true;
    $("replay").hidden = false;
    renderReplay();
    schedule();
  }

  // --- wiring --------------------------------------------------------------------------------

  function render() {
    story = api.story();
    if (!story.winner) counted = false;
    if (isOpen("help")) renderHelp();
    if (isOpen("record")) renderRecord();
    if (story.winner) {
      countGame();
      if (!replayKeys) startReview(); // not while a replay walks through the game
      if (!isOpen("result") && !$("result").dataset.shown) {
        $("result").dataset.shown = "1";
        togglePanel("result", true);
      }
      renderResult();
    } else if (!linkReview) {
      delete $("result").dataset.shown;
      togglePanel("result", false);
      shareMessage = "";
    } else {
      renderResult();
    }
    renderReplay();
    const w = words();
    $("help-button").textContent = w.help;
    $("record-button").textContent = w.record;
    for (const close of document.querySelectorAll(".panel .close")) close.setAttribute("aria-label", w.close);
  }

  $("help-button").addEventListener("click", () => togglePanel("help"));
  $("record-button").addEventListener("click", () => togglePanel("record"));
  for (const close of document.querySelectorAll(".panel .close")) {
    close.addEventListener("click", () => togglePanel(close.closest(".panel").id, false));
  }
  $("replay-play").addEventListener("click", () => {
    playing = !playing;
    renderReplay();
    schedule();
  });
  $("replay-step").addEventListener("click", () => {
    playing = false;
    schedule();
    replayStep();
  });
  $("replay-take").addEventListener("click", stopReplay);
  $("replay-speed").addEventListener("change", (event) => {
    speed = SPEEDS.includes(Number(event.target.value)) ? Number(event.target.value) : 1;
    schedule();
  });

  // The help opens by itself until it has been seen once; anything but "1" stored there
  // is not ours and is removed.
  let seen;
  try {
    seen = storage()?.getItem(HELP_SEEN) ?? null;
    if (seen !== null && seen !== "1") {
      storage().removeItem(HELP_SEEN);
      seen = null;
    }
  } catch {
    seen = null;
  }
  const firstVisit = seen === null;
  if (firstVisit && storage() && new URLSearchParams(location.search).get("help") !== "0") togglePanel("help", true);
  try {
    storage()?.setItem(HELP_SEEN, "1");
  } catch {
    // not remembered: the help opens again next time
  }
  readStats(); // what is stored is checked at once, not only after a win
  render();
  startReplay();

  return {
    update: render,
    // A game key: the player takes over a replay, and an open help or result panel closes.
    beforeKey() {
      linkReview = false;
      if (replayKeys) stopReplay();
      togglePanel("help", false);
      togglePanel("result", false);
    },
    // Escape closes the panels, and is no key of the game.
    escape() {
      for (const id of ["help", "result", "record"]) togglePanel(id, false);
    },
    recordOpen: () => isOpen("record"),
  };
}
