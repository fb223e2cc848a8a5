// Takes the page's screenshots in headless Chromium, at the desktop size and on a phone held
// upright: the vote results of day 2 of the game dealt at 2026-01-01 00:00:00 UTC (the
// terminal screenshot's game); and, when their files are named, in English, the review of a
// whole game of eleven choices (three of them marked) and practice on its first marked
// choice, answered; and a false claim in the village with lies: a wolf claimed the seer and
// called a player a wolf, and the true seer answers, on the screen of the claims.
//
//   node scripts/web-tools/screenshot.mjs BUILD_WEB_FOLDER DESKTOP.png PHONE.png \
//     [REVIEW_DESKTOP.png REVIEW_PHONE.png PRACTICE_DESKTOP.png PRACTICE_PHONE.png
//      [LIES_DESKTOP.png LIES_PHONE.png]]
import { launch, serve, waitForFrames } from "./browser.mjs";

const [folder, desktop, phone, ...more] = process.argv.slice(2);
const [coached, lied] = [more.slice(0, 4), more.slice(4)];
const DESKTOP = { viewport: { width: 1000, height: 640 }, deviceScaleFactor: 1 };
const PHONE = { viewport: { width: 390, height: 844 }, deviceScaleFactor: 2, hasTouch: true, isMobile: true };
const REVIEWED = "seed=1790000001&keys=z..lzz..z..lzz..z..lzz..z..llz.&review=1&help=0&lang=en";
const BEST = 3; // Dandelion, the best choice at that game's first marked choice

const settle = (page) => page.evaluate(() => new Promise((resolve) => requestAnimationFrame(() => requestAnimationFrame(resolve))));

async function open(browser, context, query) {
  const page = await browser.newPage(context);
  await page.goto(`${server.url}?${query}`);
  await page.evaluate(() => window.jinro.ready);
  await page.evaluate(() => document.fonts.ready);
  return page;
}

// The screen after the keys, from a query.
async function screenAfter(browser, context, output, query, keys) {
  const page = await open(browser, context, query);
  for (const [n, key] of [...keys].entries()) {
    await page.keyboard.press(key);
    await waitForFrames(page, n + 2);
  }
  await settle(page);
  await page.screenshot({ path: output });
  console.log(`wrote ${output}`);
  await page.close();
}

// Attack seat 1, lead on twice, vote twice for seat 3.
const voteResults = (browser, context, output) => screenAfter(browser, context, output, "seed=1767225600", "lzxxllzz");

// Cress, a wolf, claims the seer (s) and calls Chamomile a wolf (l, b); Mugwort claims
// nothing (.): the claims of the morning, Lily the true seer's among them.
const falseClaim = (browser, context, output) => screenAfter(browser, context, output, "seed=20261208&bluff=1&help=0&lang=en", "zslb.");

// The review of a link, worked out; then practice on its first marked choice, answered
// with the best choice.
async function reviewAndPractice(browser, context, reviewOutput, practiceOutput) {
  const page = await open(browser, context, REVIEWED);
  await page.waitForFunction(() => /Accuracy/.test(document.getElementById("result").innerText), null, { timeout: 60000 });
  await page.locator("#review-title").evaluate((title) => title.scrollIntoView({ block: "start" })); // the review, at the top of its panel
  await settle(page);
  await page.screenshot({ path: reviewOutput });
  console.log(`wrote ${reviewOutput}`);
  await page.locator("section.review .practise").click();
  await page.locator("#practice").waitFor({ state: "visible" });
  await page.locator(`.card[data-seat="${BEST}"]`).click(); // walks the cursor there
  await page.keyboard.press("z");
  await page.locator("#practice .found, #practice .missed").waitFor();
  await settle(page);
  await page.screenshot({ path: practiceOutput });
  console.log(`wrote ${practiceOutput}`);
  await page.close();
}

const server = await serve(folder);
const browser = await launch();
try {
  await voteResults(browser, DESKTOP, desktop);
  await voteResults(browser, PHONE, phone);
  if (coached.length === 4) {
    const [reviewDesktop, reviewPhone, practiceDesktop, practicePhone] = coached;
    const wide = { viewport: { width: 1280, height: 800 }, deviceScaleFactor: 1 };
    await reviewAndPractice(browser, wide, reviewDesktop, practiceDesktop);
    await reviewAndPractice(browser, PHONE, reviewPhone, practicePhone);
  }
  if (lied.length === 2) {
    await falseClaim(browser, DESKTOP, lied[0]);
    await falseClaim(browser, PHONE, lied[1]);
  }
} finally {
  await browser.close();
  server.close();
}
