// The page's layout in Chromium: the table's places to the pixel wherever the
// window fits across, one column without sideways scrolling on a phone; every
// control under its name with its help text as tooltip.
import {test} from 'node:test';
import assert from 'node:assert/strict';
import {launch, openPage, showFirstPoem, FULL, LAPTOP, PHONE} from './browser.mjs';

const ROLE = {button: 'button', textbox: 'textbox'};

// Each control of the core's table with the box it has on the page, found
// by its accessible name (labels by their text).
async function placedControls(page) {
  const table = JSON.parse(await page.evaluate(async () => (await createVersomatCore()).controlTableJson()));
  await (await page.waitForSelector('::-p-aria([name="W-Werte: Wahrscheinlichkeitswerte anzeigen"][role="button"])')).click();
  const placed = [];
  for (const row of table.controls) {
    const selector = row.kind === 'label' ? `::-p-text(${row.text.trim()})`
      : `::-p-aria([name="${row.accessibleName}"][role="${ROLE[row.kind]}"])`;
    const handle = await page.$(selector);
    assert.ok(handle, `${row.name} found as ${selector}`);
    const box = await handle.evaluate((element) => {
      const rect = element.getBoundingClientRect();
      return {left: rect.left + scrollX, top: rect.top + scrollY, width: rect.width, height: rect.height,
        fontSize: parseFloat(getComputedStyle(element).fontSize), tooltip: element.title,
        clipped: element.localName !== 'textarea' && element.scrollWidth > element.clientWidth};
    });
    assert.equal(box.tooltip.replace(/\n/g, '\r\n'), row.help, `${row.name}: its help text as tooltip`);
    placed.push({row, box});
  }
  return {table, placed};
}

test('the drawn layout, pixel for pixel, where the window fits across', async () => {
  const browser = await launch('chrome');
  try {
    for (const [size, viewport] of [['full size', FULL], ['laptop', LAPTOP]]) {
      const page = await openPage(browser, viewport);
      const {placed} = await placedControls(page);
      for (const {row, box} of placed) {
        assert.ok(!box.clipped, `${size}: ${row.name} shows its whole text`);
        assert.deepEqual([box.left, box.top, box.width, box.height], [row.left, row.top, row.width, row.height],
          `${size}: ${row.name}`);
      }
      await page.close();
    }
  } finally {
    await browser.close();
  }
});

// A laptop's screen is shorter than the window: the poem's actions below it
// would need scrolling to, with or without a poem shown.
test('on a laptop\'s screen the poem\'s actions in view without scrolling', async () => {
  const browser = await launch('chrome');
  const actionsSeen = (page) => page.$$eval('.poem-actions button', (buttons) => buttons.every((element) => {
    const rect = element.getBoundingClientRect();
    return rect.top >= 0 && rect.left >= 0 && rect.bottom <= innerHeight && rect.right <= innerWidth;
  }));
  try {
    for (const viewport of [LAPTOP, {width: 1366, height: 768}]) {
      const page = await openPage(browser, viewport);
      assert.ok(await actionsSeen(page), `${viewport.width}×${viewport.height}: at start`);
      await showFirstPoem(page);
      assert.ok(await actionsSeen(page), `${viewport.width}×${viewport.height}: with a poem`);
      await page.close();
    }
  } finally {
    await browser.close();
  }
});

// A pixel narrower than the drawn window is one column already: the drawn
// layout would scroll sideways by that pixel.
test('narrower than the window (phone, 745 px): one column, nothing beside the screen, text at its size', async () => {
  const browser = await launch('chrome');
  try {
    for (const [size, viewport] of [['phone', PHONE], ['745 px', {width: FULL.width - 1, height: FULL.height}]]) {
      const page = await openPage(browser, viewport);
      const {placed} = await placedControls(page);
      const width = await page.evaluate(() => document.documentElement.clientWidth);
      assert.ok(await page.evaluate(() => document.documentElement.scrollWidth <= innerWidth),
        `${size}: no sideways scrolling`);
      for (const {row, box} of placed) {
        assert.ok(box.left >= 0 && box.left + box.width <= width, `${size}: ${row.name} within the screen's width`);
        assert.ok(!box.clipped, `${size}: ${row.name} shows its whole text`);
        if (row.font.face)
          assert.equal(box.fontSize, row.font.points * 4 / 3, `${size}: ${row.name} keeps its font size`);
      }
      const byRole = (role, list) => placed.find(({row}) => row.role === role && row.list === list).box;
      for (const list of ['actors', 'objects', 'verbs', 'adjectives']) {
        const [accept, mark, box] = [byRole('accept', list), byRole('mark', list), byRole('box', list)];
        assert.equal(mark.top, accept.top, `${size}: ${list}: the mark beside its accept button`);
        assert.ok(accept.top > box.top, `${size}: ${list}: the accept button below its list`);
      }
      await page.close();
    }
  } finally {
    await browser.close();
  }
});

// The first paint is the window itself, before the core or any page script
// has loaded: each control where, and coloured as, the started page has it.
test('the window stands at the first paint, before any script has run', async () => {
  const browser = await launch('chrome');
  const shown = (page) => page.$$eval('.control', (controls) => Object.fromEntries(controls.map((element) => {
    const rect = element.getBoundingClientRect();
    const style = getComputedStyle(element);
    return [element.dataset.name, [rect.left, rect.top, rect.width, rect.height, style.backgroundColor, style.color,
      element.hidden]];
  })));
  try {
    for (const [size, viewport] of [['full size', FULL], ['phone', PHONE]]) {
      const started = await openPage(browser, viewport);
      const before = await browser.newPage();
      await before.setViewport(viewport);
      await before.setRequestInterception(true);
      before.on('request', (request) => request.url().endsWith('.js') ? request.abort() : request.continue());
      await before.goto(started.url());
      assert.deepEqual(await shown(before), await shown(started), size);
      await Promise.all([started.close(), before.close()]);
    }
  } finally {
    await browser.close();
  }
});
