// What every browser test needs: the built site served on 127.0.0.1,
// Debian's Chromium started headless on a fresh profile at a device scale,
// the page's errors collected, and the program's controls found and worked
// the way a user works them (real mouse, touch and key events at the
// positions the user would hit).

import { chromium } from 'playwright-core';
import assert from 'node:assert/strict';
import fs from 'node:fs';
import http from 'node:http';
import os from 'node:os';
import path from 'node:path';
import { fileURLToPath } from 'node:url';

const here = path.dirname(fileURLToPath(import.meta.url));
export const repoRoot = path.resolve(here, '../../..');

// The site as scripts/web builds it: dist/web/ and the one-file page
// dist/orvalis.html (ORVALIS_WEB_DIST names another dist folder).
export const distDir = path.resolve(process.env.ORVALIS_WEB_DIST || path.join(repoRoot, 'dist'));
export const siteDir = path.join(distDir, 'web');
export const singleFile = path.join(distDir, 'orvalis.html');

export const kPlane = 660; // the plane's design size

const kMime = {
  '.html': 'text/html; charset=utf-8',
  '.js': 'text/javascript; charset=utf-8',
  '.mjs': 'text/javascript; charset=utf-8',
  '.wasm': 'application/wasm',
  '.css': 'text/css; charset=utf-8',
  '.json': 'application/json',
  '.webmanifest': 'application/manifest+json',
  '.svg': 'image/svg+xml',
  '.png': 'image/png',
  '.ico': 'image/x-icon',
  '.woff': 'font/woff',
  '.woff2': 'font/woff2',
  '.ttf': 'font/ttf',
  '.otf': 'font/otf',
  '.txt': 'text/plain; charset=utf-8',
};

// Serves the folder on 127.0.0.1 at a free port, as a static host would:
// GET and HEAD only, nothing outside the folder, index.html for a folder.
export async function serve(dir = siteDir) {
  assert.ok(fs.existsSync(path.join(dir, 'index.html')),
    `no site in ${dir}: build it with scripts/web first`);
  const root = fs.realpathSync(dir);
  const server = http.createServer((req, res) => {
    if (req.method !== 'GET' && req.method !== 'HEAD') {
      res.writeHead(405).end();
      return;
    }
    let file;
    try {
      const pathname = decodeURIComponent(new URL(req.url, 'http://x').pathname);
      file = path.join(root, path.normalize(pathname));
      if (file !== root && !file.startsWith(root + path.sep)) throw new Error('outside');
      if (fs.statSync(file).isDirectory()) file = path.join(file, 'index.html');
      file = fs.realpathSync(file);
      if (!file.startsWith(root + path.sep)) throw new Error('outside');
    } catch {
      res.writeHead(404).end();
      return;
    }
    const type = kMime[path.extname(file).toLowerCase()] || 'application/octet-stream';
    const body = fs.readFileSync(file);
    res.writeHead(200, { 'Content-Type': type, 'Content-Length': body.length, 'Cache-Control': 'no-cache' });
    res.end(req.method === 'HEAD' ? undefined : body);
  });
  await new Promise((resolve) => server.listen(0, '127.0.0.1', resolve));
  const { port } = server.address();
  return {
    url: `http://127.0.0.1:${port}/`,
    close: () => new Promise((resolve) => { server.closeAllConnections(); server.close(resolve); }),
  };
}

// Starts Chromium on a profile of its own at the device scale, with a
// viewport of width x height CSS pixels. The scale is Chromium's own
// (--force-device-scale-factor), so canvases lie where they would on such a
// screen; headless Chromium's viewport is its window less 87 pixels of
// height, which the window size makes up for.
export async function launch({ dpr = 1, width = 1024, height = 768, hasTouch = false, args = [] } = {}) {
  const profile = fs.mkdtempSync(path.join(os.tmpdir(), 'orvalis-chromium-'));
  const context = await chromium.launchPersistentContext(profile, {
    executablePath: process.env.ORVALIS_CHROMIUM || '/usr/bin/chromium',
    headless: true,
    viewport: null,
    hasTouch,
    args: [
      '--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
      '--disable-background-networking', '--disable-component-update', '--disable-sync',
      `--force-device-scale-factor=${dpr}`, `--window-size=${width},${height + 87}`, ...args,
    ],
  });
  const errors = [];
  const watch = (page) => {
    page.on('console', (m) => { if (m.type() === 'error') errors.push(`console: ${m.text()} (${m.location().url})`); });
    page.on('pageerror', (e) => errors.push(`page error: ${e.message}`));
    page.on('crash', () => errors.push('page crashed'));
  };
  context.pages().forEach(watch);
  context.on('page', watch);
  const page = context.pages()[0] || await context.newPage();
  return {
    context, page, errors,
    async close() {
      await context.close();
      fs.rmSync(profile, { recursive: true, force: true });
    },
  };
}

