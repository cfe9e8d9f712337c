// The web tier's browsers, driven by puppeteer-core: Debian's Chromium
// headless over the DevTools protocol (software WebGL through SwiftShader),
// and Debian's Firefox ESR over WebDriver BiDi in a window of the X display
// (headless Firefox has no WebGL 2 without a GPU; under Xvfb it draws with
// Mesa's llvmpipe). The site is served on loopback as a static host serves
// it, by scripts/serve_web.py. And what the tests share: waiting for the
// page's state, keys and clicks, and comparing PNG frames.

import { spawn } from 'node:child_process';
import { chmodSync, existsSync, mkdtempSync, rmSync } from 'node:fs';
import net from 'node:net';
import os from 'node:os';
import path from 'node:path';
import { fileURLToPath } from 'node:url';
import zlib from 'node:zlib';
import puppeteer from 'puppeteer-core';

export const SOURCE = path.resolve(path.dirname(fileURLToPath(import.meta.url)), '..', '..', '..');
export const BROWSERS = ['chromium', 'firefox'];

function freePort() {
  return new Promise((resolve, reject) => {
    const probe = net.createServer();
    probe.once('error', reject);
    probe.listen(0, '127.0.0.1', () => {
      const { port } = probe.address();
      probe.close(() => resolve(port));
    });
  });
}

const sleep = (ms) => new Promise((resolve) => setTimeout(resolve, ms));

// The built site on loopback. `await Site.serve(folder)`, then `close()`.
export class Site {
  static async serve(folder) {
    const site = new Site();
    site.port = await freePort();
    site.process = spawn('/usr/bin/python3', [path.join(SOURCE, 'scripts', 'serve_web.py'), String(site.port), folder],
      { stdio: 'ignore' });
    for (let tries = 0; ; ++tries) {
      try {
        const answer = await fetch(site.url('index.html'));
        if (answer.ok) break;
      } catch {
        // not listening yet
      }
      if (tries > 100) throw new Error('the site was not served');
      await sleep(100);
    }
    return site;
  }

  url(page) { return `http://127.0.0.1:${this.port}/${page}`; }

  close() { this.process.kill(); }
}

// A PulseAudio server of the tests' own, on a private socket, playing into a
// null sink: Firefox plays its sound there (without a server its audio
// context never runs). `await SoundServer.start()`, then `close()`.
export class SoundServer {
  static async start() {
    const server = new SoundServer();
    server.folder = mkdtempSync(path.join(os.tmpdir(), 'lumaroll-pulse-'));
    chmodSync(server.folder, 0o700); // PulseAudio refuses a runtime folder others can enter
    server.socket = path.join(server.folder, 'socket');
    const env = { ...process.env, HOME: server.folder, XDG_RUNTIME_DIR: server.folder,
      XDG_CONFIG_HOME: path.join(server.folder, 'config') };
    delete env.DISPLAY;
    server.process = spawn('pulseaudio', ['-n', '--daemonize=no', '--exit-idle-time=-1', '--disallow-exit',
      '-L', 'module-null-sink sink_name=nul rate=48000',
      '-L', `module-native-protocol-unix auth-anonymous=1 socket=${server.socket}`], { env, stdio: 'ignore' });
    for (let tries = 0; !existsSync(server.socket); ++tries) {
      if (tries > 100) throw new Error('pulseaudio did not open its socket');
      await sleep(100);
    }
    return server;
  }

  get address() { return `unix:${this.socket}`; }

  close() {
    this.process.kill();
    rmSync(this.folder, { recursive: true, force: true });
  }
}

// One browser. `webgl: false` turns WebGL off; `autoplay: false` keeps sound
// off until the user clicks, as a browser's own settings may; `sound`, a
// SoundServer, is where Firefox plays.
export async function launch(kind, { width = 1024, height = 768, webgl = true, autoplay = true, sound = null } = {}) {
  const viewport = { width, height };
  if (kind === 'chromium') {
    const args = ['--no-sandbox', '--no-first-run', '--mute-audio', `--window-size=${width},${height}`,
      '--disable-background-networking', '--disable-component-update'];
    if (autoplay) args.push('--autoplay-policy=no-user-gesture-required');
    args.push(...(webgl ? ['--use-angle=swiftshader', '--enable-unsafe-swiftshader']
      : ['--disable-gpu', '--disable-3d-apis', '--disable-software-rasterizer']));
    return puppeteer.launch({ executablePath: process.env.CHROMIUM || '/usr/bin/chromium', headless: true, args,
      defaultViewport: viewport });
  }
  if (!process.env.DISPLAY) throw new Error('Firefox draws WebGL 2 in a window: run under scripts/with-display.sh');
  const profile = mkdtempSync(path.join(os.tmpdir(), 'lumaroll-firefox-'));
  const browser = await puppeteer.launch({
    browser: 'firefox', executablePath: process.env.FIREFOX || '/usr/bin/firefox-esr', headless: false,
    userDataDir: profile, defaultViewport: viewport, args: [`--width=${width}`, `--height=${height}`],
    env: sound ? { ...process.env, PULSE_SERVER: sound.address } : process.env,
    extraPrefsFirefox: {
      'media.autoplay.default': autoplay ? 0 : 1, // 0 allows sound at once, 1 waits for a click
      'media.autoplay.blocking_policy': 0,
      'webgl.disabled': !webgl,
      'webgl.force-enabled': webgl, // llvmpipe is on Firefox's list of drivers it will not trust
      'media.volume_scale': '0.0',
    },
  });
  browser.once('disconnected', () => rmSync(profile, { recursive: true, force: true }));
  return browser;
}

