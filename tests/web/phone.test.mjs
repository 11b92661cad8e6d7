// The page on two phones in Chromium: the poem in view and unclipped, the
// sheet reached and left by keyboard, the document read in the order seen,
// buttons a finger can hit, and typed lists kept through a reload.
import {test} from 'node:test';
import assert from 'node:assert/strict';
import {launch, openPage, scriptsLate, FULL, PHONE} from './browser.mjs';

const PHONES = [['360×640', PHONE], ['390×844', {...PHONE, width: 390, height: 844}]];
const LISTS = ['Handelnde', 'Benutztes', 'Verben', 'Adjektive'];
const SHOW_SHEET = 'W-Werte: Wahrscheinlichkeitswerte anzeigen';

const find = (page, name, role) => page.waitForSelector(`::-p-aria([name="${name}"][role="${role}"])`);
const button = (page, name) => find(page, name, 'button');
const textbox = (page, name) => find(page, name, 'textbox');
const focusedName = (page) => page.evaluate(() => document.activeElement.getAttribute('aria-label') ??
  document.activeElement.textContent);

async function onPhones(check) {
  const browser = await launch('chrome');
  try {
    for (const [size, viewport] of PHONES) {
      const page = await openPage(browser, viewport);
      await check(page, size);
      await page.close();
    }
  } finally {
    await browser.close();
  }
}

// Where the box's first lines are on the screen, in CSS px from its top.
const firstLinesSeen = (box) => box.evaluate((element) => {
  const rect = element.getBoundingClientRect();
  return rect.top >= 0 && rect.top + 3 * parseFloat(getComputedStyle(element).fontSize) <= innerHeight;
});

test('on a phone: each poem in view, wrapped, without a scroll of its own', () => onPhones(async (page, size) => {
  for (const list of LISTS) {
    await (await button(page, `${list}: Beispiel`)).click();
    await (await button(page, `${list}: übernehmen`)).click();
  }
  const output = await textbox(page, 'Gedicht: Ausgabe');
  // Composed from the top of the page, the poem is screens further down.
  await (await textbox(page, 'Handelnde: Liste')).click();
  await page.evaluate(() => scrollTo(0, 0));
  await page.keyboard.down('Control');
  await page.keyboard.press('Enter');
  await page.keyboard.up('Control');
  assert.ok(await firstLinesSeen(output), `${size}: Ctrl+Enter brings the poem's first lines into view`);
  const poem = await button(page, 'Gedicht erzeugen mit wiederholbarer Zählung');
  for (let i = 0; i < 12; ++i) {
    const scrolled = await page.evaluate(() => scrollY);
    await poem.evaluate((element) => element.click());
    assert.equal(await page.evaluate(() => scrollY), scrolled, `${size}, poem ${i + 2}: the page stays put`);
    assert.ok(await firstLinesSeen(output), `${size}, poem ${i + 2}: its first lines in view`);
    const {lines, sideways, hidden} = await output.evaluate((element) => ({lines: element.value.split('\n').length,
      sideways: element.scrollWidth - element.clientWidth, hidden: element.scrollHeight - element.clientHeight}));
    assert.equal(sideways, 0, `${size}, poem ${i + 2}: its lines wrap to the screen`);
    assert.equal(hidden, 0, `${size}, poem ${i + 2} (${lines} lines): the box shows it whole`);
  }
}));

test('on a phone: the sheet opened by keyboard, in view, and left back to its button', () => onPhones(
  async (page, size) => {
    const show = await button(page, SHOW_SHEET);
    await show.focus();
    await page.keyboard.press('Enter');
    assert.equal(await focusedName(page), 'Wahrscheinlichkeitswerte', `${size}: the focus in the sheet`);
    const seen = await (await textbox(page, 'Wahrscheinlichkeitswerte')).evaluate((element) => {
      const rect = element.getBoundingClientRect();
      return rect.top >= 0 && rect.bottom <= innerHeight;
    });
    assert.ok(seen, `${size}: the whole sheet on the screen`);
    await page.keyboard.press('Tab');
    await page.keyboard.press('Enter');
    assert.equal(await focusedName(page), SHOW_SHEET, `${size}: an accepted sheet hands the focus back`);
  }));

test('a refused sheet\'s note hides neither the sheet nor the poem, drawn or in one column', async () => {
  const browser = await launch('chrome');
  try {
    for (const [size, viewport] of [['full size', FULL], ...PHONES]) {
      const page = await openPage(browser, viewport);
      await (await button(page, SHOW_SHEET)).click();
      await (await textbox(page, 'Wahrscheinlichkeitswerte')).evaluate((element) => {
        element.value = 'w1=0,5\nw2 0,5\n';
      });
      await (await button(page, 'Werte Übernehmen: Wahrscheinlichkeitswerte')).click();
      const covered = await page.$eval('.hint', (hint) => {
        const note = hint.getBoundingClientRect();
        return [...document.querySelectorAll('[data-role="sheet"], [data-role="output"]')].filter((element) => {
          const rect = element.getBoundingClientRect();
          return note.left < rect.right && rect.left < note.right && note.top < rect.bottom && rect.top < note.bottom;
        }).map((element) => element.getAttribute('aria-label'));
      });
      assert.deepEqual(covered, [], `${size}: what the note covers`);
      await page.close();
    }
  } finally {
    await browser.close();
  }
});