// Runs fn({ context, page, errors }) in a browser started as launch starts
// it, then ends the browser. Fails when fn fails (with the page's errors
// added) or when the page reported any console error, uncaught exception or
// WebAssembly trap.
export async function withBrowser(options, fn) {
  const b = await launch(options);
  let failure = null;
  try {
    await fn(b);
  } catch (e) {
    failure = e;
  }
  await b.close();
  if (failure) {
    if (b.errors.length) failure.message += `\nthe page reported: ${b.errors.join('\n')}`;
    throw failure;
  }
  assert.deepEqual(b.errors, [], 'the page reported errors');
}

// Opens the page and waits until the menu is drawn.
export async function open(page, url) {
  await page.goto(url);
  await waitReady(page);
}

export async function waitReady(page) {
  await page.waitForFunction(() => document.body && document.body.dataset.ready === '1', null, { timeout: 30000 });
}

// The window the user works in: the active form.
export const kActive = 'section.tk-form.tk-active:not([hidden])';

// The shown windows, by caption (their aria-label), in page order.
export function shownForms(page) {
  return page.$$eval('section.tk-form:not([hidden])', (forms) => forms.map((f) => f.getAttribute('aria-label')));
}

// The nth (1-based) shown button or toggle with the caption in the active
// window, in the order the program made them; its centre in CSS pixels.
export async function controlCentre(page, caption, nth = 1) {
  const at = await page.evaluate(({ caption, nth, kActive }) => {
    const form = document.querySelector(kActive);
    if (!form) return { error: 'no active window' };
    const hits = [...form.querySelectorAll('button.tk-button, button.tk-speed')]
      .filter((b) => b.textContent === caption && b.checkVisibility());
    const b = hits[nth - 1];
    if (!b) return { error: `no shown button "${caption}" #${nth} in ${form.getAttribute('aria-label')}` };
    const r = b.getBoundingClientRect();
    return { x: r.left + r.width / 2, y: r.top + r.height / 2 };
  }, { caption, nth, kActive });
  if (at.error) throw new Error(at.error);
  return at;
}

// A click of the mouse on the button or toggle, as a user makes it.
export async function press(page, caption, nth = 1) {
  const { x, y } = await controlCentre(page, caption, nth);
  await page.mouse.click(x, y);
}

// Presses each blank-separated caption in turn ("Ｘ＝ ２ 決定").
export async function type(page, captions) {
  for (const c of captions.split(' ').filter(Boolean)) await press(page, c);
}

// The CSS position of design pixel (x, y) of the active window's plane.
export async function planePoint(page, x, y) {
  return page.evaluate(({ x, y, kActive, size }) => {
    const r = document.querySelector(`${kActive} canvas.tk-paintbox`).getBoundingClientRect();
    return { x: r.left + (x + 0.5) * r.width / size, y: r.top + (y + 0.5) * r.height / size };
  }, { x, y, kActive, size: kPlane });
}

export async function clickPlane(page, x, y) {
  const p = await planePoint(page, x, y);
  await page.mouse.click(p.x, p.y);
}

export async function tapPlane(page, x, y) {
  const p = await planePoint(page, x, y);
  await page.touchscreen.tap(p.x, p.y);
}

// The centre of a part of the active window's zoom bar: "left" / "right"
// (the arrows), "thumb", "leftTrough" / "rightTrough" (midway between the
// arrow and the thumb).
export async function barPart(page, part) {
  return page.evaluate(({ part, kActive }) => {
    const bar = document.querySelector(`${kActive} .tk-scrollbar`);
    const box = (sel) => bar.querySelector(sel).getBoundingClientRect();
    const centre = (r) => ({ x: r.left + r.width / 2, y: r.top + r.height / 2 });
    const l = box('.tk-arrow-left'), r = box('.tk-arrow-right'), t = box('.tk-thumb');
    if (part === 'left') return centre(l);
    if (part === 'right') return centre(r);
    if (part === 'thumb') return centre(t);
    const y = t.top + t.height / 2;
    if (part === 'leftTrough') return { x: (l.right + t.left) / 2, y };
    if (part === 'rightTrough') return { x: (t.right + r.left) / 2, y };
    throw new Error(`no bar part ${part}`);
  }, { part, kActive });
}

