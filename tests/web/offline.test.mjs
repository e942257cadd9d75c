// The site once visited runs offline: the service worker takes the page,
// the network goes, a reload still brings up the menu and an activity.

import { test, before, after } from 'node:test';
import assert from 'node:assert/strict';
import * as h from './lib/harness.mjs';

const site = h.serveForFile(before, after);
const { Caption } = h;

test('reloaded without the network, the page comes from the service worker', async () => {
  await h.withBrowser({}, async ({ page, context }) => {
    await h.open(page, site.url);
    await page.evaluate(() => navigator.serviceWorker.ready);
    await page.waitForFunction(() => navigator.serviceWorker.controller !== null, null, { timeout: 15000 });
    await context.setOffline(true);
    await page.reload();
    await h.waitReady(page);
    assert.deepEqual(await h.shownForms(page), [Caption.menu]);
    await h.press(page, Caption.openSyoten);
    await h.settle(page);
    assert.equal(await page.title(), Caption.syoten);
    const faces = await page.evaluate(async () => {
      await document.fonts.ready;
      return [...document.fonts].map((f) => `${f.family.replace(/"/g, '')} ${f.status}`);
    });
    assert.ok(faces.includes('ＭＳ Ｐゴシック loaded'), `the menu's face offline: ${faces}`);
    assert.deepEqual(faces.filter((f) => f.endsWith(' error')), [], 'no face failed to load');
    await context.setOffline(false);
  });
});
