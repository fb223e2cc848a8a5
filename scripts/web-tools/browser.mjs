// What the browser tests and the web scripts share: the built page served on 127.0.0.1,
// Debian's Chromium driven by playwright-core (which never downloads a browser), and
// the screens of the page read back cell by cell.
import { createServer } from "node:http";
import { mkdtempSync, readFileSync, rmSync, writeFileSync } from "node:fs";
import { tmpdir } from "node:os";
import { extname, join, normalize } from "node:path";
import { gzipSync } from "node:zlib";
import { chromium } from "../../web/node_modules/playwright-core/index.mjs";

const TYPES = {
  ".html": "text/html; charset=utf-8",
  ".js": "text/javascript; charset=utf-8",
  ".mjs": "text/javascript; charset=utf-8",
  ".css": "text/css; charset=utf-8",
  ".wasm": "application/wasm",
  ".woff2": "font/woff2",
  ".svg": "image/svg+xml",
  ".png": "image/png",
  ".webmanifest": "application/manifest+json",
  ".txt": "text/plain; charset=utf-8",
};

// Serves a folder of static files on 127.0.0.1 at a free port, and any extra files given
// by path (typed by their names). Compressed with gzip where the browser takes it, as a
// host serves a site.
export async function serve(folder, pages = {}) {
  const send = (request, response, type, body) => {
    const headers = { "content-type": type };
    if (/\bgzip\b/.test(request.headers["accept-encoding"] ?? "") && !/^image\/png|^font\//.test(type)) {
      headers["content-encoding"] = "gzip";
      headers.vary = "accept-encoding";
      body = gzipSync(body);
    }
    response.writeHead(200, headers);
    response.end(body);
  };
  const server = createServer((request, response) => {
    const path = normalize(decodeURIComponent(new URL(request.url, "http://x").pathname));
    if (path in pages) {
      send(request, response, TYPES[extname(path)] ?? TYPES[".html"], Buffer.from(pages[path]));
      return;
    }
    const file = join(folder, path.endsWith("/") ? path + "index.html" : path);
    let body;
    try {
      body = readFileSync(file);
    } catch {
      response.writeHead(404, { "content-type": TYPES[".txt"] });
      response.end("not found\n");
      return;
    }
    send(request, response, TYPES[extname(file)] ?? "application/octet-stream", body);
  });
  await new Promise((resolve) => server.listen(0, "127.0.0.1", resolve));
  const close = () => {
    server.closeAllConnections();
    server.close();
  };
  return { url: `http://127.0.0.1:${server.address().port}/`, close };
}

// Debian's Chromium, and how every tool starts it: as root in a container, with no
// network but loopback.
export const CHROMIUM = process.env.CHROMIUM ?? "/usr/lib/chromium/chromium";
export const CHROMIUM_FLAGS = [
  "--no-sandbox",
  "--disable-gpu",
  "--disable-quic",
  "--no-first-run",
  "--disable-background-networking",
  "--disable-component-update",
  "--disable-sync",
];

// Chromium, started by playwright-core. With noSystemFonts it
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
  const browser = await chromium.launch({ executablePath: CHROMIUM, env, args: CHROMIUM_FLAGS });
  const close = browser.close.bind(browser);
  browser.close = async () => {
    await close();
    if (fontDir) rmSync(fontDir, { recursive: true, force: true });
  };
  return browser;
}

// The screen as the page draws it (window.jinro.screen()): rows as text with trailing
// blanks dropped, and the colour attribute of every cell that is not blank.
export async function readScreen(page) {
  const cells = await page.evaluate(() => window.jinro.screen());
  return fromCells(cells);
}

export function fromCells(cells) {
  const rows = cells.map((row) =>
    row
      .map((cell) => cell.ch)
      .join("")
      .replace(/ +$/, ""),
  );
  const colours = cells.map((row) => row.map((cell) => (cell.ch === " " ? -1 : cell.attr)));
  const chars = cells.map((row) => row.map((cell) => cell.ch));
  return { rows, colours, chars };
}

// Waits until the page has shown frame number `count`.
export async function waitForFrames(page, count) {
  await page.waitForFunction((n) => window.jinro.frames >= n, count, { timeout: 10000 });
}
