// The web page in a real browser (Debian's Chromium, headless): whole games typed with
// real key events at the desktop and the phone size, every screen compared cell by cell,
// text and colour, with the screens of the native game for the same seed and keys; the
// phone layout's sizes, taps, buttons, accessibility (axe-core), offline play, a failed
// load, the page's own fonts for every character, and no error or warning logged.
//
//   node tests/web/browser_test.mjs BUILD_WEB_FOLDER JINRO_REPLAY
import { execFileSync } from "node:child_process";
import { strict as assert } from "node:assert";
import { cpSync, mkdtempSync, readFileSync, rmSync, writeFileSync } from "node:fs";
import { tmpdir } from "node:os";
import { join } from "node:path";
import { launch, readScreen, serve, waitForFrames } from "../../scripts/web-tools/browser.mjs";

const [folder, replayTool] = process.argv.slice(2);
const SEEDS = [1767225600, 20261208, 4294967295];
const DESKTOP = { width: 1280, height: 800 };
const PHONE = { viewport: { width: 390, height: 844 }, hasTouch: true, isMobile: true };
const AXE = readFileSync(new URL("../../web/node_modules/axe-core/axe.min.js", import.meta.url), "utf8");

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
      return { rows: lines.slice(0, 24).map((row) => row.replace(/ +$/, "")), colours: lines.slice(24, 48) };
    });
  return { keys: chosen, frames };
}

// The native rows give a box line its filler in the second column; the page gives ""
// there. Both come down to the same text once the second cells are dropped.
function assertSameScreen(shown, expected, where) {
  for (let y = 0; y < 24; y++) {
    const native = [...expected.rows[y].padEnd(76)];
    let column = 0;
    for (let x = 0; x < 76; x++) {
      const ch = shown.chars[y][x];
      if (ch === "") continue; // the second cell of a double-byte character
      const wide = x + 1 < 76 && shown.chars[y][x + 1] === "";
      assert.equal(ch, native[column], `${where}: row ${y} column ${x}: "${shown.rows[y]}" against "${expected.rows[y]}"`);
      column += wide && /[\u2500-\u257f]/.test(ch) ? 2 : 1; // the native filler of a box line
      const attribute = expected.colours[y][x];
      if (attribute !== "." && ch !== " ") {
        assert.equal(shown.colours[y][x], parseInt(attribute, 16), `${where}: colour of row ${y} column ${x} (${ch})`);
      }
    }
  }
}

// Every character is drawn by the page's own font for it: ASCII and box lines by the
// Latin one, everything else by the Japanese one; a character missing from its font would
// come from a font of the system. Checked on each screen that shows a character no screen
// before it showed.
const charactersChecked = new Set();
const isLatin = (c) => c < "\x7f" || (c >= "\u2500" && c <= "\u257f");
async function assertOwnFontsOnly(page, cdp, screen, where) {
  const fresh = screen.chars.flat().filter((c) => c.trim() && !charactersChecked.has(c));
  if (fresh.length === 0) return;
  fresh.forEach((c) => charactersChecked.add(c));
  const { root } = await cdp.send("DOM.getDocument", { depth: -1 });
  const { nodeIds } = await cdp.send("DOM.querySelectorAll", { nodeId: root.nodeId, selector: "#board .c" });
  const texts = await page.evaluate(() => [...document.querySelectorAll("#board .c")].map((cell) => cell.textContent));
  for (const [k, nodeId] of nodeIds.entries()) {
    const c = texts[k];
    if (!fresh.includes(c)) continue;
    const { fonts } = await cdp.send("CSS.getPlatformFontsForNode", { nodeId });
    const want = isLatin(c) ? "DejaVu Sans Mono" : "Noto Sans Mono CJK JP";
    assert.deepEqual(fonts.map((f) => [f.familyName, f.isCustomFont]), [[want, true]], `${where}: "${c}" drawn by`);
    fresh.splice(fresh.indexOf(c), 1);
  }
}

async function openGame(browser, url, { errors, query = `seed=${SEEDS[0]}`, context = {} } = {}) {
  const page = await browser.newPage({ viewport: DESKTOP, ...context });
  page.on("console", (message) => ["error", "warning"].includes(message.type()) && errors?.push(message.text()));
  page.on("pageerror", (error) => errors?.push(error.message));
  page.on("requestfailed", (request) => errors?.push(`failed: ${request.url()}`));
  page.on("response", (response) => response.status() >= 400 && errors?.push(`${response.status()}: ${response.url()}`));
  await page.goto(`${url}?${query}`);
  await page.evaluate(() => window.jinro.ready);
  return page;
}

