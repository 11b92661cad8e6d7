// Renews the web edition's pictures in docs/ from the built page:
// node tests/web/pictures.mjs
import {launch, openPage, press, showFirstPoem, FULL, PHONE} from './browser.mjs';

const docs = new URL('../../docs/', import.meta.url);

const browser = await launch('chrome', {scrollBars: true});
try {
  const full = await openPage(browser, FULL);
  await showFirstPoem(full);
  await full.screenshot({path: new URL('web.png', docs).pathname});

  const phone = await openPage(browser, PHONE);
  await phone.screenshot({path: new URL('web-phone.png', docs).pathname});

  const dark = await openPage(browser, FULL, 'dark');
  await showFirstPoem(dark);
  await press(dark, 'W-Werte: Wahrscheinlichkeitswerte anzeigen');
  await dark.screenshot({path: new URL('web-dark.png', docs).pathname});
} finally {
  await browser.close();
}
