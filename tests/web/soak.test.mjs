// A seeded random soak: at least 10,000 pointer and key events over the
// menu and both activities (buttons, toggles, the plane, the zoom bar's
// parts, keys), each message box closed as it appears. The page must report
// no error and never show two boxes at once. ORVALIS_WEB_SOAK_SEED picks
// the seed, ORVALIS_WEB_SOAK_EVENTS the number of events.

import { test } from 'node:test';
import assert from 'node:assert/strict';
import * as h from './lib/harness.mjs';

const seed = Number(process.env.ORVALIS_WEB_SOAK_SEED || 20261209);
const events = Number(process.env.ORVALIS_WEB_SOAK_EVENTS || 10000);

// mulberry32: small, seeded, the same sequence on every machine.
function random(seed) {
  let a = seed >>> 0;
  return () => {
    a = (a + 0x6d2b79f5) >>> 0;
    let t = a;
    t = Math.imul(t ^ (t >>> 15), t | 1);
    t ^= t + Math.imul(t ^ (t >>> 7), t | 61);
    return ((t ^ (t >>> 14)) >>> 0) / 4294967296;
  };
}

const kKeys = ['Tab', 'Shift+Tab', 'Enter', 'Space', 'Escape', 'ArrowLeft', 'ArrowRight', 'PageUp', 'PageDown',
  'Home', 'End'];

test(`seed ${seed}: ${events} events, no error, never two boxes`, async () => {
  const site = await h.serve();
  try {
    await h.withBrowser({}, async ({ page }) => {
      await h.open(page, site.url);
      await h.watchBoxes(page);
      const rnd = random(seed);
      const pick = (list) => list[Math.floor(rnd() * list.length)];
      // The targets are listed in the page, once per batch of events, and
      // worked there with the real input: mouse, keys.
      let done = 0, batches = 0;
      const log = [];
      while (done < events) {
        batches++;
        const targets = await page.evaluate(() => {
          const box = document.querySelector('dialog.tk-message[open]');
          if (box) {
            const r = box.querySelector('button.tk-message-ok').getBoundingClientRect();
            return { box: { x: r.left + r.width / 2, y: r.top + r.height / 2 } };
          }
          const form = document.querySelector('section.tk-form.tk-active:not([hidden])') ||
            [...document.querySelectorAll('section.tk-form:not([hidden])')].pop();
          if (!form) return { ended: !document.querySelector('#ended')?.hidden };
          const centre = (e) => { const r = e.getBoundingClientRect(); return { x: r.left + r.width / 2, y: r.top + r.height / 2, w: r.width, h: r.height }; };
          const buttons = [...form.querySelectorAll('button.tk-button, button.tk-speed')]
            .filter((b) => b.checkVisibility()).map((b) => ({ ...centre(b), name: b.textContent }));
          const plane = form.querySelector('canvas.tk-paintbox');
          const bar = form.querySelector('.tk-scrollbar');
          const parts = bar ? ['.tk-arrow-left', '.tk-arrow-right', '.tk-thumb'].map((s) => centre(bar.querySelector(s))) : [];
          return { form: form.getAttribute('aria-label'), buttons, plane: plane && centre(plane), bar: bar && centre(bar), parts };
        });
        if (targets.ended) {
          await page.click('#restart');
          await h.waitReady(page);
          await h.watchBoxes(page);
          continue;
        }
        if (targets.box) {
          const how = pick(['ok', 'Enter', 'Escape', 'Space']);
          if (how === 'ok') await page.mouse.click(targets.box.x, targets.box.y);
          else await page.keyboard.press(how);
          done++;
          continue;
        }
        for (let i = 0; i < 20 && done < events; i++, done++) {
          const r = rnd();
          if (r < 0.45 && targets.buttons.length) {
            let b = pick(targets.buttons);
            // The quit button ends the page: seldom.
            if (b.name === '終　　了' && rnd() < 0.9) b = targets.buttons[0];
            log.push(`press ${b.name}`);
            await page.mouse.click(b.x, b.y);
          } else if (r < 0.7 && targets.plane) {
            const p = targets.plane;
            await page.mouse.click(p.x + (rnd() - 0.5) * p.w, p.y + (rnd() - 0.5) * p.h);
            log.push('plane');
          } else if (r < 0.85 && targets.parts.length) {
            const part = rnd() < 0.8 ? pick(targets.parts) : { x: targets.bar.x + (rnd() - 0.5) * targets.bar.w, y: targets.bar.y };
            await page.mouse.click(part.x, part.y);
            log.push('bar');
          } else {
            const key = pick(kKeys);
            await page.keyboard.press(key);
            log.push(key);
          }
          // A box stops the batch: its closing is the next event.
          if (await page.$('dialog.tk-message[open]')) break;
        }
        if (log.length > 200) log.splice(0, log.length - 200);
        const seen = await h.boxesSeen(page);
        assert.ok(seen.most <= 1, `two boxes at once after: ${log.slice(-20).join(', ')}`);
      }
      const seen = await h.boxesSeen(page);
      assert.ok(seen.most <= 1, 'never two boxes at once');
      console.log(`# ${done} events in ${batches} batches, ${seen.opened} boxes`);
    });
  } finally {
    await site.close();
  }
});
