// Lighthouse's mobile scores of the built page (bash scripts/web --no-serve
// first), served over http on 127.0.0.1 with Debian's Chromium, gzipped as
// static hosts serve it. Aims:
// accessibility, best practices and SEO 100, performance at least 95.
// Run: npm ci --prefix bench/web/lighthouse && node bench/web/lighthouse/run.mjs
// VERSOMAT_BENCH_SMOKE=1 runs Lighthouse once, to show that it still works,
// and checks no aim: one run proves no score.
import {createServer} from 'node:http';
import {readFile} from 'node:fs/promises';
import {gzipSync} from 'node:zlib';
import path from 'node:path';
import {fileURLToPath} from 'node:url';
import lighthouse from 'lighthouse';
import * as chromeLauncher from 'chrome-launcher';

const root = path.resolve(path.dirname(fileURLToPath(import.meta.url)), '../../../build/web');
const TYPES = {'.html': 'text/html', '.js': 'text/javascript', '.css': 'text/css', '.svg': 'image/svg+xml',
  '.webmanifest': 'application/manifest+json', '.png': 'image/png'};
const AIMS = {accessibility: 100, 'best-practices': 100, seo: 100, performance: 95};

const server = createServer(async (request, response) => {
  const name = decodeURIComponent(new URL(request.url, 'http://x').pathname).replace(/\/$/, '/index.html');
  try {
    const body = await readFile(path.join(root, path.normalize(name)));
    const gzip = /\bgzip\b/.test(request.headers['accept-encoding'] ?? '');
    response.writeHead(200, {'Content-Type': TYPES[path.extname(name)] ?? 'application/octet-stream',
      ...(gzip ? {'Content-Encoding': 'gzip'} : {})});
    response.end(gzip ? gzipSync(body) : body);
  } catch {
    response.writeHead(404).end();
  }
});
await new Promise((resolve) => server.listen(0, '127.0.0.1', resolve));
const chrome = await chromeLauncher.launch({chromePath: '/usr/bin/chromium',
  chromeFlags: ['--headless=new', '--no-sandbox', '--disable-gpu', '--disable-background-networking',
    '--disable-component-update', '--disable-sync', '--no-first-run']});
// Performance varies from run to run on a busy machine: the median of five.
const smoke = process.env.VERSOMAT_BENCH_SMOKE === '1';
const RUNS = smoke ? 1 : 5;
const scores = Object.fromEntries(Object.keys(AIMS).map((id) => [id, []]));
const lacking = new Map();
try {
  for (let run = 0; run < RUNS; ++run) {
    const result = await lighthouse(`http://127.0.0.1:${server.address().port}/`, {port: chrome.port,
      output: 'json', logLevel: 'error', onlyCategories: Object.keys(AIMS)});
    for (const [id, category] of Object.entries(result.lhr.categories)) {
      scores[id].push(Math.round(category.score * 100));
      for (const ref of category.auditRefs) {
        const audit = result.lhr.audits[ref.id];
        if (ref.weight > 0 && audit.score !== null && audit.score < 1)
          lacking.set(audit.id, audit.displayValue ?? String(audit.score));
      }
    }
  }
} finally {
  await chrome.kill();
  server.close();
}
let missed = 0;
for (const [id, aim] of Object.entries(AIMS)) {
  const sorted = scores[id].sort((a, b) => a - b);
  const median = sorted[Math.floor(sorted.length / 2)];
  missed += median < aim;
  console.log(`${id.padEnd(15)} median ${String(median).padStart(3)} of ${sorted.join(', ')}  (aim ${aim})`);
}
for (const [id, value] of lacking)
  console.log(`  short of full marks in some run: ${id} (${value})`);
process.exitCode = missed && !smoke ? 1 : 0;
