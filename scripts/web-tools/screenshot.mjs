// Takes the page's screenshots in headless Chromium, on the vote results of day 2 of the
// game dealt at 2026-01-01 00:00:00 UTC (the terminal screenshot's game): at the desktop
// size, and on a phone held upright.
//
//   node scripts/web-tools/screenshot.mjs BUILD_WEB_FOLDER DESKTOP.png PHONE.png
import { launch, serve, waitForFrames } from "./browser.mjs";

const [folder, desktop, phone] = process.argv.slice(2);
const server = await serve(folder);
const browser = await launch();
try {
  for (const [output, context] of [
    [desktop, { viewport: { width: 1000, height: 640 }, deviceScaleFactor: 1 }],
    [phone, { viewport: { width: 390, height: 844 }, deviceScaleFactor: 2, hasTouch: true, isMobile: true }],
  ]) {
    const page = await browser.newPage(context);
    await page.goto(`${server.url}?seed=1767225600`);
    await page.evaluate(() => window.jinro.ready);
    await page.evaluate(() => document.fonts.ready);
    const keys = "lzxxllzz"; // attack seat 1, lead on twice, vote twice for seat 3
    for (const [n, key] of [...keys].entries()) {
      await page.keyboard.press(key);
      await waitForFrames(page, n + 2);
    }
    await page.evaluate(() => new Promise((resolve) => requestAnimationFrame(() => requestAnimationFrame(resolve))));
    await page.screenshot({ path: output });
    console.log(`wrote ${output}`);
    await page.close();
  }
} finally {
  await browser.close();
  server.close();
}
