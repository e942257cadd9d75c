// The menu in the browser: its three buttons, opening each activity, the
// ways an activity goes away again, the end of the run and the restart.

import { test, before, after } from 'node:test';
import assert from 'node:assert/strict';
import * as h from './lib/harness.mjs';

const site = h.serveForFile(before, after);
const { Caption } = h;

// A click on the menu window's own client, away from its buttons: through
// the pointer where the menu is uncovered, else (an activity covers the
// menu on a 1024 x 768 page) as the events the window system would deliver
// to it.
async function clickMenu(page) {
  const hit = await page.evaluate((menu) => {
    const form = [...document.querySelectorAll('section.tk-form')].find((f) => f.getAttribute('aria-label') === menu);
    const client = form.querySelector('.tk-client').getBoundingClientRect();
    const x = client.left + client.width - 5, y = client.top + client.height - 5;
    if (form.contains(document.elementFromPoint(x, y))) return { x, y };
    const target = form.querySelector('.tk-client');
    const init = { bubbles: true, cancelable: true, composed: true, clientX: x, clientY: y, button: 0, buttons: 1,
                   pointerId: 1, pointerType: 'mouse', isPrimary: true, view: window };
    target.dispatchEvent(new PointerEvent('pointerdown', init));
    target.dispatchEvent(new MouseEvent('mousedown', init));
    target.dispatchEvent(new PointerEvent('pointerup', { ...init, buttons: 0 }));
    target.dispatchEvent(new MouseEvent('mouseup', { ...init, buttons: 0 }));
    target.dispatchEvent(new MouseEvent('click', { ...init, buttons: 0 }));
    return null;
  }, Caption.menu);
  if (hit) await page.mouse.click(hit.x, hit.y);
  await h.settle(page);
}

test('the menu shows its three buttons and opens each activity under its caption', async () => {
  await h.withBrowser({}, async ({ page }) => {
    await h.open(page, site.url);
    assert.deepEqual(await h.shownForms(page), [Caption.menu]);
    assert.equal(await page.title(), Caption.menu);
    assert.deepEqual(await page.$$eval('section.tk-form:not([hidden]) button.tk-button', (bs) => bs.map((b) => b.textContent)),
      [Caption.openJunsen, Caption.openSyoten, Caption.quit]);

    for (const [opener, caption] of [[Caption.openJunsen, Caption.junsen], [Caption.openSyoten, Caption.syoten]]) {
      await h.press(page, opener);
      await h.settle(page);
      assert.ok((await h.shownForms(page)).includes(caption), `${opener} shows ${caption}`);
      assert.equal(await page.$eval(h.kActive, (f) => f.getAttribute('aria-label')), caption);
      assert.equal(await page.$eval(`${h.kActive} .tk-caption`, (c) => c.textContent), caption);
      assert.equal(await page.title(), caption, 'the page is named after the active window');
      assert.equal(await h.count(await h.planeImage(page), h.Colour.red), 0, 'a fresh plane');

      // The menu's activation hides both activities.
      await clickMenu(page);
      assert.deepEqual(await h.shownForms(page), [Caption.menu]);
      assert.equal(await page.title(), Caption.menu);
    }
  });
});

test('an activity goes away with its end button and with its close box', async () => {
  await h.withBrowser({}, async ({ page }) => {
    await h.open(page, site.url);
    for (const opener of [Caption.openJunsen, Caption.openSyoten]) {
      await h.press(page, opener);
      await h.settle(page);
      await h.press(page, Caption.end);
      await h.settle(page);
      assert.deepEqual(await h.shownForms(page), [Caption.menu], `終わる after ${opener}`);
      assert.equal(await page.title(), Caption.menu);

      await h.press(page, opener);
      await h.settle(page);
      const close = await page.$(`${h.kActive} button.tk-close`);
      assert.equal(await close.getAttribute('aria-label'), '閉じる');
      await close.click();
      await h.settle(page);
      assert.deepEqual(await h.shownForms(page), [Caption.menu], `the close box after ${opener}`);
    }
    // Opened again, the activity starts afresh: the fixed line's field selected.
    await h.press(page, Caption.openJunsen);
    await h.settle(page);
    assert.equal(await h.pressed(page, '定直線の方程式：'), 'true');
  });
});

test('the quit button ends the run, and the restart brings the menu back', async () => {
  await h.withBrowser({}, async ({ page }) => {
    await h.open(page, site.url);
    await h.press(page, Caption.openSyoten);
    await h.settle(page);
    await page.evaluate(() => { window.__before = true; });
    await clickMenuThenQuit(page);
    await page.waitForSelector('#ended:not([hidden])', { state: 'visible', timeout: 5000 });
    assert.equal(await page.$eval('#desktop', (d) => d.hidden), true, 'the windows are gone');
    assert.ok((await page.$eval('#ended', (e) => e.textContent.trim())).length > 0, 'the ended page says so');
    await h.restart(page);
    assert.equal(await page.evaluate(() => window.__before), undefined, 'a new page');
    assert.deepEqual(await h.shownForms(page), [Caption.menu]);
    assert.equal(await page.$eval('#desktop', (d) => d.hidden), false);
    await h.press(page, Caption.openJunsen);
    await h.settle(page);
    assert.equal(await page.title(), Caption.junsen);
  });
});

// Quitting while an activity is open: the menu's button, reached once the
// menu is active.
async function clickMenuThenQuit(page) {
  await clickMenu(page);
  await h.press(page, Caption.quit);
}
