// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Versomat developers
// Lets the browser keep the page's files, so that once opened over http or
// https the page opens and composes without a network. From disk there is
// nothing to keep and browsers refuse workers there.
'use strict';

if ((location.protocol === 'http:' || location.protocol === 'https:') && 'serviceWorker' in navigator) {
  // After the page has loaded, so that filling the cache does not slow its
  // first start. A refused worker leaves the page as it is without one.
  addEventListener('load', () => navigator.serviceWorker.register('offline_worker.js').catch(() => {}));
}
