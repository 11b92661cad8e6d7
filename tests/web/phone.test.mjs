// The page on touch screens in Chromium: the poem in view and unclipped, the
// sheet reached and left by keyboard, help without a mouse, notes clear of
// what they speak of, the document read in the order seen, targets a finger
// can hit, and typed lists kept through a reload.
import {test} from 'node:test';
import assert from 'node:assert/strict';
import {launch, openPage, scriptsLate, FULL, PHONE} from './browser.mjs';

const PHONES = [['360×640', PHONE], ['390×844', {...PHONE, width: 390, height: 844}]];
// Wider than the drawn window, a finger still gets the one column.
const TOUCH_SCREENS = [...PHONES, ['844×390', {...PHONE, width: 844, height: 390}],
  ['768×1024', {...PHONE, width: 768, height: 1024}]];
const LISTS = ['Handelnde', 'Benutztes', 'Verben', 'Adjektive'];
const SHOW_SHEET = 'W-Werte: Wahrscheinlichkeitswerte anzeigen';

const find = (page, name, role) => page.waitForSelector(`::-p-aria([name="${name}"][role="${role}"])`);
const button = (page, name) => find(page, name, 'button');
const textbox = (page, name) => find(page, name, 'textbox');
const focusedName = (page) => page.evaluate(() => document.activeElement.getAttribute('aria-label') ??
  document.activeElement.textContent);

async function onPhones(check, screens = PHONES) {
  const browser = await launch('chrome');
  try {
    for (const [size, viewport] of screens) {
      const page = await openPage(browser, viewport);
      await check(page, size);
      await page.close();
    }
  } finally {
    await browser.close();
  }
}

// The whole box on the screen where it fits, else its first lines.
const seenAsFits = (box) => box.evaluate((element) => {
  const rect = element.getBoundingClientRect();
  const screen = document.documentElement.clientHeight;
  const seen = rect.height <= screen ? rect.height : 3 * parseFloat(getComputedStyle(element).fontSize);
  return rect.top >= 0 && rect.top + seen <= screen;
});

test('on a touch screen: each poem in view, wrapped, without a scroll of its own', () => onPhones(async (page, size) => {
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
  assert.ok(await seenAsFits(output), `${size}: Ctrl+Enter brings the poem into view`);
  const poem = await button(page, 'Gedicht erzeugen mit wiederholbarer Zählung');
  for (let i = 0; i < 12; ++i) {
    await poem.tap();
    const {lines, sideways, hidden} = await output.evaluate((element) => ({lines: element.value.split('\n').length,
      sideways: element.scrollWidth - element.clientWidth, hidden: element.scrollHeight - element.clientHeight}));
    assert.ok(await seenAsFits(output), `${size}, poem ${i + 2} (${lines} lines): whole in view where it fits`);
    assert.equal(sideways, 0, `${size}, poem ${i + 2}: its lines wrap to the screen`);
    assert.equal(hidden, 0, `${size}, poem ${i + 2} (${lines} lines): the box shows it whole`);
  }
}, TOUCH_SCREENS));

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

// What of the page a popup covers: every caption, button and mark, and the
// sheet and the poem; a list box may yield.
const coveredBy = (page, popup) => page.$eval(popup, (shown) => {
  const at = shown.getBoundingClientRect();
  return [...document.querySelectorAll('.control:not(textarea), [data-role="sheet"], [data-role="output"], ' +
    '.poem-actions button')].filter((element) => {
    const rect = element.getBoundingClientRect();
    return element.checkVisibility() && at.left < rect.right && rect.left < at.right && at.top < rect.bottom &&
      rect.top < at.bottom;
  }).map((element) => element.getAttribute('aria-label') ?? element.textContent.trim());
});