const frames = (page) => page.evaluate(() => window.jinro.frames);

async function press(page, key) {
  const before = await frames(page);
  await page.keyboard.press(key === " " ? "Space" : key);
  await waitForFrames(page, before + 1);
}

// axe-core over the whole page: no violation.
async function assertAccessible(page, where) {
  if (!(await page.evaluate(() => "axe" in window))) await page.evaluate(AXE); // past the page's CSP
  const { violations } = await page.evaluate(() => window.axe.run(document));
  const found = violations.map((v) => `${v.id}: ${v.nodes.map((n) => n.target.join(" ")).join(", ")}`);
  assert.deepEqual(found, [], `axe-core on ${where}`);
}

// At 390 x 844: nothing wider than the screen, the cards in fewer columns, no character
// under 13 px, every card and button at least 44 px, and on the selection screens the
// header, the prompt, the ten cards and the log line all above the buttons.
async function assertPhoneLayout(page, where) {
  const m = await page.evaluate(() => {
    const box = (e) => e.getBoundingClientRect();
    const visible = [...document.querySelectorAll("#board .c:not(.t)")].filter((c) => box(c).width > 0);
    const pad = box(document.getElementById("pad"));
    const regions = ["#head .row", "#log .row", ".card"].flatMap((s) => [...document.querySelectorAll(s)]).map(box);
    return {
      viewport: document.documentElement.clientWidth,
      widest: Math.max(...[...document.querySelectorAll("body *")].map((e) => box(e).right)),
      cardTops: new Set([...document.querySelectorAll(".card")].map((c) => Math.round(box(c).top))).size,
      smallest: Math.min(...visible.map((c) => Math.min(box(c).height, parseFloat(getComputedStyle(c).fontSize)))),
      targets: [...document.querySelectorAll(".card, #pad button")].map((e) => Math.min(box(e).width, box(e).height)),
      lowest: Math.max(...regions.map((r) => r.bottom)),
      padTop: pad.top,
    };
  });
  assert.ok(m.widest <= m.viewport, `${where}: an element reaches ${m.widest} px of ${m.viewport}`);
  assert.ok(m.cardTops >= 3, `${where}: the cards stand in ${m.cardTops} rows`);
  assert.ok(m.smallest >= 13, `${where}: a character is drawn ${m.smallest} px high`);
  assert.ok(Math.min(...m.targets) >= 44, `${where}: a tap target of ${Math.min(...m.targets)} px`);
  assert.ok(m.lowest <= m.padTop && m.padTop <= 844, `${where}: the board ends at ${m.lowest}, the buttons start at ${m.padTop}`);
}

async function assertNoScrolling(page, where) {
  const [w, h, sw, sh] = await page.evaluate(() => [innerWidth, innerHeight, document.documentElement.scrollWidth, document.documentElement.scrollHeight]);
  assert.ok(sw <= w && sh <= h, `${where}: ${sw} x ${sh} in a window of ${w} x ${h}`);
}

// A whole game and its restart, key by key, against the native screens; on each kind of
// screen the first time it comes, axe-core and (on the phone) the layout.
async function wholeGame(browser, url, seed, errors, { context = {}, fonts = false, phone = false } = {}) {
  const { keys, frames: expected } = replay(seed, "auto");
  const page = await openGame(browser, url, { errors, query: `seed=${seed}`, context });
  const cdp = fonts ? await page.context().newCDPSession(page) : null;
  if (cdp) await Promise.all([cdp.send("DOM.enable"), cdp.send("CSS.enable"), page.evaluate(() => document.fonts.ready)]);
  const kinds = new Set();
  for (let k = 0; k <= keys.length; k++) {
    if (k > 0) await press(page, keys[k - 1]);
    const where = `seed ${seed}${phone ? " on the phone" : ""}, after key ${k} (${keys[k - 1] ?? "none"})`;
    const screen = await readScreen(page);
    assertSameScreen(screen, expected[k], where);
    if (cdp) await assertOwnFontsOnly(page, cdp, screen, where);
    const kind = screen.rows[1].replace(/^\d+/, "").slice(0, 8); // the prompt names the screen
    if (seed === SEEDS[0] && !kinds.has(kind)) {
      kinds.add(kind);
      await assertAccessible(page, where);
      if (phone && /夜です|投票先/.test(kind)) await assertPhoneLayout(page, where);
    }
  }
  assert.equal(await frames(page), keys.length + 1);
  await page.close();
  return keys.length;
}

