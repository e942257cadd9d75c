// Runs one window test program built for the browser (a single .js with
// its WebAssembly inside) in Debian's headless Chromium: serves a page with
// the desktop, the backend's style sheet and the program on 127.0.0.1, opens
// it at a viewport of 1024 x 768 CSS pixels and the device scale asked for,
// prints the program's output and exits with the program's exit code.
//
//   node run_gtest.mjs --program TEST.js --css toolkit.css [--ratio 1.5]
//        [--filter GTEST_FILTER] [--timeout SECONDS]

import { chromium } from 'playwright-core';
import fs from 'node:fs';
import http from 'node:http';
import os from 'node:os';
import path from 'node:path';
import { parseArgs } from 'node:util';

const { values: opt } = parseArgs({
  options: {
    program: { type: 'string' },
    css: { type: 'string' },
    ratio: { type: 'string', default: '1' },
    filter: { type: 'string' },
    timeout: { type: 'string', default: '280' },
  },
});
if (!opt.program || !opt.css) {
  console.error('run_gtest: --program and --css are needed');
  process.exit(2);
}
const ratio = Number(opt.ratio);
if (!(ratio > 0)) {
  console.error(`run_gtest: bad --ratio ${opt.ratio}`);
  process.exit(2);
}

// The designed faces by the names the program asks for, mapped to the
// device's (the IPA faces on Debian).
const kFonts = `
@font-face { font-family: "ＭＳ Ｐゴシック"; src: local("MS PGothic"), local("IPAPGothic"); }
@font-face { font-family: "ＭＳ Ｐ明朝"; src: local("MS PMincho"), local("IPAPMincho"); }
@font-face { font-family: "ＭＳ 明朝"; font-weight: 400; src: local("MS Mincho"), local("IPAMincho"); }
@font-face { font-family: "ＭＳ 明朝"; font-weight: 700; src: local("MS Mincho Bold"), local("IPAMincho"); }
`;

const args = ['--gtest_color=no'];
if (opt.filter) args.push(`--gtest_filter=${opt.filter}`);

const page = `<!DOCTYPE html>
<html lang="ja"><head><meta charset="utf-8"><title>test</title>
<link rel="icon" href="data:,"><link rel="stylesheet" href="toolkit.css"><style>${kFonts}</style>
<script>
var Module = {
  arguments: ${JSON.stringify(args)},
  print: function (text) { console.log(text); },
  printErr: function (text) { console.error(text); },
  onExit: function (code) { window.tkTestExit(code); },
  onAbort: function (what) { window.tkTestExit(134, String(what)); },
};
</script></head>
<body><div id="desktop"></div><script src="test.js"></script></body></html>`;

const files = {
  '/': ['text/html; charset=utf-8', Buffer.from(page)],
  '/toolkit.css': ['text/css; charset=utf-8', fs.readFileSync(opt.css)],
  '/test.js': ['text/javascript; charset=utf-8', fs.readFileSync(opt.program)],
};
const server = http.createServer((req, res) => {
  const file = files[new URL(req.url, 'http://x').pathname];
  if (!file) {
    res.writeHead(404).end();
    return;
  }
  res.writeHead(200, { 'Content-Type': file[0], 'Content-Length': file[1].length, 'Cache-Control': 'no-store' });
  res.end(file[1]);
});
await new Promise((resolve) => server.listen(0, '127.0.0.1', resolve));
const url = `http://127.0.0.1:${server.address().port}/`;

// The viewport is the window less the 87 pixels of height that headless
// Chromium keeps; the device scale is Chromium's own.
const profile = fs.mkdtempSync(path.join(os.tmpdir(), 'orvalis-webdriver-'));
const context = await chromium.launchPersistentContext(profile, {
  executablePath: process.env.ORVALIS_CHROMIUM || '/usr/bin/chromium',
  headless: true,
  viewport: null,
  args: [
    '--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
    '--disable-background-networking', '--disable-component-update', '--disable-sync',
    `--force-device-scale-factor=${ratio}`, '--window-size=1024,855',
  ],
});

let finish;
let exited = false;
let pageErrors = 0;
const finished = new Promise((resolve) => { finish = (code) => { exited = true; resolve(code); }; });
const tab = context.pages()[0] || await context.newPage();
await tab.exposeFunction('tkTestExit', (code, why) => {
  if (why) console.log(`run_gtest: the program aborted: ${why}`);
  finish(Number(code));
});
tab.on('console', (m) => {
  const text = m.text();
  (m.type() === 'error' ? process.stderr : process.stdout).write(text + '\n');
});
tab.on('pageerror', (e) => {
  if (exited) return;  // the exit itself unwinds the page with ExitStatus
  // The run goes on, so that every case is reported; the run fails.
  ++pageErrors;
  console.log(`run_gtest: page error: ${e.stack || e.message}`);
});
tab.on('crash', () => {
  console.log('run_gtest: the page crashed');
  finish(1);
});

const seconds = Number(opt.timeout) || 280;
const timer = setTimeout(() => {
  console.log(`run_gtest: no exit after ${seconds} s`);
  finish(124);
}, seconds * 1000);

let code = 1;
try {
  await tab.goto(url);
  // At 1.5 Chromium's window comes only in heights that leave 767 or 769
  // CSS pixels: 769 still fits the design at exactly 1.
  const size = await tab.evaluate(() => [innerWidth, innerHeight, devicePixelRatio]);
  if (size[0] !== 1024 || size[1] < 768 || size[1] > 769 || Math.abs(size[2] - ratio) > 1e-9) {
    console.log(`run_gtest: the viewport is ${size[0]} x ${size[1]} at ${size[2]}, not 1024 x 768 at ${ratio}`);
    finish(1);
  }
  code = await finished;
} catch (e) {
  console.log(`run_gtest: ${e.message}`);
}
clearTimeout(timer);
if (pageErrors > 0) {
  console.log(`run_gtest: ${pageErrors} uncaught error(s) in the page`);
  if (code === 0) code = 1;
}
await context.close().catch(() => {});
fs.rmSync(profile, { recursive: true, force: true });
await new Promise((resolve) => { server.closeAllConnections(); server.close(resolve); });
process.exit(code);
