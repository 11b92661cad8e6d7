// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Versomat developers
// Drops from a built page folder's own scripts and style sheet what only a
// reader of the source needs: whole-line comments but the licence's,
// indentation and blank lines. The page weighs every byte it loads; the sources keep their words.
// The core's loader is emscripten's and stays as it is.
//   node web/builder/page_shrink.mjs FOLDER
import {readFileSync, readdirSync, writeFileSync} from 'node:fs';
import path from 'node:path';

const CORE = 'versomat_core.js';

const folder = process.argv[2];
if (!folder) {
  console.error('usage: node web/builder/page_shrink.mjs FOLDER');
  process.exit(2);
}

// Line by line, so that no statement is joined to another.
const lines = (text) => text.split('\n').map((line) => line.trim()).filter((line) => line !== '');
// The licence's two lines stay: a file passed on alone still says it.
const LICENCE = /^(\/\/|\/\*) (SPDX-License-Identifier:|Copyright) /;
const SHRINK = {
  '.js': (text) => lines(text).filter((line) => !line.startsWith('//') || LICENCE.test(line)).join('\n'),
  '.css': (text) => lines(text.replace(/\/\*[\s\S]*?\*\//g, (comment) => (LICENCE.test(comment) ? comment : '')))
    .join('\n'),
};

// A line with an odd number of backticks opens a template that goes on
// below, whose text trimming would change.
const spansLines = (text) => text.split('\n').some((line) => (line.match(/`/g)?.length ?? 0) % 2 === 1);

for (const name of readdirSync(folder)) {
  const shrink = SHRINK[path.extname(name)];
  if (!shrink || name === CORE)
    continue;
  const file = path.join(folder, name);
  const text = readFileSync(file, 'utf8');
  if (name.endsWith('.js') && spansLines(text)) {
    console.error(`page_shrink: ${file} has a template over several lines, which it cannot shrink safely`);
    process.exit(1);
  }
  writeFileSync(file, `${shrink(text)}\n`);
}
