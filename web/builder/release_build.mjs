// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Versomat developers
// Gives a built page folder what a release needs: the version from VERSION in
// a generator meta tag, the public address from VERSOMAT_ADDRESS (when set)
// in a versomat-address meta tag, so that the page opened from disk makes
// links that open elsewhere, the phone icons drawn from the desktop icon by
// rsvg-convert (the same bytes on every run), and the licences of the
// libraries compiled into versomat_core.js and versomat_qr.js.
//   node web/builder/release_build.mjs FOLDER
import {execFileSync} from 'node:child_process';
import {readFileSync, writeFileSync} from 'node:fs';
import path from 'node:path';

const folder = process.argv[2];
if (!folder) {
  console.error('usage: node web/builder/release_build.mjs FOLDER');
  process.exit(2);
}
const root = new URL('../../', import.meta.url);
const fail = (message) => {
  console.error(`release_build: ${message}`);
  process.exit(1);
};

const version = readFileSync(new URL('VERSION', root), 'utf8').trim();
const page = path.join(folder, 'index.html');
const html = readFileSync(page, 'utf8');
const charset = /<meta charset="utf-8">\n/i;
if (!charset.test(html))
  fail(`${page} has no <meta charset="utf-8"> line to put the version after`);
let metas = `<meta name="generator" content="Versomat ${version}">\n`;
const address = process.env.VERSOMAT_ADDRESS;
if (address) {
  let url = null;
  try {
    url = new URL(address);
  } catch {
    // Refused below.
  }
  if (!url || !/^https?:$/.test(url.protocol) || url.hash)
    fail(`VERSOMAT_ADDRESS must be the page's public http(s) address, without a fragment, not '${address}'`);
  const attribute = url.href.replace(/&/g, '&amp;').replace(/"/g, '&quot;').replace(/</g, '&lt;');
  metas += `<meta name="versomat-address" content="${attribute}">\n`;
}
writeFileSync(page, html.replace(charset, (line) => `${line}${metas}`));

// A maskable icon may be cut to a circle of 80 % of its width: the tile,
// rounded square and all, fits that circle at 336 of 512 px. iOS fills a
// touch icon's transparent corners with black, so both stand on white.
const svg = new URL('ui/icons/versomat.svg', root).pathname;
const icons = [
  ['versomat-192.png', ['-w', '192', '-h', '192']],
  ['versomat-maskable-512.png',
    ['-w', '336', '-h', '336', '--page-width', '512', '--page-height', '512', '--left', '88', '--top', '88', '-b', 'white']],
  ['apple-touch-icon.png', ['-w', '180', '-h', '180', '-b', 'white']],
];
for (const [name, size] of icons)
  execFileSync('rsvg-convert', [...size, '-o', path.join(folder, name), svg], {stdio: 'inherit'});

// The page's own licence, then those of emscripten's parts in the core as
// Debian's emscripten package states them: its runtime and allocator
// ("*"), the C library, the C++ library and the compiler's
// built-ins. Texts that file only names come from /usr/share/common-licenses.
const COPYRIGHT = '/usr/share/doc/emscripten/copyright';
const COMPILED_IN = ['*', 'system/lib/libc/musl/*', 'system/lib/libcxx/*', 'system/lib/libcxxabi/*',
  'system/lib/compiler-rt/*'];
const paragraphs = readFileSync(COPYRIGHT, 'utf8').split(/\n\s*\n/);
const field = (paragraph, name) => paragraph.match(new RegExp(`^${name}:(.*(?:\\n[ \\t].*)*)`, 'm'))?.[1];
const parts = COMPILED_IN.map((pattern) => paragraphs.find((p) => field(p, 'Files')?.trim() === pattern) ??
  fail(`${COPYRIGHT} has no paragraph for ${pattern}`));
const names = new Set(parts.flatMap((p) => field(p, 'License').split('\n')[0]
  .replace(/ with .*/, '').split(/ or | and /).map((name) => name.trim())));
const texts = [...names].map((name) => {
  const own = paragraphs.find((p) => !field(p, 'Files') && field(p, 'License')?.split('\n')[0].trim() === name) ??
    fail(`${COPYRIGHT} has no text for the licence ${name}`);
  const common = own.match(/\/usr\/share\/common-licenses\/([\w.+-]+)/);
  return common ? `License: ${name}\n${readFileSync(common[0], 'utf8')}` : own;
});
const emscripten = execFileSync('dpkg-query', ['-W', '-f=${Version}', 'emscripten'], {encoding: 'utf8'});
// versomat_qr.js holds the QR code library, whose notice heads the source
// file compiled in (the folder scripts/qrcodegen_source keeps, fetching
// nothing once it has it).
const qrSource = execFileSync('bash', [new URL('scripts/qrcodegen_source', root).pathname],
  {encoding: 'utf8', stdio: ['ignore', 'pipe', 'inherit']}).trim();
const qrPackage = path.basename(path.dirname(qrSource)).replace('_', ' ');
const qrNotice = readFileSync(path.join(qrSource, 'qrcodegen.c'), 'utf8').match(/^\/\*([\s\S]*?)\*\//)?.[1]
  .split('\n').map((line) => line.replace(/^ \* ?/, '').trimEnd()).join('\n').trim() ??
  fail(`${qrSource}/qrcodegen.c does not begin with its licence`);
writeFileSync(path.join(folder, 'LICENSES.txt'), [
  `Versomat ${version}\n\n${readFileSync(new URL('LICENSE', root), 'utf8')}`,
  `versomat_core.js and versomat_qr.js hold parts of emscripten (Debian's package ${emscripten}), compiled in. ` +
    `Their copyright and licences, as ${COPYRIGHT} gives them:`,
  ...parts, ...texts,
  `versomat_qr.js holds the QR code library of Debian's source package ${qrPackage}, compiled in. ` +
    `Its copyright and licence:\n\n${qrNotice}`].join('\n\n').trimEnd() + '\n');