// A tap on a card walks the cursor there and confirms nothing; a tap on a screen that any
// key leads on from leads on, once; Space on a focused button is that button's key only.
async function tapsAndButtons(browser, url, errors) {
  const seed = SEEDS[0];
  const page = await openGame(browser, url, { errors, context: PHONE });
  const tapCard = async (seat, count) => {
    const before = await frames(page);
    await page.locator(`.card[data-seat="${seat}"]`).tap();
    await page.waitForTimeout(100);
    assert.equal(await frames(page), before + count, `frames after a tap on seat ${seat}`);
  };
  await tapCard(8, 4); // k, l, l, l
  assertSameScreen(await readScreen(page), replay(seed, "klll").frames[4], "a tap on the card of seat 8");
  await tapCard(8, 0); // the cursor is there already: nothing is sent, nothing confirmed
  await press(page, "ArrowUp"); // one key without a meaning
  assertSameScreen(await readScreen(page), replay(seed, "klllx").frames[5], "the up arrow");
  await page.locator('#pad [data-key="z"]').focus();
  await press(page, " "); // on the focused 決定 button: z, once
  await page.waitForTimeout(100);
  assert.equal(await frames(page), 7, "Space on a focused button gives one key");
  assertSameScreen(await readScreen(page), replay(seed, "klllxz").frames[6], "Space on 決定");
  const before = await frames(page);
  await page.locator("#head").tap(); // the false-claim screen: a tap leads on
  await waitForFrames(page, before + 1);
  assertSameScreen(await readScreen(page), replay(seed, "klllxzx").frames[7], "a tap that leads on");
  await page.close();
}

// Landscape and desktop show everything without scrolling.
async function sizes(browser, url, errors) {
  for (const viewport of [{ width: 844, height: 390 }, DESKTOP]) {
    const page = await openGame(browser, url, { errors, context: { viewport } });
    await assertNoScrolling(page, `${viewport.width} x ${viewport.height}`);
    await page.close();
  }
}

// Visit, stop the server, reload, play a key.
async function offline(browser) {
  const server = await serve(folder);
  const context = await browser.newContext({ viewport: DESKTOP });
  const page = await context.newPage();
  await page.goto(`${server.url}?seed=${SEEDS[0]}`);
  await page.evaluate(() => window.jinro.ready);
  await page.evaluate(() => navigator.serviceWorker.ready);
  await page.waitForFunction(() => navigator.serviceWorker.controller !== null);
  server.close();
  await page.reload();
  await page.evaluate(() => window.jinro.ready);
  await press(page, "l");
  assertSameScreen(await readScreen(page), replay(SEEDS[0], "l").frames[1], "a key played offline");
  await context.close();
}

// A missing WebAssembly file: a message on the page, and ready rejects. Opened from a
// file: the page says it must be served.
async function failures(browser) {
  const broken = mkdtempSync(join(tmpdir(), "jinro-broken-"));
  cpSync(folder, broken, { recursive: true });
  writeFileSync(join(broken, "jinro.wasm"), "not WebAssembly");
  const server = await serve(broken);
  try {
    for (const url of [`${server.url}?seed=1`, `file://${join(broken, "index.html")}`]) {
      const page = await browser.newPage();
      await page.goto(url);
      const outcome = await page.evaluate(() => window.jinro.ready.then(() => "resolved", () => "rejected"));
      assert.equal(outcome, "rejected", `ready on ${url}`);
      const message = await page.locator("#message").innerText();
      assert.match(message, url.startsWith("file:") ? /scripts\/web --serve/ : /読み込めませんでした/, url);
      await page.close();
    }
  } finally {
    server.close();
    rmSync(broken, { recursive: true, force: true });
  }
}

const server = await serve(folder);
const browser = await launch();
const errors = [];
try {
  let keys = 0;
  for (const seed of SEEDS) keys += await wholeGame(browser, server.url, seed, errors, { fonts: true });
  for (const seed of SEEDS) keys += await wholeGame(browser, server.url, seed, errors, { context: PHONE, phone: true });
  console.log(`browser: ${SEEDS.length * 2} whole games, ${keys} keys, at 1280x800 and 390x844: every screen the native game's; axe-core finds nothing`);
  await tapsAndButtons(browser, server.url, errors);
  await sizes(browser, server.url, errors);
  console.log("browser: taps walk the cursor and never confirm; Space on a button is one key; no scrolling at 844x390 and 1280x800");
  assert.deepEqual(errors, [], "the page logged errors or warnings");
  console.log("browser: no error or warning logged; every character drawn by the page's own fonts");
  await offline(browser);
  await failures(browser);
  console.log("browser: plays offline after one visit; a broken WebAssembly file and file:// show a message");
} finally {
  await browser.close();
  server.close();
}
