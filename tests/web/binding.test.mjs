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
  assert.deepEqual(restored.linkPayload('gedicht'), saved.linkPayload('gedicht'));
});

// A box's text comes back exactly, whatever units it holds, through the
// JSON that carries each answer.
test('a text with lone surrogates, NUL and line separators comes back exactly', async () => {
  const core = await createVersomatCore();
  const table = JSON.parse(core.controlTableJson()).controls;
  const row = (role) => table.findIndex((r) => r.role === role && r.list === 'actors');
  const text = '\uFEFFder Mann\uD800\u2028\0"\\\r\nder Hund 🐔\u2029\t\uDC00';
  const session = new core.Session();
  session.click(row('accept'), text);
  const answer = new core.Session().restore(session.saved());
  assert.equal(answer.changes.find((change) => change.control === row('box')).text, text);
});

// A short link made and opened as the page does: the core's bytes through
// the stream ('deflate-raw'), framed by the core; read back the other way,
// inflating no more than the core allows.
const deflated = async (bytes) =>
  new Uint8Array(await new Response(new Blob([bytes]).stream().pipeThrough(new CompressionStream('deflate-raw')))
    .arrayBuffer());

async function inflated(bytes, limit) {
  const reader = new Blob([bytes]).stream().pipeThrough(new DecompressionStream('deflate-raw')).getReader();
  const chunks = [];
  let size = 0;
  try {
    for (let read = await reader.read(); !read.done; read = await reader.read()) {
      if ((size += read.value.length) > limit) {
        await reader.cancel();
        return null;
      }
      chunks.push(read.value);
    }
  } catch {
    return null;
  }
  const bytesRead = new Uint8Array(size);
  chunks.reduce((at, chunk) => (bytesRead.set(chunk, at), at + chunk.length), 0);
  return bytesRead;
}

async function open(core, session, fragment) {
  const kind = core.linkKindOf(fragment);
  const bytes = core.deflatedOfLink(fragment);
  if (!kind || !bytes)
    return session.openLink(fragment);
  const payload = await inflated(bytes, core.maxLinkPayload());
  return payload && session.openPayload(kind, payload);
}

// The same table the native reader is checked against: a 32-bit size_t
// must not let a link through that the native core refuses.
test('crafted links are taken or refused as natively', async () => {
  const core = await createVersomatCore();
  const table = readFileSync(new URL('../poem_links.txt', import.meta.url), 'utf8');
  for (const line of table.split('\n').filter((l) => l && !l.startsWith('#'))) {
    const [expected, link] = line.split(' ');
    assert.equal(await open(core, new core.Session(), link) !== null, expected === 'open',
      line.slice(line.indexOf(' ', 8)));
  }
});

test('a short link opens to the same poem and the next ten; a word-list link to a fresh page\'s', async () => {
  const core = await createVersomatCore();
  const table = JSON.parse(core.controlTableJson()).controls;
  const row = (role, list) => table.findIndex((r) => r.role === role && (list === undefined || r.list === list));
  const output = (answer) => answer.changes.find((change) => change.control === row('output')).text;
  const lists = {actors: 'der Bär\r\ndie Möwe\r\nviele Hühner 🐔', objects: 'das Öl',
    verbs: 'grüßt\r\nwinkt👋', adjectives: ' süß\r\n\uD800 alt'};
  const link = async (session, kind) => core.linkOfDeflated(kind, await deflated(session.linkPayload(kind)));
  for (const own of [false, true]) {
    const sender = new core.Session();
    assert.equal(sender.linkPayload('wortlisten'), null, 'no lists accepted yet');
    for (const [list, text] of Object.entries(lists))
      sender.click(row('accept', list), own ? text : sender.click(row('example', list), null).changes[0].text);
    if (own) {
      sender.click(row('sheetShow'), null);
      sender.click(row('sheetAccept'), 'w1=0.9\r\nw2 = 0.1\r\nw3=1e-300\r\nw4=-0\r\nw5=2\r\nw6=0.3\r\nw7=0.35\r\n' +
        'w8=0.4\r\nw9=0.3\r\nw10=0.5\r\nw11=0.85\r\nw12=0.9\r\nw13=0.3\r\n');
    }
    const listsLink = await link(sender, 'wortlisten');
    const fresh = output(sender.click(row(own ? 'random' : 'generate'), null));
    const poemLink = await link(sender, 'gedicht');
    const receiver = new core.Session();
    assert.equal(output(await open(core, receiver, poemLink)), fresh);
    for (let i = 0; i < 10; ++i)
      assert.equal(output(receiver.click(row('generate'), null)), output(sender.click(row('generate'), null)));

    const handedOut = new core.Session();
    assert.equal(output(await open(core, handedOut, listsLink)), table[row('output')].text);
    if (!own)
      assert.equal(output(handedOut.click(row('generate'), null)), fresh, 'a fresh page\'s first poem');
  }
});
