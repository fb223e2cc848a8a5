// The web page in a real browser (Debian's Chromium, headless): whole games typed with
// real key events, every screen compared cell by cell, text and colour, with the screens
// of the native game for the same seed and keys; taps on cards, an arrow key, the page's
// own fonts for every character, and no error logged.
//
//   node tests/web/browser_test.mjs BUILD_WEB_FOLDER JINRO_REPLAY
import { execFileSync } from "node:child_process";
import { strict as assert } from "node:assert";
import { launch, readScreen, serve, waitForFrames } from "../../scripts/web-tools/browser.mjs";

const [folder, replayTool] = process.argv.slice(2);
const SEEDS = [1767225600, 20261208, 4294967295];
// Console attributes (blue 1, green 2, red 4, bright 8) as the terminal's palette numbers.
const PALETTE = { 7: 7, 10: 10, 11: 14, 12: 9, 13: 13, 15: 15 };

// The native game's screens for a seed and keys: rows of text and a colour per cell.
function replay(seed, keys) {
  const out = execFileSync(replayTool, ["--cells", String(seed), keys], { encoding: "utf8" });
  let chosen = null;
  let text = out;
  if (keys === "auto") [chosen, text] = [out.slice(0, out.indexOf("\n")), out.slice(out.indexOf("\n") + 1)];
  const frames = text
    .split("\f")
    .slice(1)
    .map((frame) => {
      const lines = frame.split("\n");
      return { rows: lines.slice(0, 24), colours: lines.slice(24, 48) };
    });
  return { keys: chosen, frames };
}

function assertSameScreen(shown, expected, where) {
  assert.deepEqual(shown.rows, expected.rows, `text of ${where}`);
  for (let y = 0; y < 24; y++) {
    for (let x = 0; x < 76; x++) {
      const attribute = expected.colours[y][x];
      const char = shown.chars[y][x];
      if (attribute === "." || char === " " || char === "") continue;
      assert.equal(shown.colours[y][x], PALETTE[parseInt(attribute, 16)], `colour of ${where}, row ${y} column ${x} (${char})`);
    }
  }
}

// Every character of the terminal is drawn by the page's own font for it: ASCII and box
// lines by the Latin one, everything else by the Japanese one. With no font of the system
// to fall back on, a character missing from its font comes out of the first font in the
// stack instead, and the counts below give it away. Checked on each screen that shows a
// character no screen before it showed.
const charactersChecked = new Set();
const isLatin = (c) => c < "\x7f" || (c >= "\u2500" && c <= "\u257f");
async function assertOwnFontsOnly(page, cdp, screen, where) {
  const fresh = screen.chars.flat().filter((c) => c.trim() && !charactersChecked.has(c));
  if (fresh.length === 0) return;
  fresh.forEach((c) => charactersChecked.add(c));
  const { root } = await cdp.send("DOM.getDocument", { depth: -1 });
  const { nodeIds } = await cdp.send("DOM.querySelectorAll", { nodeId: root.nodeId, selector: ".xterm-rows > div" });
  assert.equal(nodeIds.length, 24, "the terminal's rows");
  for (const [row, nodeId] of nodeIds.entries()) {
    const text = [...(await page.evaluate((y) => document.querySelectorAll(".xterm-rows > div")[y].textContent, row))];
    const expected = { latin: text.filter(isLatin).length, japanese: text.filter((c) => !isLatin(c)).length };
    const drawn = { latin: 0, japanese: 0 };
    const { fonts } = await cdp.send("CSS.getPlatformFontsForNode", { nodeId });
    for (const font of fonts) {
      assert.ok(font.isCustomFont, `${where}, row ${row}: ${font.familyName} is not the page's font`);
      drawn[font.familyName === "DejaVu Sans Mono" ? "latin" : "japanese"] += font.glyphCount;
    }
    assert.deepEqual(drawn, expected, `${where}, row ${row}: glyphs by font for ${text.join("")}`);
  }
}

async function openGame(browser, url, seed, errors, options = {}) {
  const page = await browser.newPage({ viewport: { width: 1000, height: 700 }, ...options });
  page.on("console", (message) => message.type() === "error" && errors.push(message.text()));
  page.on("pageerror", (error) => errors.push(error.message));
  page.on("requestfailed", (request) => errors.push(`failed: ${request.url()}`));
  page.on("response", (response) => response.status() >= 400 && errors.push(`${response.status()}: ${response.url()}`));
  await page.goto(`${url}?seed=${seed}`);
  await page.evaluate(() => window.jinro.ready);
  return page;
}