// A new page of `browser` that keeps its console's last lines.
export async function openPage(browser, url, { beforeLoad } = {}) {
  const page = await browser.newPage();
  page.consoleLines = [];
  page.on('console', (message) => {
    page.consoleLines.push(message.text());
    if (page.consoleLines.length > 20) page.consoleLines.shift();
  });
  if (beforeLoad) await page.evaluateOnNewDocument(beforeLoad);
  await page.goto(url, { waitUntil: 'load', timeout: 90000 });
  return page;
}

// The page's state once it is one of `states`; throws after `seconds`.
export async function finalState(page, states, seconds = 90) {
  const deadline = Date.now() + seconds * 1000;
  while (Date.now() < deadline) {
    const state = await page.evaluate(() => document.body.dataset.state);
    if (states.includes(state)) return state;
    await sleep(100);
  }
  throw new Error(`waited ${seconds} s for ${states}; console: ${page.consoleLines.slice(-8).join(' | ')}`);
}

// Polls `fn` in the page until it gives something true; that, or null after `seconds`.
export async function waitFor(page, fn, seconds = 60) {
  const deadline = Date.now() + seconds * 1000;
  while (Date.now() < deadline) {
    const value = await page.evaluate(fn);
    if (value) return value;
    await sleep(100);
  }
  return null;
}

export async function escape(page) {
  await page.keyboard.press('Escape');
}

// A PNG's pixels as RGB: 8-bit RGB or RGBA, not interlaced (the capture
// tool's frames and the browsers' screenshots).
export function decodePng(bytes) {
  const data = Buffer.from(bytes);
  let at = 8;
  let width = 0;
  let height = 0;
  let colourType = 0;
  const compressed = [];
  while (at < data.length) {
    const length = data.readUInt32BE(at);
    const type = data.toString('latin1', at + 4, at + 8);
    const body = data.subarray(at + 8, at + 8 + length);
    if (type === 'IHDR') {
      width = body.readUInt32BE(0);
      height = body.readUInt32BE(4);
      if (body[8] !== 8 || body[12] !== 0 || (body[9] !== 2 && body[9] !== 6)) throw new Error('an unread PNG kind');
      colourType = body[9];
    } else if (type === 'IDAT') {
      compressed.push(body);
    }
    at += 12 + length;
  }
  const channels = colourType === 6 ? 4 : 3;
  const stride = width * channels;
  const raw = zlib.inflateSync(Buffer.concat(compressed));
  const rows = Buffer.alloc(stride * height);
  for (let y = 0; y < height; ++y) {
    const filter = raw[y * (stride + 1)];
    const line = raw.subarray(y * (stride + 1) + 1, (y + 1) * (stride + 1));
    for (let x = 0; x < stride; ++x) {
      const left = x >= channels ? rows[y * stride + x - channels] : 0;
      const up = y > 0 ? rows[(y - 1) * stride + x] : 0;
      const corner = x >= channels && y > 0 ? rows[(y - 1) * stride + x - channels] : 0;
      let predicted = 0;
      if (filter === 1) predicted = left;
      else if (filter === 2) predicted = up;
      else if (filter === 3) predicted = (left + up) >> 1;
      else if (filter === 4) {
        const estimate = left + up - corner;
        const [a, b, c] = [Math.abs(estimate - left), Math.abs(estimate - up), Math.abs(estimate - corner)];
        predicted = a <= b && a <= c ? left : b <= c ? up : corner;
      }
      rows[y * stride + x] = (line[x] + predicted) & 0xff;
    }
  }
  const rgb = Buffer.alloc(width * height * 3);
  for (let p = 0; p < width * height; ++p)
    for (let c = 0; c < 3; ++c) rgb[p * 3 + c] = rows[p * channels + c];
  return { width, height, rgb };
}

// How far two frames lie apart: the share of pixels off by more than 8 in a
// channel, and the PSNR in dB (99 when equal; frames of other sizes are all off).
export function compareFrames(a, b) {
  if (a.width !== b.width || a.height !== b.height) return { off: 1, psnr: 0 };
  let off = 0;
  let squares = 0;
  for (let p = 0; p < a.width * a.height; ++p) {
    let worst = 0;
    for (let c = 0; c < 3; ++c) {
      const d = Math.abs(a.rgb[p * 3 + c] - b.rgb[p * 3 + c]);
      worst = Math.max(worst, d);
      squares += d * d;
    }
    if (worst > 8) ++off;
  }
  const mse = squares / (a.width * a.height * 3);
  return { off: off / (a.width * a.height), psnr: mse === 0 ? 99 : 10 * Math.log10((255 * 255) / mse) };
}
