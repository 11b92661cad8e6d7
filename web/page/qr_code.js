// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Versomat developers
// The link's QR code, as large as the screen allows, so that a phone's camera
// opens the poem from a projector across a classroom; saved as SVG or PNG or
// printed, for a worksheet. The build appends this to the core's QR module,
// versomat_qr.js, which poem_actions.js loads on the first request only (most
// visits never make one) and then asks with the event 'versomat-qr-code'.
'use strict';

(() => {
  // The name a saved picture is offered under.
  const FILE_NAME = 'versomat-qr-code';

  whenVersomatStarts(({texts}) => {
    // One module for the page's life; one that failed is made again.
    let made = null;
    const qrModule = () => (made ??= createVersomatQr().catch((error) => {
      made = null;
      throw error;
    }));

    let dialog = null;
    let title = null;
    let note = null;
    let picture = null;
    let choosers = [];
    // What the open dialog offers: per link, its texts and, where there is
    // a link that fits a QR code, its SVG.
    let offered = [];
    let svg = '';
    function download(blob, extension) {
      const anchor = document.createElement('a');
      anchor.href = URL.createObjectURL(blob);
      anchor.download = `${FILE_NAME}.${extension}`;
      anchor.click();
      setTimeout(() => URL.revokeObjectURL(anchor.href));
    }
    // The PNG at the picture's own size, which the core makes a whole number
    // of pixels per module, so that every module stays sharp.
    function savePng() {
      const canvas = document.createElement('canvas');
      canvas.width = picture.naturalWidth;
      canvas.height = picture.naturalHeight;
      const context = canvas.getContext('2d');
      context.imageSmoothingEnabled = false;
      context.drawImage(picture, 0, 0);
      canvas.toBlob((blob) => download(blob, 'png'), 'image/png');
    }
    function button(text, act) {
      const element = document.createElement('button');
      element.type = 'button';
      element.textContent = text;
      element.addEventListener('click', act);
      return element;
    }
    function makeDialog() {
      dialog = document.createElement('dialog');
      dialog.className = 'qr-code';
      dialog.setAttribute('aria-labelledby', 'qr-title');
      title = document.createElement('h2');
      title.id = 'qr-title';
      // Which link the code holds, where there is more than one to offer.
      const chooser = document.createElement('div');
      chooser.className = 'qr-buttons';
      note = document.createElement('p');
      picture = document.createElement('img');
      const buttons = document.createElement('div');
      buttons.className = 'qr-buttons';
      buttons.append(button(texts.qrSaveSvg, () => download(new Blob([svg], {type: 'image/svg+xml'}), 'svg')),
        button(texts.qrSavePng, savePng), button(texts.qrPrint, () => print()),
        button(texts.qrClose, () => dialog.close()));
      dialog.append(title, chooser, note, picture, buttons);
      document.body.append(dialog);
    }
    async function choose(index) {
      const choice = offered[index];
      svg = choice.svg;
      title.textContent = choice.title;
      picture.alt = choice.title;
      note.textContent = choice.note ?? '';
      note.hidden = !choice.note;
      choosers.forEach((chooser, i) => chooser.setAttribute('aria-pressed', String(i === index)));
      picture.src = `data:image/svg+xml,${encodeURIComponent(svg)}`;
      await picture.decode().catch(() => {});
    }

    // Printed while it is open, the page is the code alone.
    addEventListener('beforeprint', () => {
      document.documentElement.classList.toggle('printing-qr', dialog?.open === true);
    });

    // choices: the links to offer, each {label, title, none, link}, where
    // link() gives {href, note} or null while there is nothing to link;
    // preferred: the one to show first where it can be shown.
    document.addEventListener('versomat-qr-code', async ({detail: {choices, preferred, say}}) => {
      let qr;
      try {
        qr = await qrModule();
      } catch {
        say(texts.qrNotLoaded);
        return;
      }
      const links = await Promise.all(choices.map((choice) => choice.link()));
      offered = choices.map((choice, i) => ({...choice, note: links[i]?.note,
        svg: links[i] && qr.qrCodeSvg(links[i].href)}));
      const shown = offered[preferred].svg ? preferred : offered.findIndex((choice) => choice.svg);
      if (shown < 0) {
        say(links[preferred] ? texts.qrTooLong : choices[preferred].none);
        return;
      }
      if (!dialog)
        makeDialog();
      const chooser = title.nextElementSibling;
      choosers = offered.length > 1 ? offered.map((choice, i) => {
        const element = button(choice.label, () => choose(i));
        element.disabled = !choice.svg;
        return element;
      }) : [];
      chooser.replaceChildren(...choosers);
      chooser.hidden = choosers.length === 0;
      await choose(shown);
      dialog.showModal();
    });
  });
})();
