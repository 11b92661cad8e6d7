// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Versomat developers
// The page's own ways to keep a poem, outside the window's controls: copy it,
// print it alone, or send it as a link that shows the same poem to anyone
// who opens it and goes on as the sender's page would; and hand out the
// accepted word lists as a link that starts a fresh page with them; either
// link also as a QR code (qr_code.js, in the QR module). A link
// lives in the address's fragment, so it never reaches a server. The buttons
// stand in index.html, so that they are there at the first paint; every text
// comes from the core, and so does the link's format: the core gives the
// bytes, the browser's own stream compresses them, the core frames them.
'use strict';

(() => {
  // Long enough to read the longest answer at leisure.
  const NOTE_SHOWN_MS = 8000;
  // Where the release will be served, written into a released page: a page
  // opened from disk makes its links for there.
  const PUBLIC_ADDRESS = document.querySelector('meta[name="versomat-address"]')?.content;

  const streamed = (bytes, stream) => new Blob([bytes]).stream().pipeThrough(stream);
  async function deflated(bytes) {
    return new Uint8Array(await new Response(streamed(bytes, new CompressionStream('deflate-raw'))).arrayBuffer());
  }
  // The inflated bytes, or null for a damaged stream or one that would give
  // more than limit bytes: reading stops there, so a small link cannot fill
  // the memory.
  async function inflated(bytes, limit) {
    const chunks = [];
    let size = 0;
    try {
      const reader = streamed(bytes, new DecompressionStream('deflate-raw')).getReader();
      for (let read = await reader.read(); !read.done; read = await reader.read()) {
        if ((size += read.value.length) > limit) {
          reader.cancel().catch(() => {});
          return null;
        }
        chunks.push(read.value);
      }
    } catch {
      return null;
    }
    const whole = new Uint8Array(size);
    chunks.reduce((at, chunk) => (whole.set(chunk, at), at + chunk.length), 0);
    return whole;
  }

  whenVersomatStarts(({core, session, show, announce, output, texts}) => {
    // What each kind of link says, by the core's name for the kind.
    const KINDS = {
      gedicht: {none: texts.noPoemToLink, shared: texts.linkShared, copied: texts.linkCopied, field: texts.linkField,
        bad: texts.badLink, qrTitle: texts.qrPoemTitle},
      wortlisten: {none: texts.noListsToLink, shared: texts.listsShared, copied: texts.listsCopied,
        field: texts.listsField, bad: texts.badListsLink, qrTitle: texts.qrListsTitle},
    };
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
    const hasPoem = () => session.linkPayload('gedicht') !== null;

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

    // The address a link is made on: the page's own where it is served, the
    // release's public address for a page from disk, else the file, which
    // opens on this computer only; local then says so.
    function linkBase() {
      const served = /^https?:$/.test(location.protocol);
      const url = new URL(served || !PUBLIC_ADDRESS ? location.href : PUBLIC_ADDRESS);
      return {url, local: !served && !PUBLIC_ADDRESS};
    }

    // A kind's link as the address that opens it, and whether it opens on
    // this computer only; null while there is nothing to link.
    async function linkOf(kind) {
      const payload = session.linkPayload(kind);
      if (payload === null)
        return null;
      const {url, local} = linkBase();
      url.hash = core.linkOfDeflated(kind, await deflated(payload));
      return {url, local};
    }

    // The kind of link last shared, which the QR code shows first.
    let lastShared = null;

    async function shareLink(kind) {
      const says = KINDS[kind];
      const link = await linkOf(kind);
      if (link === null) {
        say(says.none);
        return;
      }
      const {url, local} = link;
      lastShared = kind;
      const said = (text) => (local ? `${text} ${texts.localLink}` : text);
      // A phone's share sheet where there is one, with the poem's text. A
      // user who closes it has shared nothing and asked for nothing else; a
      // sheet that refuses (no user gesture left, a policy, a link too long)
      // leaves the copy.
      if (navigator.share) {
        try {
          await navigator.share({title: document.title, url: url.href,
            ...(kind === 'gedicht' ? {text: output.value} : {})});
          say(said(says.shared));
          return;
        } catch (error) {
          if (error?.name === 'AbortError') {
            quiet();
            return;
          }
        }
      }
      linkField.setAttribute('aria-label', says.field);
      if (await copyText(url.href))
        say(said(says.copied));
      else
        say(said(texts.linkNotCopied), url.href);
    }

    // The QR code and its dialog (qr_code.js) come with the QR module, loaded
    // on the first request only. A classic script, as a module would not run
    // from file://; the page in one file holds its text instead of its name.
    let qrLoading = null;
    function loadQrCode() {
      qrLoading ??= new Promise((resolve, reject) => {
        const holder = document.getElementById('qr-module');
        const script = document.createElement('script');
        if (holder.dataset.src) {
          script.src = holder.dataset.src;
          script.addEventListener('load', resolve);
          script.addEventListener('error', reject);
        } else {
          script.text = holder.textContent;
        }
        document.head.append(script);
        if (!holder.dataset.src)
          resolve();
      }).catch((error) => {
        // The next click tries again: the network may be back.
        qrLoading = null;
        throw error;
      });
      return qrLoading;
    }

    // qr_code.js shows the code of either link, and answers here where it
    // cannot. A teacher who has just shared one kind wants that one's code;
    // otherwise the poem's where there is one, else the word lists'.
    async function showQrCode() {
      try {
        await loadQrCode();
      } catch {
        say(texts.qrNotLoaded);
        return;
      }
      const kinds = Object.keys(KINDS);
      const choices = kinds.map((kind) => ({label: KINDS[kind].field, title: KINDS[kind].qrTitle,
        none: KINDS[kind].none, link: async () => {
          const link = await linkOf(kind);
          return link && {href: link.url.href, note: link.local ? texts.localLink : null};
        }}));
      const preferred = lastShared ?? (hasPoem() ? 'gedicht' : 'wortlisten');
      document.dispatchEvent(new CustomEvent('versomat-qr-code',
        {detail: {choices, preferred: kinds.indexOf(preferred), say}}));
    }

    const handlers = {copy: copyPoem, print: printPoem, link: () => shareLink('gedicht'),
      lists: () => shareLink('wortlisten'), qr: showQrCode};
    for (const button of actions.querySelectorAll('[data-action]'))
      button.addEventListener('click', handlers[button.dataset.action]);

    // A link opened, or pasted into the address of the open page. Opened
    // once: the address loses it, so that a reload goes on with what the
    // user did since instead of starting from the link again. A link of the
    // older format is read by the core alone.
    async function openLink() {
      const fragment = location.hash.slice(1);
      const kind = core.linkKindOf(fragment);
      if (kind === null)
        return;
      const url = new URL(location.href);
      url.hash = '';
      try {
        history.replaceState(history.state, '', url.href);
      } catch {
        // A browser that refuses it for a page opened from disk: the link
        // then stays, and a reload opens it again, as it did before.
      }
      const bytes = core.deflatedOfLink(fragment);
      const payload = bytes && await inflated(bytes, core.maxLinkPayload());
      const answer = bytes ? payload && session.openPayload(kind, payload) : session.openLink(fragment);
      if (answer)
        show(answer);
      else
        say(KINDS[kind].bad);
    }
    addEventListener('hashchange', openLink);
    openLink();
  });
})();
