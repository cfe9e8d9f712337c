#!/usr/bin/python3
"""Frames per second the web page draws in headless Chromium (SwiftShader)
beside the desktop program's (Mesa's llvmpipe under the X server), in the
same run, at the same size, every frame drawn and no sound, over the same
stretch of run time.

  web_fps.py SITE_FOLDER DESKTOP_BINARY [SECONDS]
(the desktop program needs an X display: scripts/with-display.sh gives one)"""

import asyncio
import os
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.dirname(os.path.abspath(__file__))), "tests", "web"))
from chromium import Browser, Site  # noqa: E402

SIZE = (800, 640)
START = 30000  # scene two: the ball of cubes, the heaviest stretch


def frames_per_second(log_text):
    """Frames drawn over the wall clock, from a sync log's ticks (last field)."""
    ticks = [int(line.split()[5]) for line in log_text.splitlines()]
    return (len(ticks) - 1) * 1000.0 / (ticks[-1] - ticks[0]) if len(ticks) > 2 else 0.0


async def web(folder, seconds):
    with Site(folder) as site, Browser(SIZE[0] + 40, SIZE[1] + 160) as browser:
        async with browser.session() as page:
            await page.call("Page.addScriptToEvaluateOnNewDocument",
                            source="window.lumarollEnvironment = {LUMAROLL_SYNC_LOG: '/sync.log'};")
            await page.open(site.url(f"index.html?no-wait=1&mute=1&every-frame=1&start={START}"
                                     f"&size={SIZE[0]}x{SIZE[1]}"))
            await page.wait_for("document.body.dataset.state == 'ready'", 90)
            await page.evaluate("document.getElementById('start').click()")
            await asyncio.sleep(seconds)
            for kind in ("keyDown", "keyUp"):
                await page.call("Input.dispatchKeyEvent", type=kind, key="Escape", code="Escape",
                                windowsVirtualKeyCode=27)
            await page.wait_for("document.body.dataset.state != 'playing'", 60)
            return frames_per_second(await page.evaluate("Module.FS.readFile('/sync.log', {encoding: 'utf8'})"))


def desktop(binary, seconds):
    source = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    with tempfile.NamedTemporaryFile("r", suffix=".log") as log:
        environment = dict(os.environ, LUMAROLL_SYNC_LOG=log.name)
        process = subprocess.Popen([binary, "--no-wait", "--mute", "--every-frame", "--start", str(START),
                                    "--size", f"{SIZE[0]}x{SIZE[1]}"], cwd=source, env=environment,
                                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        time.sleep(seconds)
        process.terminate()
        process.wait(30)
        return frames_per_second(log.read())


def main():
    folder, binary = sys.argv[1], sys.argv[2]
    seconds = float(sys.argv[3]) if len(sys.argv) > 3 else 10
    page = asyncio.run(web(folder, seconds))
    native = desktop(binary, seconds) if os.path.exists(binary) else 0.0
    print(f"frames per second at {SIZE[0]}x{SIZE[1]}, every frame drawn, from run time {START} ms:")
    print(f"  web page, headless Chromium (SwiftShader): {page:6.1f}")
    if native:
        print(f"  desktop program (llvmpipe):                {native:6.1f}")
        print(f"  the page draws {page / native:.2f} times the desktop's frames")
    else:
        print(f"  desktop program: not built at {binary}")


if __name__ == "__main__":
    main()
