// The page's own ways to keep a poem, outside the window's controls: copy it,
// print it alone, or send it as a link that shows the same poem to anyone
// who opens it and goes on as the sender's page would. The link lives in the
// address's fragment, so it never reaches a server. The three buttons stand
// in index.html, so that they are there at the first paint; every text comes
// from the core.
'use strict';

(() => {
  const LINK_KEY = '#gedicht=';
  // Long enough to read the longest answer at leisure.
  const NOTE_SHOWN_MS = 8000;

  whenVersomatStarts(({session, show, announce, output, texts}) => {
    const actions = document.querySelector('.poem-actions');
    // An answer stands beside the buttons, where the user looks after a
    // click, until it has been read or the next action answers; the live
    // region reads it.
    const note = document.createElement('p');
    note.className = 'action-note';
    note.hidden = true;
    note.setAttribute('aria-hidden', 'true');
    // Where neither the share sheet nor the clipboard takes the link, it
    // waits here, selected, to be copied by hand.
    const linkField = document.createElement('input');
    linkField.className = 'action-link';
    linkField.readOnly = true;
    linkField.hidden = true;
    linkField.setAttribute('aria-label', texts.linkField);
    actions.append(note, linkField);
    let fading = 0;
    function quiet() {
      clearTimeout(fading);
      note.hidden = true;
      linkField.hidden = true;
    }
    function say(text, link = null) {
      quiet();
      note.textContent = text;
      note.hidden = false;
      fading = setTimeout(() => {
        note.hidden = true;
      }, NOTE_SHOWN_MS);
      linkField.hidden = link === null;
      if (link !== null) {
        linkField.value = link;
        linkField.focus({preventScroll: true});
        linkField.select();
      }
      // The buttons may stand at the screen's lower edge, and a damaged link
      // is noted before the user has looked anywhere.
      (link === null ? note : linkField).scrollIntoView({block: 'nearest'});
      announce(text);
    }

    // What a printer gets: the shown poem alone, whole, as plain text.
    const printed = document.querySelector('.printed-poem');
    const keepPrinted = () => {
      printed.textContent = output.value;
    };
    document.addEventListener('versomat-shown', keepPrinted);
    output.addEventListener('input', keepPrinted);
    addEventListener('beforeprint', keepPrinted);
    keepPrinted();

    // Before the first poem the box holds its start text or the note that
    // data is missing, neither of them a poem to keep.
    const hasPoem = () => session.poemLink() !== null;

    async function copyText(text) {
      try {
        await navigator.clipboard.writeText(text);
        return true;
      } catch {
        return false;
      }
    }

    async function copyPoem() {
      if (!hasPoem())
        say(texts.noPoemToCopy);
      else
        say((await copyText(output.value)) ? texts.copied : texts.notCopied);
    }

    function printPoem() {
      if (!hasPoem())
        say(texts.noPoemToPrint);
      else
        print();
    }

    async function sharePoem() {
      const link = session.poemLink();
      if (link === null) {
        say(texts.noPoemToLink);
        return;
      }
      const url = new URL(location.href);
      url.hash = LINK_KEY.slice(1) + link;
      // A phone's share sheet where there is one. A user who closes it has
      // shared nothing and asked for nothing else; a sheet that refuses
      // (no user gesture left, a policy, a link too long) leaves the copy.
      if (navigator.share) {
        try {
          await navigator.share({title: document.title, text: output.value.split('\n')[0], url: url.href});
          say(texts.linkShared);
          return;
        } catch (error) {
          if (error?.name === 'AbortError') {
            quiet();
            return;
          }
        }
      }
      if (await copyText(url.href))
        say(texts.linkCopied);
      else
        say(texts.linkNotCopied, url.href);
    }

    const handlers = {copy: copyPoem, print: printPoem, link: sharePoem};
    for (const button of actions.querySelectorAll('[data-action]'))
      button.addEventListener('click', handlers[button.dataset.action]);

    // A link opened, or pasted into the address of the open page. Opened
    // once: the address loses it, so that a reload goes on with what the
    // user did since instead of starting from the link again.
    function openLink() {
      if (!location.hash.startsWith(LINK_KEY))
        return;
      const answer = session.openLink(location.hash.slice(LINK_KEY.length));
      const url = new URL(location.href);
      url.hash = '';
      try {
        history.replaceState(history.state, '', url.href);
      } catch {
        // A browser that refuses it for a page opened from disk: the link
        // then stays, and a reload opens it again, as it did before.
      }
      if (answer)
        show(answer);
      else
        say(texts.badLink);
    }
    addEventListener('hashchange', openLink);
    openLink();
  });
})();
