// The two fixed points window in the browser: F1 (-3, 0), F2 (3, 0), sum
// 10, confirmed; a trial point on the ellipse, its afterimage, the graph.

import { test, before, after } from 'node:test';
import assert from 'node:assert/strict';
import * as h from './lib/harness.mjs';

const site = h.serveForFile(before, after);
const { Caption, Colour, at } = h;

// PF1 + PF2 = 10.
const ellipse = (x, y) => Math.hypot(x + 3, y) + Math.hypot(x - 3, y) - 10;

test('foci, sum, trial points and the ellipse', async () => {
  await h.withBrowser({}, async ({ page }) => {
    await h.open(page, site.url);
    await h.press(page, Caption.openSyoten);
    await h.settle(page);
    assert.equal(await page.title(), Caption.syoten);
    assert.equal(await h.pressed(page, 'X座標', 1), 'true', 'opening selects F1\'s x');
    for (const [c, n] of [['X座標', 1], ['－'], ['３'], ['Y座標', 1], ['０'], ['X座標', 2], ['３'], ['Y座標', 2], ['０'],
      ['２定点からの距離の'], ['和＝'], ['１'], ['０'], ['決定']]) await h.press(page, c, n);
    await h.settle(page);
    assert.ok((await h.labels(page)).includes(' 和＝１０'));
    assert.deepEqual(await h.openBoxes(page), [], '10 exceeds |F1F2| = 6');
    let image = await h.planeImage(page);
    const scale = image.width / h.kPlane;
    assert.ok(h.near(image, 231, 330, Colour.maroon, 0) && h.near(image, 429, 330, Colour.maroon, 0), 'F1 and F2');
    assert.equal(h.count(image, Colour.lime), 0);

    await h.clickPlane(page, ...at(0, 4));
    await h.settle(page);
    image = await h.planeImage(page);
    assert.match(await h.readout(page), /点Ｐ \(0\.00 , 4\.00\)/);
    assert.match(await h.readout(page), /距離の和＝10\.00 誤差＝0\.00/);
    assert.ok(h.near(image, 330, 196, Colour.lime, 0), 'P');
    assert.ok(h.near(image, 280, 264, Colour.fuchsia, 1) && h.near(image, 380, 264, Colour.fuchsia, 1), 'F1 -> P -> F2');
    assert.equal(await h.buttonShown(page, Caption.graph), false);

    await h.clickPlane(page, 100, 600);  // off the ellipse
    await h.settle(page);
    image = await h.planeImage(page);
    assert.ok(h.near(image, 100, 600, Colour.lime, 1), 'the new P');
    assert.ok(h.count(image, Colour.yellow) > 0, 'a miss draws yellow');
    assert.ok(h.near(image, ...at(0, 4), Colour.maroon, 2) >= 9 * scale * scale, 'the afterimage of the hit');
    assert.equal(await h.buttonShown(page, Caption.graph), true);

    await h.press(page, Caption.graph);
    await h.settle(page);
    image = await h.planeImage(page);
    const fit = h.curveFit(image, ellipse);
    assert.ok(fit.total > 300 * scale, `the ellipse drawn (${fit.total})`);
    assert.equal(fit.stray, 0);
    assert.equal(fit.uncovered, 0, `a closed outline (${fit.onCurve})`);

    // A zoom step draws it again at the new scale; the graph takes it away.
    const position = await h.barPosition(page);
    await h.zoom(page, 'right');
    await h.settle(page);
    assert.equal(await h.barPosition(page), position + 1);
    assert.ok(h.count(await h.planeImage(page), Colour.red) > 0);
    await h.press(page, Caption.graph);
    await h.settle(page);
    assert.equal(h.count(await h.planeImage(page), Colour.red), 0);

    // The retry empties the fields and takes the graph button away; the
    // plane stays as drawn until its next repaint.
    await h.press(page, Caption.retry);
    await h.settle(page);
    assert.equal(await h.buttonShown(page, Caption.graph), false);
    assert.equal(await h.pressed(page, 'X座標', 1), 'true');
    assert.ok(!(await h.labels(page)).includes(' 和＝１０'), 'the fields emptied');
  });
});
