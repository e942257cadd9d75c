// The plane in the browser is the desktop's, pixel for pixel: the same road
// (road.txt) played on the desktop program by plane_road and in Chromium at
// one device pixel per design pixel, every pixel of every dump compared.

import { test } from 'node:test';
import assert from 'node:assert/strict';
import { execFileSync } from 'node:child_process';
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import * as h from './lib/harness.mjs';
import { readRoad, playRoad, roadFile } from './lib/road.mjs';

const dumper = process.env.ORVALIS_PLANE_ROAD || path.join(h.repoRoot, 'build/tests/web/plane_road');

test('the plane after the same road equals the desktop\'s pixel for pixel', async () => {
  assert.ok(fs.existsSync(dumper), `no ${dumper}: build the target plane_road`);
  const out = fs.mkdtempSync(path.join(os.tmpdir(), 'orvalis-road-'));
  execFileSync(dumper, [roadFile, out], { env: { ...process.env, QT_QPA_PLATFORM: 'offscreen' }, stdio: 'inherit' });

  const server = await h.serve();
  try {
    await h.withBrowser({ dpr: 1, width: 1024, height: 768 }, async (b) => {
      await h.open(b.page, server.url);
      assert.deepEqual(await b.page.evaluate(() => [devicePixelRatio, innerWidth, innerHeight]), [1, 1024, 768],
        'the design at scale 1 on a device pixel per CSS pixel');
      const dumps = await playRoad(b.page, readRoad());
      const names = Object.keys(dumps);
      assert.ok(names.length >= 8, 'the road dumps both activities at several steps');
      const differing = [];
      for (const name of names) {
        const web = dumps[name];
        assert.equal(`${web.width}x${web.height}`, `${h.kPlane}x${h.kPlane}`, `${name}: the backing store`);
        const desk = fs.readFileSync(path.join(out, `${name}.rgba`));
        assert.equal(desk.length, web.data.length);
        let n = 0, first = null;
        for (let i = 0; i < desk.length; i += 4) {
          if (desk[i] !== web.data[i] || desk[i + 1] !== web.data[i + 1] || desk[i + 2] !== web.data[i + 2]) {
            if (!first) {
              const p = i / 4;
              first = `(${p % h.kPlane}, ${Math.floor(p / h.kPlane)}) desktop ${[...desk.subarray(i, i + 3)]} ` +
                `browser ${[...web.data.subarray(i, i + 3)]}`;
            }
            n++;
          }
        }
        if (n) {
          fs.writeFileSync(path.join(out, `${name}.web.rgba`), web.data);
          differing.push(`${name}: ${n} pixels differ, first at ${first}`);
        }
      }
      assert.deepEqual(differing, [], `planes differ (both images kept in ${out})`);
      fs.rmSync(out, { recursive: true, force: true });
    });
  } finally {
    await server.close();
  }
});
