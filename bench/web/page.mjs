// The web edition's two budgets, measured in headless Chromium on the built
// page (bash scripts/web --no-serve first):
//   - everything the page loads, uncompressed (budget 200 KB);
//   - from navigation to the first poem on screen, after the four examples,
//     the four accepts and "Gedicht erzeugen" pressed by script (budget 300 ms,
//     median of 10 fresh loads).
// Run: node bench/web/page.mjs
// VERSOMAT_BENCH_SMOKE=1 loads the page once, to show that it still works.
import {statSync} from 'node:fs';
import {fileURLToPath} from 'node:url';
import {launch, pageUrl, FULL} from '../../tests/web/browser.mjs';

const RUNS = process.env.VERSOMAT_BENCH_SMOKE === '1' ? 1 : 10;
const SIZE_BUDGET = 200 * 1000;
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
  let bytes = 0;
  let files = 0;
  for (const url of loaded) {
    // The WebAssembly module travels inside versomat_core.js as a data: URL.
    if (url.startsWith('data:'))
      continue;
    if (!url.startsWith('file:'))
      throw new Error(`the page loaded something not in its folder: ${url}`);
    const size = statSync(fileURLToPath(url)).size;
    bytes += size;
    ++files;
    console.log(`  ${fileURLToPath(url).replace(/.*\/build\/web\//, '')}: ${size} bytes`);
  }
  const ms = median(times);
  console.log(`page weight: ${bytes} bytes in ${files} files (budget ${SIZE_BUDGET}) ${bytes <= SIZE_BUDGET ? 'ok' : 'OVER'}`);
  console.log(`navigation to first poem: median ${ms.toFixed(1)} ms of ${RUNS} (min ${Math.min(...times).toFixed(1)}, ` +
    `max ${Math.max(...times).toFixed(1)}; budget ${TIME_BUDGET_MS}) ${ms <= TIME_BUDGET_MS ? 'ok' : 'OVER'}`);
} finally {
  await browser.close();
}
