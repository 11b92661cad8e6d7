// Keeps what was typed into the four lists and the open sheet for this tab
// only (sessionStorage): a reload or a discarded tab brings the texts back,
// closing the tab forgets them. Nothing is accepted on the way back, so the
// marks stay red and the sheet's values stay the core's until the user
// accepts them.
'use strict';

(() => {
  const KEY = 'versomat-typed-text';

  function read() {
    try {
      const kept = JSON.parse(sessionStorage.getItem(KEY));
      return kept && typeof kept === 'object' ? kept : {};
    } catch {
      // No storage (blocked, or a file the page cannot read): nothing to bring back.
      return {};
    }
  }

  whenVersomatStarts(() => {
    const boxes = [...document.querySelectorAll('[data-role="box"], [data-role="sheet"]')];
    const sheet = document.querySelector('[data-role="sheet"]');
    const showSheet = document.querySelector('[data-role="sheetShow"]');

    // A closed sheet's text is the core's again at the next opening, so only
    // an open sheet is kept.
    function keep() {
      const texts = {};
      for (const box of boxes) {
        if (!box.hidden)
          texts[box.dataset.name] = box.value;
      }
      try {
        sessionStorage.setItem(KEY, JSON.stringify(texts));
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
    // Opened the way the user opens it, which also puts the focus back in
    // it; only the text is then the user's.
    if (typeof kept[sheet.dataset.name] === 'string')
      showSheet.click();
    for (const box of boxes) {
      const text = kept[box.dataset.name];
      if (typeof text === 'string' && !box.hidden)
        box.value = text;
    }

    // Once per burst of edits, after it: a click's or a keystroke's own work
    // does not wait for the storage.
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
    // Examples and accepts change boxes without typing; the page going out
    // of sight comes before every reload, tab discard and close.
    document.addEventListener('visibilitychange', () => {
      if (document.visibilityState === 'hidden')
        keep();
    });
    addEventListener('pagehide', keep);
  });
})();
