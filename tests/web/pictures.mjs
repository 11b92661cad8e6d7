// Renews the web edition's pictures in docs/ from the built page:
// node tests/web/pictures.mjs
import {launch, openPage, press, showFirstPoem, FULL, PHONE} from './browser.mjs';

const docs = new URL('../../docs/', import.meta.url);

const browser = await launch('chrome', {scrollBars: true});
try {
  const full = await openPage(browser, FULL);
  await showFirstPoem(full);
  await full.screenshot({path: new URL('web.png', docs).pathname});
  // What a printer gets: the poem alone.
  await full.emulateMediaType('print');
  await full.screenshot({path: new URL('web-print.png', docs).pathname, clip: {x: 0, y: 0, width: 595, height: 420}});

  const phone = await openPage(browser, PHONE);
  await phone.screenshot({path: new URL('web-phone.png', docs).pathname});
  // Composing brings the poem into view, wrapped to the screen.
  await showFirstPoem(phone);
  await press(phone, 'Gedicht erzeugen mit wiederholbarer Zählung');
  await phone.screenshot({path: new URL('web-phone-poem.png', docs).pathname});

  const dark = await openPage(browser, FULL, 'dark');
  await showFirstPoem(dark);
  await press(dark, 'W-Werte: Wahrscheinlichkeitswerte anzeigen');
  await dark.screenshot({path: new URL('web-dark.png', docs).pathname});
} finally {
  await browser.close();
}
