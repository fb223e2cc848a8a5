// The panels beside the game, in headless Chromium: the help on the first visit only,
// typed keys reaching the game through an open panel, the record showing a day's votes
// only after its vote-results screen, a replay link that reproduces the game and hands it
// over, the share text of a daily village through the clipboard, and axe-core on the
// panels.
//
//   node tests/web/panels_test.mjs BUILD_WEB_FOLDER JINRO_REPLAY
import { strict as assert } from "node:assert";
import { execFileSync } from "node:child_process";
import { mkdtempSync, readFileSync, rmSync, writeFileSync } from "node:fs";
import { tmpdir } from "node:os";
import { dirname, join } from "node:path";
import { launch, readScreen, serve, waitForFrames } from "../../scripts/web-tools/browser.mjs";
import { assertSameScreen, nativeScreens, terminalGame } from "./native.mjs";

const [folder, replayTool] = process.argv.slice(2);
const SEED = 7;
const AXE = readFileSync(new URL("../../web/node_modules/axe-core/axe.min.js", import.meta.url), "utf8");
const JINRO = join(dirname(replayTool), "..", "jinro");
const { keys: KEYS, frames: FRAMES } = nativeScreens(replayTool, SEED, "auto");
const GAME = KEYS.slice(0, -1).replaceAll("x", "."); // the first game to its end, as a link spells it

// The native review of a record (its first line, then its keys): the JSON lines of its
// choices made.
function nativeChoices(firstLine, keys) {
  const scratch = mkdtempSync(join(tmpdir(), "jinro-review-"));
  writeFileSync(join(scratch, "game.rec"), `${firstLine}\n${keys}`);
  const native = execFileSync(JINRO, ["--review", join(scratch, "game.rec"), "--json", "--threads", "1"], { encoding: "utf8" });
  rmSync(scratch, { recursive: true, force: true });
  return native
    .trim()
    .split("\n")
    .map((line) => JSON.parse(line))
    .filter((line) => line.choice);
}

async function open(context, query, { clock = null } = {}) {
  const page = await context.newPage();
  if (clock) await page.clock.setFixedTime(clock);
  await page.goto(`${server.url}?${query}`);
  await page.evaluate(() => window.jinro.ready);
  await page.waitForFunction(() => document.getElementById("replay-title").textContent.includes("/")); // the panels are in (they count the replay)
  await page.waitForTimeout(100);
  return page;
}

async function press(page, key) {
  const before = await page.evaluate(() => window.jinro.frames);
  await page.keyboard.press(key === " " ? "Space" : key);
  await waitForFrames(page, before + 1);
}

const visible = (page, id) => page.locator(`#${id}`).isVisible();

async function assertAccessible(page, where) {
  if (!(await page.evaluate(() => "axe" in window))) await page.evaluate(AXE);
  const { violations } = await page.evaluate(() => window.axe.run(document));
  assert.deepEqual(
    violations.map((v) => `${v.id}: ${v.nodes.map((n) => n.target.join(" ")).join(", ")}`),
    [],
    where,
  );
}

async function help(browser) {
  const context = await browser.newContext();
  const first = await open(context, `seed=${SEED}`);
  assert.ok(await visible(first, "help"), "the help opens on the first visit");
  await assertAccessible(first, "the help panel");
  await press(first, KEYS[0]); // reaches the game, and closes the help
  assert.ok(!(await visible(first, "help")), "the first key closes the help");
  assertSameScreen(await readScreen(first), FRAMES[1], "a key typed with the help open");
  const again = await open(context, `seed=${SEED}`);
  assert.ok(!(await visible(again, "help")), "not on the second visit");
  await again.locator("#help-button").click();
  assert.ok(await visible(again, "help"), "the button opens it");
  await again.keyboard.press("Escape");
  assert.ok(!(await visible(again, "help")), "Escape closes it");
  assert.equal(await again.evaluate(() => window.jinro.frames), 1, "Escape is no key of the game");
  await context.close();
  const other = await browser.newContext();
  assert.ok(!(await visible(await open(other, `seed=${SEED}&help=0`), "help")), "?help=0");
  await other.close();
}

