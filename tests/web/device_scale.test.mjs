// The plane at Chromium's device scales 1.5 and 2: a backing store of the
// canvas's size times the device pixel ratio, clicks on the design pixel
// under the pointer, crisp lines of one device width for each kind, and no
// colour that the program does not draw (nothing smoothed).

import { test, before, after } from 'node:test';
import assert from 'node:assert/strict';
import * as h from './lib/harness.mjs';

const site = h.serveForFile(before, after);
const { Caption, Colour } = h;

const kGrid = 0xc0c0c0;
const kPalette = new Set([Colour.white, kGrid, Colour.black, Colour.red, Colour.maroon, Colour.lime, Colour.aqua,
  Colour.yellow, Colour.fuchsia, Colour.purple]);

// The runs of each colour along device row y (or column x): { colour: [lengths] }.
function runs(image, { row, column }, from = 0, to = row !== undefined ? image.width : image.height) {
  const out = {};
  let colour = null, length = 0;
  const flush = () => { if (colour !== null) (out[colour] ??= []).push(length); };
  for (let i = from; i < to; i++) {
    const c = row !== undefined ? h.pixel(image, i, row) : h.pixel(image, column, i);
    if (c === colour) { length++; continue; }
    flush();
    colour = c; length = 1;
  }
  flush();
  return out;
}

// The device row or column through the middle of a design pixel.
const mid = (design, s) => Math.floor((design + 0.5) * s);

// The plane's readout of P for a click on design pixel (x, y).
const readoutOf = (x, y) => `点Ｐ (${((x - 330) / 33).toFixed(2)} , ${((330 - y) / 33).toFixed(2)})`;

for (const dpr of [1.5, 2]) {
  test(`device pixel ratio ${dpr}: backing store, clicks and lines`, async () => {
    await h.withBrowser({ dpr }, async ({ page }) => {
      await h.open(page, site.url);
      assert.equal(await page.evaluate(() => devicePixelRatio), dpr);
      await h.press(page, Caption.openJunsen);
      await h.type(page, 'Ｘ＝ ２ X座標 ５ Y座標 ０ ＰＦ １ ＰＨ １ 決定');
      await h.settle(page);

      const box = await page.$eval(`${h.kActive} canvas.tk-paintbox`,
        (c) => ({ css: c.getBoundingClientRect().width, width: c.width, height: c.height }));
      assert.equal(box.width, Math.round(box.css * dpr), 'backing store = CSS width x ratio');
      assert.equal(box.height, box.width);
      const s = box.width / h.kPlane;

      // Lines as the confirm leaves them: the grid, the axes, the fixed line.
      const confirmed = await h.planeImage(page);
      const row = runs(confirmed, { row: mid(16, s) });
      for (const [name, colour] of [['grid', kGrid], ['axis', Colour.black], ['fixed line', Colour.aqua]]) {
        const widths = new Set(row[colour] ?? []);
        assert.equal(widths.size, 1, `${name}: one device width along the row (${[...widths]})`);
      }
      const lineWidth = [...new Set(row[Colour.aqua])][0];
      const axisColumn = runs(confirmed, { column: mid(100, s) });
      assert.equal(new Set(axisColumn[Colour.black]).size, 1, 'the x axis: one device height');
      assert.equal(new Set(axisColumn[kGrid]).size, 1, 'the grid across: one device height');

      // Clicks: the readout names the design pixel, P's dot lies about it.
      for (const [x, y] of [[0, 0], [659, 659], [341, 319], [429, 330], [1, 658]]) {
        await h.clickPlane(page, x, y);
        await h.settle(page);
        assert.ok((await h.readout(page)).includes(readoutOf(x, y)), `a click on (${x}, ${y}): ${await h.readout(page)}`);
        const image = await h.planeImage(page);
        // The segments, drawn after the dot, may cover its middle.
        assert.ok(h.near(image, x, y, Colour.lime, 2) > 0, `P's dot on (${x}, ${y})`);
      }

      // Lines: P (5, 3) draws F -> P upright and P -> H level in magenta.
      await h.clickPlane(page, 495, 231);
      await h.settle(page);
      let image = await h.planeImage(page);
      const upright = runs(image, { row: mid(280, s) }, mid(480, s), mid(510, s))[Colour.fuchsia];
      const level = runs(image, { column: mid(450, s) }, mid(215, s), mid(245, s))[Colour.fuchsia];
      assert.equal(upright?.length, 1);
      assert.equal(level?.length, 1);
      assert.equal(upright[0], level[0], 'the segments: one device width either way');

      // The curve, at its vertex (3.5, 0), where it stands upright.
      await h.clickPlane(page, 495, 231);
      await h.press(page, Caption.graph);
      await h.settle(page);
      image = await h.planeImage(page);
      const vertex = runs(image, { row: mid(330, s) }, mid(430, s), mid(470, s))[Colour.red];
      assert.equal(vertex?.length, 1, 'one red crossing at the vertex');
      assert.ok(vertex[0] >= lineWidth && vertex[0] <= lineWidth + Math.ceil(s),
        `the curve as wide as the fixed line (${vertex[0]} against ${lineWidth})`);
      const others = new Set();
      for (let i = 0; i < image.data.length; i += 4) {
        const c = (image.data[i] << 16) | (image.data[i + 1] << 8) | image.data[i + 2];
        if (!kPalette.has(c)) others.add(c.toString(16));
      }
      assert.deepEqual([...others], [], 'only the program\'s colours: nothing smoothed');
    });
  });
}
