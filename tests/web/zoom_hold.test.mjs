// The zoom bar held: an arrow held down steps again and again, the trough
// pages toward the pointer, and with diagonal foci and the curve on, a held
// arrow raises the refusal once and no second box.

import { test, before, after } from 'node:test';
import assert from 'node:assert/strict';
import * as h from './lib/harness.mjs';

const site = h.serveForFile(before, after);
const { Caption } = h;

async function hold(page, part, ms) {
  const p = await h.barPart(page, part);
  await page.mouse.move(p.x, p.y);
  await page.mouse.down();
  await page.waitForTimeout(ms);
  await page.mouse.up();
  await h.settle(page);
}

test('a held arrow steps several times, and the held trough pages to the pointer', async () => {
  await h.withBrowser({}, async ({ page }) => {
    await h.open(page, site.url);
    await h.press(page, Caption.openJunsen);
    await h.settle(page);
    const bar = `${h.kActive} .tk-scrollbar`;
    const min = Number(await page.$eval(bar, (b) => b.getAttribute('aria-valuemin')));
    const max = Number(await page.$eval(bar, (b) => b.getAttribute('aria-valuemax')));
    const start = await h.barPosition(page);
    const grid = await h.planeImage(page);

    await hold(page, 'left', 700);
    const left = await h.barPosition(page);
    assert.ok(left <= start - 3 || left === min, `held left: ${start} -> ${left}`);
    assert.ok(!(await h.planeImage(page)).data.equals(grid.data), 'the plane follows the zoom');
    await page.waitForTimeout(300);
    assert.equal(await h.barPosition(page), left, 'no step after the release');

    await hold(page, 'right', 700);
    const right = await h.barPosition(page);
    assert.ok(right >= left + 3 || right === max, `held right: ${left} -> ${right}`);

    // The trough held a little right of the thumb pages right, a step each
    // repeat, and stops once the thumb lies under the pointer.
    const before = await h.barPosition(page);
    const thumb0 = await page.$eval(`${bar} .tk-thumb`, (t) => t.getBoundingClientRect().toJSON());
    const target = { x: thumb0.right + 40, y: thumb0.top + thumb0.height / 2 };
    await page.mouse.move(target.x, target.y);
    await page.mouse.down();
    await page.waitForTimeout(2000);
    await page.mouse.up();
    await h.settle(page);
    const paged = await h.barPosition(page);
    assert.ok(paged >= before + 3, `the trough pages: ${before} -> ${paged}`);
    const thumb = await page.$eval(`${bar} .tk-thumb`, (t) => t.getBoundingClientRect().toJSON());
    assert.ok(thumb.left - 1 <= target.x && target.x <= thumb.right + 1, 'the thumb stopped under the pointer');
  });
});

test('diagonal foci with the curve on: a held arrow raises the refusal once', async () => {
  await h.withBrowser({}, async ({ page }) => {
    await h.open(page, site.url);
    await h.press(page, Caption.openSyoten);
    for (const [c, n] of [['X座標', 1], ['０'], ['Y座標', 1], ['０'], ['X座標', 2], ['３'], ['Y座標', 2], ['３'],
      ['２定点からの距離の'], ['和＝'], ['９'], ['決定']]) await h.press(page, c, n);
    await h.clickPlane(page, 282, 193);
    await h.clickPlane(page, 282, 193);
    await h.press(page, Caption.graph);
    await h.waitBox(page);
    await page.keyboard.press('Enter');
    await h.settle(page);
    assert.deepEqual(await h.openBoxes(page), []);

    const seen = await h.watchBoxes(page);
    const start = await h.barPosition(page);
    const p = await h.barPart(page, 'right');
    await page.mouse.move(p.x, p.y);
    await page.mouse.down();
    await page.waitForTimeout(800);
    assert.equal((await h.openBoxes(page)).length, 1, 'the first step repaints and refuses');
    await page.mouse.up();
    await h.settle(page);
    await page.keyboard.press('Escape');
    await page.waitForTimeout(500);
    assert.deepEqual(seen, { opened: 1, most: 1, texts: null }, 'one box, and no second');
    assert.equal(await h.barPosition(page), start + 1, 'the box ended the hold after its step');
  });
});

test('the bar\'s own menu: a right click opens it, an item moves the bar, a press elsewhere closes it', async () => {
  await h.withBrowser({}, async ({ page }) => {
    await h.open(page, site.url);
    await h.press(page, Caption.openJunsen);
    await h.settle(page);
    const bar = await page.$eval(`${h.kActive} .tk-scrollbar`, (b) => b.getBoundingClientRect().toJSON());
    const max = Number(await page.$eval(`${h.kActive} .tk-scrollbar`, (b) => b.getAttribute('aria-valuemax')));
    const menuAt = async (x) => {
      await page.mouse.click(x, bar.top + bar.height / 2, { button: 'right' });
      await page.waitForSelector('.tk-menu[role=menu]', { timeout: 2000 });
      return page.$$eval('.tk-menu[role=menu] .tk-menu-item', (items) => items.map((i) => i.textContent));
    };
    const choose = async (text) => {
      const item = await page.$(`.tk-menu[role=menu] .tk-menu-item:text-is("${text}")`);
      await item.click();
      await h.settle(page);
      assert.equal(await page.$('.tk-menu[role=menu]'), null, `the menu closes after ${text}`);
    };

    assert.deepEqual(await menuAt(bar.left + bar.width / 2),
      ['ここへスクロール', '左端', '右端', '1 ページ左へ', '1 ページ右へ', '左へスクロール', '右へスクロール']);
    await choose('右端');
    assert.equal(await h.barPosition(page), max);
    await menuAt(bar.left + bar.width / 2);
    await choose('左へスクロール');
    assert.equal(await h.barPosition(page), max - 1);

    // "Scroll here" takes the place where the menu was asked for.
    await menuAt(bar.left + bar.width / 4);
    await choose('ここへスクロール');
    const here = await h.barPosition(page);
    assert.ok(here > 10 && here < 40, `a quarter along: ${here}`);

    // A press elsewhere closes it, and changes nothing.
    await menuAt(bar.left + bar.width / 2);
    const title = await page.$(`${h.kActive} .tk-caption`);
    await title.click();
    await h.settle(page);
    assert.equal(await page.$('.tk-menu[role=menu]'), null);
    assert.equal(await h.barPosition(page), here);
  });
});
