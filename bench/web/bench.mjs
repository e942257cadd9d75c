// The site in the browser, measured: what it transfers (gzip), how long
// headless Chromium takes from the navigation to the drawn menu, the
// heaviest repaint of the plane at device pixel ratios 1 and 2, and the
// memory after a whole use. Prints a report; docs/PERFORMANCE.md ("In the
// browser") describes the method and keeps the figures.
//
//   node bench/web/bench.mjs [DIST] [RUNS]     (DIST: dist/, RUNS: 7)
//
// Needs the site (scripts/web) and playwright-core in tests/web/node_modules
// (tests/web/run.sh --install).

import fs from 'node:fs';
import path from 'node:path';
import { pathToFileURL } from 'node:url';
import zlib from 'node:zlib';

const dist = path.resolve(process.argv[2] || 'dist');
process.env.ORVALIS_WEB_DIST = dist;
const runs = Number(process.argv[3] || 7);
const h = await import('../../tests/web/lib/harness.mjs');

const median = (xs) => {
  const s = [...xs].sort((a, b) => a - b);
  return s.length % 2 ? s[(s.length - 1) / 2] : (s[s.length / 2 - 1] + s[s.length / 2]) / 2;
};
const kib = (n) => `${(n / 1024).toFixed(1)} KiB`;
const ms = (x) => `${x.toFixed(2)} ms`;

// ---------------------------------------------------------------- sizes
function files(dir) {
  return fs.readdirSync(dir, { withFileTypes: true }).flatMap((e) =>
    e.isDirectory() ? files(path.join(dir, e.name)) : [path.join(dir, e.name)]);
}
console.log('## Transfer sizes (gzip -9 of each file, as a server compressing every response sends it)\n');
console.log('| File | Bytes | gzip |\n|---|---|---|');
let raw = 0, gz = 0;
for (const f of files(h.siteDir).sort()) {
  const body = fs.readFileSync(f);
  const z = zlib.gzipSync(body, { level: 9 }).length;
  raw += body.length; gz += z;
  console.log(`| web/${path.relative(h.siteDir, f)} | ${body.length} | ${z} |`);
}
console.log(`| **dist/web in all** | ${raw} (${kib(raw)}) | ${gz} (${kib(gz)}) |`);
{
  const body = fs.readFileSync(h.singleFile);
  const z = zlib.gzipSync(body, { level: 9 }).length;
  console.log(`| **dist/orvalis.html** | ${body.length} (${kib(body.length)}) | ${z} (${kib(z)}) |\n`);
}

// ---------------------------------------------------------------- start-up
// performance.now() is counted from the navigation's start; the page notes
// it when the program marks the menu drawn.
const noteReady = () => {
  new MutationObserver(() => {
    if (document.body?.dataset.ready === '1' && window.__readyAt === undefined) window.__readyAt = performance.now();
  }).observe(document, { subtree: true, attributes: true, attributeFilter: ['data-ready'], childList: true });
};

async function startup(url, warm) {
  const times = [];
  const site = await h.serve();
  try {
    for (let i = 0; i < runs; i++) {
      // A fresh profile every run: nothing cached (cold); or the page
      // visited once before in the same profile (warm: HTTP cache and, for
      // the site, its service worker).
      await h.withBrowser({}, async ({ page }) => {
        await page.addInitScript(noteReady);
        const target = url || site.url;
        if (warm) {
          await h.open(page, target);
          if (!url) await page.waitForFunction(() => navigator.serviceWorker.controller !== null, null, { timeout: 15000 });
        }
        await page.goto(target);
        await page.waitForFunction(() => window.__readyAt !== undefined, null, { timeout: 30000 });
        times.push(await page.evaluate(() => window.__readyAt));
      });
    }
  } finally {
    await site.close();
  }
  return times;
}

console.log('## Navigation start to the menu drawn (body.dataset.ready), headless Chromium, 127.0.0.1\n');
console.log('| Page | Median | Range |\n|---|---|---|');
for (const [name, url, warm] of [['dist/web, cold', null, false], ['dist/web, second visit', null, true],
  ['dist/orvalis.html from file://, cold', pathToFileURL(h.singleFile).href, false]]) {
  const t = await startup(url, warm);
  console.log(`| ${name} | ${ms(median(t))} | ${ms(Math.min(...t))} – ${ms(Math.max(...t))} (${runs} runs) |`);
}
console.log();

