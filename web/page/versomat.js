// The Versomat page: wires the window's controls, which the build wrote into
// index.html from the core's control table, to the core's session. Every
// text, place, colour and rule comes from the core; this file only knows the
// browser.
'use strict';

(() => {
  // The core writes line breaks as "\r\n", text fields hold "\n". These two
  // are the only place that converts between them; a pasted line or
  // paragraph separator breaks a line too.
  const FIELD_LINE_BREAK = /\r\n|[\r\n\u2028\u2029]/;
  function fromCoreText(text) {
    return text.replaceAll('\r\n', '\n');
  }
  function toCoreText(text) {
    return text.replace(new RegExp(FIELD_LINE_BREAK, 'g'), '\r\n');
  }

  const canvas = document.getElementById('canvas');
  const announcer = document.getElementById('announcer');

  function parseColour(text) {
    const hex = /^#([0-9a-f]{2})([0-9a-f]{2})([0-9a-f]{2})$/i.exec(text);
    if (hex)
      return hex.slice(1).map((part) => parseInt(part, 16));
    return text.match(/[\d.]+/g).slice(0, 3).map(Number);
  }

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

  const SYSTEM_TEXT = {label: 'CanvasText', button: 'ButtonText', textbox: 'FieldText'};

  const packed = (rgb) => (rgb[0] << 16) | (rgb[1] << 8) | rgb[2];

  // Gives a control its background, or the scheme's own one for null, and the
  // text colour the core finds readable on it.
  function paint(core, element, kind, background) {
    element.dataset.background = background ?? '';
    if (!background) {
      element.style.removeProperty('background-color');
      element.style.removeProperty('color');
      return;
    }
    element.style.backgroundColor = background;
    element.style.color = core.readableText(packed(parseColour(background)), packed(systemColour(SYSTEM_TEXT[kind])));
  }

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
    rows.forEach((row, i) => {
      const element = elements[i];
      // A label's own text is its name; the others take the table's.
      if (row.kind !== 'label' && row.accessibleName !== row.text)
        element.setAttribute('aria-label', row.accessibleName);
      if (row.help)
        element.title = fromCoreText(row.help);
      // The build painted for black system text; the scheme may want another.
      paint(core, element, row.kind, row.background);
    });
    document.getElementById('unavailable').remove();
    const output = elements[rows.findIndex((row) => row.role === 'output')];

    const hint = document.createElement('div');
    hint.className = 'hint';
    hint.hidden = true;
    // The live region reads the note; the popup is for the eyes.
    hint.setAttribute('aria-hidden', 'true');
    canvas.append(hint);

    // The document's order is the order of Tab and of a screen reader, which
    // CSS order does not change: the table's order, the window's tab order,
    // where the window is drawn; the column's order where the controls flow.
    // The build wrote the column's order, which the page keeps from there.
    const tableOrder = elements;
    const columnOrder = [...built.values()];
    function arrange(order) {
      // The build wrote the column's order; reading scroll positions would
      // lay the page out again for nothing.
      const placed = [...canvas.children].filter((child) => child.classList.contains('control'));
      if (order.every((element, i) => placed[i] === element))
        return;
      const focused = document.activeElement;
      const selection = focused?.selectionStart === undefined || focused.selectionStart === null ? null
        : [focused.selectionStart, focused.selectionEnd, focused.selectionDirection];
      const scrolled = elements.map((element) => [element.scrollTop, element.scrollLeft]);
      // moveBefore keeps focus, selection and undo; where it is missing, a
      // moved control loses its focus and gets it back below.
      for (const element of order) {
        if (canvas.moveBefore)
          canvas.moveBefore(element, hint);
        else
          canvas.insertBefore(element, hint);
      }
      elements.forEach((element, i) => [element.scrollTop, element.scrollLeft] = scrolled[i]);
      if (focused instanceof HTMLElement && document.activeElement !== focused) {
        focused.focus({preventScroll: true});
        if (selection)
          focused.setSelectionRange(...selection);
      }
    }

    // A poem's lines wrap to a narrow screen, and its box grows with it, so
    // the page's scroll is the only one. The page keeps its height while the
    // box is measured, or the browser would pull a reader at the bottom up.
    function fitPoemBox() {
      output.style.removeProperty('height');
      if (!root.classList.contains('reflow'))
        return;
      canvas.style.minHeight = `${canvas.offsetHeight}px`;
      output.style.height = `${output.scrollHeight + output.offsetHeight - output.clientHeight}px`;
      canvas.style.removeProperty('min-height');
    }

    // Where the poem box is drawn, its height holds whole lines: the line
    // height is stretched or shrunk a little so that no line shows half, with
    // whatever scroll bar the browser draws.
    function fitWholeLines(box) {
      box.style.removeProperty('line-height');
      if (!root.classList.contains('designed'))
        return;
      const style = getComputedStyle(box);
      const room = box.clientHeight - parseFloat(style.paddingTop) - parseFloat(style.paddingBottom);
      // The faces' own line height, about 1.15 of the font size.
      const lines = Math.max(1, Math.round(room / (1.15 * parseFloat(style.fontSize))));
      box.style.lineHeight = `${room / lines}px`;
    }

    // Narrower than the drawn window, the controls flow into one column:
    // scaled down to a phone, the 12-point text would shrink below 6 points.
    const wide = matchMedia(root.dataset.wide);
    const layOut = () => {
      hint.hidden = true;
      root.classList.toggle('designed', wide.matches);
      root.classList.toggle('reflow', !wide.matches);
      output.wrap = wide.matches ? 'off' : 'soft';
      arrange(wide.matches ? tableOrder : columnOrder);
      fitWholeLines(output);
      fitPoemBox();
    };
    wide.addEventListener('change', layOut);
    layOut();
    // A narrower column wraps the poem into more lines.
    let laidOutWidth = innerWidth;
    addEventListener('resize', () => {
      if (innerWidth !== laidOutWidth)
        fitPoemBox();
      laidOutWidth = innerWidth;
    });
    // Text colours follow the scheme, so a change of scheme repaints.
    matchMedia('(prefers-color-scheme: dark)').addEventListener('change', () => {
      systemColours.clear();
      rows.forEach((row, i) => paint(core, elements[i], row.kind, elements[i].dataset.background || null));
    });

    function announce(text) {
      // A fresh node each time, so that the same text twice is read twice.
      const message = document.createElement('p');
      message.textContent = fromCoreText(text);
      announcer.replaceChildren(message);
    }

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

    // Shows a note at once, flush with its control's right edge where the
    // page has room to the left, as the desktop pops a tooltip: above the
    // control, else below it, else above or below everything it must not
    // hide (the control, the text the click read, the poem).
    function popHint(element, text, spared) {
      hint.textContent = fromCoreText(text);
      hint.hidden = false;
      const origin = canvas.getBoundingClientRect();
      const boxes = [element, ...spared].filter((other) => !other.hidden).map((other) => {
        const rect = other.getBoundingClientRect();
        return {left: rect.left - origin.left, right: rect.right - origin.left, top: rect.top - origin.top,
          bottom: rect.bottom - origin.top};
      });
      const [own] = boxes;
      const width = hint.offsetWidth;
      const height = hint.offsetHeight;
      const left = Math.max(0, Math.min(own.right, canvas.clientWidth) - width);
      const top = Math.min(...boxes.map((box) => box.top));
      const bottom = Math.max(...boxes.map((box) => box.bottom));
      const fits = (y) => y >= 0 && y + height <= canvas.clientHeight && boxes.every((box) =>
        box.right <= left || left + width <= box.left || box.bottom <= y || y + height <= box.top);
      const y = [own.top - height, own.bottom, top - height].find(fits) ?? bottom;
      hint.style.left = `${left}px`;
      hint.style.top = `${y}px`;
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

    // Scrolls the page only as far as it must to show the top of the box:
    // the whole box where it fits the screen, else from its top down.
    function revealTop(box) {
      const rect = box.getBoundingClientRect();
      const screen = document.documentElement.clientHeight;
      // The heading and the first two lines.
      const firstLines = Math.min(rect.height, 4 * parseFloat(getComputedStyle(box).fontSize));
      if (rect.top >= 0 && rect.top + firstLines <= screen)
        return;
      box.scrollIntoView({block: rect.height <= screen ? 'nearest' : 'start'});
    }

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
        paint(core, element, row.kind, change.background);
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
      hint.hidden = true;
      answer.changes.forEach((change) => apply(change, button));
      const changed = answer.changes.map((change) => elements[change.control]);
      if (changed.includes(output)) {
        fitPoemBox();
        revealTop(output);
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
        const spared = [output];
        if (button !== null)
          spared.push(elements[button]);
        if (reads !== null)
          spared.push(elements[reads]);
        popHint(elements[answer.note.control], answer.note.text, spared);
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
          hint.hidden = true;
          if (element === output)
            fitPoemBox();
        });
    });

    const generate = rows.findIndex((row) => row.role === 'generate');
    document.addEventListener('keydown', (event) => {
      if (event.key === 'Enter' && (event.ctrlKey || event.metaKey) && !event.altKey && !event.shiftKey) {
        event.preventDefault();
        press(generate);
      } else if (event.key === 'Escape') {
        hint.hidden = true;
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
