// The golden moments (tests/golden/moments.txt) drawn by the web page, in
// headless Chromium and in Firefox, compared with the desktop's reference
// frames.
//
// Chromium draws with SwiftShader where the references come from Mesa's
// llvmpipe: the edges of small cubes fall on other pixels, so the desktop's
// rule (each channel within 2) cannot hold. A frame passes when at most
// MOST_OFF of its pixels differ by more than 8 in a channel and its PSNR is
// at least LEAST_PSNR dB. Measured on the built page: at most 1.8 % off and
// 33.2 dB at the worst moment (the small cubes of 33008 and 41808 ms), most
// moments under 0.2 % and over 44 dB; Firefox on llvmpipe matches exactly.
// Textures decoded upside down put every moment at 12 % off or more; strips
// placed by another random sequence, 5 % and more at 9296, 11200, 16992 ms.
//
//   node golden_frames.mjs SITE_FOLDER OUTPUT_FOLDER [chromium|firefox ...]

import { mkdirSync, readFileSync, writeFileSync } from 'node:fs';
import path from 'node:path';
import { BROWSERS, SOURCE, Site, compareFrames, decodePng, finalState, launch, openPage } from './browsers.mjs';

const WIDTH = 200;
const HEIGHT = 160;
const MOST_OFF = 0.03;
const LEAST_PSNR = 30.0;

// The seed and the moments the desktop's golden test shares.
function goldenMoments() {
  let seed = null;
  const moments = [];
  for (const line of readFileSync(path.join(SOURCE, 'tests', 'golden', 'moments.txt'), 'utf8').split('\n')) {
    const words = line.split('#')[0].trim().split(/\s+/).filter(Boolean);
    if (words[0] === 'seed') seed = Number(words[1]);
    else moments.push(...words.map(Number));
  }
  return { seed, moments };
}

async function drawMoments(site, kind, output) {
  const { seed, moments } = goldenMoments();
  const browser = await launch(kind, { width: WIDTH + 200, height: HEIGHT + 200 });
  const failed = [];
  try {
    for (const moment of moments) {
      const page = await openPage(browser, site.url(`index.html?at=${moment}&size=${WIDTH}x${HEIGHT}&seed=${seed}`));
      const state = await finalState(page, ['done', 'failed', 'refused']);
      if (state !== 'done') throw new Error(`the page ended ${state} at ${moment}: ${page.consoleLines.slice(-5)}`);
      const shot = await page.screenshot({ clip: { x: 0, y: 0, width: WIDTH, height: HEIGHT } });
      await page.close();
      const name = `${kind}-${String(moment).padStart(5, '0')}.png`;
      writeFileSync(path.join(output, name), shot);
      const reference = readFileSync(path.join(SOURCE, 'tests', 'golden', `lumaroll-${String(moment).padStart(5, '0')}.png`));
      const { off, psnr } = compareFrames(decodePng(shot), decodePng(reference));
      const good = off <= MOST_OFF && psnr >= LEAST_PSNR;
      console.log(`${kind.padEnd(8)} ${String(moment).padStart(6)} ms  ${(100 * off).toFixed(2).padStart(5)} % off by `
        + `more than 8  PSNR ${psnr.toFixed(1).padStart(5)} dB  ${good ? 'ok' : 'DIFFERS'}`);
      if (!good) failed.push(moment);
    }
  } finally {
    await browser.close();
  }
  return failed;
}

const [folder, output = 'web-golden', ...asked] = process.argv.slice(2);
mkdirSync(output, { recursive: true });
const site = await Site.serve(folder);
let status = 0;
try {
  for (const kind of asked.length ? asked : BROWSERS) {
    const failed = await drawMoments(site, kind, output);
    if (failed.length) {
      console.log(`${kind}: frames that differ from the references: ${failed} (the page's shots are in ${output})`);
      status = 1;
    }
  }
} finally {
  site.close();
}
process.exit(status);
