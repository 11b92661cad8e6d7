// The page at full size in Chromium against its reference picture, pixel for
// pixel, drawn with the project's fonts only: faces, bold, italic, alignment
// and colours, which no other test looks at. After an intended change of
// look, renew it with
//   VERSOMAT_RENEW_REFERENCE=1 node --test tests/web/look.test.mjs
// and commit tests/reference/page.png.
import {test} from 'node:test';
import assert from 'node:assert/strict';
import {mkdirSync, readFileSync, writeFileSync} from 'node:fs';
import {inflateSync} from 'node:zlib';
import {launch, openPage, showFirstPoem, FULL} from './browser.mjs';

const reference = new URL('../reference/page.png', import.meta.url);
const shownAt = new URL('../../build/page_shown.png', import.meta.url);

// The pixels of an 8-bit, non-interlaced RGB or RGBA PNG as RGBA, so that
// two encoders' files of the same picture compare equal.
function decodePng(file) {
  const png = Buffer.from(file);
  let width = 0, height = 0, channels = 0;
  const data = [];
  for (let at = 8; at < png.length; at += 12 + png.readUInt32BE(at)) {
    const type = png.toString('latin1', at + 4, at + 8);
    const body = png.subarray(at + 8, at + 8 + png.readUInt32BE(at));
    if (type === 'IHDR') {
      [width, height] = [body.readUInt32BE(0), body.readUInt32BE(4)];
      const [depth, colourType, , , interlace] = body.subarray(8);
      assert.ok(depth === 8 && [2, 6].includes(colourType) && interlace === 0, 'an 8-bit RGB(A) PNG, not interlaced');
      channels = colourType === 6 ? 4 : 3;
    } else if (type === 'IDAT') {
      data.push(body);
    }
  }
  const raw = inflateSync(Buffer.concat(data));
  const stride = width * channels;
  let previous = Buffer.alloc(stride);
  const rgba = Buffer.alloc(width * height * 4, 255);
  for (let y = 0; y < height; ++y) {
    const filter = raw[y * (stride + 1)];
    const row = Buffer.from(raw.subarray(y * (stride + 1) + 1, (y + 1) * (stride + 1)));
    for (let i = 0; i < stride; ++i) {
      const a = i >= channels ? row[i - channels] : 0;
      const b = previous[i];
      const c = i >= channels ? previous[i - channels] : 0;
      if (filter === 1) {
        row[i] += a;
      } else if (filter === 2) {
        row[i] += b;
      } else if (filter === 3) {
        row[i] += (a + b) >> 1;
      } else if (filter === 4) {
        const [pa, pb, pc] = [Math.abs(b - c), Math.abs(a - c), Math.abs(a + b - 2 * c)];
        row[i] += pa <= pb && pa <= pc ? a : pb <= pc ? b : c;
      }
    }
    for (let x = 0; x < width; ++x)
      row.copy(rgba, (y * width + x) * 4, x * channels, x * channels + channels);
    previous = row;
  }
  return {width, height, rgba};
}

test('the page at full size looks as its reference picture', async () => {
  const browser = await launch('chrome', {projectFonts: true});
  try {
    const page = await openPage(browser, FULL);
    await showFirstPoem(page);
    // No control under the pointer, none hovered.
    await page.mouse.move(0, 0);
    const file = await page.screenshot();
    if (process.env.VERSOMAT_RENEW_REFERENCE)
      writeFileSync(reference, file);
    const shown = decodePng(file);
    const expected = decodePng(readFileSync(reference));
    const sameSize = shown.width === expected.width && shown.height === expected.height;
    let differing = 0;
    for (let i = 0; sameSize && i < shown.rgba.length; i += 4)
      differing += shown.rgba.readUInt32BE(i) !== expected.rgba.readUInt32BE(i);
    if (!sameSize || differing !== 0) {
      mkdirSync(new URL('.', shownAt), {recursive: true});
      writeFileSync(shownAt, file);
    }
    assert.ok(sameSize, `${shown.width}×${shown.height} shown; the page as shown is in ${shownAt.pathname}`);
    assert.equal(differing, 0, `pixels differ; the page as shown is in ${shownAt.pathname}`);
  } finally {
    await browser.close();
  }
});