export async function zoom(page, side) {
  const p = await barPart(page, side);
  await page.mouse.click(p.x, p.y);
}

// The zoom bar's position as it tells assistive technology.
export function barPosition(page) {
  return page.$eval(`${kActive} .tk-scrollbar`, (b) => Number(b.getAttribute('aria-valuenow')));
}

// The active plane's backing store: { width, height, data (RGBA bytes) }.
export async function planeImage(page, selector = `${kActive} canvas.tk-paintbox`) {
  const got = await page.evaluate((selector) => {
    const c = document.querySelector(selector);
    const d = c.getContext('2d').getImageData(0, 0, c.width, c.height).data;
    let s = '';
    for (let i = 0; i < d.length; i += 0x8000) s += String.fromCharCode.apply(null, d.subarray(i, i + 0x8000));
    return { width: c.width, height: c.height, data: btoa(s) };
  }, selector);
  return { width: got.width, height: got.height, data: Buffer.from(got.data, 'base64') };
}

// How many pixels of the image have the colour 0xRRGGBB.
export function count(image, rgb) {
  const r = rgb >> 16, g = (rgb >> 8) & 0xff, b = rgb & 0xff;
  let n = 0;
  for (let i = 0; i < image.data.length; i += 4)
    if (image.data[i] === r && image.data[i + 1] === g && image.data[i + 2] === b) n++;
  return n;
}

// The colour 0xRRGGBB of device pixel (x, y).
export function pixel(image, x, y) {
  const i = (y * image.width + x) * 4;
  return (image.data[i] << 16) | (image.data[i + 1] << 8) | image.data[i + 2];
}

// The plane's colours, as the program draws them.
export const Colour = {
  red: 0xff0000, maroon: 0x800000, lime: 0x00ff00, aqua: 0x00ffff, yellow: 0xffff00,
  fuchsia: 0xff00ff, purple: 0x800080, black: 0x000000, white: 0xffffff,
};

// The message boxes open now: [{ title, lines }].
export function openBoxes(page) {
  return page.$$eval('dialog.tk-message[open]', (boxes) => boxes.map((d) => ({
    title: d.querySelector('.tk-message-title')?.textContent ?? '',
    lines: [...d.querySelectorAll('.tk-message-text p')].map((p) => p.textContent),
  })));
}

export async function waitBox(page) {
  await page.waitForSelector('dialog.tk-message[open]', { timeout: 5000 });
  return (await openBoxes(page))[0];
}

// The texts the active window last wrote above its plane.
export function readout(page) {
  return page.$eval(`${kActive} .tk-readout`, (r) => r.textContent);
}

// Whether the button with the caption is shown in the active window.
export function buttonShown(page, caption) {
  return page.evaluate(({ caption, kActive }) => [...document.querySelectorAll(`${kActive} button.tk-button`)]
    .some((b) => b.textContent === caption && b.checkVisibility()), { caption, kActive });
}

// Lets the program handle what is queued: two animation frames.
export function settle(page) {
  return page.evaluate(() => new Promise((r) => requestAnimationFrame(() => requestAnimationFrame(r))));
}

// Captions of the activities and menu, as the user reads them.
export const Caption = {
  menu: 'Orvalis',
  junsen: 'Orvalis（準線と焦点）',
  syoten: 'Orvalis（２つの焦点）',
  openJunsen: '定点と定直線との距離の比',
  openSyoten: '２つの定点との距離の和と差',
  quit: '終　　了',
  end: '終わる',
  retry: '再試行',
  graph: '条件を満たすグラフを描く',
};

// The pixel of a plane point at the opening zoom, 33 pixels per unit.
export function at(x, y) {
  return [330 + Math.round(33 * x), 330 - Math.round(33 * y)];
}

// The site served for the whole test file: site.url once it is up.
export function serveForFile(before, after, dir = siteDir) {
  const site = { url: null, server: null };
  before(async () => { site.server = await serve(dir); site.url = site.server.url; });
  after(async () => { if (site.server) await site.server.close(); });
  return site;
}

// The labels and value boxes of the active window, their texts in page order.
export function labels(page) {
  return page.$$eval(`${kActive} div.tk-label`, (ls) => ls.map((l) => l.textContent));
}

