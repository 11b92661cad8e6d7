// axe-core in Chromium: no serious or critical finding at full size and on a
// phone, light and dark, with the start window, with the sheet open and a
// list accepted, and with the QR code shown.
import {test} from 'node:test';
import assert from 'node:assert/strict';
import {readFileSync} from 'node:fs';
import {createRequire} from 'node:module';
import {launch, openPage, press, showFirstPoem, FULL, PHONE} from './browser.mjs';

const axeSource = readFileSync(createRequire(import.meta.url).resolve('axe-core/axe.min.js'), 'utf8');

async function seriousFindings(page) {
  await page.evaluate(axeSource);
  const result = await page.evaluate(() => axe.run(document, {resultTypes: ['violations']}));
  return result.violations.filter((violation) => ['serious', 'critical'].includes(violation.impact))
    .flatMap((violation) => violation.nodes.map((node) => `${violation.id}: ${node.target.join(' ')}`));
}

test('no serious or critical axe findings', async () => {
  const browser = await launch('chrome');
  try {
    for (const [size, viewport] of [['full size', FULL], ['phone', PHONE]]) {
      for (const scheme of ['light', 'dark']) {
        const page = await openPage(browser, viewport, scheme);
        assert.deepEqual(await seriousFindings(page), [], `${size}, ${scheme}, at start`);
        await (await page.waitForSelector('::-p-aria([name="W-Werte: Wahrscheinlichkeitswerte anzeigen"][role="button"])'))
          .click();
        await (await page.waitForSelector('::-p-aria([name="Handelnde: übernehmen"][role="button"])')).click();
        assert.deepEqual(await seriousFindings(page), [], `${size}, ${scheme}, sheet open, a list accepted`);
        await showFirstPoem(page);
        await press(page, 'QR-Code');
        await page.waitForSelector('dialog.qr-code[open] img');
        assert.deepEqual(await seriousFindings(page), [], `${size}, ${scheme}, the QR code shown`);
        await page.close();
      }
    }
  } finally {
    await browser.close();
  }
});
