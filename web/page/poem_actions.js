// The page's own ways to keep a poem, outside the window's controls: copy it,
// print it alone, or send it as a link that shows the same poem to anyone
// who opens it and goes on as the sender's page would. The link lives in the
// address's fragment, so it never reaches a server. The three buttons stand
// in index.html, so that they are there at the first paint.
'use strict';

(() => {
  const LINK_KEY = '#gedicht=';
  const TEXTS = {
    copied: 'Das Gedicht ist in der Zwischenablage.',
    notCopied: 'Kopieren ging nicht: bitte das Gedicht im Textfeld markieren und mit Strg+C kopieren.',
    linkCopied: 'Der Link zum Gedicht ist in der Zwischenablage.',
    linkShared: 'Der Link zum Gedicht ist geteilt.',
    noPoem: 'Noch kein Gedicht: erst ein Gedicht erzeugen, dann gibt es einen Link dazu.',
    badLink: 'Der Link zum Gedicht konnte nicht gelesen werden; Versomat beginnt wie gewohnt.',
  };

  whenVersomatStarts(({session, show, announce, rows, output}) => {
    // What a printer gets: the shown poem alone, whole, as plain text.
    const printed = document.querySelector('.printed-poem');
    const keepPrinted = () => {
      printed.textContent = output.value;
    };
    document.addEventListener('versomat-shown', keepPrinted);
    output.addEventListener('input', keepPrinted);
    addEventListener('beforeprint', keepPrinted);
    keepPrinted();

    async function copyText(text) {
      try {
        await navigator.clipboard.writeText(text);
        return true;
      } catch {
        return false;
      }
    }

    async function copyPoem() {
      announce((await copyText(output.value)) ? TEXTS.copied : TEXTS.notCopied);
    }

    async function sharePoem() {
      const link = session.poemLink();
      if (link === null) {
        announce(TEXTS.noPoem);
        return;
      }
      const url = new URL(location.href);
      url.hash = LINK_KEY.slice(1) + link;
      // A phone's share sheet where there is one; a user who closes it has
      // shared nothing, so nothing is said.
      if (navigator.share) {
        try {
          await navigator.share({title: document.title, text: output.value.split('\n')[0], url: url.href});
          announce(TEXTS.linkShared);
        } catch {
          // Closed, or refused: the copy below serves instead only when refused.
        }
        return;
      }
      announce((await copyText(url.href)) ? TEXTS.linkCopied : TEXTS.notCopied);
    }

    const actions = {copy: copyPoem, print: () => print(), link: sharePoem};
    for (const button of document.querySelectorAll('.poem-actions [data-action]'))
      button.addEventListener('click', actions[button.dataset.action]);

    // A link opened, or pasted into the address of the open page.
    function openLink() {
      if (!location.hash.startsWith(LINK_KEY))
        return;
      const answer = session.openLink(location.hash.slice(LINK_KEY.length));
      if (answer)
        show(answer);
      else
        show({changes: [], note: {control: rows.findIndex((row) => row.role === 'output'), text: TEXTS.badLink},
          announcement: TEXTS.badLink});
    }
    addEventListener('hashchange', openLink);
    openLink();
  });
})();
