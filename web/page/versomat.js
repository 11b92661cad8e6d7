// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Versomat developers
// The Versomat page: wires the window's controls, which the build wrote into
// index.html from the core's control table, to the core's session. Every
// text, place, colour and rule comes from the core; render.js shows what it
// answers, layout.js lays the page out and help.js shows a control's help
// without a mouse; this file starts the page and wires the clicks.
'use strict';

(() => {
  const {fromCoreText, toCoreText, createRenderer, createLayout, createHelp} = window.versomatPage;
  const canvas = document.getElementById('canvas');

  function start(core) {
    const table = JSON.parse(core.controlTableJson());
    const session = new core.Session();
    const root = document.documentElement;
    const rows = table.controls;
    // The build wrote the controls into the page; a page built from another
    // table must not start with controls that click the wrong way.
    const built = new Map([...canvas.querySelectorAll('.control')].map((element) => [element.dataset.name, element]));
    const elements = rows.map((row) => built.get(row.name));
    if (built.size !== rows.length || elements.includes(undefined))
      throw new Error('the page holds other controls than the core\'s table');
    const output = elements[rows.findIndex((row) => row.role === 'output')];
    const layout = createLayout({canvas, elements, columnOrder: [...built.values()], output});
    const render = createRenderer({core, rows, elements, canvas, announcer: document.getElementById('announcer'),
      placeBeside: layout.placeBeside});
    const {hint, hideHint, popHint, announce, apply} = render;
    rows.forEach((row, i) => {
      const element = elements[i];
      // A label's own text is its name; the others take the table's.
      if (row.kind !== 'label' && row.accessibleName !== row.text)
        element.setAttribute('aria-label', row.accessibleName);
      if (row.help)
        element.title = fromCoreText(row.help);
      // The build painted for black system text; the scheme may want another.
      render.paint(element, row.kind, row.background);
    });
    document.getElementById('unavailable').remove();
    matchMedia('(prefers-color-scheme: dark)').addEventListener('change', render.repaint);
    const help = createHelp({canvas, placeBeside: layout.placeBeside, noteShown: () => !hint.hidden, spared: [output]});

    // One click: the core answers with what every control then shows.
    function press(button) {
      const reads = rows[button].reads;
      const answer = session.click(button, reads === null ? '' : toCoreText(elements[reads].value));
      if (!answer)
        throw new RangeError(`control ${button} has no click`);
      show(answer, button);
    }

    // Renders an answer of the core, from a click on the button or, for none,
    // from the page itself.
    function show(answer, button = null) {
      const reads = button === null ? null : rows[button].reads;
      // A note belongs to the click that showed it.
      hideHint();
      answer.changes.forEach((change) => apply(change, button));
      const changed = answer.changes.map((change) => elements[change.control]);
      if (changed.includes(output)) {
        layout.fitPoemBox();
        layout.reveal(output);
      }
      // A box the click opened is there to be typed in, with the button that
      // hands it over below it.
      const opened = answer.changes.filter((change) => change.visible === true).map((change) => elements[change.control]);
      const box = opened.find((element) => element.localName === 'textarea');
      if (box) {
        box.focus({preventScroll: true});
        opened.forEach((element) => element.scrollIntoView({block: 'nearest'}));
        box.scrollIntoView({block: 'nearest'});
      }
      if (answer.note) {
        // The note speaks of the click, not of the focused control.
        help.hide();
        // The text the click read may yield to keep the note by its control.
        const spared = button === null ? [output] : [output, elements[button]];
        popHint(elements[answer.note.control], answer.note.text, spared, reads === null ? [] : [elements[reads]]);
      }
      if (answer.announcement)
        announce(answer.announcement);
      document.dispatchEvent(new Event('versomat-shown'));
    }

    rows.forEach((row, i) => {
      const element = elements[i];
      if (row.kind === 'button')
        element.addEventListener('click', () => press(i));
      if (row.selectsStartText) {
        // Posted as well, so that a click's own placing of the caret comes
        // first. By then a quick Tab may have left the box, and selecting
        // would pull the focus back into it.
        const selectStartText = () => {
          if (document.activeElement === element && toCoreText(element.value) === row.text)
            element.select();
        };
        element.addEventListener('focus', () => {
          selectStartText();
          setTimeout(selectStartText);
        });
        // Firefox, once the focus last moved by keyboard, places the caret of
        // the click that focuses the box on release, after both of the above.
        element.addEventListener('mousedown', () => {
          if (document.activeElement !== element)
            element.addEventListener('click', selectStartText, {once: true});
        });
      }
      if (row.kind === 'textbox')
        element.addEventListener('input', () => {
          hideHint();
          if (element === output)
            layout.fitPoemBox();
        });
    });

    const generate = rows.findIndex((row) => row.role === 'generate');
    document.addEventListener('keydown', (event) => {
      if (event.key === 'Enter' && (event.ctrlKey || event.metaKey) && !event.altKey && !event.shiftKey) {
        event.preventDefault();
        press(generate);
      } else if (event.key === 'Escape') {
        hideHint();
        help.hide();
      }
    });

    elements.find((element, i) => rows[i].kind !== 'label' && !element.hidden)?.focus();
    root.dataset.ready = '';
    // Page-only features beside this file wait for the built controls
    // (whenVersomatStarts in index.html), and show what they have through the
    // same rendering.
    document.dispatchEvent(new CustomEvent('versomat-ready',
      {detail: {core, session, show, announce, rows, output, texts: table.pageTexts}}));
  }

  createVersomatCore().then(start);
})();