// The record's vote table has a day's column only once that day's vote-results screen
// was left; at the end, the result panel, and axe-core on all of them.
async function recordAndResult(browser) {
  const context = await browser.newContext({ viewport: { width: 1280, height: 800 } });
  const page = await open(context, `seed=${SEED}&help=0`);
  await page.locator("#record-button").click();
  const columns = () => page.locator("#record thead th").count();
  for (let k = 0; k < KEYS.length - 1; k++) {
    const prompt = (await readScreen(page)).rows[1];
    if (prompt.includes("投票結果")) {
      const before = await columns();
      await press(page, KEYS[k]);
      assert.equal(await columns(), before === 0 ? 2 : before + 1, `the votes join the record after their screen (key ${k})`);
      continue;
    }
    await press(page, KEYS[k]);
  }
  assert.ok(await visible(page, "result"), "the result panel after a win");
  assert.match(await page.locator("#result").innerText(), /村人の勝利|人狼の勝利/);
  assert.match(await page.locator("#result").innerText(), /遊んだ数\s+1/);
  await assertAccessible(page, "the record and result panels");
  await context.close();
}

// A replay link plays the game back, step by step; a key typed takes over. A malformed
// keys= gets a message and a fresh game.
async function replays(browser) {
  const context = await browser.newContext();
  const page = await open(context, `seed=${SEED}&help=0&keys=${KEYS.replaceAll("x", ".")}`);
  await page.locator("#replay-play").click(); // pause, then step through
  const played = await page.evaluate(() => window.jinro.frames);
  for (let k = played; k <= 10; k++) {
    await page.locator("#replay-step").click();
    await waitForFrames(page, k + 1);
  }
  assertSameScreen(await readScreen(page), FRAMES[10], "a replay stepped to key 10");
  await press(page, "j"); // the player takes over
  assert.ok(!(await visible(page, "replay")), "the replay hands over");
  assertSameScreen(await readScreen(page), nativeScreens(replayTool, SEED, `${KEYS.slice(0, 10)}j`).frames[11], "a key after the take-over");
  const bad = await open(context, `seed=${SEED}&help=0&keys=lz<b>x`);
  assert.match(await bad.locator("#notice").innerText(), /keys=/);
  assertSameScreen(await readScreen(bad), FRAMES[0], "a fresh game after a malformed keys=");
  assert.equal(await bad.locator("#notice b").count(), 0, "nothing from the address is HTML");
  await context.close();
}

// Today's village at the first second of 1 January 2026 in Japan (still 31 December in UTC),
// played to its end: the same village as the native game's --daily at that instant, and its
// share text through the clipboard.
async function share(browser) {
  const INSTANT = "2025-12-31T15:00:00Z";
  const record = join(mkdtempSync(join(tmpdir(), "jinro-daily-")), "daily.rec");
  const env = { ...process.env, TZ: "UTC" };
  execFileSync("faketime", ["-f", `@${INSTANT.replace("T", " ").replace("Z", "")}`, JINRO, "--daily", "--record", record], { env, input: "" });
  const daily = Number(readFileSync(record, "utf8").match(/^jinro-record 2 (\d+) ja\n/)[1]);
  rmSync(dirname(record), { recursive: true, force: true });
  const context = await browser.newContext({ permissions: ["clipboard-read", "clipboard-write"] });
  const page = await open(context, "daily&help=0", { clock: new Date(INSTANT) });
  const { keys, frames } = nativeScreens(replayTool, daily, "auto");
  assertSameScreen(await readScreen(page), frames[0], "today's village, as the native game deals it");
  for (const key of keys.slice(0, -1)) await press(page, key);
  await page.locator("#share").click();
  await page.waitForFunction(() => document.getElementById("share-status").textContent !== "");
  const text = await page.evaluate(() => navigator.clipboard.readText());
  assert.ok(text.startsWith("人狼 jinro — 1月1日の村: "), text);
  assert.match(text, new RegExp(`(村人|人狼)の勝利 \\(\\d日目\\)\n.*\\?seed=${daily}&keys=[ijklzr.]+\n.*\\?seed=${daily}$`));
  assert.match(await page.locator("#result").innerText(), /今日の村の連続日数\s+1/);
  await context.close();
}

