// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Versomat developers
// A control's help, which a mouse reads as its tooltip, shown for a finger
// and for the keyboard too: a phone shows no tooltips, and Tab brings up
// none. It stands under the control in one column and beside it where the
// window is drawn; there a mouse keeps its tooltips, and the page's own focus
// at start shows nothing until the user acts.
'use strict';

(() => {
  const page = (window.versomatPage ??= {});

  // The help of one started page; it covers none of the spared controls.
  page.createHelp = ({canvas, placeBeside, noteShown, spared}) => {
    const root = document.documentElement;
    const help = page.createPopup(canvas, 'help');

    const hide = () => {
      help.hidden = true;
    };

    // How the user last acted: a pointer's type or 'keyboard'; null until
    // then.
    let input = null;
    addEventListener('keydown', () => {
      input = 'keyboard';
    }, true);
    addEventListener('pointerdown', (event) => {
      input = event.pointerType || 'mouse';
    }, true);

    // Shows the help of the focused control, or of the one clicked where a
    // click does not focus a button (Safari).
    function follow(clicked = null) {
      const focused = document.activeElement;
      const element = focused?.classList.contains('control') ? focused : clicked;
      const reflow = root.classList.contains('reflow');
      if (input === null || !element?.title || noteShown() || (!reflow && input === 'mouse')) {
        hide();
        return;
      }
      help.textContent = element.title;
      placeBeside(help, element, spared);
      if (!reflow)
        return;
      // Brought into view below, as far as the control stays in view above.
      const view = window.visualViewport;
      const screenBottom = view ? view.offsetTop + view.height : innerHeight;
      const below = help.getBoundingClientRect().bottom - screenBottom;
      if (below > 0)
        scrollBy(0, Math.min(below, element.getBoundingClientRect().top));
    }

    // Tab moves the help along at once. A finger's or a mouse's focus waits
    // for the click: help pushing the column down under a pressed finger
    // would move the button away before it is released. It comes before the
    // click's own work, which may bring the poem into view below it, and
    // follows the focus that work moved.
    document.addEventListener('focusin', () => {
      if (input === 'keyboard')
        follow();
    });
    const followClick = (event) => follow(event.target.closest?.('.control') ?? null);
    document.addEventListener('click', followClick, true);
    document.addEventListener('click', followClick);

    return {hide};
  };
})();
