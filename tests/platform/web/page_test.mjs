// The web page in a browser: an address it cannot take is answered on the
// page, in sight; the page reads its address only through the demo; Escape
// ends a run; without WebGL the page says so; a run follows the audio
// context's clock, and sound the browser keeps off is said, and let in by a
// click. Firefox plays its sound into a PulseAudio server of the test's own:
// without one its audio context never runs.
//
//   node page_test.mjs SITE_FOLDER [chromium|firefox ...]

import { BROWSERS, Site, SoundServer, escape, finalState, launch, openPage, waitFor } from './browsers.mjs';

const failures = [];

function check(condition, what) {
  console.log(`${condition ? 'ok    ' : 'FAILED '}${what}`);
  if (!condition) failures.push(what);
}

const sleep = (ms) => new Promise((resolve) => setTimeout(resolve, ms));

// Shown on the page, and not wider than its box: not hidden behind a frame
// on demand's black canvas, nor running off the screen.
function messageInSight() {
  const message = document.getElementById('message');
  const box = message.getBoundingClientRect();
  return getComputedStyle(message).display !== 'none' && box.width > 0 && box.height > 0
    && message.scrollWidth <= message.clientWidth + 1;
}

async function refusedAddresses(site, browser, kind) {
  const rows = [['seed=abc', '--seed takes a whole number'], ['mute=yes', "'mute' takes 1 or 0"],
    ['colour=3', '--colour'], ['start=99999', 'last frame at 74032'], ['at=-5', "'at' takes a run time"],
    ['at=abc', "'at' takes a run time"], ['at=', "'at' has no value"], ['at=2000&size=0x0', '--size takes'],
    ['mute=%00%1b', "not '\\x00\\x1b'"], [`mute=${'y'.repeat(100000)}`, `not '${'y'.repeat(200)}\u2026'`]];
  for (const [query, said] of rows) {
    const page = await openPage(browser, site.url(`index.html?${query}`));
    const state = await finalState(page, ['refused', 'ready', 'failed', 'done']);
    const message = await page.evaluate(() => document.getElementById('message').textContent);
    const shown = await page.evaluate(messageInSight);
    check(state === 'refused' && message.includes(said) && shown && message.length < 400,
      `${kind}: ?${query.slice(0, 40)} is answered on the page, in sight: ${JSON.stringify(message.slice(0, 120))} `
      + `(${state}, shown ${shown})`);
    await page.close();
  }
}

// The page goes by what the demo reads, percent escapes included.
async function oneReaderOfTheAddress(site, browser, kind) {
  let page = await openPage(browser, site.url('index.html?%61t=2000&size=200x160'));
  const state = await finalState(page, ['done', 'ready', 'failed', 'refused']);
  check(state === 'done', `${kind}: ?%61t=2000 draws the frame of 2000 ms alone (${state})`);
  await page.close();
  page = await openPage(browser, site.url('index.html?%6eo-wait=1'));
  await finalState(page, ['ready']);
  const status = await page.evaluate(() => document.getElementById('status').textContent);
  check(status === 'Ready.', `${kind}: ?%6eo-wait=1 starts at once: ${JSON.stringify(status)}`);
  const icon = await page.evaluate(() => fetch(document.querySelector('link[rel=icon]').href).then((r) => r.status));
  check(icon === 200, `${kind}: the page's icon is there (${icon})`);
  await page.close();
}

async function escapeEndsARun(site, browser, kind) {
  const page = await openPage(browser, site.url('index.html?no-wait=1&mute=1&size=400x320'));
  await finalState(page, ['ready']);
  await page.click('#start');
  await sleep(3000);
  await escape(page);
  const state = await finalState(page, ['ended', 'failed'], 30);
  check(state === 'ended', `${kind}: Escape ends the run (${state})`);
  await page.close();
}

const syncLog = "window.lumarollEnvironment = {LUMAROLL_SYNC_LOG: '/sync.log'};";

// pass, due, clock as drawing began, clock once shown, music position, ticks
async function framesLogged(page) {
  const log = await page.evaluate(() => Module.FS.readFile('/sync.log', { encoding: 'utf8' }));
  return log.split('\n').filter(Boolean).map((line) => line.split(' ').map(Number));
}

