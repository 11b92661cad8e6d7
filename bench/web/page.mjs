// The web edition's budgets, measured in headless Chromium on the built
// page (bash scripts/web --no-serve first):
//   - everything the page loads up to its first poem, uncompressed (budget
//     200 KB);
//   - everything it loads when a QR code is asked for as well, which it loads
//     only then: uncompressed (budget 320 KB) and gzipped file by file at
//     zlib's default level, as a static host serves it (budget 110 KB);
//   - from navigation to the first poem on screen, after the four examples,
//     the four accepts and "Gedicht erzeugen" pressed by script (budget 300 ms,
//     median of 10 fresh loads).
// It also names the size of the whole folder, which the offline worker keeps.
// Run: node bench/web/page.mjs
// VERSOMAT_BENCH_SMOKE=1 loads the page once, to show that it still works.
import {readFileSync, statSync} from 'node:fs';
import path from 'node:path';
import {fileURLToPath, pathToFileURL} from 'node:url';
import {gzipSync} from 'node:zlib';
import {launch, pageUrl, press, showFirstPoem, FULL} from '../../tests/web/browser.mjs';

const RUNS = process.env.VERSOMAT_BENCH_SMOKE === '1' ? 1 : 10;
const SIZE_BUDGET = 200 * 1000;
const ALL_SIZE_BUDGET = 320 * 1000;
const ALL_GZIP_BUDGET = 110 * 1000;
const TIME_BUDGET_MS = 300;

// Runs in the page before its own scripts: presses the buttons as soon as the
// controls exist and notes the time once the poem's frame has been drawn.
function pressWhenReady() {
  const press = (name) => document.querySelector(`button[aria-label="${name}"]`).click();
  const run = () => {
    for (const list of ['Handelnde', 'Benutztes', 'Verben', 'Adjektive']) {
      press(`${list}: Beispiel`);
      press(`${list}: übernehmen`);
    }
    [...document.querySelectorAll('button')].find((button) => button.textContent.startsWith('Gedicht')).click();
    requestAnimationFrame(() => setTimeout(() => {
      window.firstPoem = {ms: performance.now(),
        poem: document.querySelector('textarea[aria-label="Gedicht: Ausgabe"]').value};
    }));
  };
  new MutationObserver((changes, observer) => {
    if (document.documentElement.hasAttribute('data-ready')) {
      observer.disconnect();
      run();
    }
  }).observe(document, {attributes: true, subtree: true, attributeFilter: ['data-ready']});
}

const median = (values) => {
  const sorted = [...values].sort((a, b) => a - b);
  return (sorted[(sorted.length - 1) >> 1] + sorted[sorted.length >> 1]) / 2;
};

const browser = await launch('chrome');
try {
  const loaded = new Set();
  const times = [];
  for (let run = 0; run < RUNS; ++run) {
    const page = await browser.newPage();
    await page.setViewport(FULL);
    page.on('request', (request) => loaded.add(request.url()));
    await page.evaluateOnNewDocument(pressWhenReady);
    await page.goto(pageUrl);
    const result = await (await page.waitForFunction(() => window.firstPoem)).jsonValue();
    if (!result.poem.startsWith('Poem-Text 1'))
      throw new Error(`no first poem shown: ${JSON.stringify(result.poem.slice(0, 80))}`);
    times.push(result.ms);
    await page.close();
  }
  // Each file's size, and its size gzipped; data: URLs (the WebAssembly
  // inside the modules) travel inside their files.
  const weigh = (urls) => {
    const files = [...urls].filter((url) => !url.startsWith('data:')).map((url) => {
      if (!url.startsWith('file:'))
        throw new Error(`the page loaded something not in its folder: ${url}`);
      const file = fileURLToPath(url);
      return {name: path.basename(file), bytes: statSync(file).size, gzipped: gzipSync(readFileSync(file)).length};
    });
    const sum = (key) => files.reduce((total, file) => total + file[key], 0);
    return {files, bytes: sum('bytes'), gzipped: sum('gzipped')};
  };
  const verdict = (value, budget) => `(budget ${budget}) ${value <= budget ? 'ok' : 'OVER'}`;
  const first = weigh(loaded);
  for (const {name, bytes} of first.files)
    console.log(`  ${name}: ${bytes} bytes`);
  console.log(`page weight: ${first.bytes} bytes in ${first.files.length} files ${verdict(first.bytes, SIZE_BUDGET)}`);

  // A page that shows a QR code as well loads the QR module then.
  const page = await browser.newPage();
  await page.setViewport(FULL);
  page.on('request', (request) => loaded.add(request.url()));
  await page.goto(pageUrl);
  await page.waitForSelector('html[data-ready]');
  await showFirstPoem(page);
  await press(page, 'QR-Code');
  await page.waitForSelector('dialog.qr-code[open] img');
  const all = weigh(loaded);
  for (const {name, bytes, gzipped} of all.files.filter(({name}) => !first.files.some((file) => file.name === name)))
    console.log(`  ${name}: ${bytes} bytes, ${gzipped} gzipped`);
  console.log(`page weight with a QR code: ${all.bytes} bytes in ${all.files.length} files ` +
    `${verdict(all.bytes, ALL_SIZE_BUDGET)}, ${all.gzipped} gzipped ${verdict(all.gzipped, ALL_GZIP_BUDGET)}`);
  const folder = path.dirname(fileURLToPath(pageUrl));
  // What an installed page can load: every file the worker keeps, itself too.
  const worker = readFileSync(path.join(folder, 'offline_worker.js'), 'utf8');
  const keptNames = [...JSON.parse(/^const BUILD = (.*);$/m.exec(worker)[1]).files, 'offline_worker.js'];
  const kept = weigh(keptNames.map((name) => pathToFileURL(path.join(folder, name)).href));
  console.log(`what the offline worker keeps: ${kept.bytes} bytes in ${kept.files.length} files ` +
    `${verdict(kept.bytes, ALL_SIZE_BUDGET)}, ${kept.gzipped} gzipped ${verdict(kept.gzipped, ALL_GZIP_BUDGET)}`);
  const ms = median(times);
  console.log(`navigation to first poem: median ${ms.toFixed(1)} ms of ${RUNS} (min ${Math.min(...times).toFixed(1)}, ` +
    `max ${Math.max(...times).toFixed(1)}; budget ${TIME_BUDGET_MS}) ${ms <= TIME_BUDGET_MS ? 'ok' : 'OVER'}`);
} finally {
  await browser.close();
}
