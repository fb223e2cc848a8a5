// Measures the web page against its budgets (a report, not a test):
//   size        the whole built folder as a gzip-compressed tarball, at most 120 KB
//   lighthouse  Lighthouse 12.2.3 against the site served locally with gzip, median of 5
//               runs: on a phone (its default settings: slow 4G, a CPU four times slower)
//               performance at least 99 and accessibility, best practices and SEO 100; on
//               the desktop preset 100 in all four; with the five metrics of performance
//   key         a key event to its frame in the page, median of 200, under 5 ms; and
//               whether the frame was there for the next animation frame every time; the
//               same while the coach's worker works
//   odds        the coach's first odds on the cards within a second of its switch; and, in
//               the village with lies, of a wolf's answers whether to claim, within a second
//               of the key that asks
//   review      a link to a review: the whole game's review within 3 s
// and, for information only: navigation to the first frame on screen (when the browser
// reported painting the header's first row) beside a blank page's first paint and the
// least page that paints the first screen (the same WebAssembly and fonts on a canvas),
// medians of 10 first visits each, alternating, each in a new browser context.
//
//   node scripts/web-tools/budget.mjs BUILD_WEB_FOLDER
import { execFileSync } from "node:child_process";
import { readFileSync } from "node:fs";
import { launch, serve } from "./browser.mjs";
import { audit, CATEGORIES, report as lighthouseReport, summary } from "./lighthouse.mjs";
import desktop from "../../web/node_modules/lighthouse/core/config/desktop-config.js";

const folder = process.argv[2];
const median = (values) => [...values].sort((a, b) => a - b)[Math.floor(values.length / 2)];

const tarball = execFileSync("sh", ["-c", 'tar -C "$0" -cf - . | gzip -9 | wc -c', folder], { encoding: "utf8" });
const sizeKB = Number(tarball) / 1000;

// A blank page: one word, nothing to load. Its first contentful paint is the floor.
const BLANK = '<!doctype html><html lang="en"><meta charset="utf-8"><title>blank</title><p>blank</p></html>';
const here = new URL(".", import.meta.url);
const server = await serve(folder, {
  "/blank.html": BLANK,
  "/floor.html": readFileSync(new URL("floor.html", here)),
  "/floor.mjs": readFileSync(new URL("floor.mjs", here)),
});
const browser = await launch();

// When the page's first paint of the game reached the screen: the game page's first row
// by element timing, any other page's first contentful paint.
async function firstPaint(url, game) {
  const context = await browser.newContext();
  const page = await context.newPage();
  await page.goto(url);
  const at = await page.evaluate(async (isGame) => {
    if (isGame) await window.jinro.ready;
    else await new Promise((resolve) => requestAnimationFrame(() => setTimeout(resolve, 50)));
    const type = isGame ? "element" : "paint";
    const name = isGame ? "jinro-first-frame" : "first-contentful-paint";
    const entry = await new Promise((resolve) => {
      new PerformanceObserver((list) => resolve(list.getEntries().find((e) => (e.identifier ?? e.name) === name))).observe({ type, buffered: true });
      setTimeout(resolve, 2000);
    });
    if (!entry) throw new Error(`no ${name} reported`);
    return isGame ? entry.renderTime : entry.startTime;
  }, game);
  await context.close();
  return at;
}

const blanks = [];
const loads = [];
const floors = [];
const systemFloors = [];
const seed = "seed=1767225600";
for (let n = 0; n < 10; n++) {
  blanks.push(await firstPaint(`${server.url}blank.html`, false));
  loads.push(await firstPaint(`${server.url}?${seed}`, true));
  floors.push(await firstPaint(`${server.url}floor.html?${seed}`, false));
  systemFloors.push(await firstPaint(`${server.url}floor.html?${seed}&fonts=system`, false));
}

// Keys to frames: 200 cursor moves; with the coach on, its worker is set to work again every
// eight keys, so that it works all the while.
async function keysToFrames(coach) {
  const page = await browser.newPage();
  await page.goto(`${server.url}?seed=1767225600&help=0`);
  const measured = await page.evaluate(async (coached) => {
    await window.jinro.ready;
    const toFrame = [];
    let late = 0;
    const button = document.getElementById("coach-button");
    if (coached !== (button.getAttribute("aria-pressed") === "true")) button.click();
    for (let n = 0; n < 200; n++) {
      if (coached && n % 8 === 0) {
        button.click();
        button.click();
      }
      const before = window.jinro.frames;
      const start = performance.now();
      document.dispatchEvent(new KeyboardEvent("keydown", { key: n % 2 ? "j" : "l", bubbles: true, cancelable: true }));
      toFrame.push(performance.now() - start);
      await new Promise((resolve) => requestAnimationFrame(resolve));
      if (window.jinro.frames !== before + 1) late += 1;
    }
    if (coached) button.click(); // off again: the switch is remembered
    return { toFrame, late };
  }, coach);
  await page.close();
  return measured;
}
const keys = await keysToFrames(false);
const coachedKeys = await keysToFrames(true);

