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
    let picture = null;
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
    function makeDialog() {
      dialog = document.createElement('dialog');
      dialog.className = 'qr-code';
      dialog.setAttribute('aria-labelledby', 'qr-title');
      const title = document.createElement('h2');
      title.id = 'qr-title';
      title.textContent = texts.qrTitle;
      picture = document.createElement('img');
      picture.alt = texts.qrTitle;
      const buttons = document.createElement('div');
      buttons.className = 'qr-buttons';
      const actions = [
        ['qrSaveSvg', () => download(new Blob([svg], {type: 'image/svg+xml'}), 'svg')],
        ['qrSavePng', savePng],
        ['qrPrint', () => print()],
        ['qrClose', () => dialog.close()],
      ];
      for (const [key, act] of actions) {
        const button = document.createElement('button');
        button.type = 'button';
        button.textContent = texts[key];
        button.addEventListener('click', act);
        buttons.append(button);
      }
      dialog.append(title, picture, buttons);
      document.body.append(dialog);
    }

    // Printed while it is open, the page is the code alone.
    addEventListener('beforeprint', () => {
      document.documentElement.classList.toggle('printing-qr', dialog?.open === true);
    });

    document.addEventListener('versomat-qr-code', async ({detail: {link, say}}) => {
      let code;
      try {
        code = (await qrModule()).qrCodeSvg(link);
      } catch {
        say(texts.qrNotLoaded);
        return;
      }
      if (code === null) {
        say(texts.qrTooLong);
        return;
      }
      if (!dialog)
        makeDialog();
      svg = code;
      picture.src = `data:image/svg+xml,${encodeURIComponent(svg)}`;
      await picture.decode().catch(() => {});
      dialog.showModal();
    });
  });
})();
