// Makes a built page folder an installable app that works offline: writes the
// manifest, coloured like the window by the core in the folder, then the
// worker with the folder's file list and a hash of their content.
//   node web/builder/offline_build.mjs FOLDER
import {createHash} from 'node:crypto';
import {createRequire} from 'node:module';
import {readFileSync, readdirSync, writeFileSync} from 'node:fs';
import path from 'node:path';

const WORKER = 'offline_worker.js';
const MANIFEST = 'versomat.webmanifest';

const folder = process.argv[2];
if (!folder) {
  console.error('usage: node web/builder/offline_build.mjs FOLDER');
  process.exit(2);
}
const source = (name) => readFileSync(new URL(`../page/${name}`, import.meta.url), 'utf8');

const createCore = createRequire(import.meta.url)(path.resolve(folder, 'versomat_core.js'));
const {windowBackground} = JSON.parse((await createCore()).controlTableJson());
const version = readFileSync(new URL('../../VERSION', import.meta.url), 'utf8').trim();
const manifest = {...JSON.parse(source(MANIFEST)), version, theme_color: windowBackground, background_color: windowBackground};
writeFileSync(path.join(folder, MANIFEST), JSON.stringify(manifest, null, 2) + '\n');

// The worker's own bytes change with the hash, which is what makes the
// browser install it anew.
const files = readdirSync(folder, {withFileTypes: true})
  .filter((entry) => entry.isFile() && entry.name !== WORKER).map((entry) => entry.name).sort();
const hash = createHash('sha256');
for (const name of files)
  hash.update(`${name}\0${createHash('sha256').update(readFileSync(path.join(folder, name))).digest('hex')}\n`);
const build = {hash: hash.digest('hex').slice(0, 16), files};
writeFileSync(path.join(folder, WORKER), `const BUILD = ${JSON.stringify(build)};\n${source(WORKER)}`);
