// The page's own actions on the shown poem: a link that shows the same poem
// in another browser and goes on as the sender's page would, a link that
// hands out the word lists, copy, and print.
import {test} from 'node:test';
import assert from 'node:assert/strict';
import {launch, openPage, scriptsLate, PHONE} from './browser.mjs';

const POEM = 'Gedicht erzeugen mit wiederholbarer Zählung';
const LISTS = {
  'Handelnde: Liste': 'der Mann\ndie Frau\nviele Bäume\ndas Kind 😀',
  'Benutztes: Liste': 'das Obst\nder Hof\ndie Straße',
  'Verben: Liste': 'küsst\nliebt\nsieht',
  'Adjektive: Liste': ' alt\n häßlich',
};
const SHEET = 'w1=0.9\nw2 = 0.5\nw3=0.1\nw4=0.15\nw5=0.2\nw6=0.3\nw7=0.35\nw8=0.4\nw9=0.3\nw10=0.5\nw11=0.85\n' +
  'w12=0.9\nw13=0.25\n';

const button = async (page, name) => (await page.waitForSelector(`::-p-aria([name="${name}"][role="button"])`));
const press = async (page, name) => (await button(page, name)).click();
const valueOf = (page, name) => page.$eval(`::-p-aria([name="${name}"][role="textbox"])`, (box) => box.value);
const setValue = (page, name, text) => page.$eval(`::-p-aria([name="${name}"][role="textbox"])`,
  (box, value) => {
    box.value = value;
  }, text);
const poem = (page) => valueOf(page, 'Gedicht: Ausgabe');
// A link is read after the page is ready (the browser's stream inflates it):
// done once its answer or note is shown.
const opened = (page) => page.waitForFunction(() =>
  document.querySelector('[data-role="mark"]').value === 'OK' ||
  document.querySelector('[role="status"]').textContent !== '');
const announced = (page) => page.$eval('[role="status"]', (region) => region.textContent);
// The text seen beside the actions, on screen.
const seen = (page) => page.$eval('.poem-actions', (actions) => [...actions.querySelectorAll(':not(button)')]
  .filter((element) => element.checkVisibility() && element.getBoundingClientRect().bottom <= innerHeight)
  .map((element) => element.textContent).join(''));

async function stubClipboard(page) {
  await page.evaluate(() => {
    navigator.share = undefined;
    navigator.clipboard.writeText = async (text) => {
      window.copied = text;
    };
  });
}

// A sender's page with lists, values and a random start of its own; returns
// the link to its last poem and the ten poems after it.
async function sendersLink(page) {
  for (const [name, text] of Object.entries(LISTS)) {
    await setValue(page, name, text);
    await press(page, name.replace('Liste', 'übernehmen'));
  }
  await press(page, 'W-Werte: Wahrscheinlichkeitswerte anzeigen');
  await setValue(page, 'Wahrscheinlichkeitswerte', SHEET);
  await press(page, 'Werte Übernehmen: Wahrscheinlichkeitswerte');
  await press(page, 'Gedicht erzeugen mit Zufallsstart');
  await press(page, POEM);
  await press(page, POEM);
  // No share sheet on a desktop: the link goes to the clipboard.
  await page.evaluate(() => {
    navigator.share = undefined;
    navigator.clipboard.writeText = async (text) => {
      window.copied = text;
    };
  });
  await press(page, 'Link zum Gedicht teilen');
  await page.waitForFunction(() => window.copied);
  const link = await page.evaluate(() => window.copied);
  assert.match(await announced(page), /Link zum Gedicht ist in der Zwischenablage/);
  const shown = await poem(page);
  // A phone's share sheet gets the poem's text with the link.
  await page.evaluate(() => {
    navigator.share = async (data) => {
      window.shared = data;
    };
  });
  await press(page, 'Link zum Gedicht teilen');
  await page.waitForFunction(() => window.shared);
  assert.deepEqual(await page.evaluate(() => window.shared), {title: 'Versomat', url: link, text: shown});
  await press(page, 'Gedicht kopieren');
  assert.equal(await page.evaluate(() => window.copied), shown, 'copy gives the shown poem');
  const next = [];
  for (let i = 0; i < 10; ++i) {
    await press(page, POEM);
    next.push(await poem(page));
  }
  return {link, shown, next};
}

