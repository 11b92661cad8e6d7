// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Versomat developers
// Shows what the core answers: a control's colours, text, visibility and
// help, the popup note beside a control and the screen reader's announcement.
// versomat.js decides when; this file knows how the browser shows it.
'use strict';

(() => {
  const page = (window.versomatPage ??= {});

  // The core writes line breaks as "\r\n", text fields hold "\n". These two
  // are the only place that converts between them; a pasted line or
  // paragraph separator breaks a line too.
  const FIELD_LINE_BREAK = /\r\n|[\r\n\u2028\u2029]/;
  page.fromCoreText = (text) => text.replaceAll('\r\n', '\n');
  page.toCoreText = (text) => text.replace(new RegExp(FIELD_LINE_BREAK, 'g'), '\r\n');
  const {fromCoreText} = page;

  function parseColour(text) {
    const hex = /^#([0-9a-f]{2})([0-9a-f]{2})([0-9a-f]{2})$/i.exec(text);
    if (hex)
      return hex.slice(1).map((part) => parseInt(part, 16));
    return text.match(/[\d.]+/g).slice(0, 3).map(Number);
  }

  const SYSTEM_TEXT = {label: 'CanvasText', button: 'ButtonText', textbox: 'FieldText'};

  const packed = (rgb) => (rgb[0] << 16) | (rgb[1] << 8) | rgb[2];

  // Replaces the box's whole text as one edit the browser can undo.
  function replaceUndoably(box, text) {
    const focused = document.activeElement;
    // The edit needs the focus for a moment; a phone's keyboard must not
    // flash up for it.
    const inputMode = box.inputMode;
    box.inputMode = 'none';
    box.focus({preventScroll: true});
    box.select();
    if (!document.execCommand('insertText', false, text))
      box.setRangeText(text, 0, box.value.length, 'start');
    box.setSelectionRange(0, 0);
    box.scrollTop = 0;
    box.scrollLeft = 0;
    if (focused instanceof HTMLElement && focused !== box)
      focused.focus({preventScroll: true});
    box.inputMode = inputMode;
  }

  // Counts lines as the core does once toCoreText has converted the text.
  function selectLine(box, line) {
    const lines = box.value.split(FIELD_LINE_BREAK);
    const index = Math.min(Math.max(line, 1), lines.length) - 1;
    const start = lines.slice(0, index).reduce((sum, text) => sum + text.length + 1, 0);
    box.setSelectionRange(start, start + lines[index].length);
  }

  // The rendering of one started page: its controls in the table's order.
  // A popup for the eyes only: the control's description or the live region
  // already says its text to a screen reader.
  page.createPopup = (canvas, kind) => {
    const popup = document.createElement('div');
    popup.className = `popup ${kind}`;
    popup.hidden = true;
    popup.setAttribute('aria-hidden', 'true');
    canvas.append(popup);
    return popup;
  };

  page.createRenderer = ({core, rows, elements, canvas, announcer, placeBeside}) => {
    // Each lookup forces a style pass, so the scheme's colours are looked up
    // once per scheme.
    const probe = document.createElement('span');
    probe.hidden = true;
    document.body.append(probe);
    const systemColours = new Map();
    function systemColour(keyword) {
      if (!systemColours.has(keyword)) {
        probe.style.color = keyword;
        systemColours.set(keyword, parseColour(getComputedStyle(probe).color));
      }
      return systemColours.get(keyword);
    }

    // Gives a control its background, or the scheme's own one for null, and
    // the text colour the core finds readable on it.
    function paint(element, kind, background) {
      element.dataset.background = background ?? '';
      if (!background) {
        element.style.removeProperty('background-color');
        element.style.removeProperty('color');
        return;
      }
      element.style.backgroundColor = background;
      element.style.color = core.readableText(packed(parseColour(background)), packed(systemColour(SYSTEM_TEXT[kind])));
    }

    // Text colours follow the scheme, so a change of scheme repaints.
    function repaint() {
      systemColours.clear();
      rows.forEach((row, i) => paint(elements[i], row.kind, elements[i].dataset.background || null));
    }

    const hint = page.createPopup(canvas, 'hint');
    const hideHint = () => {
      hint.hidden = true;
    };

    // Shows a note at once beside its control, as the desktop pops a
    // tooltip, covering neither the controls a user needs next nor the
    // spared ones; the yielding ones only where nothing else keeps the note
    // by its control.
    function popHint(element, text, spared, yielding) {
      hint.textContent = fromCoreText(text);
      placeBeside(hint, element, spared, yielding);
    }

    function announce(text) {
      // A fresh node each time, so that the same text twice is read twice.
      const message = document.createElement('p');
      message.textContent = fromCoreText(text);
      announcer.replaceChildren(message);
    }

    // Hiding the focused control would drop the focus to the page: it goes
    // back to the button that showed the control, else on to the next
    // control in tab order, as the desktop does.
    const shownBy = new Map();
    function hide(element) {
      const hadFocus = element.contains(document.activeElement);
      element.hidden = true;
      if (!hadFocus)
        return;
      const opener = shownBy.get(element);
      if (opener && !opener.hidden) {
        opener.focus();
        return;
      }
      const controls = [...canvas.children];
      controls.slice(controls.indexOf(element) + 1)
        .find((other) => other.matches('button, input, textarea') && !other.hidden)?.focus();
    }

    // One change of the core's answer to a click on the button (null for
    // the page's own).
    function apply(change, button) {
      const element = elements[change.control];
      const row = rows[change.control];
      if (change.text !== undefined) {
        const text = fromCoreText(change.text);
        if (change.undoable) {
          replaceUndoably(element, text);
        } else {
          element.value = text;
          element.scrollTop = 0;
        }
      }
      if (change.background !== undefined)
        paint(element, row.kind, change.background);
      if (change.help !== undefined)
        element.title = fromCoreText(change.help);
      if (change.visible === true) {
        element.hidden = false;
        if (button !== null)
          shownBy.set(element, elements[button]);
      }
      else if (change.visible === false)
        hide(element);
      if (change.refused !== undefined)
        element.toggleAttribute('aria-invalid', change.refused);
      if (change.selectLine > 0)
        selectLine(element, change.selectLine);
    }

    return {paint, repaint, hint, hideHint, popHint, announce, apply};
  };
})();
