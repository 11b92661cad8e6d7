// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Versomat developers
// Lays the started page out: the drawn window where the screen is wide
// enough, one column where it is not, and the poem box fitted to either.
'use strict';

(() => {
  const page = (window.versomatPage ??= {});

  // Whether two boxes share any area; touching is not covering.
  const overlaps = (a, b) => a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;

  // Orders scores of several parts, the first part first.
  const compare = (a, b) => a.map((value, i) => value - b[i]).find((difference) => difference !== 0) ?? 0;

  // How far apart two boxes are, 0 where they touch or overlap.
  function gap(a, b) {
    const x = Math.max(0, a.left - b.right, b.left - a.right);
    const y = Math.max(0, a.top - b.bottom, b.top - a.bottom);
    return Math.hypot(x, y);
  }

  // The best place of a w×h box within width×height that covers none of the
  // blocking boxes: nearest to its own box, then above it, then flush with
  // its right edge, as the desktop pops a tooltip. In its column, above or
  // below it, where the column asks for that. Null where none is free.
  function freePlace(own, w, h, width, height, blocking, inColumn) {
    const xs = new Set([0, width - w, own.right - w, own.left]);
    const ys = new Set([0, height - h, own.top - h, own.bottom]);
    for (const box of blocking) {
      [box.left, box.right, box.left - w, box.right - w].forEach((x) => xs.add(x));
      [box.top, box.bottom, box.top - h, box.bottom - h].forEach((y) => ys.add(y));
    }
    let best = null;
    for (const left of xs) {
      if (left < 0 || left + w > width || (inColumn && (left >= own.right || left + w <= own.left)))
        continue;
      for (const top of ys) {
        if (top < 0 || top + h > height || (inColumn && top + h > own.top && top < own.bottom))
          continue;
        const place = {left, top, right: left + w, bottom: top + h};
        const score = [gap(place, own), top + h <= own.top ? 0 : 1, Math.abs(place.right - own.right)];
        if (best && compare(score, best.score) >= 0)
          continue;
        if (!blocking.some((box) => overlaps(place, box)))
          best = {place, score};
      }
    }
    return best?.place ?? null;
  }

  // A note or help narrower than its text's own width, down to this, wraps
  // into more lines where that finds it a free place nearer its control.
  const NARROWEST_POPUP = 160;

  // The layout of one started page: its controls in the table's order and in
  // the column's order, and the poem box.
  page.createLayout = ({canvas, elements, columnOrder, output}) => {
    const root = document.documentElement;

    // The document's order is the order of Tab and of a screen reader, which
    // CSS order does not change: the table's order, the window's tab order,
    // where the window is drawn; the column's order where the controls flow.
    // The build wrote the column's order, which the page keeps from there.
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
          canvas.moveBefore(element, null);
        else
          canvas.append(element);
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
      // A note or help stands where the controls stood.
      canvas.querySelectorAll('.popup').forEach((popup) => {
        popup.hidden = true;
      });
      root.classList.toggle('designed', wide.matches);
      root.classList.toggle('reflow', !wide.matches);
      output.wrap = wide.matches ? 'off' : 'soft';
      arrange(wide.matches ? elements : columnOrder);
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

    // Scrolls the page only as far as it must to show the box: in one column,
    // where the box grows with the poem, whole where it fits the screen;
    // else from its top down.
    function reveal(box) {
      const rect = box.getBoundingClientRect();
      const screen = root.clientHeight;
      if (root.classList.contains('reflow') && rect.height <= screen) {
        if (rect.top < 0 || rect.bottom > screen)
          box.scrollIntoView({block: 'nearest'});
        return;
      }
      // The heading and the first two lines.
      const firstLines = Math.min(rect.height, 4 * parseFloat(getComputedStyle(box).fontSize));
      if (rect.top < 0 || rect.top + firstLines > screen)
        box.scrollIntoView({block: rect.height <= screen ? 'nearest' : 'start'});
    }

    // Shows a note or a control's help beside the control, covering none of
    // the controls a user reads or presses, nor the spared ones (what the
    // click read, the poem). Yielding ones may be covered where nothing else
    // keeps it in the control's column.
    function placeBeside(popup, own, spared = [], yielding = []) {
      popup.hidden = false;
      popup.style.removeProperty('width');
      if (root.classList.contains('reflow')) {
        // In the column there is no room beside a control: the popup goes
        // under the control's row and pushes what follows down.
        const top = own.getBoundingClientRect().top;
        let after = own;
        for (let next = own.nextElementSibling; next?.classList.contains('control') && !next.hidden &&
          next.getBoundingClientRect().top === top; next = next.nextElementSibling)
          after = next;
        after.after(popup);
        return;
      }
      const origin = canvas.getBoundingClientRect();
      const boxOf = (element) => {
        const rect = element.getBoundingClientRect();
        return {left: rect.left - origin.left, right: rect.right - origin.left, top: rect.top - origin.top,
          bottom: rect.bottom - origin.top};
      };
      const ownBox = boxOf(own);
      // Text boxes the user is not at may be covered; every caption, button
      // and mark stays in sight, and so do the page's own buttons beside it.
      const shown = [...canvas.querySelectorAll('.control, .popup'), ...document.querySelectorAll('.poem-actions button')]
        .filter((element) => element !== popup && !element.hidden);
      const blocks = (element) => element.localName !== 'textarea' || element === own || spared.includes(element);
      const strict = shown.filter((element) => blocks(element) || yielding.includes(element)).map(boxOf);
      const lenient = shown.filter(blocks).map(boxOf);
      const width = root.clientWidth - origin.left;
      const height = canvas.clientHeight;
      // Rounded up, or the text would wrap at its own width.
      const natural = Math.ceil(popup.getBoundingClientRect().width);
      const widths = [1, 0.8, 0.64, 0.5].map((share) => natural * share)
        .filter((w, i) => i === 0 || w >= NARROWEST_POPUP);
      for (const [blocking, inColumn] of [[strict, true], [lenient, true], [strict, false]]) {
        let found = null;
        for (const w of widths) {
          popup.style.width = `${w}px`;
          const place = freePlace(ownBox, w, popup.offsetHeight, width, height, blocking, inColumn);
          if (place && (!found || gap(place, ownBox) < found.distance))
            found = {place, w, distance: gap(place, ownBox)};
        }
        if (found) {
          popup.style.width = `${found.w}px`;
          popup.style.left = `${found.place.left}px`;
          popup.style.top = `${found.place.top}px`;
          return;
        }
      }
      // Nowhere free: under its control, as a tooltip would be.
      popup.style.width = `${natural}px`;
      popup.style.left = `${Math.max(0, Math.min(ownBox.right, width) - natural)}px`;
      popup.style.top = `${ownBox.bottom}px`;
    }

    return {fitPoemBox, reveal, placeBeside};
  };
})();
