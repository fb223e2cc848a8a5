// The service worker: every file of the site is cached when it installs, under a name made
// from the contents of all of them, so that a second visit plays without a server and a
// new build (new contents, a new name) replaces the old cache whole. A new build waits
// until no page of the old one is open: a page loads its panels after its first frame,
// and they must be of its own build. scripts/web writes the list and the name in.
"use strict";

const FILES = {}; // path -> content hash, written in by scripts/web
const CACHE = "jinro-unbuilt";

self.addEventListener("install", (event) => {
  event.waitUntil(
    caches
      .open(CACHE)
      .then((cache) => cache.addAll(Object.keys(FILES).map((path) => new Request(path, { cache: "reload" })))),
  );
});

self.addEventListener("activate", (event) => {
  event.waitUntil(
    caches
      .keys()
      .then((names) => Promise.all(names.filter((n) => n.startsWith("jinro-") && n !== CACHE).map((n) => caches.delete(n))))
      .then(() => self.clients.claim()),
  );
});

// The cache first; any address of the page itself (?seed=, ?daily) is the page.
self.addEventListener("fetch", (event) => {
  const request = event.request;
  if (request.method !== "GET" || new URL(request.url).origin !== self.location.origin) return;
  event.respondWith(
    caches.open(CACHE).then(async (cache) => {
      const page = request.mode === "navigate";
      const hit = await cache.match(page ? new URL("./", self.registration.scope).href : request, { ignoreSearch: page });
      return hit ?? fetch(request);
    }),
  );
});
