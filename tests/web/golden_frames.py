#!/usr/bin/python3
"""The golden moments drawn by the web page in headless Chromium and
compared with the desktop's reference frames (tests/golden/).

The browser draws with SwiftShader where the references come from Mesa's
llvmpipe: the edges of small cubes fall on other pixels, so the desktop's
rule (each channel within 2) cannot hold. A frame passes when at most
MOST_OFF of its pixels differ by more than 8 in a channel and its PSNR is at
least LEAST_PSNR dB. Measured on the built page: at most 1.8 % off and
33.2 dB at the worst moment (the small cubes of 33008 and 41808 ms), most
moments under 0.2 % and over 44 dB. Textures decoded upside down put every
moment at 12 % off or more.

  golden_frames.py SITE_FOLDER [OUTPUT_FOLDER]   (prints a line a moment)"""

import asyncio
import os
import sys

import numpy
from PIL import Image

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from chromium import Browser, Site  # noqa: E402

SOURCE = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))


def golden_moments():
    """The seed and the moments the desktop's golden test shares (tests/golden/moments.txt)."""
    seed, moments = None, []
    with open(os.path.join(SOURCE, "tests", "golden", "moments.txt")) as listing:
        for line in listing:
            words = line.split("#")[0].split()
            if words[:1] == ["seed"]:
                seed = int(words[1])
            else:
                moments += [int(word) for word in words]
    return seed, moments


SEED, MOMENTS = golden_moments()
WIDTH, HEIGHT = 200, 160
MOST_OFF = 0.03
LEAST_PSNR = 30.0


def compare(shot, reference):
    a = numpy.asarray(Image.open(shot).convert("RGB"), dtype=numpy.int16)
    b = numpy.asarray(Image.open(reference).convert("RGB"), dtype=numpy.int16)
    if a.shape != b.shape:
        return 1.0, 0.0
    difference = numpy.abs(a - b)
    off = float(numpy.mean(difference.max(axis=2) > 8))
    mse = float(numpy.mean(difference.astype(numpy.float64) ** 2))
    psnr = 99.0 if mse == 0 else 10 * numpy.log10(255.0 ** 2 / mse)
    return off, psnr


async def draw(site, browser, moment, shot):
    async with browser.session() as page:
        await page.open(site.url(f"index.html?at={moment}&size={WIDTH}x{HEIGHT}&seed={SEED}"))
        state = await page.wait_for("['done','failed','refused'].includes(document.body.dataset.state) "
                                    "&& document.body.dataset.state", 90)
        if state != "done":
            raise RuntimeError(f"the page ended {state} at {moment}: {page.console[-5:]}")
        await page.screenshot(shot, 0, 0, WIDTH, HEIGHT)


async def main(site_folder, output):
    os.makedirs(output, exist_ok=True)
    failed = []
    with Site(site_folder) as site, Browser(WIDTH + 200, HEIGHT + 200) as browser:
        for moment in MOMENTS:
            shot = os.path.join(output, f"web-{moment:05d}.png")
            await draw(site, browser, moment, shot)
            off, psnr = compare(shot, os.path.join(SOURCE, "tests", "golden", f"lumaroll-{moment:05d}.png"))
            good = off <= MOST_OFF and psnr >= LEAST_PSNR
            print(f"{moment:6d} ms  {100 * off:5.2f} % off by more than 8  PSNR {psnr:5.1f} dB  "
                  f"{'ok' if good else 'DIFFERS'}", flush=True)
            if not good:
                failed.append(moment)
    if failed:
        print(f"frames that differ from the references: {failed} (the page's shots are in {output})")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(asyncio.run(main(sys.argv[1], sys.argv[2] if len(sys.argv) > 2 else "web-golden")))