test('notes clear of what they speak of and of every caption and button, drawn or in one column', async () => {
  const browser = await launch('chrome');
  // Each note: the box, the text typed into it and the button that reads it.
  const notes = [
    ['Handelnde: Liste', 'der Mann\n', 'Handelnde: übernehmen'],
    ['Adjektive: Liste', '\n', 'Adjektive: übernehmen'],
    ['Wahrscheinlichkeitswerte', 'w1=0,5\nw2 0,5\n', 'Werte Übernehmen: Wahrscheinlichkeitswerte'],
  ];
  try {
    for (const [size, viewport] of [['full size', FULL], ...PHONES]) {
      const page = await openPage(browser, viewport);
      await (await button(page, SHOW_SHEET)).click();
      for (const [box, text, reader] of notes) {
        await (await textbox(page, box)).evaluate((element, typed) => {
          element.value = typed;
        }, text);
        await (await button(page, reader)).click();
        assert.ok(await page.$eval('.hint', (hint) => hint.checkVisibility()), `${size}, ${reader}: a note`);
        assert.deepEqual(await coveredBy(page, '.hint'), [], `${size}, ${reader}: what the note covers`);
      }
      await page.close();
    }
  } finally {
    await browser.close();
  }
});

test('help without a mouse: under a touched control in one column, beside one reached by Tab', async () => {
  const browser = await launch('chrome');
  const helpShown = (page, control) => page.evaluate((element) => {
    const help = document.querySelector('.help');
    const [at, of] = [help.getBoundingClientRect(), element.getBoundingClientRect()];
    return {text: help.checkVisibility() && help.textContent, title: element.title,
      seen: at.top >= 0 && at.bottom <= innerHeight && at.height > 0, under: at.top >= of.bottom};
  }, control);
  try {
    for (const [size, viewport] of PHONES) {
      const page = await openPage(browser, viewport);
      // The control touched, the one then focused if another, and a rule its
      // help tells.
      for (const [touched, focused, rule] of [[['Handelnde: Liste', 'textbox'], null, 'höchstens 21 Zeilen'],
        [[SHOW_SHEET, 'button'], ['Wahrscheinlichkeitswerte', 'textbox'], 'w13:']]) {
        await (await find(page, ...touched)).tap();
        const shown = await helpShown(page, await find(page, ...(focused ?? touched)));
        assert.ok(shown.text && shown.text.includes(rule) && shown.text === shown.title,
          `${size}: the help of ${rule}`);
        assert.ok(shown.seen && shown.under, `${size}: ${rule} on the screen, under its control`);
      }
      await page.close();
    }
    // The page's own focus at start and a mouse leave the drawn window as
    // it is; Tab brings the help up.
    const page = await openPage(browser, FULL);
    assert.equal((await helpShown(page, await button(page, 'Handelnde: Beispiel'))).text, false, 'no help at start');
    await page.keyboard.press('Tab');
    const box = await textbox(page, 'Handelnde: Liste');
    const shown = await helpShown(page, box);
    assert.ok(shown.text && shown.text === shown.title, 'full size: the help of the box reached by Tab');
    assert.deepEqual(await coveredBy(page, '.help'), [], 'full size: what the help covers');
    await (await textbox(page, 'Verben: Liste')).click();
    assert.equal((await helpShown(page, box)).text, false, 'full size: a mouse has the tooltips');
    await page.close();
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

test('on a touch screen: every target at least 44 px each way', () => onPhones(async (page, size) => {
  await (await button(page, SHOW_SHEET)).click();
  const sizes = await page.$$eval('button, input, textarea', (targets) => targets.filter((element) =>
    element.getClientRects().length > 0).map((element) => {
    const rect = element.getBoundingClientRect();
    return {name: element.getAttribute('aria-label') ?? element.textContent, button: element.localName === 'button',
      width: rect.width, height: rect.height};
  }));
  assert.equal(sizes.filter((target) => target.button).length, 12 + 5,
    'the window\'s buttons and the page\'s five actions');
  assert.deepEqual(sizes.filter(({width, height}) => width < 44 || height < 44), [], `${size}: targets below 44×44`);
}, TOUCH_SCREENS));

test('a reload keeps the typed lists, unaccepted, and the open sheet, and a new tab starts empty, ' +
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
