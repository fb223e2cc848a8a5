// The web page in a real browser (Debian's Chromium, headless): whole games typed with
// real key events at the desktop and the phone size, every screen compared cell by cell,
// text and colour, with the screens of the native game for the same seed and keys; the
// phone layout's sizes, taps, buttons, accessibility (axe-core), offline play, a failed
// load, the page's own fonts for every character, and no error or warning logged.
//
//   node tests/web/browser_test.mjs BUILD_WEB_FOLDER JINRO_REPLAY
import { strict as assert } from "node:assert";
import { cpSync, mkdtempSync, readFileSync, rmSync, writeFileSync } from "node:fs";
import { createHash } from "node:crypto";
import { tmpdir } from "node:os";
import { dirname, join } from "node:path";
import { launch, readScreen, serve, waitForFrames } from "../../scripts/web-tools/browser.mjs";
import { assertPhoneFacts, assertSameScreen, nativeScreens, phoneFacts, terminalGame } from "./native.mjs";

const [folder, replayTool] = process.argv.slice(2);
const JINRO = join(dirname(replayTool), "..", "jinro");
const SEEDS = [1767225600, 20261208, 4294967295];
const DESKTOP = { width: 1280, height: 800 };
const PHONE = { viewport: { width: 390, height: 844 }, hasTouch: true, isMobile: true };
const AXE = readFileSync(new URL("../../web/node_modules/axe-core/axe.min.js", import.meta.url), "utf8");

const replay = (seed, keys, lang) => nativeScreens(replayTool, seed, keys, lang);

// Every character is drawn by the page's own font for it: ASCII and box lines by the
// Latin one, everything else by the Japanese one; a character missing from its font would
// come from a font of the system. Checked on each screen that shows a character no screen
// before it showed.
const charactersChecked = new Set();
const isLatin = (c) => c < "\x7f" || (c >= "\u2500" && c <= "\u257f");
async function assertOwnFontsOnly(page, cdp, screen, where) {
  const fresh = new Set(screen.chars.flat().filter((c) => c.trim() && !charactersChecked.has(c)));
  if (fresh.size === 0) return;
  fresh.forEach((c) => charactersChecked.add(c));
  const { root } = await cdp.send("DOM.getDocument", { depth: -1 });
  const { nodeIds } = await cdp.send("DOM.querySelectorAll", { nodeId: root.nodeId, selector: "#board .line span" });
  const texts = await page.evaluate(() => [...document.querySelectorAll("#board .line span")].map((run) => run.textContent));
  for (const [k, nodeId] of nodeIds.entries()) {
    const chars = [...texts[k]];
    if (!chars.some((c) => fresh.has(c))) continue;
    const expected = { latin: chars.filter(isLatin).length, japanese: chars.filter((c) => !isLatin(c)).length };
    const drawn = { latin: 0, japanese: 0 };
    const { fonts } = await cdp.send("CSS.getPlatformFontsForNode", { nodeId });
    for (const font of fonts) {
      assert.ok(font.isCustomFont, `${where}: ${font.familyName} drew part of "${texts[k]}"`);
      drawn[font.familyName === "DejaVu Sans Mono" ? "latin" : "japanese"] += font.glyphCount;
    }
    assert.deepEqual(drawn, expected, `${where}: glyphs by font for "${texts[k]}"`);
  }
}