async function inStepWithTheMusic(site, browser, kind, start = 20000, seconds = 6) {
  const page = await openPage(browser, site.url(`index.html?no-wait=1&start=${start}&size=400x320`),
    { beforeLoad: syncLog });
  await finalState(page, ['ready']);
  await page.evaluate(() => document.getElementById('start').click());
  // The page answers all along: a page thread stuck in the audio stack
  // (as Firefox's was, asked for the output's latency each frame) shows here
  // rather than as the keys' protocol timing out minutes later.
  let slowest = 0;
  for (const begun = Date.now(); Date.now() - begun < seconds * 1000; await sleep(500)) {
    const asked = Date.now();
    const answer = await Promise.race([page.evaluate(() => document.body.dataset.state), sleep(5000)]);
    slowest = Math.max(slowest, Date.now() - asked);
    if (answer === undefined) break;
  }
  check(slowest < 5000, `${kind}: the page answers while it plays: within ${slowest} ms`);
  if (slowest >= 5000) return;
  await escape(page); // the log is written out as the run ends
  const state = await finalState(page, ['ended', 'failed'], 30);
  check(state === 'ended', `Escape ends the run (${state})`);
  const frames = await framesLogged(page);
  await page.close();
  const heard = frames.filter((f) => f[4] >= 0);
  check(frames.length > 2 * seconds, `${frames.length} frames drawn in ${seconds} s`);
  const last = heard.length ? heard[heard.length - 1][4] : null;
  check(last !== null && last >= (seconds - 2) * 1000, `the music played on: ${last} ms heard`);
  // Once the music is heard, the clock the pictures follow is its position.
  const apart = heard.slice(5).map((f) => Math.abs(f[3] - (start + f[4])));
  const worst = apart.length ? Math.max(...apart) : null;
  check(worst !== null && worst <= 50, `the pictures' clock keeps to the music's position: at most ${worst} ms apart`);
  // A slow frame costs frames, not time: passes are left out, and a frame
  // reaches the screen about the time one takes to draw after its own
  // (SwiftShader on two cores: near 100 ms at this size; a busy machine
  // adds a few hundred now and then). Frames slowed instead would fall
  // seconds behind within the run.
  const late = heard.slice(5).map((f) => f[3] - f[1]).sort((a, b) => a - b);
  const median = late.length ? late[late.length >> 1] : null;
  check(late.length && median <= 150 && late[late.length - 1] <= 500,
    `frames keep their time: ${median} ms late in the middle, ${late[late.length - 1]} at most`);
  const passes = heard.length ? heard[heard.length - 1][0] - heard[0][0] + 1 : 0;
  check(heard.length < passes, `frames left out to keep in step: ${heard.length} drawn of ${passes} passes`);
}

// What `expression` gives in the page, read as it is: not through
// puppeteer's evaluate, which counts as the user's gesture and would let the
// sound in. Over the DevTools protocol in Chromium, and WebDriver BiDi's own
// script.evaluate, without a user's activation, in Firefox.
async function pageReader(page, kind) {
  if (kind === 'chromium') {
    const session = await page.createCDPSession();
    return async (expression) => (await session.send('Runtime.evaluate',
      { expression, returnByValue: true, awaitPromise: true })).result.value;
  }
  const realm = page.mainFrame().browsingContext.defaultRealm;
  return async (expression) => {
    const result = await realm.evaluate(expression, true, { userActivation: false, resultOwnership: 'none' });
    return result.type === 'success' ? result.result.value : undefined;
  };
}

// A browser that keeps sound off until the user clicks: the page says so,
// and the music starts with the click, where the pictures are.
async function soundKeptOff(site, kind, sound) {
  const browser = await launch(kind, { width: 800, height: 700, autoplay: false, sound });
  try {
    const page = await openPage(browser, site.url('index.html?no-wait=1&start=20000&size=400x320'),
      { beforeLoad: syncLog });
    const read = await pageReader(page, kind);
    const until = async (expression, seconds) => {
      for (const deadline = Date.now() + seconds * 1000; Date.now() < deadline; await sleep(100)) {
        const value = await read(expression);
        if (value) return value;
      }
      return null;
    };
    await until("document.body.dataset.state === 'ready'", 90);
    await read("document.getElementById('start').click()"); // not the user's: no sound
    const line = await until("document.getElementById('sound').textContent", 10);
    check(line && line.includes('click to allow it'), `the page says the sound is off: ${JSON.stringify(line)}`);
    // Long enough that pictures waiting for the music to catch up would show.
    await sleep(4000);
    await page.mouse.click(400, 350);
    const cleared = await until(
      "document.getElementById('sound').textContent === '' && Module.audioContext.state === 'running'", 10);
    check(cleared, 'a click lets the sound in and the line goes');
    await sleep(4000);
    await escape(page); // the log is written out as the run ends
    await until("['ended', 'failed'].includes(document.body.dataset.state)", 30);
    const frames = await framesLogged(page);
    const heard = frames.filter((f) => f[4] > 0);
    check(heard.length > 10, `the music is heard after the click (${heard.length} frames)`);
    // From the fifth frame on: the first waits for the music up to the start limit.
    let still = 0;
    for (let k = 5; k < frames.length; ++k) still = Math.max(still, frames[k][5] - frames[k - 1][5]);
    check(still < 1500, `the pictures never stood still long: at most ${still} ms`);
  } finally {
    await browser.close();
  }
}

async function withoutWebgl(site, kind) {
  const browser = await launch(kind, { webgl: false });
  try {
    const page = await openPage(browser, site.url('index.html'));
    await finalState(page, ['failed', 'ready']);
    const message = await page.evaluate(() => document.getElementById('message').textContent);
    check(message.includes('WebGL 2'), `${kind}: without WebGL the page says why: ${JSON.stringify(message)}`);
  } finally {
    await browser.close();
  }
}

const [folder, ...asked] = process.argv.slice(2);
const site = await Site.serve(folder);
const sound = await SoundServer.start();
try {
  for (const kind of asked.length ? asked : BROWSERS) {
    const browser = await launch(kind, { width: 800, height: 700, sound });
    try {
      await refusedAddresses(site, browser, kind);
      await oneReaderOfTheAddress(site, browser, kind);
      await escapeEndsARun(site, browser, kind);
      await inStepWithTheMusic(site, browser, kind);
    } finally {
      await browser.close();
    }
    await soundKeptOff(site, kind, sound);
    await withoutWebgl(site, kind);
  }
} finally {
  sound.close();
  site.close();
}
if (failures.length) console.log(`${failures.length} checks failed`);
process.exit(failures.length ? 1 : 0);
