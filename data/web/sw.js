// The service worker of the Orvalis site: keeps every file of the site in a
// cache of its own so that, after the first visit, the page reloads and runs
// with no network and can be installed as an app. scripts/web fills in the
// cache's name (the program's version and a digest of the files, so that
// every new build replaces the old copy) and the list of files.
"use strict";

const CACHE = "@CACHE@";
const FILES = @FILES@;

self.addEventListener("install", (event) => {
  // Straight from the network, not from the browser's HTTP cache, so that
  // the new cache never holds a file of an older build.
  event.waitUntil(
    caches.open(CACHE)
      .then((cache) => cache.addAll(FILES.map((file) => new Request(file, { cache: "reload" }))))
      .then(() => self.skipWaiting()));
});

self.addEventListener("activate", (event) => {
  // Only this site's own older caches go; other pages of the same origin
  // may keep theirs.
  event.waitUntil(
    caches.keys()
      .then((names) => Promise.all(names
        .filter((name) => name.startsWith("orvalis-") && name !== CACHE)
        .map((name) => caches.delete(name))))
      .then(() => self.clients.claim()));
});

self.addEventListener("fetch", (event) => {
  if (event.request.method !== "GET") {
    return;
  }
  // The site's files from the cache (the folder itself is its index.html);
  // anything else, or a file the cache lost, from the network.
  event.respondWith(
    caches.open(CACHE)
      .then((cache) => cache.match(event.request, { ignoreSearch: true }))
      .then((cached) => cached || fetch(event.request)));
});