test('a link shows the same poem in either browser, and the next ten as the sender\'s', async () => {
  const chrome = await launch('chrome');
  const firefox = await launch('firefox');
  try {
    const sender = await openPage(chrome);
    const {link, shown, next} = await sendersLink(sender);
    assert.match(shown, /^Zufalls-Poem-Text 3\n/);
    // In Chromium, with the page's scripts arriving after the core started.
    for (const [browser, prepare] of [[chrome, scriptsLate], [firefox, null]]) {
      const receiver = await openPage(browser, PHONE, 'light', link, prepare);
      await opened(receiver);
      assert.equal(await poem(receiver), shown, 'the same poem');
      assert.equal(await valueOf(receiver, 'Handelnde: Liste'), LISTS['Handelnde: Liste']);
      for (const expected of next) {
        await press(receiver, POEM);
        assert.equal(await poem(receiver), expected);
      }
      await receiver.close();
    }

    // A damaged link changes nothing and says so.
    const damaged = await openPage(chrome, PHONE, 'light', link.slice(0, -3));
    await opened(damaged);
    assert.equal(await poem(damaged), 'noch leer\n');
    assert.equal(await valueOf(damaged, 'Handelnde: Status'), '*');
    assert.match(await announced(damaged), /konnte nicht gelesen werden/);
    assert.equal(await seen(damaged), await announced(damaged), 'the damaged link\'s note seen');
  } finally {
    await chrome.close();
    await firefox.close();
  }
});

