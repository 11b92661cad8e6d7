// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Versomat developers
// The page's offline worker. The build puts BUILD above this text: the
// folder's files and a hash of their content. Each build keeps its files in
// a cache of its own, and every load of the page takes all its files from
// one build, so no file of an older build is mixed into a newer one.
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

self.addEventListener('activate', (event) => {
  event.waitUntil(caches.keys()
    .then((names) => Promise.all(names.filter((name) => name.startsWith(CACHE_PREFIX) && name !== CACHE)
      .map((name) => caches.delete(name))))
    .then(() => self.clients.claim()));
});

// Whether each page being loaded is of the kept build (true) or of another
// one the server sent (false), settled by its navigation and read by the
// files it loads next. A page the worker saw no navigation of is in neither.
const keptBuildPages = new Map();

self.addEventListener('fetch', (event) => {
  const request = event.request;
  if (request.method !== 'GET' || !request.url.startsWith(self.registration.scope))
    return;
  event.respondWith(request.mode === 'navigate' ? navigation(event) : file(event));
});

// The network first, so that a new build shows at the next visit; the kept
// page when the network fails or answers with an error. 'no-cache' asks the
// server each time, as an HTTP cache could hand out an older page.
async function navigation(event) {
  const kept = await keptCopy(event.request);
  let fresh = null;
  try {
    fresh = await fetch(event.request, {cache: 'no-cache'});
  } catch (failure) {
    if (!kept)
      throw failure;
  }
  if (!kept)
    return fresh;
  forgetClosedPages();
  // The build writes its hash into index.html, so the kept page's bytes
  // tell whether the server still sends this build.
  const ofKeptBuild = fresh?.ok ? sameBytes(fresh.clone(), kept.clone()) : true;
  if (event.resultingClientId)
    keptBuildPages.set(event.resultingClientId, ofKeptBuild);
  return fresh?.ok ? fresh : kept;
}

// A page of the kept build takes the kept files, without asking the network;
// a page of another build takes the network's answer, whatever it is, as no
// kept file belongs to it. Of a page not seen loading, the network's files
// while it answers, else the kept ones.
async function file(event) {
  const ofKeptBuild = await keptBuildPages.get(event.clientId);
  if (ofKeptBuild) {
    const kept = await keptCopy(event.request);
    if (kept)
      return kept;
  }
  let failure = null;
  try {
    const fresh = await fetch(event.request, {cache: 'no-cache'});
    if (fresh.ok || ofKeptBuild === false)
      return fresh;
    failure = fresh;
  } catch (error) {
    if (ofKeptBuild === false)
      throw error;
    failure = error;
  }
  const kept = await keptCopy(event.request);
  if (kept)
    return kept;
  if (failure instanceof Response)
    return failure;
  throw failure;
}

// False where either cannot be read: the page's files then come from the
// network, as for another build.
async function sameBytes(one, other) {
  try {
    const [a, b] = (await Promise.all([one.arrayBuffer(), other.arrayBuffer()])).map((bytes) => new Uint8Array(bytes));
    return a.length === b.length && a.every((byte, i) => byte === b[i]);
  } catch {
    return false;
  }
}

// The pages known at the call: one whose navigation is under way has no
// client yet and must not be forgotten.
async function forgetClosedPages() {
  for (const id of [...keptBuildPages.keys()]) {
    if (!(await self.clients.get(id)))
      keptBuildPages.delete(id);
  }
}

async function keptCopy(request) {
  const url = new URL(request.url);
  // The folder's address shows its index.html; a query is for the page, not
  // another file.
  if (url.pathname.endsWith('/'))
    url.pathname += 'index.html';
  return (await caches.open(CACHE)).match(url.href, {ignoreSearch: request.mode === 'navigate'});
}