// The coach: off at first; switched on, the odds of every legal card of the attack come from
// its worker within a second, while keys go on being played at once; remembered. After the
// game, the review: a row for every choice made, with the very odds `jinro --review` gives
// for the same record; a row's button shows that screen of the game.
async function coachAndReview(browser) {
  const context = await browser.newContext({ viewport: { width: 1280, height: 900 } });
  await context.addInitScript(oversizedFirst);
  const page = await open(context, `seed=${SEED}&help=0`);
  assert.equal(await page.locator(".card .odds").count(), 0, "the coach is off at first");
  assert.equal(await page.locator("#coach-button").getAttribute("aria-pressed"), "false");
  const asked = Date.now();
  await page.locator("#coach-button").click();
  await page.waitForFunction(() => document.querySelectorAll(".card .odds").length > 0, null, { timeout: 1000 });
  console.log(`panels: the coach's first odds after ${Date.now() - asked} ms`);
  const legal = await page.evaluate(() => [...document.querySelectorAll(".card")].filter((c) => c.querySelector(".odds")).map((c) => Number(c.dataset.seat)));
  const cards = await page.evaluate(() => [...document.querySelectorAll(".card .label")].map((l) => l.textContent));
  assert.equal(legal.length, 8, `odds on the eight seats the wolves may attack: ${legal}`);
  for (const seat of legal) assert.match(cards[seat], /勝率 \d+% \(\d+-\d+%\)/, `seat ${seat}'s label tells its odds`);
  const before = await page.evaluate(() => window.jinro.frames);
  for (const key of "lljj") await press(page, key); // the worker is at work: keys are played at once
  assert.equal(await page.evaluate(() => window.jinro.frames), before + 4);
  await page.reload();
  await page.evaluate(() => window.jinro.ready);
  assert.equal(await page.locator("#coach-button").getAttribute("aria-pressed"), "true", "the coach is remembered");
  await page.waitForFunction(() => document.querySelectorAll(".card .odds").length > 0, null, { timeout: 2000 });

  for (const key of KEYS.slice(0, -1)) await press(page, key);
  await assertReview(page, KEYS.slice(0, -1), 1);
  await assertAccessible(page, "the result panel with its review");
  // r, and a second game (z chooses where it may, l moves on): its own review, and its own
  // screens shown from its own seed.
  await press(page, "r");
  let second = "";
  for (const key of "zl".repeat(200)) {
    if (await visible(page, "result")) break;
    await press(page, key);
    second += key;
  }
  await assertReview(page, KEYS + second, 2);
  await page.locator("table.review tbody tr button").first().click(); // the second game's first choice
  await waitForFrames(page, 1);
  const shownAt = nativeScreens(replayTool, SEED, KEYS + second.slice(0, second.indexOf("z")), "ja", { last: true });
  assertSameScreen(await readScreen(page), shownAt.frames[0], "the screen of the second game's first choice");
  assert.ok(await visible(page, "replay"), "the replay's controls, to go on from there");
  await context.close();
}

// The odds of the decision at the screen after `keys` from `seed`, settled, as the game gives
// them to the cards: worked out in the page by a module of its own, as the worker does.
function settledOdds(page, seed, keys) {
  return page.evaluate(
    async ([given, typed]) => {
      const m = await (await import("./jinro.mjs")).default();
      const text = (at) => new TextDecoder("shift_jis").decode(m.HEAPU8.subarray(at, m.HEAPU8.indexOf(0, at)));
      const put = (bytes) => (m.HEAPU8.set(bytes, m._jinro_buffer()), bytes.length);
      m._jinro_start(given);
      m._jinro_feed(put(new TextEncoder().encode(typed)));
      m._jinro_play_typed();
      const at = m._jinro_decision();
      m._jinro_coach_begin(put(m.HEAPU8.slice(at, at + m._jinro_decision_size())), 0, -1);
      while (m._jinro_coach_round(0) === 1);
      const odds = m._jinro_coach_odds(0);
      m._jinro_take_odds(put(m.HEAPU8.slice(odds, odds + m._jinro_odds_size())));
      return JSON.parse(text(m._jinro_odds()));
    },
    [seed, keys],
  );
}

