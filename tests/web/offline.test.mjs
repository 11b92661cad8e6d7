// The page as an app in Chromium, served over http from a folder below the
// server's root: installable, opens and composes with the network cut off,
// and a new build is served and kept in place of the old at the next visit.
import {test} from 'node:test';
import assert from 'node:assert/strict';
import {execFileSync} from 'node:child_process';
import {appendFileSync, cpSync, mkdtempSync, readFileSync, rmSync, writeFileSync} from 'node:fs';
import {readFile} from 'node:fs/promises';
import http from 'node:http';
import os from 'node:os';
import path from 'node:path';
import {fileURLToPath} from 'node:url';
import {launch, FULL} from './browser.mjs';

const root = fileURLToPath(new URL('../..', import.meta.url));
const FIRST_POEM = readFileSync(path.join(root, 'tests/golden/defaults.txt'), 'utf8').split('\n=====\n')[0];
const FOLDER = '/gedichte/';
const TYPES = {'.html': 'text/html', '.js': 'text/javascript', '.css': 'text/css', '.svg': 'image/svg+xml',
  '.webmanifest': 'application/manifest+json', '.png': 'image/png', '.txt': 'text/plain; charset=utf-8'};

// Serves a page folder the way a static host does, with files fresh for ten
// minutes. While down, every connection drops as if the network were gone;
// the files named in failing are answered with a server error.
async function serve(folder) {
  const site = {folder, up: true, failing: []};
  const server = http.createServer(async (request, response) => {
    if (!site.up)
      return request.socket.destroy();
    const name = new URL(request.url, 'http://host').pathname.replace(FOLDER, '') || 'index.html';
    if (site.failing.includes(name))
      return response.writeHead(503).end();
    try {
      const body = await readFile(path.join(site.folder, path.basename(name)));
      response.writeHead(200, {'Content-Type': TYPES[path.extname(name)], 'Cache-Control': 'max-age=600'});
      response.end(body);
    } catch {
      response.writeHead(404).end();
    }
  });
  await new Promise((resolve) => server.listen(0, '127.0.0.1', resolve));
  site.url = `http://127.0.0.1:${server.address().port}${FOLDER}`;
  site.close = () => {
    server.closeAllConnections();
    server.close();
  };
  return site;
}

async function withSite(folder, visits) {
  const site = await serve(folder);
  const browser = await launch();
  try {
    const page = await browser.newPage();
    await page.setViewport(FULL);
    await page.goto(site.url);
    await page.waitForSelector('html[data-ready]');
    await page.evaluate(() => navigator.serviceWorker.ready.then(() => {}));
    await visits(page, site);
  } finally {
    await browser.close();
    site.close();
  }
}

async function reloadOffline(page, site) {
  site.up = false;
  await page.setOfflineMode(true);
  await page.reload();
  await page.waitForSelector('html[data-ready]');
}

const build = (page) => page.evaluate(() => [document.title,
  getComputedStyle(document.documentElement).getPropertyValue('--build')]);

test('installable, and composes with the network cut off', () => withSite(path.join(root, 'build/web'),
  async (page, site) => {
    const cdp = await page.createCDPSession();
    assert.deepEqual((await cdp.send('Page.getInstallabilityErrors')).installabilityErrors, []);
    const manifest = JSON.parse((await cdp.send('Page.getAppManifest')).data);
    const table = JSON.parse(await page.evaluate(async () => (await createVersomatCore()).controlTableJson()));
    assert.equal(manifest.theme_color, table.windowBackground, 'the app is coloured like the window');

    await reloadOffline(page, site);
    const find = (name, role) => page.waitForSelector(`::-p-aria([name="${name}"][role="${role}"])`);
    for (const list of ['Handelnde', 'Benutztes', 'Verben', 'Adjektive']) {
      await (await find(`${list}: Beispiel`, 'button')).click();
      await (await find(`${list}: übernehmen`, 'button')).click();
    }
    await (await find('Gedicht erzeugen mit wiederholbarer Zählung', 'button')).click();
    const poem = await (await find('Gedicht: Ausgabe', 'textbox')).evaluate((box) => box.value.replace(/\n/g, '\r\n'));
    assert.equal(poem, FIRST_POEM);
  }));

// A copy of the built page on a site of its own.
function withCopy(visits) {
  const folder = mkdtempSync(path.join(os.tmpdir(), 'versomat-offline-'));
  cpSync(path.join(root, 'build/web'), folder, {recursive: true});
  return withSite(folder, visits).finally(() => rmSync(folder, {recursive: true, force: true}));
}

// The page itself and a file it loads, both marked "neu": the browser keeps
// them apart in its HTTP cache, and either may come from there stale.
function newBuild(folder) {
  const index = path.join(folder, 'index.html');
  writeFileSync(index, readFileSync(index, 'utf8').replace('<title>Versomat</title>', '<title>neu</title>'));
  appendFileSync(path.join(folder, 'versomat.css'), ':root { --build: neu; }\n');
  execFileSync(process.execPath, [path.join(root, 'web/builder/offline_build.mjs'), folder]);
}

test('a new build is served at the next visit and replaces the kept one', () => withCopy(async (page, site) => {
  const [before] = await page.evaluate(() => caches.keys());
  newBuild(site.folder);
  await page.reload();
  assert.deepEqual(await build(page), ['neu', 'neu'], 'the new build at the next visit');
  await page.waitForFunction(async (old) => {
    const names = await caches.keys();
    return names.length === 1 && names[0] !== old;
  }, {polling: 100}, before);
  await reloadOffline(page, site);
  assert.deepEqual(await build(page), ['neu', 'neu'], 'the new build kept');
}));

// The server has a new build but answers its page with an error: the kept
// page opens, with the kept build's files, not the server's newer ones.
test('a page the server answers with an error opens from the kept build, whole', () => withCopy(async (page, site) => {
  newBuild(site.folder);
  site.failing = ['index.html'];
  await page.reload();
  await page.waitForSelector('html[data-ready]');
  assert.deepEqual(await build(page), ['Versomat', ''], 'the kept build');
}));
