// The fixed point and fixed line window as a student uses it in the
// browser: x = 2, F (5, 0), terms 1 : 1, confirmed; trial points; a point
// of the parabola leaves its afterimage and offers the graph; the graph
// draws the parabola. Once by mouse, once by touch, where each tap must
// set P on the same design pixel as the click.

import { test, before, after } from 'node:test';
import assert from 'node:assert/strict';
import * as h from './lib/harness.mjs';

const site = h.serveForFile(before, after);
const { Caption, Colour, at } = h;

// y^2 = 6x - 21: PF = PH for F (5, 0) and x = 2.
const parabola = (x, y) => y * y - 6 * x + 21;

// Plays the road with `hit` for presses and `hitPlane` for the plane;
// returns what the student saw at each step.
async function road(page, hit, hitPlane) {
  const seen = {};
  const step = async (name) => {
    await h.settle(page);
    seen[name] = { image: await h.planeImage(page), readout: await h.readout(page) };
    return seen[name];
  };
  await hit(Caption.openJunsen);
  await h.settle(page);
  assert.equal(await page.title(), Caption.junsen);
  assert.equal(await h.pressed(page, '定直線の方程式：'), 'true', 'opening selects the fixed line');
  for (const key of ['Ｘ＝', '２', 'X座標', '５', 'Y座標', '０', 'ＰＦ', '１', 'ＰＨ', '１']) await hit(key);
  await h.settle(page);
  assert.ok((await h.labels(page)).includes(' Ｘ＝２'), 'the line keyed');
  await hit('決定');
  let s = await step('confirmed');
  const scale = s.image.width / h.kPlane;
  for (const [x, y] of [[396, 5], [396, 330], [396, 655]]) assert.ok(h.near(s.image, x, y, Colour.aqua, 1), `the line at ${x},${y}`);
  assert.ok(h.near(s.image, ...at(5, 0), Colour.red, 1) >= 9 * scale * scale, 'F a red dot');
  assert.equal(h.count(s.image, Colour.lime), 0, 'no P before a click');
  assert.equal(await h.pressed(page, '定直線の方程式：'), 'false', 'the confirm deselects');

  await hitPlane(...at(3, 0));
  s = await step('P (3, 0)');
  assert.match(s.readout, /点Ｐ \(3\.00 , 0\.00\)/);
  assert.match(s.readout, /ＰＦ：ＰＨ＝1\.00:0\.50 誤差＝1\.00/);
  assert.ok(h.near(s.image, 460, 330, Colour.yellow, 0), 'PF in yellow');
  assert.equal(h.count(s.image, Colour.fuchsia), 0);

  await hitPlane(...at(5, 3));
  s = await step('P (5, 3)');
  assert.match(s.readout, /点Ｐ \(5\.00 , 3\.00\)/);
  assert.match(s.readout, /ＰＦ：ＰＨ＝1\.00:1\.00 誤差＝0\.00/);
  assert.ok(h.near(s.image, 495, 280, Colour.fuchsia, 0), 'F -> P in magenta');
  assert.equal(await h.buttonShown(page, Caption.graph), false, 'the graph waits a repaint');

  await hitPlane(...at(3, 0));
  s = await step('afterimage');
  assert.ok(h.near(s.image, ...at(5, 3), Colour.maroon, 2) >= 9 * scale * scale, 'the afterimage dot');
  assert.equal(await h.buttonShown(page, Caption.graph), true);

  await hit(Caption.graph);
  s = await step('curve');
  const fit = h.curveFit(s.image, parabola, { skip: [at(5, 0)] });
  assert.ok(fit.total > 300 * scale, `the parabola drawn (${fit.total} red pixels)`);
  assert.equal(fit.stray, 0, 'every red pixel on the parabola');
  assert.equal(fit.uncovered, 0, `the parabola whole (${fit.onCurve} design pixels on it)`);

  await hit(Caption.graph);
  s = await step('curve off');
  assert.equal(h.curveFit(s.image, parabola, { skip: [at(5, 0)] }).total, 0, 'the second press takes it away');
  await hit(Caption.end);
  await h.settle(page);
  assert.deepEqual(await h.shownForms(page), [Caption.menu]);
  return seen;
}

let byMouse = null;

test('by mouse: keys, confirm, trial points, afterimage and the parabola', async () => {
  await h.withBrowser({}, async ({ page }) => {
    await h.open(page, site.url);
    byMouse = await road(page, (c) => h.press(page, c), (x, y) => h.clickPlane(page, x, y));
  });
});

test('by touch: the same road, each tap on the design pixel the click hit', async () => {
  await h.withBrowser({ hasTouch: true }, async ({ page }) => {
    await h.open(page, site.url);
    const tap = async (caption) => {
      const c = await h.controlCentre(page, caption);
      await page.touchscreen.tap(c.x, c.y);
    };
    const byTouch = await road(page, tap, (x, y) => h.tapPlane(page, x, y));
    if (byMouse) {
      for (const name of Object.keys(byMouse)) {
        assert.equal(byTouch[name].readout, byMouse[name].readout, `${name}: the readout`);
        assert.ok(byTouch[name].image.data.equals(byMouse[name].image.data), `${name}: the plane as by mouse`);
      }
    }
  });
});
