// The page's way into the core under Node, without a browser: a click the
// page should never send is refused without keeping what it was handed.
import {test} from 'node:test';
import assert from 'node:assert/strict';
import {createRequire} from 'node:module';
import {readFileSync} from 'node:fs';

const createVersomatCore = createRequire(import.meta.url)('../../build/web/versomat_core.js');

test('a click on no button is refused and leaves nothing behind', async () => {
  const core = await createVersomatCore();
  const table = JSON.parse(core.controlTableJson());
  const session = new core.Session();
  const accept = table.controls.findIndex((row) => row.role === 'accept');
  const text = `der ${'Mann'.repeat(45_000)}`; // 180 KB as UTF-16
  // The first calls may grow the heap to what one such text needs.
  session.click(accept, text);
  const before = core.HEAPU8.length;
  for (let i = 0; i < 100; ++i) {
    for (const button of [-1, 0, table.controls.length, table.controls.findIndex((row) => row.kind === 'textbox')])
      assert.equal(session.click(button, text), null, `control ${button} has no click`);
    session.click(accept, text);
  }
  assert.ok(core.HEAPU8.length - before < 1 << 20, `the heap grew from ${before} to ${core.HEAPU8.length} bytes`);
});

// A reload brings the session back: the restored page shows the poem and
// marks again and its next poem is the one the old page would have shown.
test('a saved session is restored and goes on as before', async () => {
  const core = await createVersomatCore();
  const table = JSON.parse(core.controlTableJson()).controls;
  const row = (role, list) => table.findIndex((r) => r.role === role && (list === undefined || r.list === list));
  const output = (answer) => answer.changes.find((change) => change.control === row('output')).text;
  const saved = new core.Session();
  for (const list of ['actors', 'objects', 'verbs', 'adjectives'])
    saved.click(row('accept', list), saved.click(row('example', list), null).changes[0].text);
  const shown = output(saved.click(row('random'), null));

  const restored = new core.Session();
  assert.equal(restored.restore(saved.saved().slice(1)), null, 'a damaged record is refused');
  const answer = restored.restore(saved.saved());
  assert.equal(output(answer), shown);
  assert.equal(answer.changes.find((change) => change.control === row('mark', 'verbs')).text, 'OK');
  assert.equal(output(restored.click(row('generate'), null)), output(saved.click(row('generate'), null)));
  assert.equal(restored.poemLink(), saved.poemLink());
});

// The same table the native reader is checked against: a 32-bit size_t
// must not let a link through that the native core refuses.
test('crafted links are taken or refused as natively', async () => {
  const core = await createVersomatCore();
  const table = readFileSync(new URL('../poem_links.txt', import.meta.url), 'utf8');
  for (const line of table.split('\n').filter((l) => l && !l.startsWith('#'))) {
    const [expected, link] = line.split(' ');
    assert.equal(new core.Session().openLink(link) !== null, expected === 'open', line.slice(line.indexOf(' ', 8)));
  }
});