// The coach's figures on the first attack of seed 7, once settled: every legal card's chance
// in the one notation, every choice as good as the best (five here) marked as best and no
// other, the read of the seats whose role the wolves do not know, the best's facts under the
// board; none of it once the coach is off.
async function coachFigures(browser) {
  const context = await browser.newContext({ viewport: { width: 1280, height: 800 } });
  const page = await open(context, "seed=7&help=0");
  await page.locator("#coach-button").click();
  await page.waitForFunction(() => document.getElementById("facts-live").textContent !== "", null, { timeout: 5000 });
  const odds = await settledOdds(page, 7, "");
  const shown = await page.evaluate(() =>
    [...document.querySelectorAll(".card")].map((card) => ({
      label: card.querySelector(".label").textContent,
      badge: card.querySelector(".odds")?.textContent ?? null,
      best: card.querySelector(".odds.best") !== null,
      read: card.querySelector(".read")?.textContent ?? null,
    })),
  );
  const good = odds.choices.filter((c) => c.good).length;
  assert.ok(good >= 2 && good < odds.choices.length, `a screen with several choices as good as the best, and others: ${good}`);
  for (const c of odds.choices) {
    assert.equal(shown[c.seat].badge, c.text, `seat ${c.seat}'s badge`);
    assert.ok(shown[c.seat].label.includes(`勝率 ${c.text}`), `seat ${c.seat}'s label: ${shown[c.seat].label}`);
    assert.equal(shown[c.seat].best, c.good, `seat ${c.seat} marked as best exactly when as good as the best`);
  }
  assert.ok(odds.read.length > 0, "the coach reads some seats");
  for (const r of odds.read) {
    assert.equal(shown[r.seat].read, `${r.glyph} ${r.percent}%`, `seat ${r.seat}'s read`);
    assert.ok(shown[r.seat].label.includes(`${r.role} ${r.percent}%`), `seat ${r.seat}'s label tells the read`);
  }
  assert.equal(shown.filter((card) => card.read !== null).length, odds.read.length, "a read only on the seats read");
  assert.equal(await page.locator("#facts").innerText(), odds.facts);
  await page.locator("#coach-button").click();
  assert.equal(await page.locator(".card .odds, .card .read").count(), 0, "nothing on the cards with the coach off");
  assert.ok(!(await visible(page, "facts")), "no facts with the coach off");
  const labels = await page.evaluate(() => [...document.querySelectorAll(".card .label")].map((l) => l.textContent).join());
  assert.ok(!labels.includes("コーチ") && !labels.includes("勝率"), "nothing of the coach in the labels");
  await context.close();
}

