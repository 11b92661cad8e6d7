// A user's session through the built page in Chromium and in Firefox ESR,
// every control found by its accessible name and role; then what the page
// itself must get right after each click, beyond the core's texts.
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
const SHOW = 'W-Werte: Wahrscheinlichkeitswerte anzeigen';
const SHEET = 'Wahrscheinlichkeitswerte';
const SHEET_ACCEPT = 'Werte Übernehmen: Wahrscheinlichkeitswerte';

const find = (page, name, role) => page.waitForSelector(`::-p-aria([name="${name}"][role="${role}"])`);
const button = (page, name) => find(page, name, 'button');
const textbox = (page, name) => find(page, name, 'textbox');
// What the core would read from the box: the test's own view of the boundary.
const coreText = (box) => box.evaluate((element) => element.value.replace(/\n/g, '\r\n'));
const announced = (page) => page.$eval('[role="status"]', (region) => region.textContent.replace(/\n/g, '\r\n'));
const background = (box) => box.evaluate((element) => getComputedStyle(element).backgroundColor);
const visible = (handle) => handle.evaluate((element) => element.checkVisibility());
const focused = (handle) => handle.evaluate((element) => element === document.activeElement);

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

async function userSession(browser) {
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
  // The last two poems by keyboard from inside a box: Cmd+Enter as on a
  // Mac, and Ctrl+Enter.
  const keys = {38: ['Meta', actors], 39: ['Control', output]};
  for (let i = 0; i < 40; ++i) {
    if (keys[i]) {
      const [modifier, box] = keys[i];
      await box.click();
      await page.keyboard.down(modifier);
      await page.keyboard.press('Enter');
      await page.keyboard.up(modifier);
    } else {
      await poem.click();
    }
    const shown = await coreText(output);
    assert.equal(shown, DEFAULTS[i], `poem ${i + 1}${keys[i] ? ` (${keys[i][0]}+Enter)` : ''}`);
    assert.equal(await announced(page), shown, `poem ${i + 1} announced`);
  }

  await (await button(page, 'Gedicht erzeugen mit Zufallsstart')).click();
  assert.match(await coreText(output), /^Zufalls-/);
  await page.close();

  // A fresh page: a refused sheet changes nothing, German commas are read.
  const fresh = await openPage(browser);
  await acceptExamples(fresh);
  const show = await button(fresh, SHOW);
  await show.click();
  const sheet = await textbox(fresh, SHEET);
  const sheetAccept = await button(fresh, SHEET_ACCEPT);
  const defaults = await coreText(sheet);
  const plain = await background(sheet);
  // A pasted line separator breaks a line as the core counts lines.
  await replaceText(fresh, sheet, HALF_SHEET_GERMAN.replace('w1=0,5\n', 'w1=0,5\u2028')
    .replace('w3=0,5\n', 'w3 0,5\n'));
  await sheetAccept.click();
  assert.ok(await visible(sheet), 'a refused sheet stays open');
  assert.notEqual(await background(sheet), plain);
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
}

// Clicks in a row: the button; the box it reads and how its text is changed
// first, if at all; [name, role] of the control a note pops up above, if
// any; the control with the focus afterwards, if not the button itself.
// Actors of one long noun lack three classes, and their poems soon reach the
// length limit.
const CLICKS = [
  ['Handelnde: übernehmen', ['Handelnde: Liste', () => `der ${'N'.repeat(40000)}`], ['Handelnde: Status', 'textbox']],
  ['Benutztes: Beispiel'],
  ['Benutztes: übernehmen'],
  // An empty line ends the verbs early, which a note says.
  ['Verben: übernehmen', ['Verben: Liste', () => 'liebt\r\n\r\nkauft'], ['Verben: Status', 'textbox']],
  ['Adjektive: übernehmen', ['Adjektive: Liste', () => ' alt']],
  [POEM],
  // The sheet opens to be typed in.
  [SHOW, null, null, [SHEET, 'textbox']],
  // Accepted, with a value that held no number: the sheet hides, so the
  // focus and the note go to the button that opened it.
  [SHEET_ACCEPT, [SHEET, (text) => text.replace(/^w2 *=.*$/m, 'w2=abc')], [SHOW, 'button'], SHOW],
  [SHOW, null, null, [SHEET, 'textbox']],
  [SHEET_ACCEPT, [SHEET, (text) => text.replace(/^w3 *=/m, 'w3 ')], [SHEET, 'textbox']],
];

