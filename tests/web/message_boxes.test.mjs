// The three message boxes in the browser: their texts, modal while open
// (the window behind takes no click), never two at once, closed by OK, by
// Return and by Escape; the two fixed points' re-entry box selects the
// distance field only once it is closed.

import { test, before, after } from 'node:test';
import assert from 'node:assert/strict';
import * as h from './lib/harness.mjs';

const site = h.serveForFile(before, after);
const { Caption, Colour } = h;

const kLineRefused = ['条件に誤りがあります', '再入力してください'];
const kDistanceRefused = ['条件に誤りがあります。', '距離を再入力して下さい。'];
const kDiagonal = ['２定点が斜めの場合の描画機能は本プログラムにはありません。',
  '２定点が水平または垂直の場合のみ描画機能は使用できます。'];

// Closes the open box the way named; it must close.
async function closeBox(page, by) {
  if (by === 'OK') await page.click('dialog.tk-message[open] button.tk-message-ok');
  else await page.keyboard.press(by);
  await h.settle(page);
  assert.deepEqual(await h.openBoxes(page), [], `${by} closes the box`);
}

// A box is open: a click on a key of the window behind, and one on its
// plane, change nothing; a second box never opens.
async function checkModal(page, keyCaption) {
  const labels = await h.labels(page);
  const image = await h.planeImage(page);
  const key = await h.controlCentre(page, keyCaption);
  await page.mouse.click(key.x, key.y);
  const p = await h.planePoint(page, 100, 100);
  await page.mouse.click(p.x, p.y);
  await h.settle(page);
  assert.deepEqual(await h.labels(page), labels, 'the keypad behind takes no click');
  assert.ok((await h.planeImage(page)).data.equals(image.data), 'the plane behind takes no click');
  assert.equal((await h.openBoxes(page)).length, 1, 'one box at a time');
}

test('F on the fixed line: the refusal, modal, closed by OK, Return and Escape', async () => {
  await h.withBrowser({}, async ({ page }) => {
    await h.open(page, site.url);
    await h.press(page, Caption.openJunsen);
    await h.type(page, 'Ｘ＝ ５ X座標 ５ Y座標 ０ ＰＦ １ ＰＨ １');
    for (const by of ['OK', 'Enter', 'Escape']) {
      await h.press(page, '決定');
      const box = await h.waitBox(page);
      assert.deepEqual(box.lines, kLineRefused);
      assert.equal(box.title, Caption.menu, 'the program\'s title');
      await checkModal(page, '７');
      await closeBox(page, by);
      assert.ok((await h.labels(page)).includes(' Ｘ＝５'), 'the fields keep their values');
      assert.equal(await page.title(), Caption.junsen, 'the window stays, not reset');
    }
  });
});

test('a sum below the foci\'s distance: the re-entry box, the distance field selected once it is closed', async () => {
  await h.withBrowser({}, async ({ page }) => {
    await h.open(page, site.url);
    await h.press(page, Caption.openSyoten);
    for (const [c, n] of [['X座標', 1], ['０'], ['Y座標', 1], ['０'], ['X座標', 2], ['６'], ['Y座標', 2], ['０'],
      ['２定点からの距離の'], ['和＝'], ['３']]) await h.press(page, c, n);
    for (const by of ['Enter', 'OK', 'Escape']) {
      await h.press(page, '決定');
      const box = await h.waitBox(page);
      assert.deepEqual(box.lines, kDistanceRefused);
      assert.equal(await h.pressed(page, '２定点からの距離の'), 'false', 'not selected while the box is open');
      await checkModal(page, '５');
      await closeBox(page, by);
      assert.equal(await h.pressed(page, '２定点からの距離の'), 'true', `selected once closed by ${by}`);
      const image = await h.planeImage(page);
      assert.ok(h.near(image, 330, 330, Colour.maroon, 0) && h.near(image, 528, 330, Colour.maroon, 0), 'F1, F2 stay marked');
    }
    // A new sum is accepted.
    await h.type(page, '９ 決定');
    await h.settle(page);
    assert.deepEqual(await h.openBoxes(page), []);
  });
});

test('diagonal foci: the graph refuses once, and closing the box does not raise it again', async () => {
  await h.withBrowser({}, async ({ page }) => {
    await h.open(page, site.url);
    await h.press(page, Caption.openSyoten);
    for (const [c, n] of [['X座標', 1], ['０'], ['Y座標', 1], ['０'], ['X座標', 2], ['３'], ['Y座標', 2], ['３'],
      ['２定点からの距離の'], ['和＝'], ['９'], ['決定']]) await h.press(page, c, n);
    // (282, 193) lies on PF1 + PF2 = 9 within the tolerance.
    await h.clickPlane(page, 282, 193);
    await h.clickPlane(page, 282, 193);
    await h.settle(page);
    assert.equal(await h.buttonShown(page, Caption.graph), true);
    const before = await h.planeImage(page);
    await h.press(page, Caption.graph);
    const box = await h.waitBox(page);
    assert.deepEqual(box.lines, kDiagonal);
    await checkModal(page, Caption.retry);
    await closeBox(page, 'Escape');
    await page.waitForTimeout(300);
    assert.deepEqual(await h.openBoxes(page), [], 'no second box by itself');
    assert.equal(h.count(await h.planeImage(page), Colour.red), h.count(before, Colour.red), 'no curve drawn');

    // Every repaint while the curve is on says it again; the graph button
    // takes it off.
    await h.clickPlane(page, 500, 500);
    assert.deepEqual((await h.waitBox(page)).lines, kDiagonal);
    await closeBox(page, 'OK');
    await h.press(page, Caption.graph);
    await h.clickPlane(page, 510, 500);
    await h.settle(page);
    assert.deepEqual(await h.openBoxes(page), []);
  });
});