// A game of eleven choices, some of them marked, played to its end on a phone: the review
// with each row's reason as the native review gives it, a then-line and the legend, nothing
// wider than the phone, and the marked choices kept for practice. Practice asks each in
// turn at its screen, the odds hidden; the key that chooses never reaches the game; the
// best choice is found; after two rounds of finds the stored pool is empty.
async function reviewAndPractice(browser) {
  const context = await browser.newContext({ viewport: { width: 390, height: 844 }, hasTouch: true, isMobile: true });
  const [seed, played] = [1790000001, "z..lzz..z..lzz..z..lzz..z..llz."];
  const page = await open(context, `seed=${seed}&help=0`);
  await page.locator("#coach-button").click();
  for (const key of played) await press(page, key);
  await page.waitForFunction(() => document.getElementById("result").innerText.includes("正確さ"), null, { timeout: 30000 });
  const choices = nativeChoices(`jinro-record 1 ${seed}`, played);
  assert.deepEqual(
    await page.locator("table.review .why").allTextContents(),
    choices.map((c) => `理由: ${c.reason}`),
    "each row's reason",
  );
  assert.match(await page.locator("table.review .then").first().innerText(), /^その後: .+ \d+% → \d+%/, "a then-line");
  assert.match(await page.locator("section.review .legend").innerText(), /\?!\s.+\s\?\s.+\s\?\?\s/, "the legend of the marks");
  const wide = () =>
    page.evaluate(() => [document.documentElement.scrollWidth, document.getElementById("result").scrollWidth - document.getElementById("result").clientWidth]);
  assert.deepEqual(await wide(), [390, 0], "the review on a phone: nothing wider than the screen or its panel");
  // Each z of these keys makes a choice: a marked one is asked at the screen before its z.
  const zs = [...played].flatMap((key, k) => (key === "z" ? [k] : []));
  assert.equal(zs.length, choices.length, "a choice for each z");
  const marked = choices.flatMap((c, k) => (c.mark ? [{ keys: played.slice(0, zs[k]), best: c.options.reduce((a, b) => (b.win > a.win ? b : a)).seat }] : []));
  assert.ok(marked.length > 0, "a game with a marked choice");
  const pool = () => page.evaluate(() => JSON.parse(localStorage.getItem("jinro.practice") ?? "[]").map((q) => [q.seed, q.keys, q.found]));
  assert.deepEqual(
    await pool(),
    marked.map((m) => [seed, m.keys, 0]),
    "the marked choices kept for practice",
  );

  await page.locator("section.review .practise").click();
  for (const round of [1, 2]) {
    for (const [k, m] of marked.entries()) {
      const where = `practice, round ${round}, question ${k + 1}`;
      assertSameScreen(await readScreen(page), nativeScreens(replayTool, seed, m.keys, "ja", { last: true }).frames[0], where);
      assert.equal(await page.locator(".card .odds, .card .read").count(), 0, `${where}: the odds hidden`);
      assert.ok(!(await visible(page, "facts")), `${where}: the facts hidden`);
      await page.locator(`.card[data-seat="${m.best}"]`).tap();
      const frames = await page.evaluate(() => window.jinro.frames);
      await page.keyboard.press("z");
      await page.locator("#practice .found").waitFor({ timeout: 2000 });
      assert.equal(await page.evaluate(() => window.jinro.frames), frames, `${where}: the key that chooses never reaches the game`);
      const left = marked.slice(round === 1 ? 0 : k + 1).map((n, j) => [seed, n.keys, round === 1 && j > k ? 0 : 1]);
      assert.deepEqual(await pool(), left, `${where}: the pool`);
      assert.equal((await wide())[0], 390, `${where}: nothing wider than the screen`);
      if (round === 1 && k === 0) await assertAccessible(page, "practice");
      await page.keyboard.press("j"); // the next question, or the end of practice
    }
  }
  assert.match(await page.locator("#practice").innerText(), /残り 0 問/);
  await page.keyboard.press("j"); // practice ends: back to the game's end
  assert.ok(!(await visible(page, "practice")), "practice closed");
  assertSameScreen(await readScreen(page), nativeScreens(replayTool, seed, played, "ja", { last: true }).frames[0], "the game after practice");
  await context.close();
}

// Run in the page before its scripts: every record the page sends its worker comes after one
// of 5,000 bytes, more than the module's buffer holds. The worker refuses that one, and still
// answers the record that follows.
function oversizedFirst() {
  const post = Worker.prototype.postMessage;
  Worker.prototype.postMessage = function (message, ...rest) {
    if (message?.kind !== "odds") return post.call(this, message, ...rest);
    post.call(this, { ...message, record: new Uint8Array(5000) });
    setTimeout(() => post.call(this, message, ...rest), 50);
  };
}

// A worker that cannot work (one that throws as it starts, one that says it failed): the
// review of a link says it cannot be worked out, instead of working for ever.
async function failedWorker(browser) {
  for (const body of ['throw new Error("no worker here");', 'self.postMessage({ kind: "failed" });']) {
    const context = await browser.newContext({ serviceWorkers: "block" });
    await context.route("**/coach-worker.js", (route) => route.fulfill({ contentType: "text/javascript", body }));
    const page = await open(context, `seed=${SEED}&help=0&keys=${GAME}&review=1`);
    await page.waitForFunction(() => document.getElementById("result").innerText.includes("振り返りを計算できません"), null, { timeout: 5000 });
    await context.close();
  }
}

