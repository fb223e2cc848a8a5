// The page in the other two engines: Firefox (Debian's firefox-esr, driven by
// puppeteer-core over WebDriver BiDi) and WebKit, Safari's engine (Debian's WebKitGTK
// MiniBrowser under a virtual X server, driven by selenium-webdriver). In each, one whole
// game typed key by key, every screen compared with the native game's, and the phone
// layout at 390 x 844 (WebKit: as narrow as MiniBrowser's window goes).
//
//   node tests/web/engines_test.mjs BUILD_WEB_FOLDER JINRO_REPLAY
import { spawn } from "node:child_process";
import { setTimeout as sleep } from "node:timers/promises";
import puppeteer from "../../web/node_modules/puppeteer-core/lib/esm/puppeteer/puppeteer-core.js";
import { Builder } from "../../web/node_modules/selenium-webdriver/index.js";
import { fromCells, serve } from "../../scripts/web-tools/browser.mjs";
import { assertPhoneFacts, assertSameScreen, nativeScreens, phoneFacts } from "./native.mjs";

const [folder, replayTool] = process.argv.slice(2);
const SEED = 20261208;
const MINIBROWSER = "/usr/lib/x86_64-linux-gnu/webkit2gtk-4.1/MiniBrowser";
// The page's hook may not be there yet when the driver says the page has loaded.
const READY = `const done = arguments[0];
  (function wait() { if (window.jinro) window.jinro.ready.then(() => done()); else setTimeout(wait, 20); })();`;

// Plays the recorded game through `typeKey`, reading the screen after each key.
async function wholeGame(name, typeKey, readCells, readFrames) {
  const { keys, frames } = nativeScreens(replayTool, SEED, "auto");
  assertSameScreen(fromCells(await readCells()), frames[0], `${name}, first screen`);
  for (let k = 0; k < keys.length; k++) {
    const before = await readFrames();
    await typeKey(keys[k]);
    for (let tries = 0; (await readFrames()) === before && tries < 200; tries++) await sleep(10);
    assertSameScreen(fromCells(await readCells()), frames[k + 1], `${name}, after key ${k + 1} (${keys[k]})`);
  }
  return keys.length;
}

async function firefox(url) {
  const browser = await puppeteer.launch({ browser: "firefox", executablePath: "/usr/bin/firefox-esr", headless: true });
  try {
    const page = await browser.newPage();
    await page.setViewport({ width: 1280, height: 800 });
    await page.goto(`${url}?seed=${SEED}&help=0`);
    await page.waitForFunction(() => window.jinro !== undefined);
    await page.evaluate(() => window.jinro.ready);
    const played = await wholeGame(
      "Firefox",
      (key) => page.keyboard.press(key === " " ? "Space" : key),
      () => page.evaluate(() => window.jinro.screen()),
      () => page.evaluate(() => window.jinro.frames),
    );
    await page.setViewport({ width: 390, height: 844, hasTouch: true, isMobile: true });
    await page.goto(`${url}?seed=${SEED}&help=0`);
    await page.waitForFunction(() => window.jinro !== undefined);
    await page.evaluate(() => window.jinro.ready);
    assertPhoneFacts(await page.evaluate(phoneFacts), "Firefox at 390x844");
    return played;
  } finally {
    await browser.close();
  }
}

// WebKitWebDriver and MiniBrowser need a display: a virtual X server of their own.
async function webkit(url) {
  const display = `:${90 + (process.pid % 9)}`;
  const port = 4444 + (process.pid % 1000);
  const xvfb = spawn("Xvfb", [display, "-screen", "0", "1400x1000x24", "-nolisten", "tcp"], { stdio: "ignore" });
  const driverProcess = spawn("WebKitWebDriver", [`--port=${port}`], { stdio: "ignore", env: { ...process.env, DISPLAY: display } });
  let driver = null;
  try {
    await sleep(1500);
    driver = await new Builder()
      .usingServer(`http://127.0.0.1:${port}`)
      .withCapabilities({
        browserName: "MiniBrowser",
        "webkitgtk:browserOptions": { binary: MINIBROWSER, args: ["--automation"] },
      })
      .build();
    await driver.manage().window().setRect({ width: 1280, height: 900 });
    await driver.get(`${url}?seed=${SEED}&help=0`);
    await driver.executeAsyncScript(READY);
    const played = await wholeGame(
      "WebKit",
      async (key) => (await driver.switchTo().activeElement()).sendKeys(key),
      () => driver.executeScript("return window.jinro.screen()"),
      () => driver.executeScript("return window.jinro.frames"),
    );
    await driver.manage().window().setRect({ width: 390, height: 844 });
    await driver.get(`${url}?seed=${SEED}&help=0`);
    await driver.executeAsyncScript(READY);
    const facts = await driver.executeScript(`return (${phoneFacts.toString()})()`);
    // MiniBrowser's window is never narrower than its toolbar (about 450 px): the narrowest
    // it allows, which is still the narrow arrangement.
    if (facts.viewport > 480) throw new Error(`WebKit's window stayed ${facts.viewport} px wide`);
    assertPhoneFacts(facts, `WebKit at ${facts.viewport}x${facts.height}`);
    return played;
  } finally {
    await driver?.quit().catch(() => {});
    driverProcess.kill();
    xvfb.kill();
  }
}

const server = await serve(folder);
try {
  const inFirefox = await firefox(server.url);
  console.log(`engines: Firefox played a whole game (${inFirefox} keys), every screen the native game's; phone layout right`);
  const inWebKit = await webkit(server.url);
  console.log(`engines: WebKit played a whole game (${inWebKit} keys), every screen the native game's; phone layout right`);
} finally {
  server.close();
}