async function press(page, key) {
  const before = await page.evaluate(() => window.jinro.frames);
  await page.keyboard.press(key === " " ? "Space" : key);
  await waitForFrames(page, before + 1);
}

// A whole game and its restart, key by key, against the native screens.
async function wholeGame(browser, url, seed, errors, checkFonts) {
  const { keys, frames } = replay(seed, "auto");
  const page = await openGame(browser, url, seed, errors);
  const cdp = checkFonts ? await page.context().newCDPSession(page) : null;
  if (cdp) await Promise.all([cdp.send("DOM.enable"), cdp.send("CSS.enable")]);
  const first = await readScreen(page);
  assertSameScreen(first, frames[0], `seed ${seed}, first screen`);
  if (cdp) await assertOwnFontsOnly(page, cdp, first, `seed ${seed}, first screen`);
  for (let k = 0; k < keys.length; k++) {
    await press(page, keys[k]);
    const where = `seed ${seed}, after key ${k + 1} (${keys[k]})`;
    const screen = await readScreen(page);
    assertSameScreen(screen, frames[k + 1], where);
    if (cdp) await assertOwnFontsOnly(page, cdp, screen, where);
  }
  assert.equal(await page.evaluate(() => window.jinro.frames), keys.length + 1);
  await page.close();
  return keys.length;
}

// On the attack screen a tap on a card walks the cursor there and attacks nobody; on the
// false-claim screen a tap leads on, once; an arrow key is one key without a meaning.
async function tapsAndArrows(browser, url, errors) {
  const seed = SEEDS[0];
  const page = await openGame(browser, url, seed, errors, { hasTouch: true, isMobile: true, viewport: { width: 390, height: 844 } });
  const cell = async (column, row) => {
    const box = await page.locator(".xterm-screen").boundingBox();
    return { x: box.x + ((column + 0.5) * box.width) / 76, y: box.y + ((row + 0.5) * box.height) / 24 };
  };
  const tap = async (column, row, frames) => {
    const { x, y } = await cell(column, row);
    const before = await page.evaluate(() => window.jinro.frames);
    await page.touchscreen.tap(x, y);
    await waitForFrames(page, before + frames);
    await page.waitForTimeout(50); // no frame beyond those
    assert.equal(await page.evaluate(() => window.jinro.frames), before + frames, "frames after a tap");
  };
  // Seat 8 from seat 0: k (to 5), then l, l, l. The screen is that of the same keys.
  await tap(2 + 3 * 15 + 5, 9 + 3, 4);
  assertSameScreen(await readScreen(page), replay(seed, "klll").frames[4], "a tap on the card of seat 8");
  // The same card again: the cursor is there already; nothing is sent, nothing confirmed.
  const { x, y } = await cell(2 + 3 * 15 + 5, 9 + 3);
  await page.touchscreen.tap(x, y);
  await page.waitForTimeout(100);
  assert.equal(await page.evaluate(() => window.jinro.frames), 5, "a second tap sends nothing");
  // An arrow key on the attack screen: one key, and nothing moves.
  await press(page, "ArrowUp");
  assertSameScreen(await readScreen(page), replay(seed, "klllx").frames[5], "the up arrow");
  // Attack with the buttons, then a tap on the false-claim screen leads on once.
  const { keys } = replay(seed, "auto");
  const attack = keys.slice(0, keys.indexOf("z") + 1);
  const walkBack = "k" + "j".repeat(3); // seat 8 back to seat 0, then the recorded walk
  for (const key of walkBack + attack) {
    const before = await page.evaluate(() => window.jinro.frames);
    await page.locator(`#pad button[data-key="${key}"]`).tap();
    await waitForFrames(page, before + 1);
  }
  const typed = "klllx" + walkBack + attack;
  assertSameScreen(await readScreen(page), replay(seed, typed).frames.at(-1), "the attack by buttons");
  await tap(40, 20, 1);
  assertSameScreen(await readScreen(page), replay(seed, typed + "x").frames.at(-1), "a tap on the false-claim screen");
  await page.close();
}

const server = await serve(folder);
const browser = await launch({ noSystemFonts: true });
const errors = [];
try {
  let keys = 0;
  for (const seed of SEEDS) keys += await wholeGame(browser, server.url, seed, errors, true);
  console.log(`browser: ${SEEDS.length} whole games, ${keys} keys, every screen the native game's`);
  await tapsAndArrows(browser, server.url, errors);
  console.log("browser: taps walk the cursor and never confirm; an arrow key is one key");
  assert.deepEqual(errors, [], "the page logged errors");
  console.log("browser: no error logged; every character drawn by the page's own fonts");
} finally {
  await browser.close();
  server.close();
}
