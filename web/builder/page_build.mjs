// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Versomat developers
// Writes the window's controls and the page's own texts ({{key}} in it) into a
// built page folder's index.html from the core's control table, so that the
// first paint shows the window before any script has run, and the page's start
// only wires the controls up.
//   node web/builder/page_build.mjs FOLDER
import {createRequire} from 'node:module';
import {readFileSync, writeFileSync} from 'node:fs';
import path from 'node:path';

const CONTROLS_MARK = '<!-- controls -->';
const TEXT_MARK = /\{\{(\w+)\}\}/g;

const folder = process.argv[2];
if (!folder) {
  console.error('usage: node web/builder/page_build.mjs FOLDER');
  process.exit(2);
}

const createCore = createRequire(import.meta.url)(path.resolve(folder, 'versomat_core.js'));
const core = await createCore();
const table = JSON.parse(core.controlTableJson());

const escapeText = (text) => text.replaceAll('&', '&amp;').replaceAll('<', '&lt;').replaceAll('>', '&gt;');
const escapeAttribute = (text) => escapeText(text).replaceAll('"', '&quot;');
// The core writes line breaks as "\r\n"; HTML reads "\n".
const fromCoreText = (text) => text.replaceAll('\r\n', '\n');

// The first paint's text colour on a coloured control: the one the core finds
// readable with black system text. The page paints again with the scheme's own
// system colours once it starts, so a dark scheme corrects it there.
const BLACK = 0;
const readableOn = (background) => core.readableText(parseInt(background.slice(1), 16), BLACK);

function fontStyle(font) {
  if (!font.face)
    return {classes: ['standard-font'], style: []};
  const style = [`font-size:${font.points}pt`];
  if (font.bold)
    style.push('font-weight:bold');
  if (font.italic)
    style.push('font-style:italic');
  return {classes: [font.face === 'serif' ? 'face-serif' : 'face-sans'], style};
}

// What the first paint shows, and no more: the page weighs every byte, and
// names and help are given by versomat.js from the same table.
function controlHtml(row) {
  const font = fontStyle(row.font);
  const classes = ['control', row.kind, ...font.classes];
  for (const [flag, name] of [[row.scrollBars, 'scrolls'], [row.centred, 'centred'], [row.framed, 'framed'],
    [row.onTop, 'on-top']]) {
    if (flag)
      classes.push(name);
  }
  const style = [`--left:${row.left}px`, `--top:${row.top}px`, `--width:${row.width}px`, `--height:${row.height}px`,
    ...font.style];
  if (row.background)
    style.push(`background-color:${row.background}`, `color:${readableOn(row.background)}`);
  const attributes = [['class', classes.join(' ')], ['data-role', row.role], ['data-name', row.name],
    ['style', style.join(';')]];
  if (row.hidden)
    attributes.push(['hidden', '']);
  const text = escapeText(fromCoreText(row.text));
  switch (row.kind) {
  case 'label':
    return `<div ${attributeList(attributes)}>${text}</div>`;
  case 'button':
    return `<button type="button" ${attributeList(attributes)}>${text}</button>`;
  default: {
    // Word lists are German fragments: no spelling marks, no capitals forced
    // on a phone keyboard.
    const typing = [['spellcheck', 'false'], ['autocomplete', 'off'], ['autocapitalize', 'off']];
    if (row.multiLine) {
      // The parser drops a line break right after the opening tag; this one
      // goes, one the text begins with stays.
      return `<textarea wrap="${row.scrollBars ? 'off' : 'soft'}" ${attributeList([...typing, ...attributes])}>\n` +
        `${text}</textarea>`;
    }
    // A one-line box otherwise asks for twenty characters' width, which would
    // widen the status marks' column in one-column flow.
    return `<input type="text" size="1" value="${escapeAttribute(fromCoreText(row.text))}" ` +
      `${attributeList([...typing, ...attributes])}>`;
  }
  }
}

function attributeList(attributes) {
  return attributes.map(([name, value]) => name === 'hidden' ? name : `${name}="${escapeAttribute(value)}"`).join(' ');
}

// In the column's order, the order of a phone: where the window is drawn,
// versomat.js puts the controls in the table's order for Tab.
const controls = table.controls.map((row) => [row.order, controlHtml(row)]).sort(([a], [b]) => a - b)
  .map(([, html]) => html);
const root = {
  '--client-width': `${table.client.width}px`,
  '--client-height': `${table.client.height}px`,
  '--margin': `${Math.min(...table.controls.map((row) => row.left))}px`,
  '--window-background': table.windowBackground,
};
// The drawn window where it fits across, and only for a mouse or no pointer
// at all: its buttons, 17 to 25 px high, are too small for a finger on any
// screen, so a touch screen gets the one column however wide it is.
const fits = `(min-width: ${table.client.width}px)`;
const rootAttributes = `data-wide="${fits} and (pointer: fine), ${fits} and (pointer: none)" style="${
  Object.entries(root).map(([name, value]) => `${name}: ${value}`).join('; ')}"`;

const index = path.join(folder, 'index.html');
const page = readFileSync(index, 'utf8');
if (!page.includes(CONTROLS_MARK) || !/<html\b/.test(page)) {
  console.error(`page_build: ${index} has no ${CONTROLS_MARK} or no <html> to fill in`);
  process.exit(1);
}
const unknown = [...page.matchAll(TEXT_MARK)].map(([, key]) => key)
  .filter((key) => !Object.hasOwn(table.pageTexts, key));
if (unknown.length > 0) {
  console.error(`page_build: ${index} asks for texts the core does not have: ${unknown.join(', ')}`);
  process.exit(1);
}
// The texts first, so that a control's own text is never read as a mark.
writeFileSync(index, page.replace(TEXT_MARK, (mark, key) => escapeAttribute(fromCoreText(table.pageTexts[key])))
  .replace(/<html\b/, `<html ${rootAttributes}`).replace(CONTROLS_MARK, () => controls.join('\n')));