// The controls a user can see, in the order the eye reads a column: by
// their top, then left to right.
const visualOrder = (page) => page.$$eval('.control', (elements) => elements.filter((element) => !element.hidden)
  .map((element) => ({name: element.getAttribute('aria-label') ?? element.textContent.trim(),
    focusable: element.localName !== 'div', rect: element.getBoundingClientRect()}))
  .sort((a, b) => a.rect.top - b.rect.top || a.rect.left - b.rect.left));

// The names Tab reaches from the first control on.
async function tabOrder(page, first, count) {
  await (await page.waitForSelector(`::-p-aria(${first})`)).focus();
  const names = [first];
  while (names.length < count) {
    await page.keyboard.press('Tab');
    names.push(await focusedName(page));
  }
  return names;
}

test('in one column, Tab and a screen reader follow the eye; drawn, the window\'s tab order', () => onPhones(
  async (page, size) => {
    await (await button(page, SHOW_SHEET)).click();
    const seen = await visualOrder(page);
    const read = await page.$$eval('#canvas > .control:not([hidden])', (elements) => elements.map((element) =>
      element.getAttribute('aria-label') ?? element.textContent.trim()));
    assert.deepEqual(read, seen.map(({name}) => name), `${size}: the document in the order seen`);
    const focusable = seen.filter(({focusable}) => focusable).map(({name}) => name);
    assert.deepEqual(await tabOrder(page, focusable[0], focusable.length), focusable, `${size}: Tab in the order seen`);

    // Widened to the drawn window, the order is the window's again.
    await page.setViewport(FULL);
    await page.waitForSelector('html.designed');
    const table = JSON.parse(await page.evaluate(async () => (await createVersomatCore()).controlTableJson()));
    const windowOrder = table.controls.filter((row) => row.kind !== 'label').map((row) => row.accessibleName);
    assert.deepEqual(await tabOrder(page, windowOrder[0], windowOrder.length), windowOrder,
      `${size} widened: the window's tab order`);
  }));

test('on a phone: every button at least 44 px each way', () => onPhones(async (page, size) => {
  await (await button(page, SHOW_SHEET)).click();
  const sizes = await page.$$eval('button', (buttons) => buttons.map((element) => {
    const rect = element.getBoundingClientRect();
    return {name: element.getAttribute('aria-label') ?? element.textContent, width: rect.width, height: rect.height};
  }));
  assert.equal(sizes.length, 12 + 4, 'the window\'s buttons and the page\'s four actions');
  assert.deepEqual(sizes.filter(({width, height}) => width < 44 || height < 44), [], `${size}: buttons below 44×44`);
}));

test('a reload keeps the typed lists and the open sheet, accepts nothing, and a new tab starts empty, ' +
  'with the page\'s scripts late', async () => {
  const browser = await launch('chrome');
  try {
    const page = await openPage(browser, PHONE, 'light', undefined, scriptsLate);
    const typed = [];
    for (const list of LISTS) {
      const box = await textbox(page, `${list}: Liste`);
      await box.type(`die ${list}\nzweite Zeile`);
      typed.push(await box.evaluate((element) => element.value));
    }
    await (await button(page, SHOW_SHEET)).click();
    await page.keyboard.type('w1=0,9\n');
    const sheetText = await (await textbox(page, 'Wahrscheinlichkeitswerte')).evaluate((element) => element.value);

    await page.reload();
    await page.waitForSelector('html[data-ready]');
    for (const [i, list] of LISTS.entries()) {
      const box = await textbox(page, `${list}: Liste`);
      assert.equal(await box.evaluate((element) => element.value), typed[i], `${list}: the typed list back`);
      assert.equal(await (await textbox(page, `${list}: Status`)).evaluate((element) => element.value), '*',
        `${list}: not accepted`);
    }
    const sheet = await page.$('::-p-aria([name="Wahrscheinlichkeitswerte"][role="textbox"])');
    assert.equal(await sheet?.evaluate((element) => element.value), sheetText, 'the sheet open with its typed text');

    const other = await openPage(browser, PHONE);
    assert.equal(await (await textbox(other, 'Handelnde: Liste')).evaluate((element) => element.value), 'noch leer\n',
      'another tab keeps nothing of this one');
  } finally {
    await browser.close();
  }
});
