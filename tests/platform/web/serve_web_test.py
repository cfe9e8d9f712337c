#!/usr/bin/python3
"""The page's server (scripts/serve_web.py) as hostile clients find it: it
serves its folder only, answers every request with a status, lets go of a
client that never finishes its request, and stays quick for others while
hundreds of slow clients hold connections open.

  serve_web_test.py"""

import os
import socket
import subprocess
import sys
import tempfile
import time
import unittest

SOURCE = os.path.dirname(os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__)))))
SERVER = os.path.join(SOURCE, "scripts", "serve_web.py")


def free_port():
    with socket.socket() as probe:
        probe.bind(("127.0.0.1", 0))
        return probe.getsockname()[1]


class ServedFolder(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.scratch = tempfile.TemporaryDirectory()
        root = cls.scratch.name
        cls.site = os.path.join(root, "site")
        os.makedirs(os.path.join(cls.site, "sub"))
        with open(os.path.join(cls.site, "index.html"), "w") as page:
            page.write("<p>the page</p>\n")
        with open(os.path.join(root, "secret.txt"), "w") as secret:
            secret.write("not for the web\n")
        os.symlink(os.path.join(root, "secret.txt"), os.path.join(cls.site, "sub", "outside.txt"))
        os.symlink(root, os.path.join(cls.site, "up"))
        os.symlink(os.path.join(cls.site, "index.html"), os.path.join(cls.site, "sub", "inside.html"))
        cls.port = free_port()
        cls.server = subprocess.Popen([sys.executable, SERVER, str(cls.port), cls.site], stderr=subprocess.PIPE)
        deadline = time.monotonic() + 10
        while time.monotonic() < deadline:
            try:
                socket.create_connection(("127.0.0.1", cls.port), timeout=1).close()
                break
            except OSError:
                time.sleep(0.05)

    @classmethod
    def tearDownClass(cls):
        cls.server.terminate()
        _, errors = cls.server.communicate(timeout=10)
        cls.scratch.cleanup()
        cls.errors = errors.decode(errors="replace")

    def connect(self):
        return socket.create_connection(("127.0.0.1", self.port), timeout=10)

    def status_of(self, path):
        """The status line's code for GET path, read within 10 s."""
        with self.connect() as client:
            client.sendall(f"GET {path} HTTP/1.0\r\n\r\n".encode("latin-1"))
            answer = b""
            while b"\r\n" not in answer:
                piece = client.recv(4096)
                if not piece:
                    break
                answer += piece
        line = answer.split(b"\r\n", 1)[0].decode("latin-1")
        return int(line.split()[1]) if line.startswith("HTTP/") else None

    def test_serves_its_folder_only_and_answers_every_request(self):
        self.assertEqual(self.status_of("/index.html"), 200)
        self.assertEqual(self.status_of("/sub/inside.html"), 200, "a link within the folder is served")
        self.assertEqual(self.status_of("/sub/outside.txt"), 404, "a link out of the folder")
        self.assertEqual(self.status_of("/up/secret.txt"), 404, "a link to a folder above")
        self.assertEqual(self.status_of("/index.html%00.png"), 400, "a NUL in the path")
        self.assertEqual(self.status_of("/" + "x" * (1 << 20)), 414, "an address over a mebibyte")

    def test_a_client_that_never_finishes_its_request_is_let_go(self):
        with self.connect() as client:
            client.sendall(b"GET /index.ht")
            started = time.monotonic()
            client.settimeout(30)
            closed = client.recv(4096) == b""
            waited = time.monotonic() - started
        self.assertTrue(closed)
        self.assertLess(waited, 10, "the server held a client that never finished for %.1f s" % waited)

    def test_many_slow_clients_leave_it_answering_the_others(self):
        slow = []
        started = time.monotonic()
        try:
            for _ in range(400):
                client = self.connect()
                client.sendall(b"GET /index.ht")
                slow.append(client)
            # And many more opened and closed at once, without a word.
            for _ in range(1500):
                self.connect().close()
            for _ in range(20):
                self.assertEqual(self.status_of("/index.html"), 200)
            took = time.monotonic() - started
        finally:
            for client in slow:
                client.close()
        self.assertLess(took, 20, "400 slow clients, 1500 gone and 20 requests took %.1f s" % took)


def main():
    result = unittest.main(exit=False, verbosity=2).result
    # Tracebacks on the server's standard error mean a request it did not handle.
    errors = getattr(ServedFolder, "errors", "")
    if "Traceback" in errors:
        print("the server printed tracebacks:\n" + errors[:4000], file=sys.stderr)
        sys.exit(1)
    sys.exit(0 if result.wasSuccessful() else 1)


if __name__ == "__main__":
    main()
