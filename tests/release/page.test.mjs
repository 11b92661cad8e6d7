// The release's one-file page, alone in a folder and opened from disk, works
// as the served page does: the first golden poem in Chromium and Firefox ESR,
// and its link, which says that it opens on this computer only; built with
// the page's public address, its links point there.
import {test} from 'node:test';
import assert from 'node:assert/strict';
import {execFileSync} from 'node:child_process';
import {copyFileSync, cpSync, mkdtempSync, readdirSync, readFileSync, rmSync} from 'node:fs';
import {tmpdir} from 'node:os';
import path from 'node:path';
import {fileURLToPath, pathToFileURL} from 'node:url';
import {FULL, launch, openPage} from '../web/browser.mjs';

const root = fileURLToPath(new URL('../../', import.meta.url));
const dist = path.join(root, 'dist');
const FIRST_POEM = readFileSync(new URL('../golden/defaults.txt', import.meta.url), 'utf8').split('\n=====\n')[0];
const LISTS = ['Handelnde', 'Benutztes', 'Verben', 'Adjektive'];

const pages = readdirSync(dist).filter((name) => /^versomat-.*\.html$/.test(name));
assert.equal(pages.length, 1, `one page in dist/: ${pages}`);
const folder = mkdtempSync(path.join(tmpdir(), 'versomat-page-'));
const file = path.join(folder, pages[0]);
copyFileSync(path.join(dist, pages[0]), file);

// The first poem of the examples in the page from that file, and the link
// to it with what the page says beside it.
async function firstPoem(page) {
  const click = async (name) => (await page.waitForSelector(`::-p-aria([name="${name}"][role="button"])`)).click();
  for (const list of LISTS) {
    await click(`${list}: Beispiel`);
    await click(`${list}: übernehmen`);
  }
  await click('Gedicht erzeugen mit wiederholbarer Zählung');
  const output = await page.waitForSelector('::-p-aria([name="Gedicht: Ausgabe"][role="textbox"])');
  assert.equal(await output.evaluate((box) => box.value.replace(/\n/g, '\r\n')), FIRST_POEM);
  await page.evaluate(() => {
    navigator.share = undefined;
    navigator.clipboard.writeText = async (text) => {
      window.copied = text;
    };
  });
  await click('Link zum Gedicht teilen');
  await page.waitForFunction(() => window.copied);
  return {link: await page.evaluate(() => window.copied),
    note: await page.$eval('.action-note', (note) => note.innerText)};
}

async function linkedPoem(browser, url) {
  const linked = await openPage(browser, FULL, 'light', url);
  return linked.waitForFunction(() => document.querySelector('[aria-label="Gedicht: Ausgabe"]').value !== 'noch leer\n')
    .then(() => linked.$eval('::-p-aria([name="Gedicht: Ausgabe"][role="textbox"])',
      (box) => box.value.replace(/\n/g, '\r\n')));
}

async function fromDisk(browserName) {
  const browser = await launch(browserName);
  try {
    const page = await openPage(browser, FULL, 'light', pathToFileURL(file).href);
    const {link, note} = await firstPoem(page);
    // What stays outside the file is missing on a USB stick; the style sheet
    // is what keeps the screen reader's announcements out of sight.
    assert.deepEqual(await page.$$eval('[src], [href]', (elements) =>
      elements.map((e) => e.getAttribute('src') ?? e.getAttribute('href')).filter((url) => !url.startsWith('data:'))), []);
    assert.ok(await page.$eval('[role="status"]', (region) => region.getBoundingClientRect().width <= 1),
      'the style sheet applies');
    // A poem's link works from the one file too, on this computer.
    assert.match(note, /nur auf diesem Rechner/);
    assert.equal(await linkedPoem(browser, link), FIRST_POEM, 'the linked poem');
  } finally {
    await browser.close();
  }
}

test('the one-file page from disk in Chromium', () => fromDisk('chrome'));
test('the one-file page from disk in Firefox ESR', () => fromDisk('firefox'));

test('the one-file page built with its public address links there', async () => {
  const address = 'https://versomat.example/klasse-4b/';
  const web = path.join(folder, 'web');
  cpSync(path.join(root, 'build/web'), web, {recursive: true});
  execFileSync('node', [path.join(root, 'web/builder/release_build.mjs'), web],
    {env: {...process.env, VERSOMAT_ADDRESS: address}, stdio: 'inherit'});
  const addressed = path.join(folder, 'addressed.html');
  execFileSync('python3', [path.join(root, 'scripts/release_pack.py'), 'page', web, addressed],
    {env: {...process.env, SOURCE_DATE_EPOCH: '1'}, stdio: 'inherit'});
  const browser = await launch('chrome');
  try {
    const {link, note} = await firstPoem(await openPage(browser, FULL, 'light', pathToFileURL(addressed).href));
    assert.ok(link.startsWith(`${address}#gedicht=`), link);
    assert.doesNotMatch(note, /nur auf diesem Rechner/);
    assert.equal(await linkedPoem(browser, pathToFileURL(addressed).href + new URL(link).hash), FIRST_POEM);
  } finally {
    await browser.close();
  }
});
test.after(() => rmSync(folder, {recursive: true, force: true}));
