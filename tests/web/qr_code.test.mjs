// The links' QR codes as a camera sees them: the screen at phone size and on
// a projector in a dark scheme, the page in one file, and the saved PNG all
// read back, by zbarimg, as exactly the link that "Link zum Gedicht teilen"
// or "Wortlisten teilen" gives, with the margin a reader needs; a link too
// long for any QR code is said, not drawn.
import {test} from 'node:test';
import assert from 'node:assert/strict';
import {execFileSync} from 'node:child_process';
import {mkdtempSync, rmSync, writeFileSync} from 'node:fs';
import {tmpdir} from 'node:os';
import path from 'node:path';
import {fileURLToPath, pathToFileURL} from 'node:url';
import {launch, openPage, press, showFirstPoem, PHONE} from './browser.mjs';

const PROJECTOR = {width: 1920, height: 1080};
const root = path.resolve(path.dirname(fileURLToPath(import.meta.url)), '../..');
const folder = mkdtempSync(path.join(tmpdir(), 'versomat-qr-'));

// What a phone's camera reads from a picture.
function decoded(png) {
  const file = path.join(folder, 'code.png');
  writeFileSync(file, png);
  return execFileSync('zbarimg', ['--quiet', '--raw', file], {encoding: 'utf8', stdio: ['ignore', 'pipe', 'ignore']})
    .replace(/\n$/, '');
}

// What a sender's page copies; a desktop has no share sheet.
async function catchCopies(page) {
  await page.evaluate(() => {
    navigator.share = undefined;
    navigator.clipboard.writeText = async (text) => {
      window.copied = text;
    };
    // A saved picture's bytes, where the browser would download them.
    HTMLAnchorElement.prototype.click = function () {
      window.saved = fetch(this.href).then((answer) => answer.arrayBuffer())
        .then((bytes) => [...new Uint8Array(bytes)]);
    };
  });
}

// The link a sender copies with the button named, and the QR code shown then.
async function linkAndCode(page, share) {
  await page.evaluate(() => {
    window.copied = null;
  });
  await press(page, share);
  const link = await (await page.waitForFunction(() => window.copied)).jsonValue();
  await press(page, 'QR-Code');
  await page.waitForSelector('dialog.qr-code[open] img');
  return link;
}
const seen = async (page) => decoded(await page.screenshot());

test('the QR code reads as the link: phone, projector in a dark scheme, one-file page, saved PNG', async () => {
  const onePage = path.join(folder, 'versomat.html');
  execFileSync('python3', [path.join(root, 'scripts/release_pack.py'), 'page', path.join(root, 'build/web'), onePage]);
  const browser = await launch('chrome');
  try {
    for (const [viewport, scheme, url] of [[PHONE, 'light', undefined], [PROJECTOR, 'dark', undefined],
      [PHONE, 'light', pathToFileURL(onePage).href]]) {
      const page = await openPage(browser, viewport, scheme, url);
      await showFirstPoem(page);
      await catchCopies(page);
      const link = await linkAndCode(page, 'Link zum Gedicht teilen');
      assert.match(link, /#gedicht=/);
      assert.equal(await seen(page), link, `${viewport.width} px, ${scheme}, ${url ?? 'folder'}`);
      if (viewport === PHONE && !url) {
        // The word lists' link just shared comes first; the poem's is a
        // choice away.
        await press(page, 'Schließen');
        const lists = await linkAndCode(page, 'Wortlisten teilen');
        assert.match(lists, /#wortlisten=/);
        assert.equal(await seen(page), lists, 'the word lists\' link');
        await press(page, 'Link zum Gedicht');
        await page.waitForFunction(() => document.querySelector('#qr-title').textContent.includes('Gedicht'));
        assert.equal(await seen(page), link, 'the poem\'s link chosen');
      }
      if (viewport === PROJECTOR) {
        await press(page, 'Als PNG speichern');
        await page.waitForFunction(() => window.saved);
        assert.equal(decoded(Buffer.from(await page.evaluate(() => window.saved))), link, 'the saved PNG');
        // A reader tolerates a missing margin on a plain ground, not beside
        // a worksheet's text: the finder pattern, seven modules wide, starts
        // four modules in from the picture's edges.
        const margin = await page.evaluate(async () => {
          const bitmap = await createImageBitmap(new Blob([new Uint8Array(await window.saved)]));
          const canvas = new OffscreenCanvas(bitmap.width, bitmap.height);
          const context = canvas.getContext('2d');
          context.drawImage(bitmap, 0, 0);
          const {data} = context.getImageData(0, 0, bitmap.width, bitmap.height);
          const dark = (x, y) => data[4 * (y * bitmap.width + x)] < 128;
          let edge = 0;
          while (!dark(edge, edge))
            ++edge;
          let finder = 0;
          while (dark(edge + finder, edge))
            ++finder;
          return edge / (finder / 7);
        });
        assert.equal(margin, 4, 'the quiet zone in modules');
      }
      await page.close();
    }

    // Lists far beyond what any QR code holds, compressed or not.
    const page = await openPage(browser, PHONE);
    let seed = 1;
    const letter = () => String.fromCharCode(97 + ((seed = (seed * 1103515245 + 12345) % 2147483648) >> 16) % 26);
    const words = Array.from({length: 800}, () => `der ${Array.from({length: 9}, letter).join('')}`).join('\n');
    await page.$eval('::-p-aria([name="Handelnde: Liste"][role="textbox"])', (box, text) => {
      box.value = text;
    }, words);
    await press(page, 'Handelnde: übernehmen');
    for (const list of ['Benutztes', 'Verben', 'Adjektive']) {
      await press(page, `${list}: Beispiel`);
      await press(page, `${list}: übernehmen`);
    }
    await press(page, 'Gedicht erzeugen mit wiederholbarer Zählung');
    await press(page, 'QR-Code');
    await page.waitForFunction(() =>
      /zu lang für einen QR-Code/.test(document.querySelector('.action-note').textContent));
    assert.equal(await page.$('dialog.qr-code[open]'), null);
  } finally {
    await browser.close();
    rmSync(folder, {recursive: true, force: true});
  }
});
