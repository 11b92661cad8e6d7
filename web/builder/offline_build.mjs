// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Versomat developers
// Makes a built page folder an installable app that works offline: writes the
// manifest, coloured like the window and described as the page by the core in
// the folder, then the worker with the folder's file list and a hash of their
// content, which it also stamps index.html with.
//   node web/builder/offline_build.mjs FOLDER
import {createHash} from 'node:crypto';
import {createRequire} from 'node:module';
import {readFileSync, readdirSync, writeFileSync} from 'node:fs';
import path from 'node:path';

const WORKER = 'offline_worker.js';
const MANIFEST = 'versomat.webmanifest';
const INDEX = 'index.html';
const STAMP = /<!-- build \w+ -->\n$/;

const folder = process.argv[2];
if (!folder) {
  console.error('usage: node web/builder/offline_build.mjs FOLDER');
  process.exit(2);
}
const source = (name) => readFileSync(new URL(`../page/${name}`, import.meta.url), 'utf8');

const createCore = createRequire(import.meta.url)(path.resolve(folder, 'versomat_core.js'));
const {windowBackground, pageTexts} = JSON.parse((await createCore()).controlTableJson());
const version = readFileSync(new URL('../../VERSION', import.meta.url), 'utf8').trim();
const manifest = {...JSON.parse(source(MANIFEST)), description: pageTexts.description, version,
  theme_color: windowBackground, background_color: windowBackground};
writeFileSync(path.join(folder, MANIFEST), JSON.stringify(manifest, null, 2) + '\n');

// The worker's own bytes change with the hash, which is what makes the
// browser install it anew. index.html is hashed without a stamp an earlier
// run wrote, so that running this again on the folder gives the same hash.
// The licences are for whoever passes the folder on; the page never loads
// them, so no visitor's storage keeps them.
const NOT_KEPT = new Set([WORKER, 'LICENSES.txt']);
const files = readdirSync(folder, {withFileTypes: true})
  .filter((entry) => entry.isFile() && !NOT_KEPT.has(entry.name)).map((entry) => entry.name).sort();
const index = path.join(folder, INDEX);
const page = readFileSync(index, 'utf8').replace(STAMP, '');
const hash = createHash('sha256');
for (const name of files) {
  const bytes = name === INDEX ? page : readFileSync(path.join(folder, name));
  hash.update(`${name}\0${createHash('sha256').update(bytes).digest('hex')}\n`);
}
const build = {hash: hash.digest('hex').slice(0, 16), files};
// The page carries its build's hash, so that the worker knows a page of the
// build it keeps by its bytes alone.
writeFileSync(index, `${page}<!-- build ${build.hash} -->\n`);
writeFileSync(path.join(folder, WORKER), `const BUILD = ${JSON.stringify(build)};\n${source(WORKER)}`);
