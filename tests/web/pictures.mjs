// Renews the web edition's pictures in docs/ from the built page:
// node tests/web/pictures.mjs
import {launch, openPage, FULL, PHONE} from './browser.mjs';

const docs = new URL('../../docs/', import.meta.url);
const press = async (page, name) =>
  (await page.waitForSelector(`::-p-aria([name="${name}"][role="button"])`)).click();

async function poemShown(page) {
  for (const list of ['Handelnde', 'Benutztes', 'Verben', 'Adjektive']) {
    await press(page, `${list}: Beispiel`);
    await press(page, `${list}: übernehmen`);
  }
  await press(page, 'Gedicht erzeugen mit wiederholbarer Zählung');
}

const browser = await launch('chrome', {scrollBars: true});
try {
  const full = await openPage(browser, FULL);
  await poemShown(full);
  await full.screenshot({path: new URL('web.png', docs).pathname});

  const phone = await openPage(browser, PHONE);
  await phone.screenshot({path: new URL('web-phone.png', docs).pathname});

  const dark = await openPage(browser, FULL, 'dark');
  await poemShown(dark);
  await press(dark, 'W-Werte: Wahrscheinlichkeitswerte anzeigen');
  await dark.screenshot({path: new URL('web-dark.png', docs).pathname});
} finally {
  await browser.close();
}
