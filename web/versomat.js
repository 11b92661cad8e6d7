// The Versomat page: builds the window's controls from the core's control
// table and wires the buttons to the core's session. Every text, place,
// colour and rule comes from the core; this file only knows the browser.
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

  // The session's list numbers, in the order the binding takes them.
  const LISTS = ['actors', 'objects', 'verbs', 'adjectives'];
  // Where a control goes when the page is too narrow for the drawn layout:
  // each list's column stacked, then the poem buttons, the output and the sheet.
  const REFLOW_RANK = {
    header: 0, example: 1, box: 2, accept: 3, mark: 4,
    generate: 50, random: 51, output: 52, sheet: 53, sheetAccept: 54, credit: 55, sheetShow: 56,
  };
  const READABLE_CONTRAST = 4.5;

  const canvas = document.getElementById('canvas');
  const announcer = document.getElementById('announcer');

  function parseColour(text) {
    const hex = /^#([0-9a-f]{2})([0-9a-f]{2})([0-9a-f]{2})$/i.exec(text);
    if (hex)
      return hex.slice(1).map((part) => parseInt(part, 16));
    return text.match(/[\d.]+/g).slice(0, 3).map(Number);
  }

  function luminance(rgb) {
    const linear = (channel) => {
      const c = channel / 255;
      return c <= 0.04045 ? c / 12.92 : ((c + 0.055) / 1.055) ** 2.4;
    };
    return 0.2126 * linear(rgb[0]) + 0.7152 * linear(rgb[1]) + 0.0722 * linear(rgb[2]);
  }

  function contrast(a, b) {
    const [la, lb] = [luminance(a), luminance(b)];
    return (Math.max(la, lb) + 0.05) / (Math.min(la, lb) + 0.05);
  }

  // The scheme's own text colour where it reads well on the control's colour,
  // otherwise black or white, whichever reads better: a dark scheme's light
  // text would vanish on the yellow headers.
  function readableTextOn(background, systemText) {
    if (contrast(background, systemText) >= READABLE_CONTRAST)
      return systemText;
    const [black, white] = [[0, 0, 0], [255, 255, 255]];
    return contrast(background, black) >= contrast(background, white) ? black : white;
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

  // Gives a control its background, or the scheme's own one for null, and a
  // text colour that reads on it.
  function paint(element, kind, background) {
    element.dataset.background = background ?? '';
    if (!background) {
      element.style.removeProperty('background-color');
      element.style.removeProperty('color');
      return;
    }
    const text = readableTextOn(parseColour(background), systemColour(SYSTEM_TEXT[kind]));
    element.style.backgroundColor = background;
    element.style.color = `rgb(${text.join(',')})`;
  }

  function applyFont(element, font) {
    if (!font.face) {
      element.classList.add('standard-font');
      return;
    }
    element.classList.add(font.face === 'serif' ? 'face-serif' : 'face-sans');
    element.style.fontSize = `${font.points}pt`;
    element.style.fontWeight = font.bold ? 'bold' : 'normal';
    element.style.fontStyle = font.italic ? 'italic' : 'normal';
  }

  function createElementFor(row) {
    switch (row.kind) {
    case 'label': {
      const label = document.createElement('div');
      label.textContent = row.text;
      return label;
    }
    case 'button': {
      const button = document.createElement('button');
      button.type = 'button';
      button.textContent = row.text;
      return button;
    }
    default: {
      const box = document.createElement(row.multiLine ? 'textarea' : 'input');
      if (row.multiLine) {
        box.wrap = row.scrollBars ? 'off' : 'soft';
      } else {
        box.type = 'text';
        // A one-line box otherwise asks for twenty characters' width, which
        // would widen the status marks' column in one-column flow.
        box.size = 1;
      }
      box.value = fromCoreText(row.text);
      // Word lists are German fragments: no spelling marks, no capitals
      // forced on a phone keyboard.
      box.spellcheck = false;
      box.autocomplete = 'off';
      box.setAttribute('autocapitalize', 'off');
      return box;
    }
    }
  }

  function createControl(row) {
    const element = createElementFor(row);
    element.classList.add('control', row.kind);
    element.dataset.role = row.role;
    // A label's own text is its name; the others take the table's.
    if (row.kind !== 'label' && row.accessibleName !== row.text)
      element.setAttribute('aria-label', row.accessibleName);
    if (row.help)
      element.title = fromCoreText(row.help);
    for (const [property, value] of [['left', row.left], ['top', row.top], ['width', row.width],
      ['height', row.height]])
      element.style.setProperty(`--${property}`, `${value}px`);
    const listRank = row.list ? 10 * LISTS.indexOf(row.list) : 0;
    element.style.setProperty('--reflow-order', String(listRank + REFLOW_RANK[row.role]));
    applyFont(element, row.font);
    paint(element, row.kind, row.background);
    element.classList.toggle('scrolls', row.scrollBars);
    element.classList.toggle('centred', row.centred);
    element.classList.toggle('framed', row.framed);
    element.classList.toggle('on-top', row.onTop);
    element.hidden = row.hidden;
    return element;
  }

  function start(core) {
    const table = JSON.parse(core.controlTableJson());
    const session = new core.Session();
    const root = document.documentElement;
    root.style.setProperty('--client-width', `${table.client.width}px`);
    root.style.setProperty('--client-height', `${table.client.height}px`);
    root.style.setProperty('--margin', `${Math.min(...table.controls.map((row) => row.left))}px`);
    root.style.setProperty('--window-background', table.windowBackground);

    const controls = table.controls.map((row) => ({row, element: createControl(row)}));
    canvas.replaceChildren(...controls.map((control) => control.element));
    const find = (role, list = null) =>
      controls.find((control) => control.row.role === role && (list === null || control.row.list === list));

    // Narrower than the drawn window, the controls flow into one column:
    // scaled down to a phone, the 12-point text would shrink below 6 points.
    const wide = matchMedia(`(min-width: ${table.client.width}px)`);
    const layOut = () => {
      root.classList.toggle('designed', wide.matches);
      root.classList.toggle('reflow', !wide.matches);
    };
    wide.addEventListener('change', layOut);
    layOut();
    // Text colours follow the scheme, so a change of scheme repaints.
    matchMedia('(prefers-color-scheme: dark)').addEventListener('change', () => {
      systemColours.clear();
      for (const {row, element} of controls)
        paint(element, row.kind, element.dataset.background || null);
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

    const output = find('output').element;
    const sheet = find('sheet');
    const sheetAccept = find('sheetAccept').element;
    const sheetShow = find('sheetShow').element;
    const hint = document.createElement('div');
    hint.className = 'hint';
    hint.hidden = true;
    // The live region reads the hint; the popup is for the eyes.
    hint.setAttribute('aria-hidden', 'true');
    canvas.append(hint);

    function showPoem(text) {
      output.value = fromCoreText(text);
      output.scrollTop = 0;
      announce(text);
    }

    function clearSheetMark() {
      hint.hidden = true;
      paint(sheet.element, sheet.row.kind, sheet.row.background);
      sheet.element.title = fromCoreText(sheet.row.help);
      sheet.element.removeAttribute('aria-invalid');
    }

    // Counts lines as the core does once toCoreText has converted the text.
    function selectLine(box, line) {
      const lines = box.value.split(FIELD_LINE_BREAK);
      const index = Math.min(Math.max(line, 1), lines.length) - 1;
      const start = lines.slice(0, index).reduce((sum, text) => sum + text.length + 1, 0);
      box.setSelectionRange(start, start + lines[index].length);
    }

    // Shows a note at once above the control, flush with its right edge where
    // the page has room to the left, as the desktop pops a tooltip; it hides
    // no line of a sheet below it.
    function popHint(element, text) {
      hint.textContent = fromCoreText(text);
      hint.hidden = false;
      const right = element.offsetLeft + element.offsetWidth;
      hint.style.left = `${Math.max(0, Math.min(right, canvas.clientWidth) - hint.offsetWidth)}px`;
      hint.style.top = `${element.offsetTop}px`;
    }

    function markSheetRefused(refusal) {
      const box = sheet.element;
      paint(box, sheet.row.kind, table.texts.refusedSheetBackground);
      box.setAttribute('aria-invalid', 'true');
      box.title = fromCoreText(refusal.hint);
      selectLine(box, refusal.line);
      popHint(box, refusal.hint);
      announce(refusal.hint);
    }

    // Hiding the focused button would drop the focus to the page: pass it on
    // to the next control in tab order, as the desktop does.
    function hideSheet() {
      const hadFocus = sheet.element.contains(document.activeElement) || sheetAccept === document.activeElement;
      sheetAccept.hidden = true;
      sheet.element.hidden = true;
      if (hadFocus)
        sheetShow.focus();
    }

    const actions = {
      example: (row) => replaceUndoably(find('box', row.list).element,
        fromCoreText(session.example(LISTS.indexOf(row.list)))),
      accept: (row) => {
        const {summary, tookNothing} =
          session.accept(LISTS.indexOf(row.list), toCoreText(find('box', row.list).element.value));
        const mark = find('mark', row.list);
        mark.element.value = fromCoreText(table.texts.acceptedMark);
        paint(mark.element, mark.row.kind, table.texts.acceptedMarkBackground);
        mark.element.title = fromCoreText(summary);
        // A green mark over an empty list would hide that the poem lacks it.
        if (tookNothing)
          popHint(mark.element, summary);
        announce(summary);
      },
      generate: () => {
        hint.hidden = true;
        showPoem(session.poem());
      },
      random: () => showPoem(session.randomStart()),
      sheetShow: () => {
        clearSheetMark();
        sheetAccept.hidden = false;
        sheet.element.hidden = false;
        sheet.element.value = fromCoreText(session.showSheet());
      },
      sheetAccept: () => {
        const result = session.acceptSheet(toCoreText(sheet.element.value));
        if (!result.accepted) {
          // The sheet stays open with the user's text: nothing was taken.
          markSheetRefused(result);
          return;
        }
        clearSheetMark();
        hideSheet();
      },
    };
    for (const {row, element} of controls) {
      const action = actions[row.role];
      if (row.kind === 'button' && action)
        element.addEventListener('click', () => {
          // A note belongs to the click that showed it.
          hint.hidden = true;
          action(row);
        });
    }
    sheet.element.addEventListener('input', () => {
      hint.hidden = true;
    });

    document.addEventListener('keydown', (event) => {
      if (event.key === 'Enter' && (event.ctrlKey || event.metaKey) && !event.altKey && !event.shiftKey) {
        event.preventDefault();
        actions.generate();
      } else if (event.key === 'Escape') {
        hint.hidden = true;
      }
    });

    controls.find(({row, element}) => row.kind !== 'label' && !element.hidden)?.element.focus();
    root.dataset.ready = '';
  }

  createVersomatCore().then(start);
})();
