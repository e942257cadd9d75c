// The keyboard alone: Tab walks the windows' controls in their order and
// back with Shift+Tab, the focused control shows a focus ring, Return and
// Space press the focused button, and the focused zoom bar takes the
// arrows, PageUp, PageDown, Home and End.

import { test, before, after } from 'node:test';
import assert from 'node:assert/strict';
import * as h from './lib/harness.mjs';

const site = h.serveForFile(before, after);
const { Caption } = h;

// What has the focus: a button's caption, "bar" for the zoom bar.
function focused(page) {
  return page.evaluate(() => {
    const e = document.activeElement;
    if (!e || e === document.body) return null;
    if (e.matches('.tk-scrollbar')) return 'bar';
    return e.textContent;
  });
}

// The focused element's outline, as drawn.
function ring(page) {
  return page.evaluate(() => {
    const s = getComputedStyle(document.activeElement);
    return { style: s.outlineStyle, width: parseFloat(s.outlineWidth) };
  });
}

// Tabs until the focus is on `first` (at most 60 presses), then records the
// focus after each of `n` more.
async function walk(page, first, n, key = 'Tab') {
  for (let i = 0; i < 60 && (await focused(page)) !== first; i++) await page.keyboard.press(key);
  assert.equal(await focused(page), first, `${key} reaches ${first}`);
  const seen = [];
  for (let i = 0; i < n; i++) {
    await page.keyboard.press(key);
    seen.push(await focused(page));
  }
  return seen;
}

// The activity window's order: the zoom bar, the end button, the keypad
// in its own order, the retry button (the graph button hidden), round again.
const kActivityOrder = ['bar', '終わる', '０', '．', '決定', '取消', '１', '√', '３', '２', '４', '－', '６', '５',
  '７', '＋', '９', '８'];

test('the menu: Tab order, a focus ring, Return and Space open the activities', async () => {
  await h.withBrowser({}, async ({ page }) => {
    await h.open(page, site.url);
    const menu = [Caption.openJunsen, Caption.openSyoten, Caption.quit];
    assert.deepEqual(await walk(page, Caption.openJunsen, 3), [Caption.openSyoten, Caption.quit, Caption.openJunsen]);
    assert.deepEqual(await walk(page, Caption.openJunsen, 3, 'Shift+Tab'), [Caption.quit, Caption.openSyoten, Caption.openJunsen]);
    const r = await ring(page);
    assert.notEqual(r.style, 'none', 'the focused button shows a ring');
    assert.ok(r.width > 0);
    assert.ok(menu.includes(await focused(page)));

    await page.keyboard.press('Enter');
    await h.settle(page);
    assert.equal(await page.title(), Caption.junsen, 'Return pressed the focused button');
    await h.press(page, Caption.end);
    await h.settle(page);
    await walk(page, Caption.openSyoten, 0);
    await page.keyboard.press('Space');
    await h.settle(page);
    assert.equal(await page.title(), Caption.syoten, 'Space pressed the focused button');
  });
});

test('an activity: Tab order with wrap-around, keys on the focused buttons and the zoom bar', async () => {
  await h.withBrowser({}, async ({ page }) => {
    await h.open(page, site.url);
    await h.press(page, Caption.openJunsen);
    await h.settle(page);
    const order = [...kActivityOrder, 'Ｘ＝', 'Ｙ＝', Caption.retry];
    assert.deepEqual(await walk(page, 'bar', order.length), [...order.slice(1), 'bar'],
      'every button and the bar in order; toggles take no focus; round within the window');
    assert.deepEqual(await walk(page, 'bar', 2, 'Shift+Tab'), [Caption.retry, 'Ｙ＝']);
    const r = await ring(page);
    assert.notEqual(r.style, 'none');

    // Return and Space on the focused keys.
    await walk(page, 'Ｘ＝', 0);
    await page.keyboard.press('Enter');
    await walk(page, '２', 0);
    await page.keyboard.press('Space');
    await h.settle(page);
    assert.ok((await h.labels(page)).includes(' Ｘ＝２'), 'the line keyed from the keyboard');

    // The bar.
    await walk(page, 'bar', 0);
    const b = await ring(page);
    assert.notEqual(b.style, 'none', 'the focused bar shows a ring');
    const bar = `${h.kActive} .tk-scrollbar`;
    const min = Number(await page.$eval(bar, (e) => e.getAttribute('aria-valuemin')));
    const max = Number(await page.$eval(bar, (e) => e.getAttribute('aria-valuemax')));
    const start = await h.barPosition(page);
    const plane = await h.planeImage(page);
    const steps = [['ArrowRight', 1], ['ArrowRight', 1], ['ArrowLeft', -1], ['ArrowDown', 1], ['ArrowUp', -1],
      ['ArrowLeft', -1], ['PageDown', null], ['PageUp', null]];
    let position = start;
    for (const [key, delta] of steps) {
      await page.keyboard.press(key);
      await h.settle(page);
      const now = await h.barPosition(page);
      if (delta !== null) assert.equal(now, position + delta, key);
      else assert.ok(key === 'PageDown' ? now > position : now < position, key);
      position = now;
    }
    assert.equal(position, start);
    assert.ok((await h.planeImage(page)).data.equals(plane.data), 'back where it started, the same plane');
    await page.keyboard.press('Home');
    await h.settle(page);
    assert.equal(await h.barPosition(page), min, 'Home');
    const zoomedIn = await h.planeImage(page);
    assert.ok(!zoomedIn.data.equals(plane.data), 'the plane follows');
    await page.keyboard.press('End');
    await h.settle(page);
    assert.equal(await h.barPosition(page), max, 'End');
    assert.equal(await focused(page), 'bar', 'the bar keeps the focus');
  });
});
