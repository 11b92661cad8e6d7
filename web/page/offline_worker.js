// The page's offline worker. The build puts BUILD above this text: the
// folder's files and a hash of their content. Each build keeps its files in
// a cache of its own, so no file of an older build is mixed into a newer one.
'use strict';

// Caches belong to the whole origin; the scope in the name keeps copies of the
// page in other folders of the same server from deleting each other's.
const CACHE_PREFIX = `versomat ${self.registration.scope} `;
const CACHE = CACHE_PREFIX + BUILD.hash;

self.addEventListener('install', (event) => {
  // 'reload' passes by the HTTP cache, which may still hold the older build.
  const requests = BUILD.files.map((file) => new Request(file, {cache: 'reload'}));
  event.waitUntil(caches.open(CACHE).then((cache) => cache.addAll(requests)).then(() => self.skipWaiting()));
});

// The page takes every file from the network while there is one, so taking
// over an open page at once cannot mix two builds in it.
self.addEventListener('activate', (event) => {
  event.waitUntil(caches.keys()
    .then((names) => Promise.all(names.filter((name) => name.startsWith(CACHE_PREFIX) && name !== CACHE)
      .map((name) => caches.delete(name))))
    .then(() => self.clients.claim()));
});

// The network first, so that a new build shows at the next visit; the kept
// files only when the network fails. 'no-cache' asks the server each time,
// as an HTTP cache could hand out the older build's files beside the newer
// index.html.
self.addEventListener('fetch', (event) => {
  const request = event.request;
  if (request.method === 'GET' && request.url.startsWith(self.registration.scope))
    event.respondWith(fetch(request, {cache: 'no-cache'}).catch((failure) => keptCopy(request, failure)));
});

async function keptCopy(request, failure) {
  const url = new URL(request.url);
  // The folder's address shows its index.html; a query is for the page, not
  // another file.
  if (url.pathname.endsWith('/'))
    url.pathname += 'index.html';
  const kept = await (await caches.open(CACHE)).match(url.href, {ignoreSearch: request.mode === 'navigate'});
  if (!kept)
    throw failure;
  return kept;
}
