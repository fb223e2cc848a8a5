// Measures the web page against its budgets (a report, not a test):
//   size   the whole built folder as a gzip-compressed tarball, at most 250 KB
//   load   navigation to the first frame on screen, median of 10 first visits, at most 300 ms
//   key    a key to its frame in the terminal's buffer inside the page, median, under 5 ms
//
//   node scripts/web-tools/budget.mjs BUILD_WEB_FOLDER
import { execFileSync } from "node:child_process";
import { launch, serve } from "./browser.mjs";

const folder = process.argv[2];
const median = (values) => [...values].sort((a, b) => a - b)[Math.floor(values.length / 2)];

const tarball = execFileSync("sh", ["-c", 'tar -C "$0" -cf - . | gzip -9 | wc -c', folder], { encoding: "utf8" });
const sizeKB = Number(tarball) / 1000;

const server = await serve(folder);
const browser = await launch();
// Navigation start to the first frame painted: the frame reaches the buffer, the terminal
// draws it in the next animation frame, and a task queued from there runs after the paint.
async function firstFrameOnScreen(page) {
  await page.goto(`${server.url}?seed=1767225600`);
  return page.evaluate(async () => {
    await window.jinro.ready;
    await new Promise((resolve) =>
      requestAnimationFrame(() => {
        const channel = new MessageChannel();
        channel.port1.onmessage = resolve;
        channel.port2.postMessage(0);
      }),
    );
    return performance.now();
  });
}

const loads = []; // a first visit each time: nothing cached
for (let n = 0; n < 10; n++) {
  const context = await browser.newContext();
  loads.push(await firstFrameOnScreen(await context.newPage()));
  await context.close();
}
const returning = await browser.newContext(); // a returning visitor: the cache is warm
const returnPage = await returning.newPage();
await firstFrameOnScreen(returnPage);
const reloads = [];
for (let n = 0; n < 10; n++) reloads.push(await firstFrameOnScreen(returnPage));
await returning.close();

const page = await browser.newPage();
await page.goto(`${server.url}?seed=1767225600`);
const keys = await page.evaluate(async () => {
  await window.jinro.ready;
  const terminal = window.jinro.terminal;
  const toBuffer = [];
  const toScreen = [];
  for (let n = 0; n < 200; n++) {
    const start = performance.now();
    const written = new Promise((resolve) => {
      const listener = terminal.onWriteParsed(() => {
        listener.dispose();
        resolve();
      });
    });
    terminal.input(n % 2 ? "j" : "l", true); // as if typed: through onData to the game
    await written;
    toBuffer.push(performance.now() - start);
    await new Promise((resolve) => requestAnimationFrame(resolve));
    toScreen.push(performance.now() - start);
  }
  return { toBuffer, toScreen };
});
await browser.close();
server.close();

const report = [
  ["size", sizeKB, 250, "KB gzip-compressed (the whole folder)"],
  ["load", median(loads), 300, "ms from navigation to the first frame on screen (median of 10)"],
  ["key", median(keys.toBuffer), 5, "ms from a key to its frame in the buffer (median of 200)"],
];
for (const [name, value, budget, what] of report) {
  const verdict = value <= budget ? "within" : `OVER by ${(value - budget).toFixed(1)}`;
  console.log(`${name.padEnd(5)} ${value.toFixed(1).padStart(7)} ${what}; budget ${budget}: ${verdict}`);
}
console.log(`      ${median(keys.toScreen).toFixed(1).padStart(7)} ms from a key to the next paint (median)`);
console.log(`      ${median(reloads).toFixed(1).padStart(7)} ms to the first frame on a return visit, cache warm (median of 10)`);
console.log(`      first visits: ${loads.map((v) => v.toFixed(0)).join(" ")} ms`);
