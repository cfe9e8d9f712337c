// Frames per second the web page draws in headless Chromium (SwiftShader)
// beside the desktop program's (Mesa's llvmpipe under the X server), in the
// same run, at the same size, every frame drawn and no sound, over the same
// stretch of run time.
//
//   node bench/web_fps.mjs SITE_FOLDER DESKTOP_BINARY [SECONDS]
// (the desktop program needs an X display: scripts/with-display.sh gives one)

import { spawn } from 'node:child_process';
import { existsSync, mkdtempSync, readFileSync, rmSync } from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import { SOURCE, Site, escape, finalState, launch, openPage } from '../tests/platform/web/browsers.mjs';

const SIZE = [800, 640];
const START = 30000; // scene two: the ball of cubes, the heaviest stretch
const sleep = (ms) => new Promise((resolve) => setTimeout(resolve, ms));

// Frames drawn over the wall clock, from a sync log's ticks (its sixth field).
function framesPerSecond(log) {
  const ticks = log.split('\n').filter(Boolean).map((line) => Number(line.split(' ')[5]));
  return ticks.length > 2 ? ((ticks.length - 1) * 1000) / (ticks[ticks.length - 1] - ticks[0]) : 0;
}

async function web(folder, seconds) {
  const site = await Site.serve(folder);
  const browser = await launch('chromium', { width: SIZE[0] + 40, height: SIZE[1] + 160 });
  try {
    const page = await openPage(browser,
      site.url(`index.html?no-wait=1&mute=1&every-frame=1&start=${START}&size=${SIZE[0]}x${SIZE[1]}`),
      { beforeLoad: "window.lumarollEnvironment = {LUMAROLL_SYNC_LOG: '/sync.log'};" });
    await finalState(page, ['ready']);
    await page.evaluate(() => document.getElementById('start').click());
    await sleep(seconds * 1000);
    await escape(page);
    await finalState(page, ['ended', 'failed'], 60);
    return framesPerSecond(await page.evaluate(() => Module.FS.readFile('/sync.log', { encoding: 'utf8' })));
  } finally {
    await browser.close();
    site.close();
  }
}

async function desktop(binary, seconds) {
  const folder = mkdtempSync(path.join(os.tmpdir(), 'lumaroll-fps-'));
  const log = path.join(folder, 'sync.log');
  const run = spawn(binary, ['--no-wait', '--mute', '--every-frame', '--start', String(START), '--size',
    `${SIZE[0]}x${SIZE[1]}`], { cwd: SOURCE, env: { ...process.env, LUMAROLL_SYNC_LOG: log }, stdio: 'ignore' });
  await sleep(seconds * 1000);
  const ended = new Promise((resolve) => run.once('exit', resolve));
  run.kill('SIGTERM');
  await ended;
  const fps = existsSync(log) ? framesPerSecond(readFileSync(log, 'utf8')) : 0;
  rmSync(folder, { recursive: true, force: true });
  return fps;
}

const [folder, binary, seconds = '10'] = process.argv.slice(2);
const page = await web(folder, Number(seconds));
const native = existsSync(binary) ? await desktop(binary, Number(seconds)) : 0;
console.log(`frames per second at ${SIZE[0]}x${SIZE[1]}, every frame drawn, from run time ${START} ms:`);
console.log(`  web page, headless Chromium (SwiftShader): ${page.toFixed(1).padStart(6)}`);
if (native) {
  console.log(`  desktop program (llvmpipe):                ${native.toFixed(1).padStart(6)}`);
  console.log(`  the page draws ${(page / native).toFixed(2)} times the desktop's frames`);
} else {
  console.log(`  desktop program: not built at ${binary}`);
}
