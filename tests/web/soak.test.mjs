// A seeded random soak: at least 10,000 pointer and key events over the
// menu and both activities (buttons, toggles, the plane, the zoom bar's
// parts, keys), each message box closed as it appears. The page must report
// no error and never show two boxes at once. ORVALIS_WEB_SOAK_SEED picks
// the seed, ORVALIS_WEB_SOAK_EVENTS the number of events. Events go on while
// a box is open (they must not reach the window behind); each batch of ten
// closes an open box first.

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

const kDigits = ['０', '１', '２', '３', '４', '５', '６', '７', '８', '９'];
// The presses of a whole entry in each activity, by caption (and which of
// equal captions).
const kEntries = {
  'Orvalis（準線と焦点）': (pick, d) => [pick(['Ｘ＝', 'Ｙ＝']), d(), 'X座標', d(), 'Y座標', d(), 'ＰＦ', d(), 'ＰＨ', d(), '決定'],
  'Orvalis（２つの焦点）': (pick, d) => [['X座標', 1], d(), ['Y座標', 1], d(), ['X座標', 2], d(), ['Y座標', 2], d(),
    '２定点からの距離の', pick(['和＝', '差＝']), d(), '決定'],
};

const kKeys = ['Tab', 'Shift+Tab', 'Enter', 'Space', 'Escape', 'ArrowLeft', 'ArrowRight', 'PageUp', 'PageDown',
  'Home', 'End'];

test(`seed ${seed}: ${events} events, no error, never two boxes`, async () => {
  const site = await h.serve();
  try {
    await h.withBrowser({}, async ({ page }) => {
      const seen = await h.watchBoxes(page);
      await h.open(page, site.url);
      const rnd = random(seed);
      const pick = (list) => list[Math.floor(rnd() * list.length)];
      // The targets are listed in the page, once per batch of events, and
      // worked there with the real input: mouse, keys.
      let done = 0, batches = 0;
      const log = [];
      while (done < events) {
        batches++;
        let targets;
        try {
          targets = await page.evaluate(() => {
          if (document.body.dataset.ready !== '1') return { loading: true };
          const ended = document.querySelector('#ended');
          if (ended && !ended.hidden) return { ended: true };
          const box = document.querySelector('dialog.tk-message[open]');
          if (box) {
            const r = box.querySelector('button.tk-message-ok').getBoundingClientRect();
            return { box: { x: r.left + r.width / 2, y: r.top + r.height / 2 } };
          }
          const form = document.querySelector('section.tk-form.tk-active:not([hidden])') ||
            [...document.querySelectorAll('section.tk-form:not([hidden])')].pop();
          if (!form) throw new Error('no window shown and the run not ended');
          const centre = (e) => { const r = e.getBoundingClientRect(); return { x: r.left + r.width / 2, y: r.top + r.height / 2, w: r.width, h: r.height }; };
          const buttons = [...form.querySelectorAll('button.tk-button, button.tk-speed')]
            .filter((b) => b.checkVisibility()).map((b) => ({ ...centre(b), name: b.textContent }));
          const plane = form.querySelector('canvas.tk-paintbox');
          const bar = form.querySelector('.tk-scrollbar');
          const parts = bar ? ['.tk-arrow-left', '.tk-arrow-right', '.tk-thumb'].map((s) => centre(bar.querySelector(s))) : [];
          return { form: form.getAttribute('aria-label'), buttons, plane: plane && centre(plane), bar: bar && centre(bar), parts };
          });
        } catch (e) {
          // A key pressed the restart button: the page is loading again.
          if (!/Execution context was destroyed|navigat/.test(e.message)) throw e;
          targets = { loading: true };
        }
        if (targets.loading) {
          await h.waitReady(page);
          continue;
        }
        if (targets.ended) {
          await h.restart(page);
          continue;
        }
        if (targets.box) {
          const how = pick(['ok', 'Enter', 'Escape', 'Space']);
          if (how === 'ok') await page.mouse.click(targets.box.x, targets.box.y);
          else await page.keyboard.press(how);
          done++;
          continue;
        }
        for (let i = 0; i < 10 && done < events; i++, done++) {
          const r = rnd();
          const entry = kEntries[targets.form];
          if (r < 0.04 && entry) {
            // A whole entry with random digits, confirmed: refusals come
            // often this way, and sometimes a locus to try points on.
            const digit = () => kDigits[Math.floor(rnd() * 10)];
            for (const step of entry(pick, digit)) {
              const [name, nth = 1] = Array.isArray(step) ? step : [step];
              const b = targets.buttons.filter((t) => t.name === name)[nth - 1];
              if (!b) continue;
              await page.mouse.click(b.x, b.y);
              done++;
            }
            log.push(`entry in ${targets.form}`);
            break;
          }
          if (r < 0.45 && targets.buttons.length) {
            let b = pick(targets.buttons);
            // The quit button ends the page, the end button the activity:
            // seldom, so that most events reach the activities' keys.
            if ((b.name === '終　　了' || b.name === '終わる') && rnd() < 0.9) b = pick(targets.buttons);
            if (b.name === '終　　了' && rnd() < 0.9) b = targets.buttons[0];
            log.push(`press ${b.name}`);
            await page.mouse.click(b.x, b.y);
              // The run ended: the next batch restarts it.
            if (b.name === '終　　了') { done++; break; }
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
        }
        if (log.length > 200) log.splice(0, log.length - 200);
        assert.ok(seen.most <= 1, `two boxes at once (${seen.texts}) after: ${log.slice(-30).join(', ')}`);
      }
      await h.settle(page).catch(() => {});
      assert.ok(seen.most <= 1, `two boxes at once (${seen.texts})`);
      console.log(`# ${done} events in ${batches} batches, ${seen.opened} boxes`);
    });
  } finally {
    await site.close();
  }
});
