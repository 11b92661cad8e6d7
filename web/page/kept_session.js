// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Versomat developers
// Keeps the tab's whole session for this tab only (sessionStorage): the
// core's record of it (the accepted lists and marks, the values, the shown
// poem, its number and the random sequence's place) and what was typed
// since (the four lists, an open sheet, the poem box where the user edited
// it). A reload or a discarded tab brings it all back as it was; closing the
// tab forgets it. A link in the address is opened after this, by
// poem_actions.js, and replaces what comes back here.
'use strict';

(() => {
  const KEY = 'versomat-session';

  function read() {
    try {
      const kept = JSON.parse(sessionStorage.getItem(KEY));
      return kept && typeof kept === 'object' ? kept : {};
    } catch {
      // No storage (blocked, or a file the page cannot read): nothing to bring back.
      return {};
    }
  }

  whenVersomatStarts(({session, show, output}) => {
    const boxes = [...document.querySelectorAll('[data-role="box"], [data-role="sheet"]')];
    const sheet = document.querySelector('[data-role="sheet"]');
    const showSheet = document.querySelector('[data-role="sheetShow"]');
    // The poem box's text while it is the user's edit; null while it shows
    // what the core gave it, which the core's record brings back itself.
    let typedPoem = null;
    // The core's record is written only after an answer changed it: typing
    // alone leaves it as it was.
    let record = null;

    // A closed sheet's text is the core's again at the next opening, so only
    // an open sheet is kept.
    function keep() {
      record ??= session.saved();
      const typed = {};
      for (const box of boxes) {
        if (!box.hidden)
          typed[box.dataset.name] = box.value;
      }
      try {
        sessionStorage.setItem(KEY, JSON.stringify({record, typed, poem: typedPoem}));
      } catch {
        // Full or blocked: an older copy must not come back in place of this one.
        try {
          sessionStorage.removeItem(KEY);
        } catch {
          // Blocked altogether: there is nothing to drop.
        }
      }
    }

    const kept = read();
    const answer = typeof kept.record === 'string' ? session.restore(kept.record) : null;
    if (answer)
      show(answer);
    const typed = kept.typed && typeof kept.typed === 'object' ? kept.typed : {};
    // Opened the way the user opens it, with the values just brought back,
    // which also puts the focus back in it; only the text is then the user's.
    if (typeof typed[sheet.dataset.name] === 'string')
      showSheet.click();
    for (const box of boxes) {
      const text = typed[box.dataset.name];
      if (typeof text === 'string' && !box.hidden)
        box.value = text;
    }
    if (typeof kept.poem === 'string') {
      output.value = kept.poem;
      typedPoem = kept.poem;
      output.dispatchEvent(new Event('input'));
    }

    // Once per burst of edits and answers, after it: a click's or a
    // keystroke's own work does not wait for the storage.
    let keeping = false;
    const keepSoon = () => {
      if (keeping)
        return;
      keeping = true;
      setTimeout(() => {
        keeping = false;
        keep();
      });
    };
    for (const box of boxes)
      box.addEventListener('input', keepSoon);
    output.addEventListener('input', () => {
      typedPoem = output.value;
      keepSoon();
    });
    // Every answer the page shows, a click's or a link's; one that did not
    // change the poem box leaves the user's edit in it.
    document.addEventListener('versomat-shown', () => {
      record = null;
      if (output.value !== typedPoem)
        typedPoem = null;
      keepSoon();
    });
    // The page going out of sight comes before every reload, tab discard and
    // close.
    document.addEventListener('visibilitychange', () => {
      if (document.visibilityState === 'hidden')
        keep();
    });
    addEventListener('pagehide', keep);
  });
})();
