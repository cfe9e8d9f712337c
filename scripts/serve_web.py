#!/usr/bin/python3
"""Serves a folder on loopback as a static web host serves it, for
scripts/serve-web.sh and the web tier's tests. Python's own server refuses
an address of over 64 kB with a bare 414; this takes addresses up to a
mebibyte, so that the page itself answers a long one, and refuses a longer
one with a short page that says why.

  serve_web.py PORT FOLDER"""

import functools
import http.server
import sys
from http import HTTPStatus

LONGEST_REQUEST_LINE = 1 << 20


class Handler(http.server.SimpleHTTPRequestHandler):
    def handle_one_request(self):
        """As the base class does it, with a longer request line."""
        try:
            self.raw_requestline = self.rfile.readline(LONGEST_REQUEST_LINE + 1)
            if len(self.raw_requestline) > LONGEST_REQUEST_LINE:
                self.requestline = self.request_version = self.command = ""
                self.send_error(HTTPStatus.REQUEST_URI_TOO_LONG, "Address too long",
                                f"This page takes addresses of up to {LONGEST_REQUEST_LINE} bytes: "
                                "shorten the part after the '?'")
                return
            if not self.raw_requestline:
                self.close_connection = True
                return
            if not self.parse_request():
                return
            method = getattr(self, "do_" + self.command, None)
            if method is None:
                self.send_error(HTTPStatus.NOT_IMPLEMENTED, f"Unsupported method ({self.command!r})")
                return
            method()
            self.wfile.flush()
        except TimeoutError as error:
            self.log_error("Request timed out: %r", error)
            self.close_connection = True

    def log_message(self, *_):
        pass


def main(port, folder):
    handler = functools.partial(Handler, directory=folder)
    with http.server.ThreadingHTTPServer(("127.0.0.1", port), handler) as server:
        server.serve_forever()


if __name__ == "__main__":
    main(int(sys.argv[1]), sys.argv[2])
