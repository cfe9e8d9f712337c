"""Headless Chromium driven over the DevTools protocol, for the web tier's
tests: open a page, read what it logs, evaluate JavaScript, take a
screenshot. Needs Debian's chromium and python3-websockets."""

import asyncio
import base64
import json
import os
import shutil
import socket
import subprocess
import tempfile
import time
import urllib.request

import websockets


def free_port():
    with socket.socket() as probe:
        probe.bind(("127.0.0.1", 0))
        return probe.getsockname()[1]


class Browser:
    """One headless Chromium with software WebGL (SwiftShader)."""

    def __init__(self, width=1024, height=768, webgl=True, extra=(), autoplay=True):
        self.profile = tempfile.mkdtemp(prefix="lumaroll-chromium-")
        self.port = free_port()
        flags = ["--headless=new", "--no-sandbox", "--no-first-run", "--mute-audio",
                 f"--window-size={width},{height}", f"--user-data-dir={self.profile}",
                 f"--remote-debugging-port={self.port}"]
        # Without it, sound starts only after a click the user makes.
        if autoplay:
            flags.append("--autoplay-policy=no-user-gesture-required")
        flags += (["--use-angle=swiftshader", "--enable-unsafe-swiftshader"] if webgl
                  else ["--disable-gpu", "--disable-3d-apis", "--disable-software-rasterizer"])
        self.process = subprocess.Popen([os.environ.get("CHROMIUM", "chromium"), *flags, *extra, "about:blank"],
                                        stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        deadline = time.time() + 30
        while True:
            try:
                with urllib.request.urlopen(f"http://127.0.0.1:{self.port}/json/list") as answer:
                    pages = [t for t in json.load(answer) if t["type"] == "page"]
                if pages:
                    self.target = pages[0]["webSocketDebuggerUrl"]
                    break
            except OSError:
                pass
            if time.time() > deadline:
                raise RuntimeError("chromium did not start")
            time.sleep(0.2)

    def close(self):
        self.process.terminate()
        try:
            self.process.wait(10)
        except subprocess.TimeoutExpired:
            self.process.kill()
        shutil.rmtree(self.profile, ignore_errors=True)

    def __enter__(self):
        return self

    def __exit__(self, *_):
        self.close()

    def session(self):
        return Session(self.target)


class Session:
    """A DevTools connection to the browser's page, used with `async with`."""

    def __init__(self, target):
        self.target = target
        self.next_id = 0
        self.console = []

    async def __aenter__(self):
        self.socket = await websockets.connect(self.target, max_size=None)
        self.waiting = {}
        self.reader = asyncio.ensure_future(self._read())
        await self.call("Runtime.enable")
        await self.call("Page.enable")
        return self

    async def __aexit__(self, *_):
        self.reader.cancel()
        await self.socket.close()

    async def _read(self):
        async for text in self.socket:
            message = json.loads(text)
            if "id" in message and message["id"] in self.waiting:
                self.waiting.pop(message["id"]).set_result(message)
            elif message.get("method") == "Runtime.consoleAPICalled":
                self.console.append(" ".join(str(a.get("value", "")) for a in message["params"]["args"]))

    async def call(self, method, **params):
        self.next_id += 1
        done = asyncio.get_running_loop().create_future()
        self.waiting[self.next_id] = done
        await self.socket.send(json.dumps({"id": self.next_id, "method": method, "params": params}))
        answer = await asyncio.wait_for(done, 60)
        if "error" in answer:
            raise RuntimeError(f"{method}: {answer['error']}")
        return answer["result"]

    async def evaluate(self, expression):
        result = await self.call("Runtime.evaluate", expression=expression, returnByValue=True, awaitPromise=True)
        return result["result"].get("value")

    async def open(self, url):
        await self.call("Page.navigate", url=url)

    async def wait_for(self, expression, timeout=60):
        deadline = time.time() + timeout
        while time.time() < deadline:
            value = await self.evaluate(expression)
            if value:
                return value
            await asyncio.sleep(0.1)
        raise TimeoutError(f"waited {timeout} s for {expression}; console: {self.console[-10:]}")

    async def click(self, x, y):
        """A click as the user makes it, which a page's own .click() is not."""
        for kind in ("mousePressed", "mouseReleased"):
            await self.call("Input.dispatchMouseEvent", type=kind, x=x, y=y, button="left", clickCount=1)

    async def screenshot(self, path, x, y, width, height):
        shot = await self.call("Page.captureScreenshot", format="png",
                               clip={"x": x, "y": y, "width": width, "height": height, "scale": 1})
        with open(path, "wb") as out:
            out.write(base64.b64decode(shot["data"]))


class Site:
    """The built site served on loopback, as a static host serves it."""

    def __init__(self, folder):
        self.port = free_port()
        server = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "scripts", "serve_web.py")
        self.process = subprocess.Popen(["/usr/bin/python3", server, str(self.port), folder],
                                        stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        deadline = time.time() + 10
        while True:
            try:
                urllib.request.urlopen(self.url("index.html")).close()
                break
            except OSError:
                if time.time() > deadline:
                    raise
                time.sleep(0.1)

    def url(self, page):
        return f"http://127.0.0.1:{self.port}/{page}"

    def __enter__(self):
        return self

    def __exit__(self, *_):
        self.process.terminate()
        self.process.wait()
