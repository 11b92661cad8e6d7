// Lays the started page out: the drawn window where the screen is wide
// enough, one column where it is not, and the poem box fitted to either.
'use strict';

(() => {
  const page = (window.versomatPage ??= {});

  // The layout of one started page: its controls in the table's order and in
  // the column's order, the poem box, and the note to hide when the controls
  // move.
  page.createLayout = ({canvas, elements, columnOrder, output, hint, hideHint}) => {
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
      hideHint();
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

    // Scrolls the page only as far as it must to show the top of the box:
    // the whole box where it fits the screen, else from its top down.
    function revealTop(box) {
      const rect = box.getBoundingClientRect();
      const screen = root.clientHeight;
      // The heading and the first two lines.
      const firstLines = Math.min(rect.height, 4 * parseFloat(getComputedStyle(box).fontSize));
      if (rect.top >= 0 && rect.top + firstLines <= screen)
        return;
      box.scrollIntoView({block: rect.height <= screen ? 'nearest' : 'start'});
    }

    return {fitPoemBox, revealTop};
  };
})();