// The coach's first odds after its switch, and a whole game's review from a link.
const coachPage = await browser.newPage();
await coachPage.goto(`${server.url}?seed=1767225600&help=0`);
const firstOdds = await coachPage.evaluate(async () => {
  await window.jinro.ready;
  const start = performance.now();
  document.getElementById("coach-button").click();
  while (!document.querySelector(".card .odds")) await new Promise((resolve) => setTimeout(resolve, 5));
  const took = performance.now() - start;
  document.getElementById("coach-button").click();
  return took;
});
await coachPage.close();
// With lies: the coach on, the key that leads to the morning's question to its first odds.
const liesPage = await browser.newPage();
await liesPage.goto(`${server.url}?seed=20261208&bluff=1&help=0`);
const firstAnswers = await liesPage.evaluate(async () => {
  await window.jinro.ready;
  document.getElementById("coach-button").click();
  const start = performance.now();
  document.dispatchEvent(new KeyboardEvent("keydown", { key: "z", bubbles: true, cancelable: true }));
  while (!document.querySelector("#answers li")) await new Promise((resolve) => setTimeout(resolve, 5));
  const took = performance.now() - start;
  document.getElementById("coach-button").click();
  return took;
});
await liesPage.close();
// A whole game of eleven choices, which the wolves win.
const REVIEWED = "?seed=1790000001&keys=z..lzz..z..lzz..z..lzz..z..llz.&review=1&help=0";
const reviewPage = await browser.newPage();
const reviewStart = Date.now();
await reviewPage.goto(`${server.url}${REVIEWED}`);
await reviewPage.waitForFunction(() => /正確さ|Accuracy/.test(document.getElementById("result").innerText), null, { timeout: 60000 });
const reviewTook = Date.now() - reviewStart;
const reviewed = await reviewPage.locator("table.review tbody tr").count();
await reviewPage.close();
await browser.close();

// Lighthouse, once the browser above is closed: nothing else runs beside it.
const lighthouseUrl = `${server.url}?seed=1700000000&help=0`;
const phone = summary(await audit(lighthouseUrl, 5));
const computer = summary(await audit(lighthouseUrl, 5, desktop));
server.close();
console.log(lighthouseReport("lighthouse, phone  ", phone));
console.log(lighthouseReport("lighthouse, desktop", computer));
const phoneShort = CATEGORIES.filter((c) => phone.scores[c] < (c === "performance" ? 99 : 100));
const desktopShort = CATEGORIES.filter((c) => computer.scores[c] < 100);

const ratio = median(loads) / median(blanks);
const report = [
  ["size", sizeKB, 120, "KB gzip-compressed (the whole folder)"],
  ["load", ratio, null, `times a blank page: first frame ${median(loads).toFixed(0)} ms, blank page ${median(blanks).toFixed(0)} ms (medians of 10)`],
  [
    "floor",
    median(floors) / median(blanks),
    null,
    `times a blank page: the least page that shows the first screen, ${median(floors).toFixed(0)} ms; with the system's fonts ${median(systemFloors).toFixed(0)} ms (${(median(systemFloors) / median(blanks)).toFixed(2)} times)`,
  ],
  ["key", median(keys.toFrame), 5, `ms from a key to its frame (median of 200); ${keys.late} of 200 not there by the next animation frame`],
  ["coach", median(coachedKeys.toFrame), 5, `ms from a key to its frame while the coach's worker works (median of 200); ${coachedKeys.late} of 200 late`],
  ["odds", firstOdds, 1000, "ms from the coach's switch to its first odds on the cards"],
  ["lies", firstAnswers, 1000, "ms from the key that asks a wolf whether to claim to the coach's first odds of the answers"],
  ["review", reviewTook, 3000, `ms from opening a link to a review to the review of its ${reviewed} choices`],
];
let over = 0;
for (const [name, value, budget, what] of report) {
  const verdict =
    budget === null ? "no budget, for comparison" : value <= budget ? `budget ${budget}: within` : `budget ${budget}: OVER by ${(value - budget).toFixed(1)}`;
  if (budget !== null) over += value > budget;
  console.log(`${name.padEnd(5)} ${value.toFixed(2).padStart(7)} ${what}; ${verdict}`);
}
console.log(`      first frames: ${loads.map((v) => v.toFixed(0)).join(" ")} ms`);
console.log(`      blank pages:  ${blanks.map((v) => v.toFixed(0)).join(" ")} ms`);
console.log(`      floor pages:  ${floors.map((v) => v.toFixed(0)).join(" ")} ms`);
console.log(`      system fonts: ${systemFloors.map((v) => v.toFixed(0)).join(" ")} ms`);
console.log(
  `lighthouse: phone ${phoneShort.length ? `UNDER in ${phoneShort.join(", ")}` : "within (performance at least 99, the rest 100)"}; desktop ${desktopShort.length ? `UNDER in ${desktopShort.join(", ")}` : "within (100 in all four)"}`,
);
process.exitCode = over > 0 || keys.late > 0 || coachedKeys.late > 0 || phoneShort.length > 0 || desktopShort.length > 0 ? 1 : 0;
