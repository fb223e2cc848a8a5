// What the browser tests and the web scripts share: the built page served on 127.0.0.1,
// Debian's Chromium driven by playwright-core (which never downloads a browser), and
// the screens of the terminal read back cell by cell.
import { createServer } from "node:http";
import { mkdtempSync, readFileSync, rmSync, writeFileSync } from "node:fs";
import { tmpdir } from "node:os";
import { extname, join, normalize } from "node:path";
import { chromium } from "../../web/node_modules/playwright-core/index.mjs";

const TYPES = {
  ".html": "text/html; charset=utf-8",
  ".js": "text/javascript; charset=utf-8",
  ".mjs": "text/javascript; charset=utf-8",
  ".css": "text/css; charset=utf-8",
  ".wasm": "application/wasm",
  ".woff2": "font/woff2",
  ".svg": "image/svg+xml",
  ".txt": "text/plain; charset=utf-8",
};

// Serves a folder of static files on 127.0.0.1 at a free port.
export async function serve(folder) {
  const server = createServer((request, response) => {
    const path = normalize(decodeURIComponent(new URL(request.url, "http://x").pathname));
    const file = join(folder, path.endsWith("/") ? path + "index.html" : path);
    try {
      const body = readFileSync(file);
      response.writeHead(200, { "content-type": TYPES[extname(file)] ?? "application/octet-stream" });
      response.end(body);
    } catch {
      response.writeHead(404);
      response.end();
    }
  });
  await new Promise((resolve) => server.listen(0, "127.0.0.1", resolve));
  return { url: `http://127.0.0.1:${server.address().port}/`, close: () => server.close() };
}

// Chromium as root in a container, with no network but loopback. With noSystemFonts it
// sees no font of the system at all, so that only the page's own fonts can draw.
export async function launch({ noSystemFonts = false } = {}) {
  const env = { ...process.env };
  let fontDir = null;
  if (noSystemFonts) {
    fontDir = mkdtempSync(join(tmpdir(), "jinro-fonts-"));
    writeFileSync(
      join(fontDir, "fonts.conf"),
      `<?xml version="1.0"?><!DOCTYPE fontconfig SYSTEM "fonts.dtd">
       <fontconfig><cachedir>${fontDir}/cache</cachedir></fontconfig>\n`,
    );
    env.FONTCONFIG_FILE = join(fontDir, "fonts.conf");
  }
  const browser = await chromium.launch({
    executablePath: process.env.CHROMIUM ?? "/usr/lib/chromium/chromium",
    env,
    args: [
      "--no-sandbox",
      "--disable-gpu",
      "--disable-quic",
      "--no-first-run",
      "--disable-background-networking",
      "--disable-component-update",
      "--disable-sync",
    ],
  });
  const close = browser.close.bind(browser);
  browser.close = async () => {
    await close();
    if (fontDir) rmSync(fontDir, { recursive: true, force: true });
  };
  return browser;
}

// The terminal's rows as text (trailing blanks dropped) and the colour of every cell:
// the palette number of its foreground, or -1 for the default.
export async function readScreen(page) {
  return page.evaluate(() => {
    const buffer = window.jinro.terminal.buffer.active;
    const rows = [];
    const colours = [];
    const chars = [];
    for (let y = 0; y < 24; y++) {
      const line = buffer.getLine(y);
      rows.push(line.translateToString(true).replace(/ +$/, ""));
      const rowColours = [];
      const rowChars = [];
      for (let x = 0; x < 76; x++) {
        const cell = line.getCell(x);
        rowColours.push(cell.isFgPalette() ? cell.getFgColor() : -1);
        rowChars.push(cell.getWidth() === 0 ? "" : cell.getChars() || " ");
      }
      colours.push(rowColours);
      chars.push(rowChars);
    }
    return { rows, colours, chars };
  });
}

// Waits until the terminal's buffer holds frame number `count`.
export async function waitForFrames(page, count) {
  await page.waitForFunction((n) => window.jinro.frames >= n, count, { timeout: 10000 });
}
