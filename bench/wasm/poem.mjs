// Processor time per poem through the WebAssembly core's session under
// Node, as the page calls it (texts cross as JavaScript strings). Prints
// nanoseconds. Run with --single-threaded, so that the process's time is
// the one thread's, as the native benchmark's is.
//   node --single-threaded bench/wasm/poem.mjs build/wasm/versomat_core.js
import {createRequire} from 'node:module';
import path from 'node:path';

const createVersomatCore = createRequire(import.meta.url)(path.resolve(process.argv[2]));
const core = await createVersomatCore();
const session = new core.Session();
for (let list = 0; list < 4; ++list)
  session.accept(list, session.example(list));
if (!session.poem().startsWith('Poem-Text'))
  throw new Error('the example lists did not give a poem');

const timePoems = (count) => {
  const start = process.cpuUsage();
  for (let i = 0; i < count; ++i)
    session.poem();
  const used = process.cpuUsage(start);
  return ((used.user + used.system) * 1000) / count;
};
timePoems(20000); // warm-up: let the engine compile the module's hot code
const runs = Array.from({length: 7}, () => timePoems(50000)).sort((a, b) => a - b);
session.delete();
console.log(runs[3].toFixed(1));