async function afterEachClick(browser) {
  const page = await openPage(browser);
  assert.ok(await focused(await button(page, 'Handelnde: Beispiel')), 'the focus at start');
  // Typing replaces the start text, whether the box was reached by Tab or by
  // a click.
  await page.keyboard.press('Tab');
  await page.keyboard.type('der Mann');
  assert.equal(await coreText(await textbox(page, 'Handelnde: Liste')), 'der Mann', 'a box reached by Tab');
  const objects = await textbox(page, 'Benutztes: Liste');
  await objects.click();
  await page.keyboard.type('das Obst');
  assert.equal(await coreText(objects), 'das Obst', 'a box reached by a click');

  // The same message twice is heard twice: each is a new node.
  const poem = await button(page, POEM);
  await poem.click();
  const message = await announced(page);
  await page.$eval('[role="status"] > p', (node) => node.setAttribute('data-heard', ''));
  await poem.click();
  assert.ok(message && await page.$eval('[role="status"] > p', (node) => !node.hasAttribute('data-heard')),
    'the same message again is a new node');
  assert.equal(await announced(page), message);

  const hint = await page.$('.hint');
  for (const [name, input, note, focus = name] of CLICKS) {
    if (input) {
      const [box, edit] = input;
      await (await textbox(page, box)).evaluate((element, text) => {
        element.value = text;
      }, edit(await coreText(await textbox(page, box))).replace(/\r\n/g, '\n'));
    }
    const pressed = await button(page, name);
    await pressed.click();
    const expected = focus === name ? pressed : Array.isArray(focus) ? await find(page, ...focus) : await button(page, focus);
    assert.ok(await focused(expected), `${name}: the focus on ${focus}`);
    if (!note) {
      assert.ok(!(await visible(hint)), `${name}: no note`);
      continue;
    }
    const shown = await page.evaluate((hint, control) => {
      const [at, of] = [hint.getBoundingClientRect(), control.getBoundingClientRect()];
      return {visible: hint.checkVisibility(), text: hint.textContent, title: control.title,
        // In its column, clear of the control it speaks of.
        beside: (at.bottom <= of.top + 1 || at.top >= of.bottom - 1) && at.left < of.right && at.right > of.left};
    }, hint, await find(page, ...note));
    assert.ok(shown.visible && shown.beside, `${name}: a note at once beside ${note[0]}`);
    assert.equal(shown.text, shown.title, `${name}: the note is ${note[0]}'s tooltip`);
    assert.equal(await announced(page), shown.title.replace(/\n/g, '\r\n'), `${name}: the note announced`);
  }

  // A poem at the length limit is announced in part: its first lines, that
  // it goes on, and the box's last line, which says it was cut.
  const output = await textbox(page, 'Gedicht: Ausgabe');
  let [said, full] = [];
  for (let i = 0; i < 10 && said === full; ++i) {
    await poem.click();
    [said, full] = [await announced(page), await coreText(output)];
  }
  const cutMark = full.slice(full.lastIndexOf('\r\n'));
  const goesOn = '\r\nDas Gedicht geht im Textfeld weiter.' + cutMark;
  assert.ok(cutMark.startsWith('\r\n[Hier gekürzt') && said.length < 2200 && said.endsWith(goesOn) &&
    full.startsWith(said.slice(0, -goesOn.length)),
    `a poem at the length limit, announced in part: ${said.slice(-80)}`);
}

// A session with lists, values and a random start of its own.
async function startSession(page) {
  await acceptExamples(page);
  await (await button(page, SHOW)).click();
  await (await textbox(page, SHEET)).evaluate((sheet, text) => {
    sheet.value = text;
  }, HALF_SHEET_GERMAN);
  await (await button(page, SHEET_ACCEPT)).click();
  await (await button(page, 'Gedicht erzeugen mit Zufallsstart')).click();
  await (await button(page, POEM)).click();
}

// A tab reloaded with a list typed but not accepted, the sheet open and typed
// in, and the poem edited shows all of it again, and its next poem is the one
// it would have shown without the reload, as a link to its poem shows. The
// link opened and typed in after: a reload keeps the typing instead of
// opening the link again.
async function reload(browser) {
  const kept = await openPage(browser);
  await startSession(kept);
  const output = await textbox(kept, 'Gedicht: Ausgabe');
  const linked = await coreText(output);
  await kept.evaluate(() => {
    navigator.share = undefined;
    navigator.clipboard.writeText = async (text) => {
      window.copied = text;
    };
  });
  await (await button(kept, 'Link zum Gedicht teilen')).click();
  await kept.waitForFunction(() => window.copied);
  const link = await kept.evaluate(() => window.copied);
  await (await textbox(kept, 'Verben: Liste')).type('sieht\n');
  await (await button(kept, SHOW)).click();
  await (await textbox(kept, SHEET)).type('w1=0,9\n');
  await output.type('!');
  const boxes = (page) => page.$$eval('#canvas textarea, #canvas input', (all) =>
    all.map((box) => `${box.dataset.name}${box.hidden ? ' hidden' : ''}: ${box.value}`));
  const before = await boxes(kept);
  await kept.reload();
  await kept.waitForSelector('html[data-ready]');
  assert.deepEqual(await boxes(kept), before, 'every box as it was');
  await (await button(kept, POEM)).click();
  const next = await coreText(await textbox(kept, 'Gedicht: Ausgabe'));
  await kept.close();

  // The link goes on as the page without a reload would.
  const opened = await openPage(browser, undefined, 'light', link);
  assert.equal(await opened.evaluate(() => location.hash), '', 'the link leaves the address');
  const openedOutput = await textbox(opened, 'Gedicht: Ausgabe');
  // The link is read once the browser's stream has inflated it.
  await opened.waitForFunction((box) => box.value !== 'noch leer\n', {}, openedOutput);
  assert.equal(await coreText(openedOutput), linked);
  await (await button(opened, POEM)).click();
  assert.equal(await coreText(openedOutput), next, 'the next poem as without the reload');
  await replaceText(opened, await textbox(opened, 'Handelnde: Liste'), 'der Neue');
  await opened.reload();
  await opened.waitForSelector('html[data-ready]');
  assert.equal(await coreText(await textbox(opened, 'Handelnde: Liste')), 'der Neue', 'typed after the link');
  await opened.close();
}

for (const [name, title] of [['chrome', 'Chromium'], ['firefox', 'Firefox ESR']]) {
  test(`in ${title}`, async (t) => {
    const browser = await launch(name);
    try {
      await t.test('a user session', () => userSession(browser));
      await t.test('the focus and the notes after each click', () => afterEachClick(browser));
      await t.test('a reload keeps the whole session, and a link is opened once', () => reload(browser));
    } finally {
      await browser.close();
    }
  });
}
