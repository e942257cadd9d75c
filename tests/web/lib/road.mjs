// The road of road.txt played in the browser, as plane_road plays it on the
// desktop: presses by caption, clicks on the plane, zoom arrows, and the
// plane's pixels at each "dump".

import fs from 'node:fs';
import path from 'node:path';
import { fileURLToPath } from 'node:url';
import * as h from './harness.mjs';

export const roadFile = path.join(path.dirname(fileURLToPath(import.meta.url)), '..', 'road.txt');

// The steps: [{ line, verb, args }].
export function readRoad(file = roadFile) {
  return fs.readFileSync(file, 'utf8').split('\n')
    .map((text, i) => ({ line: i + 1, words: text.trim().split(/ +/) }))
    .filter(({ words }) => words[0] && !words[0].startsWith('#'))
    .map(({ line, words }) => ({ line, verb: words[0], args: words.slice(1) }));
}

// Plays the road; returns { name: image } of every dump.
export async function playRoad(page, steps) {
  const dumps = {};
  for (const { line, verb, args } of steps) {
    try {
      if (verb === 'press') await h.press(page, args[0], args[1] ? Number(args[1]) : 1);
      else if (verb === 'click') await h.clickPlane(page, Number(args[0]), Number(args[1]));
      else if (verb === 'zoom') await h.zoom(page, args[0]);
      else if (verb === 'dump') dumps[args[0]] = await h.planeImage(page);
      else throw new Error(`unknown step ${verb}`);
      await h.settle(page);
      const boxes = await h.openBoxes(page);
      if (boxes.length) throw new Error(`a message box opened: ${JSON.stringify(boxes)}`);
    } catch (e) {
      throw new Error(`road line ${line} (${verb} ${args.join(' ')}): ${e.message}`);
    }
  }
  return dumps;
}
