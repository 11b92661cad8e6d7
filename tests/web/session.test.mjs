// A user's session through the built page in Chromium and in Firefox ESR,
// every control found by its accessible name and role.
import {test} from 'node:test';
import assert from 'node:assert/strict';
import {readFileSync} from 'node:fs';
import {launch, openPage} from './browser.mjs';

const golden = (name) => readFileSync(new URL(`../golden/${name}.txt`, import.meta.url), 'utf8').split('\n=====\n');
const DEFAULTS = golden('defaults');
const HALF = golden('half');
const HALF_SHEET_GERMAN = 'w1=0,5\nw2=0,5\nw3=0,5\nw4=0,5\nw5=0,5\nw6=0,25\nw7=0,5\nw8=0,75\nw9=0,5\nw10=0,5\n' +
  'w11=0,5\nw12=0,5\nw13=0,3\n';
const LISTS = ['Handelnde', 'Benutztes', 'Verben', 'Adjektive'];
const POEM = 'Gedicht erzeugen mit wiederholbarer Zählung';

const find = (page, name, role) => page.waitForSelector(`::-p-aria([name="${name}"][role="${role}"])`);
const button = (page, name) => find(page, name, 'button');
const textbox = (page, name) => find(page, name, 'textbox');
// What the core would read from the box: the test's own view of the boundary.
const coreText = (box) => box.evaluate((element) => element.value.replace(/\n/g, '\r\n'));
const announced = (page) => page.$eval('[role="status"]', (region) => region.textContent.replace(/\n/g, '\r\n'));
const background = (box) => box.evaluate((element) => getComputedStyle(element).backgroundColor);
const visible = (handle) => handle.evaluate((element) => element.checkVisibility());

async function replaceText(page, box, text) {
  await box.click();
  await page.keyboard.down('Control');
  await page.keyboard.press('a');
  await page.keyboard.up('Control');
  await page.keyboard.press('Delete');
  await box.type(text);
}

async function acceptExamples(page) {
  for (const list of LISTS) {
    await (await button(page, `${list}: Beispiel`)).click();
    await (await button(page, `${list}: übernehmen`)).click();
  }
}

async function userSession(browserName) {
  const browser = await launch(browserName);
  try {
    const page = await openPage(browser);
    const actors = await textbox(page, 'Handelnde: Liste');
    const start = await coreText(actors);

    // An example is one edit the box's own undo takes back.
    await (await button(page, 'Handelnde: Beispiel')).click();
    assert.notEqual(await coreText(actors), start);
    await actors.click();
    await page.keyboard.down('Control');
    await page.keyboard.press('z');
    await page.keyboard.up('Control');
    assert.equal(await coreText(actors), start, 'Ctrl+Z after an example');

    for (const list of LISTS) {
      await (await button(page, `${list}: Beispiel`)).click();
      const mark = await textbox(page, `${list}: Status`);
      const red = await background(mark);
      await (await button(page, `${list}: übernehmen`)).click();
      assert.equal(await mark.evaluate((element) => element.value), 'OK');
      assert.notEqual(await background(mark), red);
      const summary = await mark.evaluate((element) => element.title);
      assert.match(summary, /\d/, `${list}: the summary counts what was taken`);
      assert.equal(await announced(page), summary.replace(/\n/g, '\r\n'));
    }

    const output = await textbox(page, 'Gedicht: Ausgabe');
    const poem = await button(page, POEM);
    for (let i = 0; i < 40; ++i) {
      if (i === 39) {
        await output.click();
        await page.keyboard.down('Control');
        await page.keyboard.press('Enter');
        await page.keyboard.up('Control');
      } else {
        await poem.click();
      }
      const shown = await coreText(output);
      assert.equal(shown, DEFAULTS[i], `poem ${i + 1}${i === 39 ? ' (Ctrl+Enter)' : ''}`);
      assert.equal(await announced(page), shown, `poem ${i + 1} announced`);
    }

    await (await button(page, 'Gedicht erzeugen mit Zufallsstart')).click();
    assert.match(await coreText(output), /^Zufalls-/);
    await page.close();

    // A fresh page: a refused sheet changes nothing, German commas are read.
    const fresh = await openPage(browser);
    // An accept that took nothing says so at once, beside its green mark.
    await (await button(fresh, 'Handelnde: übernehmen')).click();
    const note = await fresh.$('.hint');
    assert.ok(await visible(note), 'an empty accept shows its summary at once');
    assert.equal(await note.evaluate((element) => element.textContent),
      await (await textbox(fresh, 'Handelnde: Status')).evaluate((element) => element.title));
    await acceptExamples(fresh);
    assert.ok(!(await visible(note)), 'an accept that took entries shows no note');
    const show = await button(fresh, 'W-Werte: Wahrscheinlichkeitswerte anzeigen');
    await show.click();
    const sheet = await textbox(fresh, 'Wahrscheinlichkeitswerte');
    const sheetAccept = await button(fresh, 'Werte Übernehmen: Wahrscheinlichkeitswerte');
    const defaults = await coreText(sheet);
    const plain = await background(sheet);
    // A pasted line separator breaks a line as the core counts lines.
    await replaceText(fresh, sheet, HALF_SHEET_GERMAN.replace('w1=0,5\n', 'w1=0,5\u2028')
      .replace('w3=0,5\n', 'w3 0,5\n'));
    await sheetAccept.click();
    assert.ok(await visible(sheet), 'a refused sheet stays open');
    assert.notEqual(await background(sheet), plain);
    const hint = await sheet.evaluate((element) => element.title);
    assert.match(hint, /Zeile 3/, 'the hint names the line');
    assert.equal(await announced(fresh), hint.replace(/\n/g, '\r\n'));
    assert.equal(await sheet.evaluate((element) => element.value.slice(element.selectionStart, element.selectionEnd)),
      'w3 0,5', 'the refused line is selected');
    await show.click();
    assert.equal(await coreText(sheet), defaults, 'a refused sheet changed nothing');
    assert.equal(await background(sheet), plain);

    await replaceText(fresh, sheet, HALF_SHEET_GERMAN);
    await sheetAccept.click();
    assert.ok(!(await visible(sheet)), 'an accepted sheet closes');
    const freshOutput = await textbox(fresh, 'Gedicht: Ausgabe');
    const freshPoem = await button(fresh, POEM);
    for (let i = 0; i < 3; ++i) {
      await freshPoem.click();
      assert.equal(await coreText(freshOutput), HALF[i], `poem ${i + 1} with the sheet in German commas`);
    }
  } finally {
    await browser.close();
  }
}

test('a user session in Chromium', () => userSession('chrome'));
test('a user session in Firefox ESR', () => userSession('firefox'));
