// The service worker: every file of the site is cached when it installs, so that a second
// visit plays without a server, and a new build (new contents, a new version) replaces the
// old cache whole. Each file is checked against the content hash the build wrote: a stale
// or half-finished upload fails the install, and the old version stays. A new build waits
// until no page of the old one is open: a page loads its panels after its first frame,
// and they must be of its own build. scripts/web writes the list and the version in.
"use strict";

const FILES = {}; // path -> the first 16 hexadecimal digits of its SHA-256, written in by scripts/web
const VERSION = "unbuilt";
// The caches of this copy of the site: two copies on one origin (/jinro/ and /jinro-beta/)
// each keep their own, and each deletes only its own old versions.
const PREFIX = `jinro ${self.registration.scope} `;
const CACHE = PREFIX + VERSION;
// The names of the caches of earlier builds, before the scope was part of the name.
const EARLIER = /^jinro-[0-9a-f]{16}$/;

async function hashOf(response) {
  const digest = new Uint8Array(await crypto.subtle.digest("SHA-256", await response.clone().arrayBuffer()));
  return [...digest]
    .map((byte) => byte.toString(16).padStart(2, "0"))
    .join("")
    .slice(0, 16);
}

// Fetches one file past the browser's cache and keeps it, if it is the file the build
// wrote; anything else fails the install.
async function keep(cache, path, hash) {
  const response = await fetch(new Request(path, { cache: "reload" }));
  if (!response.ok) throw new Error(`${path}: ${response.status}`);
  if ((await hashOf(response)) !== hash) throw new Error(`${path}: not the file of this build`);
  await cache.put(path, response);
}

self.addEventListener("install", (event) => {
  event.waitUntil(
    caches.open(CACHE).then((cache) =>
      Promise.all(Object.entries(FILES).map(([path, hash]) => keep(cache, path, hash))).catch(async (error) => {
        await caches.delete(CACHE); // nothing half-kept stays behind
        throw error;
      }),
    ),
  );
});

self.addEventListener("activate", (event) => {
  event.waitUntil(
    caches
      .keys()
      .then((names) => names.filter((name) => (name.startsWith(PREFIX) && name !== CACHE) || EARLIER.test(name)))
      .then((old) => Promise.all(old.map((name) => caches.delete(name))))
      .then(() => self.clients.claim()),
  );
});

// The page's own address (its scope, with or without index.html, with any query) is the
// page; every other request is matched as itself, and goes to the network when it is not
// one of the site's files.
self.addEventListener("fetch", (event) => {
  const request = event.request;
  const url = new URL(request.url);
  if (request.method !== "GET" || url.origin !== self.location.origin) return;
  const scope = new URL(self.registration.scope);
  const page = request.mode === "navigate" && [scope.pathname, `${scope.pathname}index.html`].includes(url.pathname);
  event.respondWith(
    caches.open(CACHE).then(async (cache) => {
      const hit = await cache.match(page ? scope.href : request, { ignoreSearch: page });
      return hit ?? fetch(request);
    }),
  );
});