// ---------------------------------------------------------------- repaint
// The heaviest state, as bench_plane builds it on the desktop: TSyoten_Form
// with F1 (-3, 0), F2 (3, 0) and the sum 10, the zoom bar at position 0
// (36 units across), 1000 afterimages, P at pixel (430, 250) off the
// curve, the curve on. The afterimages come from clicks on pixels of the
// ellipse (each repaint with a matching P stores it once more, up to 1000).
function ellipsePixels() {
  const out = [];
  for (let py = 0; py < 660; py++)
    for (let px = 0; px < 660; px++) {
      const x = (px - 330) * 36 / 660, y = (330 - py) * 36 / 660;
      if (Math.abs(Math.hypot(x + 3, y) + Math.hypot(x - 3, y) - 10) < 0.02) out.push([px, py]);
    }
  return out;
}

async function heaviest(page) {
  await h.press(page, h.Caption.openSyoten);
  for (const [c, n] of [['X座標', 1], ['－'], ['３'], ['Y座標', 1], ['０'], ['X座標', 2], ['３'], ['Y座標', 2], ['０'],
    ['２定点からの距離の'], ['和＝'], ['１'], ['０'], ['決定']]) await h.press(page, c, n);
  await page.focus(`${h.kActive} .tk-scrollbar`);
  await page.keyboard.press('Home');
  if (await h.barPosition(page) !== 0) throw new Error('the zoom bar is not at 0');
  const pixels = ellipsePixels();
  for (let i = 0; i < 1010; i++) await h.clickPlane(page, ...pixels[i % pixels.length]);
  await h.clickPlane(page, 430, 250);
  await h.press(page, h.Caption.graph);
  await h.settle(page);
  if (!/距離の和＝/.test(await h.readout(page))) throw new Error('no readout');
}

// Each repetition: the graph button pressed twice, off and on again, by
// the element's own click() (the program handles a click synchronously:
// the state, the whole plane redrawn into its image and the image put on
// the canvas), timed around the second press, which draws the curve.
async function repaint(dpr, reps = 41) {
  let times = [];
  await h.withBrowser({ dpr }, async ({ page }) => {
    await h.open(page, (await siteOnce()).url);
    await heaviest(page);
    times = await page.evaluate((reps) => {
      const graph = [...document.querySelectorAll('section.tk-form.tk-active button.tk-button')]
        .find((b) => b.textContent === '条件を満たすグラフを描く');
      const out = [];
      for (let i = 0; i < reps; i++) {
        graph.click();
        const t0 = performance.now();
        graph.click();
        out.push(performance.now() - t0);
      }
      return out;
    }, reps);
    const image = await h.planeImage(page);
    if (h.count(image, h.Colour.red) === 0) throw new Error('the curve is not drawn');
  });
  return times;
}

let shared = null;
async function siteOnce() {
  shared ??= await h.serve();
  return shared;
}

console.log('## Heaviest repaint of the plane (graph button, curve on, 1000 afterimages, GridUnit 36)\n');
console.log('| Device pixel ratio | Median | Range |\n|---|---|---|');
for (const dpr of [1, 2]) {
  const t = await repaint(dpr);
  console.log(`| ${dpr} | ${ms(median(t))} | ${ms(Math.min(...t))} – ${ms(Math.max(...t))} (41 presses) |`);
}
console.log();

// ---------------------------------------------------------------- memory
// After a whole use: both activities through the road of tests/web/road.txt
// and the heaviest state above; the WebAssembly memory (which only grows)
// and the JavaScript heap Chromium reports after a full collection (the
// heap is the page's whole isolate, the automation's scripts included).
{
  const { readRoad, playRoad } = await import('../../tests/web/lib/road.mjs');
  await h.withBrowser({ args: ['--enable-precise-memory-info'] }, async ({ page }) => {
    // The heap after a full collection (through the DevTools protocol), so
    // that what is counted is what the page holds, not garbage.
    const cdp = await page.context().newCDPSession(page);
    const measure = async () => {
      await cdp.send('HeapProfiler.collectGarbage');
      return page.evaluate(() => ({ wasm: wasmMemory.buffer.byteLength, js: performance.memory.usedJSHeapSize }));
    };
    await h.open(page, (await siteOnce()).url);
    const atMenu = await measure();
    // The road without its dumps: reading the canvas back is the test's, not the program's.
    await playRoad(page, readRoad().filter((step) => step.verb !== 'dump'));
    await h.press(page, h.Caption.end);
    await h.settle(page);
    await heaviest(page);
    const after = await measure();
    console.log('## Memory\n');
    console.log('| | WebAssembly memory | JS heap used |\n|---|---|---|');
    console.log(`| menu drawn | ${kib(atMenu.wasm)} | ${kib(atMenu.js)} |`);
    console.log(`| after a whole use | ${kib(after.wasm)} | ${kib(after.js)} |\n`);
  });
}
if (shared) await shared.close();
