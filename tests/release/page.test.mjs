// The release's one-file page, alone in a folder and opened from disk, works
// as the served page does: the first golden poem in Chromium and Firefox ESR,
// and its link.
import {test} from 'node:test';
import assert from 'node:assert/strict';
import {copyFileSync, mkdtempSync, readdirSync, readFileSync, rmSync} from 'node:fs';
import {tmpdir} from 'node:os';
import path from 'node:path';
import {fileURLToPath, pathToFileURL} from 'node:url';
import {FULL, launch, openPage} from '../web/browser.mjs';

const dist = fileURLToPath(new URL('../../dist/', import.meta.url));
const FIRST_POEM = readFileSync(new URL('../golden/defaults.txt', import.meta.url), 'utf8').split('\n=====\n')[0];
const LISTS = ['Handelnde', 'Benutztes', 'Verben', 'Adjektive'];

const pages = readdirSync(dist).filter((name) => /^versomat-.*\.html$/.test(name));
assert.equal(pages.length, 1, `one page in dist/: ${pages}`);
const folder = mkdtempSync(path.join(tmpdir(), 'versomat-page-'));
const file = path.join(folder, pages[0]);
copyFileSync(path.join(dist, pages[0]), file);

async function firstPoem(browserName) {
  const browser = await launch(browserName);
  try {
    const page = await openPage(browser, FULL, 'light', pathToFileURL(file).href);
    const click = async (name) => (await page.waitForSelector(`::-p-aria([name="${name}"][role="button"])`)).click();
    for (const list of LISTS) {
      await click(`${list}: Beispiel`);
      await click(`${list}: übernehmen`);
    }
    await click('Gedicht erzeugen mit wiederholbarer Zählung');
    const output = await page.waitForSelector('::-p-aria([name="Gedicht: Ausgabe"][role="textbox"])');
    assert.equal(await output.evaluate((box) => box.value.replace(/\n/g, '\r\n')), FIRST_POEM);
    // What stays outside the file is missing on a USB stick; the style sheet
    // is what keeps the screen reader's announcements out of sight.
    assert.deepEqual(await page.$$eval('[src], [href]', (elements) =>
      elements.map((e) => e.getAttribute('src') ?? e.getAttribute('href')).filter((url) => !url.startsWith('data:'))), []);
    assert.ok(await page.$eval('[role="status"]', (region) => region.getBoundingClientRect().width <= 1),
      'the style sheet applies');
    // A poem's link works from the one file too.
    await page.evaluate(() => {
      navigator.share = undefined;
      navigator.clipboard.writeText = async (text) => {
        window.copied = text;
      };
    });
    await click('Link zum Gedicht teilen');
    const linked = await openPage(browser, FULL, 'light', await page.evaluate(() => window.copied));
    assert.equal(await linked.$eval('::-p-aria([name="Gedicht: Ausgabe"][role="textbox"])',
      (box) => box.value.replace(/\n/g, '\r\n')), FIRST_POEM, 'the linked poem');
  } finally {
    await browser.close();
  }
}

test('the one-file page from disk in Chromium', () => firstPoem('chrome'));
test('the one-file page from disk in Firefox ESR', () => firstPoem('firefox'));
test.after(() => rmSync(folder, {recursive: true, force: true}));