// aria-pressed of the nth toggle with the caption in the active window.
export function pressed(page, caption, nth = 1) {
  return page.evaluate(({ caption, nth, kActive }) => {
    const t = [...document.querySelectorAll(`${kActive} button.tk-speed`)].filter((b) => b.textContent === caption)[nth - 1];
    return t ? t.getAttribute('aria-pressed') : null;
  }, { caption, nth, kActive });
}

// The pixels of the colour within r design pixels of (x, y) of the plane
// image at the device scale s (device pixels per design pixel).
export function near(image, x, y, rgb, r = 1, s = image.width / kPlane) {
  let n = 0;
  for (let dy = Math.floor((y - r) * s); dy < Math.ceil((y + r + 1) * s); dy++)
    for (let dx = Math.floor((x - r) * s); dx < Math.ceil((x + r + 1) * s); dx++)
      if (dx >= 0 && dy >= 0 && dx < image.width && dy < image.height && pixel(image, dx, dy) === rgb) n++;
  return n;
}

// The red curve of the plane image against {g = 0} (g of plane units), at
// 33 design pixels a unit: how many red pixels lie farther than `tolerance`
// design pixels from it (to first order, |g| over its gradient's length),
// besides those within 3.5 of the points `skip` (the red dots), and how many
// design pixels on the curve inside the plane show no red within 3.
export function curveFit(image, g, { skip = [], tolerance = 3 } = {}) {
  const s = image.width / kPlane;
  // The distance in design pixels from the plane point (x, y) to the curve.
  const away = (x, y) => {
    const e = 1e-4, v = g(x, y);
    const gx = (g(x + e, y) - g(x - e, y)) / (2 * e), gy = (g(x, y + e) - g(x, y - e)) / (2 * e);
    return Math.abs(v) / Math.max(Math.hypot(gx, gy), 1e-9) * 33;
  };
  const red = new Uint8Array(kPlane * kPlane);
  let stray = 0, total = 0;
  for (let y = 0; y < image.height; y++)
    for (let x = 0; x < image.width; x++) {
      if (pixel(image, x, y) !== Colour.red) continue;
      const px = (x + 0.5) / s - 0.5, py = (y + 0.5) / s - 0.5;
      if (skip.some(([sx, sy]) => Math.hypot(px - sx, py - sy) <= 3.5)) continue;
      total++;
      red[Math.round(py) * kPlane + Math.round(px)] = 1;
      if (away((px - 330) / 33, (330 - py) / 33) > tolerance) stray++;
    }
  let uncovered = 0, onCurve = 0;
  for (let py = 4; py < kPlane - 4; py++)
    for (let px = 4; px < kPlane - 4; px++) {
      if (away((px - 330) / 33, (330 - py) / 33) > 0.5) continue;
      onCurve++;
      let hit = false;
      for (let dy = -3; dy <= 3 && !hit; dy++)
        for (let dx = -3; dx <= 3 && !hit; dx++) hit = red[(py + dy) * kPlane + px + dx] === 1;
      if (!hit) uncovered++;
    }
  return { total, stray, uncovered, onCurve };
}

// Counts from now on, on this page and every page it loads after it, each
// message box that opens and the most open at once: returns the live
// counts { opened, most, texts } (texts: those of two boxes open at once).
export async function watchBoxes(page) {
  const seen = { opened: 0, most: 0, texts: null };
  await page.exposeFunction('__orvalisBoxes', (opened, open, texts) => {
    seen.opened += opened;
    if (open > seen.most) {
      seen.most = open;
      if (open > 1) seen.texts = texts;
    }
  });
  const watch = () => {
    const seenBoxes = new WeakSet();
    const look = () => {
      const open = [...document.querySelectorAll('dialog.tk-message[open]')];
      const fresh = open.filter((d) => !seenBoxes.has(d));
      fresh.forEach((d) => seenBoxes.add(d));
      for (const d of document.querySelectorAll('dialog.tk-message:not([open])')) seenBoxes.delete(d);
      if (fresh.length) window.__orvalisBoxes(fresh.length, open.length, open.map((d) => d.textContent));
    };
    new MutationObserver(look).observe(document, { subtree: true, childList: true, attributes: true, attributeFilter: ['open'] });
    look();
  };
  await page.addInitScript(watch);
  await page.evaluate(watch);
  return seen;
}

// The restart button of the ended page: a new page, its menu drawn.
export async function restart(page) {
  await Promise.all([page.waitForNavigation({ waitUntil: 'load' }), page.click('#restart')]);
  await waitReady(page);
}