// The village with lies. The coach's odds of a wolf's answers, whether to claim (a list under
// the board) and a false seer's verdicts (each card's better one), and the best's facts, are
// the native game's own coach's in a terminal. A link's review has the native review's
// reasons for every choice, the morning's among them; its marked choices go to practice with
// their rules, and practice on a question of the morning judges the key that answers it (the
// best answer is found), which never reaches the game.
async function liesCoachAndPractice(browser) {
  const [seed, played] = [20261208, "zslb..zz..zllb..zz..z..z."];
  const context = await browser.newContext({ viewport: { width: 1280, height: 800 } });
  const page = await open(context, `seed=${seed}&bluff=1&lang=en&help=0`);
  const terminal = await terminalGame(JINRO, `--seed ${seed} --bluff --coach --lang en`);
  const settled = () => page.waitForFunction(() => document.getElementById("facts-live").textContent !== "", null, { timeout: 10000 });
  // Waits until every line the page shows stands in the terminal (a panel's row holds two,
  // blanks between them), once its odds are settled.
  const shownThere = () => terminal.screen().rows.flatMap((row) => row.trim().split(/ {2,}/));
  const inTerminal = async (lines, where) => {
    for (let waited = 0; !lines.every((line) => shownThere().includes(line)); waited += 100) {
      assert.ok(waited < 20000, `${where}: ${JSON.stringify(lines)} against\n${terminal.screen().rows.join("\n")}`);
      await page.waitForTimeout(100);
    }
  };
  try {
    await page.locator("#coach-button").click();
    await press(page, "z");
    terminal.type("z");
    await settled();
    const answers = await page.locator("#answers li").allTextContents();
    assert.equal(answers.length, 3, "no claim, the seer, the medium");
    await inTerminal([...answers, await page.locator("#facts").innerText()], "the claim");
    await page.evaluate(() => (document.getElementById("facts-live").textContent = ""));
    await press(page, "s");
    terminal.type("s");
    await settled();
    const cards = await page.evaluate(() =>
      [...document.querySelectorAll(".card")]
        .filter((card) => card.querySelector(".odds"))
        .map(
          (card) =>
            `${card.querySelector(".label").textContent.split(", ")[1]} ${card.querySelector(".odds").textContent}${card.querySelector(".odds.best") ? " best" : ""}`,
        ),
    );
    assert.ok(cards.length >= 7, `a verdict on every seat the false seer may name: ${cards}`);
    await inTerminal(cards, "the seer's verdicts");
  } finally {
    terminal.close();
  }

  await page.goto(`${server.url}?seed=${seed}&bluff=1&help=0&keys=${played}&review=1`);
  await page.waitForFunction(() => document.getElementById("result").innerText.includes("正確さ"), null, { timeout: 60000 });
  const choices = nativeChoices(`jinro-record 2 ${seed} ja bluff`, played);
  assert.deepEqual(
    await page.locator("table.review .why").allTextContents(),
    choices.map((c) => `理由: ${c.reason}`),
    "each row's reason, the morning's too",
  );
  const pool = await page.evaluate(() => JSON.parse(localStorage.getItem("jinro.practice")));
  assert.equal(pool.length, choices.filter((c) => c.mark).length, "every marked choice kept for practice");
  assert.ok(
    pool.every((q) => q.lies === true && q.seed === seed && played.startsWith(q.keys)),
    "with their rules",
  );
  await page.locator("section.review .practise").click();
  await page.locator("#practice").waitFor({ state: "visible" });
  const marked = choices.find((c) => c.mark);
  assert.equal(marked.choice, "claim", "the first marked choice: whether to claim");
  assert.equal(await page.locator('#pad [data-action="medium"]').isVisible(), true, "practice asks it with the answers' buttons");
  const best = marked.options.reduce((a, b) => (b.win > a.win ? b : a));
  const frames = await page.evaluate(() => window.jinro.frames);
  await page.keyboard.press({ none: ".", seer: "s", medium: "m" }[best.answer]);
  await page.locator("#practice .found").waitFor({ timeout: 2000 }); // the best answer is found
  assert.equal(await page.evaluate(() => window.jinro.frames), frames, "the key that answers never reaches the game");
  await context.close();
}

