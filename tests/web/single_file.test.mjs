// The one-file page dist/orvalis.html opened from disk: the menu appears,
// an activity opens and its plane draws.

import { test } from 'node:test';
import assert from 'node:assert/strict';
import fs from 'node:fs';
import { pathToFileURL } from 'node:url';
import * as h from './lib/harness.mjs';

const { Caption, Colour } = h;

test('dist/orvalis.html runs from file://', async () => {
  assert.ok(fs.existsSync(h.singleFile), `no ${h.singleFile}: build it with scripts/web first`);
  await h.withBrowser({}, async ({ page, context }) => {
    const asked = [];
    context.on('request', (r) => { if (!r.url().startsWith('file:') && !r.url().startsWith('data:')) asked.push(r.url()); });
    await h.open(page, pathToFileURL(h.singleFile).href);
    assert.deepEqual(await h.shownForms(page), [Caption.menu]);
    await h.press(page, Caption.openJunsen);
    await h.settle(page);
    assert.equal(await page.title(), Caption.junsen);
    await h.type(page, 'Ｘ＝ ２ X座標 ５ Y座標 ０ ＰＦ １ ＰＨ １ 決定');
    await h.clickPlane(page, ...h.at(3, 0));
    await h.settle(page);
    const image = await h.planeImage(page);
    assert.ok(h.count(image, Colour.aqua) > 600, 'the fixed line drawn');
    assert.ok(h.near(image, ...h.at(3, 0), Colour.lime, 1) > 0, 'P drawn where clicked');
    assert.match(await h.readout(page), /点Ｐ \(3\.00 , 0\.00\)/);
    assert.deepEqual(asked, [], 'the page asks the network for nothing');
  });
});
