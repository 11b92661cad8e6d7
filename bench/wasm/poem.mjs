// Processor time per poem through the WebAssembly core under Node, asked for
// as the page asks for it: the session's click on "Gedicht erzeugen", after
// each list's example and accept clicks, every click given the text of the
// box it reads. Prints nanoseconds. Run with --single-threaded, so that the
// process's time is the one thread's, as the native benchmark's is.
//   node --single-threaded bench/wasm/poem.mjs build/wasm/versomat_core.js
// VERSOMAT_BENCH_SMOKE=1 makes it a brief run that only shows it still works.
import {createRequire} from 'node:module';
import path from 'node:path';

const smoke = process.env.VERSOMAT_BENCH_SMOKE === '1';
// A failure is reported here: left to the core's loader, which rethrows it,
// Node would print the loader's whole one-line source beside it.
try {
  const createVersomatCore = createRequire(import.meta.url)(path.resolve(process.argv[2]));
  const core = await createVersomatCore();
  const rows = JSON.parse(core.controlTableJson()).controls;
  const session = new core.Session();

  // What each control shows, as the page's elements hold it. The texts stay
  // core text: the page turns the core's line breaks into a text field's and
  // back, which gives the core the very text it wrote.
  const shown = rows.map((row) => row.text);
  const press = (button) => {
    const reads = rows[button].reads;
    const answer = session.click(button, reads === null ? '' : shown[reads]);
    if (!answer)
      throw new Error(`control ${button} has no click`);
    for (const change of answer.changes) {
      if (change.text !== undefined)
        shown[change.control] = change.text;
    }
  };

  // The table's order: each list's example, then its accept.
  rows.forEach((row, i) => ['example', 'accept'].includes(row.role) && press(i));
  const generate = rows.findIndex((row) => row.role === 'generate');
  const output = rows.findIndex((row) => row.role === 'output');

  // Only the click is timed; the answer's poem reaches the page as a string.
  const timePoems = (count) => {
    const start = process.cpuUsage();
    for (let i = 0; i < count; ++i)
      session.click(generate, '');
    const used = process.cpuUsage(start);
    return ((used.user + used.system) * 1000) / count;
  };
  // Warm-up: lets the engine compile the module's hot code, and takes the
  // heading number to its limit, where it stays, as the native benchmark does,
  // so that every timed poem is the same work.
  timePoems(smoke ? 100 : 40000);
  press(generate);
  if (!shown[output].startsWith('Poem-Text'))
    throw new Error('the example lists did not give a poem');
  const runs = Array.from({length: smoke ? 3 : 7}, () => timePoems(smoke ? 1000 : 50000)).sort((a, b) => a - b);
  session.delete();
  console.log(runs[runs.length >> 1].toFixed(1));
} catch (error) {
  console.error(error);
  process.exit(1);
}
