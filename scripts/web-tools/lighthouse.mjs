// Lighthouse (npm lighthouse 12.2.3) against the built page served on 127.0.0.1 with gzip,
// in Debian's Chromium: the default mobile settings (simulated slow 4G, a CPU four times
// slower) and the desktop preset, each run `runs` times. Prints, for each, the median of
// the four category scores and of the five metrics that make up performance, and what
// blocked the main thread longest in the median run.
//
//   node scripts/web-tools/lighthouse.mjs BUILD_WEB_FOLDER [RUNS]
import lighthouse from "../../web/node_modules/lighthouse/core/index.js";
import desktop from "../../web/node_modules/lighthouse/core/config/desktop-config.js";
import { launch as launchChrome } from "../../web/node_modules/chrome-launcher/dist/index.js";
import { CHROMIUM, CHROMIUM_FLAGS, serve } from "./browser.mjs";

export const CATEGORIES = ["performance", "accessibility", "best-practices", "seo"];
export const METRICS = [
  ["first-contentful-paint", "FCP", "ms"],
  ["largest-contentful-paint", "LCP", "ms"],
  ["total-blocking-time", "TBT", "ms"],
  ["cumulative-layout-shift", "CLS", ""],
  ["speed-index", "SI", "ms"],
];
const median = (values) => [...values].sort((a, b) => a - b)[Math.floor(values.length / 2)];

// Runs Lighthouse `runs` times with a configuration (undefined: mobile); the results.
export async function audit(url, runs, config) {
  const chrome = await launchChrome({ chromePath: CHROMIUM, chromeFlags: ["--headless=new", ...CHROMIUM_FLAGS] });
  const results = [];
  try {
    for (let n = 0; n < runs; n++) {
      const { lhr } = await lighthouse(url, { port: chrome.port, output: "json", logLevel: "error" }, config);
      if (lhr.runtimeError) throw new Error(`Lighthouse: ${lhr.runtimeError.message}`);
      results.push(lhr);
    }
  } finally {
    await chrome.kill();
  }
  return results;
}

// The medians of a set of runs: scores out of 100, metrics in their units.
export function summary(results) {
  const scores = Object.fromEntries(CATEGORIES.map((c) => [c, median(results.map((r) => Math.round(r.categories[c].score * 100)))]));
  const metrics = Object.fromEntries(METRICS.map(([id]) => [id, median(results.map((r) => r.audits[id].numericValue))]));
  const byPerformance = [...results].sort((a, b) => a.categories.performance.score - b.categories.performance.score);
  const middle = byPerformance[Math.floor(byPerformance.length / 2)];
  const tasks = (middle.audits["long-tasks"]?.details?.items ?? [])
    .slice(0, 5)
    .map((t) => `${t.url || "(page)"} ${Math.round(t.duration)} ms at ${Math.round(t.startTime)} ms`);
  return { scores, metrics, tasks, all: results.map((r) => Math.round(r.categories.performance.score * 100)) };
}

export function report(label, { scores, metrics, tasks, all }) {
  const lines = [`${label}: ${CATEGORIES.map((c) => `${c} ${scores[c]}`).join(", ")} (performance of each run: ${all.join(" ")})`];
  lines.push(
    `  ${METRICS.map(([id, name, unit]) => `${name} ${id === "cumulative-layout-shift" ? metrics[id].toFixed(3) : Math.round(metrics[id])}${unit ? ` ${unit}` : ""}`).join(", ")}`,
  );
  if (tasks.length) lines.push(`  longest main-thread tasks: ${tasks.join("; ")}`);
  return lines.join("\n");
}

if (import.meta.url === `file://${process.argv[1]}`) {
  const [folder, runs = "5"] = process.argv.slice(2);
  const server = await serve(folder);
  try {
    const url = `${server.url}?seed=1700000000&help=0`;
    console.log(report("mobile ", summary(await audit(url, Number(runs)))));
    console.log(report("desktop", summary(await audit(url, Number(runs), desktop))));
  } finally {
    server.close();
  }
}