// This browser's statistics count a game the visitor's own keys decided, once: never the
// game of a review link or of a replay played to its end, loaded or loaded again.
async function statistics(browser) {
  const context = await browser.newContext();
  const stepToEnd = async (page) => {
    await page.locator("#replay-play").click(); // pause, then step until the replay ends
    for (let n = 0; await visible(page, "replay"); n++) {
      assert.ok(n <= GAME.length + 1, "the replay never ended");
      await page.locator("#replay-step").click();
    }
  };
  const typeGame = async (page) => {
    for (const key of KEYS.slice(0, -1)) await press(page, key);
    await press(page, "j"); // a key after the win decides nothing more
  };
  const review = `seed=${SEED}&help=0&keys=${GAME}&review=1`;
  const replay = `seed=${SEED}&help=0&keys=${GAME}`;
  const visits = [
    ["a review link", review, null, 0],
    ["the review link again", review, null, 0],
    ["a replay link, played to its end", replay, stepToEnd, 0],
    ["the replay link again, to its end", replay, stepToEnd, 0],
    ["a game typed to its end", `seed=${SEED}&help=0`, typeGame, 1],
    ["the same village again, not played", `seed=${SEED}&help=0`, null, 1],
  ];
  for (const [what, query, act, played] of visits) {
    const page = await open(context, query);
    await act?.(page);
    // The game was decided on the page (the result panel tells it), except on the last visit.
    if (played === 0 || act) assert.match(await page.locator("#result-title").innerText(), /勝利|振り返り/, `${what}: the game's end`);
    const stats = await page.evaluate(() => JSON.parse(localStorage.getItem("jinro.stats") ?? '{"played":0}'));
    assert.equal(stats.played, played, `${what}: games played`);
    await page.close();
  }
  await context.close();
}

// The review of game number `game` of the keys typed from SEED, once worked out: a row for
// each of its choices, with the odds `jinro --review` gives them.
async function assertReview(page, typed, game) {
  const where = `game ${game}`;
  await page.waitForFunction(
    () => document.querySelectorAll("table.review tbody tr").length > 0 && !document.getElementById("result").innerText.includes("…"),
    null,
    { timeout: 30000 },
  );
  const native = nativeChoices(`jinro-record 1 ${SEED}`, typed.replaceAll("x", ".")).filter((line) => line.game === game);
  const shown = await page.evaluate(() => [...document.querySelectorAll("table.review tbody tr .chosen")].map((td) => td.textContent));
  assert.equal(shown.length, native.length, `${where}: a row for every choice made`);
  native.forEach((d, k) => {
    const chosen = d.options.find((o) => o.seat === d.chosen);
    assert.ok(
      shown[k].includes(`${Math.round(chosen.win * 100)}% (${Math.round(chosen.low * 100)}-${Math.round(chosen.high * 100)}%)`),
      `${where}, choice ${k + 1}: "${shown[k]}" against the native review's ${JSON.stringify(chosen)}`,
    );
  });
}

const server = await serve(folder);
const browser = await launch();
try {
  await help(browser);
  console.log("panels: the help opens on the first visit only; keys reach the game through it; Escape closes it");
  await recordAndResult(browser);
  console.log("panels: the record shows a day's votes only after its screen; the result after a win; axe-core finds nothing");
  await replays(browser);
  console.log("panels: a replay link reproduces the game and hands it over; a malformed keys= starts afresh");
  await share(browser);
  console.log("panels: today's village shares its result through the clipboard");
  await statistics(browser);
  console.log("panels: the statistics count a game typed to its end once, never one a link or a replay played");
  await coachFigures(browser);
  console.log("panels: the coach's badges in the one notation, every choice as good as the best marked, its read and facts only while on");
  await reviewAndPractice(browser);
  console.log("panels: the review's reasons, then-lines and legend; practice finds each marked choice twice and empties the pool; a phone's width");
  await coachAndReview(browser);
  console.log("panels: the coach's odds from its worker past an oversized record, remembered; each game's review with the native");
  console.log("        review's odds, after r too; a row shows its screen");
  await failedWorker(browser);
  console.log("panels: a worker that fails: the review says it cannot be worked out");
  await liesCoachAndPractice(browser);
  console.log("panels: with lies, the coach's odds of the claim and of the seer's verdicts are the terminal's; the review's reasons;");
  console.log("        practice judges the key that answers the morning's question");
} finally {
  await browser.close();
  server.close();
}