// Word lists handed out open as a fresh page that accepted them: no poem yet,
// and the first one is a fresh page's.
test('a word-list link fills and accepts the lists, and starts as a fresh page', async () => {
  const chrome = await launch('chrome');
  const firefox = await launch('firefox');
  try {
    // Written in Firefox this time, whose compression stream is its own.
    const teacher = await openPage(firefox);
    await stubClipboard(teacher);
    await press(teacher, 'Wortlisten teilen');
    await teacher.waitForFunction(() => document.querySelector('[role="status"]').textContent !== '');
    assert.match(await seen(teacher), /^Noch keine Wortlisten übernommen/);
    for (const [name, text] of Object.entries(LISTS)) {
      await setValue(teacher, name, text);
      await press(teacher, name.replace('Liste', 'übernehmen'));
    }
    await press(teacher, 'Wortlisten teilen');
    await teacher.waitForFunction(() => window.copied);
    const link = await teacher.evaluate(() => window.copied);
    assert.match(link, /#wortlisten=/);
    await press(teacher, POEM);
    const first = await poem(teacher);

    const pupil = await openPage(chrome, PHONE, 'light', link);
    await opened(pupil);
    assert.equal(await poem(pupil), 'noch leer\n');
    assert.equal(await valueOf(pupil, 'Verben: Liste'), LISTS['Verben: Liste']);
    assert.equal(await valueOf(pupil, 'Adjektive: Status'), 'OK');
    await press(pupil, POEM);
    assert.equal(await poem(pupil), first);
  } finally {
    await chrome.close();
    await firefox.close();
  }
});

test('printed, the page is the shown poem alone, whole, black on white', async () => {
  const browser = await launch('chrome');
  try {
    const page = await openPage(browser, PHONE);
    for (const list of ['Handelnde', 'Benutztes', 'Verben', 'Adjektive']) {
      await press(page, `${list}: Beispiel`);
      await press(page, `${list}: übernehmen`);
    }
    for (let i = 0; i < 2; ++i)
      await press(page, POEM);
    const shown = await poem(page);
    await page.emulateMediaType('print');
    const printed = await page.evaluate(() => [...document.body.children]
      .filter((element) => getComputedStyle(element).display !== 'none')
      .map((element) => ({text: element.innerText, colour: getComputedStyle(element).color,
        background: getComputedStyle(element).backgroundColor})));
    assert.deepEqual(printed, [{text: shown, colour: 'rgb(0, 0, 0)', background: 'rgb(255, 255, 255)'}]);
  } finally {
    await browser.close();
  }
});

// Each action's answer stands beside the buttons and is what the live region
// says. Before any poem there is none to keep; after one, the share sheet and
// the clipboard may each work or refuse, and the share sheet be closed.
const SHARE = {none: undefined, shares: 'resolve', refuses: 'NotAllowedError', closed: 'AbortError'};
const ANSWERS = [
  // action, share sheet, clipboard works, the answer (null: none), the clipboard then
  ['Gedicht kopieren', 'none', true, /^Noch kein Gedicht/, null],
  ['Gedicht drucken', 'none', true, /^Noch kein Gedicht/, null],
  ['Link zum Gedicht teilen', 'shares', true, /^Noch kein Gedicht/, null],
  [POEM],
  ['Gedicht kopieren', 'none', true, /^Das Gedicht ist in der Zwischenablage/, 'poem'],
  ['Gedicht kopieren', 'none', false, /^Kopieren ging nicht/, null],
  ['Link zum Gedicht teilen', 'shares', true, /^Der Link zum Gedicht ist geteilt/, null],
  ['Wortlisten teilen', 'refuses', true, /^Der Link zu den Wortlisten ist in der Zwischenablage/, 'link'],
  ['Link zum Gedicht teilen', 'closed', true, null, null],
  ['Link zum Gedicht teilen', 'refuses', true, /^Der Link zum Gedicht ist in der Zwischenablage/, 'link'],
  // The link then waits in a field, selected.
  ['Link zum Gedicht teilen', 'refuses', false, /^Kopieren ging nicht: der Link/, null],
];

test('every action\'s answer is seen beside the buttons', async () => {
  for (const name of ['chrome', 'firefox']) {
    const browser = await launch(name);
    try {
      const page = await openPage(browser, PHONE);
      for (const list of ['Handelnde', 'Benutztes', 'Verben', 'Adjektive']) {
        await press(page, `${list}: Beispiel`);
        await press(page, `${list}: übernehmen`);
      }
      let link = null;
      for (const [action, share, copies, answer, copied] of ANSWERS) {
        const step = `${name}: ${action}, share sheet ${share}, clipboard ${copies ? 'works' : 'refuses'}`;
        await page.evaluate((refusal, copies) => {
          document.querySelector('[role="status"]').replaceChildren();
          window.copied = null;
          navigator.share = refusal === undefined ? undefined
            : async () => refusal === 'resolve' || Promise.reject(new DOMException('', refusal));
          navigator.clipboard.writeText = async (text) => {
            if (!copies)
              throw new DOMException('', 'NotAllowedError');
            window.copied = text;
          };
          window.print = () => {
            window.copied = 'printed';
          };
        }, SHARE[share], copies);
        await press(page, action);
        if (answer === undefined)
          continue;
        if (answer === null) {
          await new Promise((resolve) => setTimeout(resolve, 200));
          assert.equal(await seen(page) + await announced(page), '', `${step}: nothing said`);
          continue;
        }
        await page.waitForFunction(() => document.querySelector('[role="status"]').textContent !== '', {timeout: 5000});
        assert.match(await seen(page), answer, step);
        assert.equal(await announced(page), await seen(page), `${step}: announced`);
        const clipboard = await page.evaluate(() => window.copied);
        if (copied === 'link')
          link = clipboard;
        assert.equal(clipboard, copied === 'poem' ? await poem(page) : copied === 'link' ? link : null, step);
      }
      const field = await page.waitForSelector('::-p-aria([name="Link zum Gedicht"][role="textbox"])');
      assert.deepEqual(await field.evaluate((box) => [box.value, box === document.activeElement,
        box.selectionStart, box.selectionEnd, box.value.length]), [link, true, 0, link.length, link.length]);
    } finally {
      await browser.close();
    }
  }
});