async function openGame(browser, url, { errors, query = `seed=${SEEDS[0]}`, context = {} } = {}) {
  const page = browser.newContext ? await browser.newPage({ viewport: DESKTOP, ...context }) : await browser.newPage();
  page.on("console", (message) => ["error", "warning"].includes(message.type()) && errors?.push(message.text()));
  page.on("pageerror", (error) => errors?.push(error.message));
  page.on("requestfailed", (request) => errors?.push(`failed: ${request.url()}`));
  page.on("response", (response) => response.status() >= 400 && errors?.push(`${response.status()}: ${response.url()}`));
  await page.goto(`${url}?${query}&help=0`); // the help panel is a test of its own
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

async function assertPhoneLayout(page, where) {
  assertPhoneFacts(await page.evaluate(phoneFacts), where);
}

async function assertNoScrolling(page, where) {
  const [w, h, sw, sh] = await page.evaluate(() => [innerWidth, innerHeight, document.documentElement.scrollWidth, document.documentElement.scrollHeight]);
  assert.ok(sw <= w && sh <= h, `${where}: ${sw} x ${sh} in a window of ${w} x ${h}`);
}

// A whole game and its restart, key by key, against the native screens; on each kind of
// screen the first time it comes, axe-core and (on the phone) the layout. With capitals,
// every letter is typed in capitals (Z chooses as z does).
async function wholeGame(browser, url, seed, errors, { context = {}, fonts = false, phone = false, capitals = false } = {}) {
  const { keys, frames: expected } = replay(seed, "auto");
  const page = await openGame(browser, url, { errors, query: `seed=${seed}`, context });
  const cdp = fonts ? await page.context().newCDPSession(page) : null;
  if (cdp) await Promise.all([cdp.send("DOM.enable"), cdp.send("CSS.enable"), page.evaluate(() => document.fonts.ready)]);
  const kinds = new Set();
  for (let k = 0; k <= keys.length; k++) {
    if (k > 0) await press(page, capitals ? keys[k - 1].toUpperCase() : keys[k - 1]);
    const where = `seed ${seed}${phone ? " on the phone" : ""}${capitals ? " in capitals" : ""}, after key ${k} (${keys[k - 1] ?? "none"})`;
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
  await page.locator('#pad [data-action="choose"]').focus();
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

// English: a whole game from ?lang=en; the switch in the middle of a game plays the same
// seed and keys again in the other language, with no frame counted; the choice is
// remembered; an unknown ?lang= is ignored; English is offered only where the browser's
// languages leave out Japanese.
async function languages(browser, url, errors) {
  const seed = SEEDS[1];
  const { keys, frames: english } = replay(seed, "auto", "en");
  const page = await openGame(browser, url, { errors, query: `seed=${seed}&lang=en` });
  for (let k = 0; k <= keys.length; k++) {
    if (k > 0) await press(page, keys[k - 1]);
    assertSameScreen(await readScreen(page), english[k], `English, after key ${k}`);
  }
  await assertAccessible(page, "the English page");
  await page.close();

  const context = await browser.newContext({ viewport: DESKTOP });
  await context.addInitScript(countGameCalls);
  const mid = await context.newPage();
  await mid.goto(`${url}?seed=${seed}&lang=xx&help=0`);
  await mid.evaluate(() => window.jinro.ready);
  assertSameScreen(await readScreen(mid), replay(seed, "").frames[0], "?lang=xx is Japanese");
  assert.equal(await mid.locator("#language").innerText(), "Play in English", "the offer to an English browser");
  const typed = keys.slice(0, 9);
  for (const key of typed) await press(mid, key);
  const before = await frames(mid);
  await mid.evaluate(() => window.gameCalls.clear());
  await mid.locator("#language").click();
  assertSameScreen(await readScreen(mid), replay(seed, typed, "en").frames.at(-1), "switched to English mid-game");
  assert.equal(await frames(mid), before, "a switch of language is no frame");
  const calls = await mid.evaluate(() => [...window.gameCalls.values()]);
  assert.ok(calls.length > 0, "the game's functions were not counted");
  assert.ok(Math.max(...calls) <= 3, `a switch of language called one of the game's functions ${Math.max(...calls)} times: keys played again`);
  await press(mid, keys[9]);
  assertSameScreen(await readScreen(mid), replay(seed, keys.slice(0, 10), "en").frames.at(-1), "a key after the switch");
  await mid.reload();
  await mid.evaluate(() => window.jinro.ready);
  assertSameScreen(await readScreen(mid), replay(seed, "", "en").frames[0], "the choice is remembered");
  await context.close();

  const japaneseBrowser = await browser.newContext({ locale: "ja-JP" });
  const offered = await japaneseBrowser.newPage();
  await offered.goto(`${url}?seed=${seed}&help=0`);
  await offered.evaluate(() => window.jinro.ready);
  assert.equal(await offered.locator("#language").innerText(), "English", "no offer where Japanese is read");
  await japaneseBrowser.close();
}

// The buttons of the pad shown now, by what they do.
const padShows = (page) =>
  page.evaluate(() => [...document.querySelectorAll("#pad button[data-action]")].filter((b) => b.getClientRects().length > 0).map((b) => b.dataset.action));

// The village with lies on a phone, through the pad alone: a wolf claims the seer (占い師),
// names a seat a wolf (→, 黒), the other claims nothing (騙らない); every screen the native
// game's with --bluff in a terminal, the false claim on the card and in the claim lines. The
// morning shows only the answers it asks for, and axe-core finds nothing there. bluff=2 is
// refused: the village without lies. The switch deals a game not yet begun again with lies,
// is remembered, and in the middle of a game waits for the next.
async function lies(browser, url, errors) {
  const seed = SEEDS[1];
  const page = await openGame(browser, url, { errors, query: `seed=${seed}&bluff=1`, context: PHONE });
  const terminal = await terminalGame(JINRO, `--seed ${seed} --bluff --lang ja`);
  const ARROWS = ["up", "left", "down", "right"];
  try {
    for (const [action, key, asked] of [
      ["choose", "z", ["seer", "medium", "decline"]],
      ["seer", "s", [...ARROWS, "black", "white"]],
      ["right", "l", [...ARROWS, "black", "white"]],
      ["black", "b", ["seer", "medium", "decline"]],
      ["decline", ".", null],
    ]) {
      const where = `with lies, after the pad's ${action}`;
      const before = await frames(page);
      await page.locator(`#pad [data-action="${action}"]`).tap();
      await waitForFrames(page, before + 1);
      terminal.type(key);
      await terminal.sameAs(await readScreen(page), where);
      if (!asked) continue;
      assert.deepEqual(
        (await padShows(page)).filter((a) => !["on", "again", "choose"].includes(a)),
        asked,
        `${where}: the buttons shown`,
      );
      await assertAccessible(page, where);
      await assertPhoneLayout(page, where);
    }
    const claimed = await page.evaluate(() => document.querySelector('.card[data-seat="6"] .label').textContent);
    assert.match(claimed, /占い師を名乗る/, "the false seer's card, in words");
    assert.match((await readScreen(page)).rows.join("\n"), /なずな 占CO カモミール {2}黒/, "the false seer's claim line");
  } finally {
    terminal.close();
  }
  await page.close();

  const refused = await openGame(browser, url, { errors, query: `seed=${seed}&bluff=2` });
  assert.match(await refused.locator("#notice").innerText(), /bluff=/, "bluff=2 is said");
  await press(refused, "z");
  assertSameScreen(await readScreen(refused), replay(seed, "z").frames[1], "bluff=2: the village without lies");
  await refused.close();

  const context = await browser.newContext({ viewport: DESKTOP });
  const fresh = await openGame(context, url, { errors, query: `seed=${seed}` });
  await fresh.locator("#lies-button").click(); // no key played yet: the village with lies at once
  await press(fresh, "z");
  assert.ok((await padShows(fresh)).includes("seer"), "the switch deals the game again with lies");
  await fresh.reload();
  await fresh.evaluate(() => window.jinro.ready);
  assert.equal(await fresh.locator("#lies-button").getAttribute("aria-pressed"), "true", "the switch is remembered");
  await press(fresh, "z");
  assert.ok((await padShows(fresh)).includes("seer"), "a new game after a reload has lies");
  await fresh.locator("#lies-button").click(); // off in the middle of a game: for the next one
  assert.match(await fresh.locator("#notice").innerText(), /次のゲーム/);
  assert.ok((await padShows(fresh)).includes("seer"), "the game shown keeps its rules");
  await context.close();
}

// Run in the page before its scripts: counts the calls of each function the game's
// WebAssembly exports (window.gameCalls, by export), so that a test can tell a screen drawn
// again from keys played again.
function countGameCalls() {
  window.gameCalls = new Map();
  const counted = (result) => {
    const exports = {};
    for (const [name, value] of Object.entries(result.instance.exports)) {
      exports[name] = typeof value !== "function" ? value : (...args) => (window.gameCalls.set(name, (window.gameCalls.get(name) ?? 0) + 1), value(...args));
    }
    return { module: result.module, instance: { exports } };
  };
  const streaming = WebAssembly.instantiateStreaming;
  WebAssembly.instantiateStreaming = (...args) => streaming(...args).then(counted);
}

// Landscape and desktop show everything without scrolling, a small desktop window too.
async function sizes(browser, url, errors) {
  for (const viewport of [{ width: 844, height: 390 }, { width: 1000, height: 640 }, DESKTOP]) {
    const page = await openGame(browser, url, { errors, context: { viewport } });
    await assertNoScrolling(page, `${viewport.width} x ${viewport.height}`);
    await page.close();
  }
}

// A build of the copy /jinro/ in site whose panels.js ends in `mark`; its worker lists
// `hash` for it (by default the file's own).
function buildOf(site, version, mark, hash) {
  const sha = (text) => createHash("sha256").update(text).digest("hex").slice(0, 16);
  const panelsText = readFileSync(join(folder, "panels.js"), "utf8") + mark;
  writeFileSync(join(site, "jinro", "panels.js"), panelsText);
  const worker = readFileSync(join(folder, "sw.js"), "utf8")
    .replace(/"panels\.js":"[0-9a-f]{16}"/, `"panels.js":"${hash ?? sha(panelsText)}"`)
    .replace(/VERSION="([0-9a-f]{16})"/, `VERSION="${version}"`);
  writeFileSync(join(site, "jinro", "sw.js"), worker);
}

// Asks the page's service worker registration for the next build: true once it waits.
const update = (page) =>
  page.evaluate(async () => {
    const registration = await navigator.serviceWorker.getRegistration();
    await registration.update(); // resolves once the next build's worker is installing
    for (let waited = 0; registration.installing && waited < 10000; waited += 50) await new Promise((resolve) => setTimeout(resolve, 50));
    return registration.waiting !== null;
  });

// Two copies of the site on one origin, /jinro/ and /jinro-beta/. Visit both; a new build
// of /jinro/ comes while its page is open, and that page still gets its own build's files;
// once it is closed the new build is the only one of /jinro/ cached, and /jinro-beta/
// keeps its own. A tampered upload (a file that is not the one its build hashed) is
// refused at install, and the build before stays. The worker gives the page only for the
// page's address: the licence is the licence, a mistyped path goes to the server. Then
// stop the server, reload, play a key.
async function offlineAndUpdate(browser) {
  const site = mkdtempSync(join(tmpdir(), "jinro-site-"));
  for (const copy of ["jinro", "jinro-beta"]) cpSync(folder, join(site, copy), { recursive: true });
  const server = await serve(site);
  const context = await browser.newContext({ viewport: DESKTOP });
  const panels = (page) => page.evaluate(() => fetch("panels.js").then((response) => response.text()));
  const cacheNames = (page) => page.evaluate(() => caches.keys());
  const build = (version, mark, hash = null) => buildOf(site, version, mark, hash);
  const openPage = async (copy) => {
    const page = await context.newPage();
    await page.goto(`${server.url}${copy}/?seed=${SEEDS[0]}&help=0`);
    await page.evaluate(() => window.jinro.ready);
    await page.waitForFunction(() => navigator.serviceWorker.controller !== null);
    return page;
  };
  try {
    const beta = await openPage("jinro-beta");
    const page = await openPage("jinro");
    const names = await cacheNames(page);
    assert.equal(names.length, 2, `one cache for each copy: ${names}`);
    const [old] = names.filter((n) => n.includes("/jinro/"));
    assert.match(old, /^jinro http:\/\/127\.0\.0\.1:\d+\/jinro\/ [0-9a-f]{16}$/);

    const TAMPERED = "\n// half uploaded\n";
    build("0000000000000bad", TAMPERED, readFileSync(join(folder, "sw.js"), "utf8").match(/"panels\.js":"([0-9a-f]{16})"/)[1]);
    assert.equal(await update(page), false, "a build with a file that is not its own was installed");
    assert.deepEqual((await cacheNames(page)).sort(), names.sort(), "the caches after a refused install");
    assert.ok(!(await panels(page)).includes(TAMPERED), "the tampered file reached the page");

    const MARK = "\n// the next build\n";
    build("000000000000next", MARK);
    assert.equal(await update(page), true, "the next build installed");
    assert.ok(!(await panels(page)).includes(MARK), "an open page was given a file of the next build");
    await page.close();
    // The next build's worker takes over once no page of the old one is open.
    const next = old.replace(/[0-9a-f]{16}$/, "000000000000next");
    const activated = async () => {
      for (const worker of context.serviceWorkers()) {
        // CACHE is the worker's own constant, read in the worker.
        const [state, name] = await worker.evaluate(() => [self.serviceWorker.state, CACHE]).catch(() => []); // eslint-disable-line no-undef
        if (state === "activated" && name === next) return true;
      }
      return false;
    };
    for (let tries = 0; !(await activated()); tries++) {
      assert.ok(tries < 200, "the next build never took over");
      await new Promise((resolve) => setTimeout(resolve, 50));
    }
    const fresh = await openPage("jinro");
    const after = await cacheNames(fresh);
    assert.deepEqual(after.sort(), [next, names.find((n) => n.includes("/jinro-beta/"))].sort(), "the caches once the old page is closed");
    assert.ok((await panels(fresh)).includes(MARK), "the next build's page has its panels");
    await beta.reload();
    await beta.evaluate(() => window.jinro.ready);

    const licence = await fresh.goto(`${server.url}jinro/licenses/jinro.txt`);
    assert.match(await fresh.locator("body").innerText(), /MIT License/, "the licence through the worker");
    assert.equal(licence.status(), 200);
    const mistyped = await fresh.goto(`${server.url}jinro/no-such-page`);
    assert.equal(mistyped.status(), 404, "a mistyped path is not the page");

    server.close();
    await fresh.goto(`${server.url}jinro/licenses/jinro.txt`);
    assert.match(await fresh.locator("body").innerText(), /MIT License/, "the licence offline");
    await fresh.goto(`${server.url}jinro/index.html?seed=${SEEDS[0]}&help=0`);
    await fresh.evaluate(() => window.jinro.ready);
    await press(fresh, "l");
    assertSameScreen(await readScreen(fresh), replay(SEEDS[0], "l").frames[1], "a key played offline");
  } finally {
    await context.close();
    server.close();
    rmSync(site, { recursive: true, force: true });
  }
}

// What the address and the browser's storage hold is checked before use: a seed that is
// not one (70,000 digits, served by the worker after a visit, as no server would), a
// language named after a property every object has, a remembered language, statistics or
// practice questions that are not of their form, a paste of a megabyte. Each case: the page shows a game and
// a message where one is due, ready resolves, and nothing is logged.
async function untrustedInputs(browser, url) {
  const context = await browser.newContext({ viewport: DESKTOP });
  const errors = [];
  const visit = await openGame(context, url, { errors }); // the worker now answers the page's address
  await visit.waitForFunction(() => navigator.serviceWorker.controller !== null);
  const notice = (page) => page.locator("#notice").innerText();
  const cases = [
    { query: `seed=${"9".repeat(70000)}`, message: /seed=/ },
    { query: "seed=4294967296", message: /seed=/ },
    { query: "seed=00000000001", message: /seed=/ },
    { query: "daily=yes", message: /daily/ },
    { query: `seed=${SEEDS[0]}&bluff=<b>1`, message: /bluff=/ },
    { query: `seed=${SEEDS[0]}`, stored: { "jinro.lies": "yes" }, forgotten: "jinro.lies", message: /騙り/ },
    ...["toString", "constructor", "__proto__", "hasOwnProperty"].map((name) => ({ query: `seed=${SEEDS[0]}&lang=${name}`, japanese: true })),
    ...["constructor", "__proto__", "toString"].map((name) => ({
      query: `seed=${SEEDS[0]}`,
      stored: { "jinro.language": name },
      japanese: true,
      forgotten: "jinro.language",
    })),
    { query: `seed=${SEEDS[0]}`, stored: { "jinro.stats": '{"played":"x"}' }, forgotten: "jinro.stats", message: /成績/ },
    { query: `seed=${SEEDS[0]}`, stored: { "jinro.stats": "[1,2]" }, forgotten: "jinro.stats", message: /成績/ },
    { query: `seed=${SEEDS[0]}`, stored: { "jinro.helpSeen": "<b>" }, forgotten: "jinro.helpSeen", after: "1" },
    ...['[{"seed":7,"keys":"z<b>","odds":"AAAA","found":0}]', '{"seed":7}', `[${'{"seed":7,"keys":"","odds":"","found":0},'.repeat(40)}1]`].map((stored) => ({
      query: `seed=${SEEDS[0]}`,
      stored: { "jinro.practice": stored },
      forgotten: "jinro.practice",
      message: /練習/,
    })),
  ];
  for (const c of cases) {
    const where = `${c.query.slice(0, 40)} ${JSON.stringify(c.stored ?? {})}`;
    if (c.stored) await visit.evaluate((stored) => Object.entries(stored).forEach(([k, v]) => localStorage.setItem(k, v)), c.stored);
    const page = await context.newPage();
    page.on("pageerror", (error) => errors.push(`${where}: ${error.message}`));
    await page.goto(`${url}?${c.query}&help=0`);
    assert.equal(
      await page.evaluate(() =>
        window.jinro.ready.then(
          () => "resolved",
          (e) => `rejected: ${e}`,
        ),
      ),
      "resolved",
      where,
    );
    await page.waitForFunction(() => document.getElementById("replay-title").textContent.includes("/")); // the panels are in (they count the replay)
    if (c.japanese) assertSameScreen(await readScreen(page), replay(SEEDS[0], "").frames[0], where);
    if (c.message) assert.match(await notice(page), c.message, where);
    if (c.forgotten) assert.equal(await page.evaluate((key) => localStorage.getItem(key), c.forgotten), c.after ?? null, `${where}: what is stored`);
    await press(page, "l"); // and the game plays
    await page.close();
  }

  const page = await openGame(context, url, { errors });
  const took = await page.evaluate(() => {
    const start = performance.now();
    const input = document.getElementById("keys");
    input.value = "lzxxl".repeat(200000); // a megabyte
    input.dispatchEvent(new InputEvent("input", { bubbles: true }));
    return performance.now() - start;
  });
  assert.match(await notice(page), /100000/, "a megabyte pasted is cut, and the page says so");
  assert.equal(await page.evaluate(() => window.jinro.frames), 2, "a paste shows the screen after its last key");
  const keys = "lzxxl".repeat(20000);
  assertSameScreen(await readScreen(page), nativeScreens(replayTool, SEEDS[0], keys, "ja", { last: true }).frames[0], "after the paste");
  console.log(`browser: a paste of a megabyte played its first 100000 keys in ${took.toFixed(0)} ms`);
  assert.deepEqual(errors, [], "the page logged errors");
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
    const page = await browser.newPage();
    await page.goto(`${server.url}?seed=1`);
    const outcome = await page.evaluate(() =>
      window.jinro.ready.then(
        () => "resolved",
        () => "rejected",
      ),
    );
    assert.equal(outcome, "rejected", "ready with a broken WebAssembly file");
    assert.match(await page.locator("#message").innerText(), /読み込めませんでした/);
    await page.goto(`file://${join(broken, "index.html")}`); // no script runs from a file
    await page.locator("#served-only").waitFor({ state: "visible", timeout: 10000 });
    assert.match(await page.locator("#served-only").innerText(), /scripts\/web --serve/);
    await page.close();
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
  for (const seed of SEEDS) keys += await wholeGame(browser, server.url, seed, errors, { context: PHONE, phone: true, capitals: seed === SEEDS[1] });
  console.log(
    `browser: ${SEEDS.length * 2} whole games, ${keys} keys (one in capitals), at 1280x800 and 390x844: every screen the native game's; axe-core finds nothing`,
  );
  await languages(browser, server.url, errors);
  console.log("browser: a whole English game; the switch draws the game again in the other language, no key played again, and is remembered");
  await lies(browser, server.url, errors);
  console.log("browser: with lies on a phone, through the pad: every screen the native game's in a terminal; bluff=2 refused; the switch remembered");
  await tapsAndButtons(browser, server.url, errors);
  await sizes(browser, server.url, errors);
  console.log("browser: taps walk the cursor and never confirm; Space on a button is one key; no scrolling at 844x390, 1000x640 and 1280x800");
  assert.deepEqual(errors, [], "the page logged errors or warnings");
  console.log("browser: no error or warning logged; every character drawn by the page's own fonts");
  await untrustedInputs(browser, server.url);
  console.log("browser: bad seeds, languages, stored values and a megabyte pasted: a game and a message every time");
  await offlineAndUpdate(browser);
  await failures(browser);
  console.log("browser: a new build waits for the open page, then replaces the cache; plays offline after one visit;");
  console.log("         a broken WebAssembly file and file:// show a message");
} finally {
  await browser.close();
  server.close();
}
