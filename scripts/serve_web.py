#!/usr/bin/python3
"""Serves a folder on loopback as a static web host serves it, for
scripts/serve-web.sh and the web tier's tests. Python's own server refuses
an address of over 64 kB with a bare 414; this takes addresses up to a
mebibyte, so that the page itself answers a long one, and refuses a longer
one with a short page that says why.

It serves that folder only: a symbolic link inside it that leads outside is
not followed (404), nor is a path that holds a NUL (400). Every request is
answered with an HTTP status. A client that connects and does not finish its
request within a few seconds is let go (the socket's own timeout), each
client has a thread of its own, and the queue of connections waiting to be
taken is long, so that many slow clients leave it answering the others.

  serve_web.py PORT FOLDER"""

import functools
import http.server
import os
import sys
from http import HTTPStatus

LONGEST_REQUEST_LINE = 1 << 20
# Seconds a client may take over each read of its request, and each write
# of the answer.
CLIENT_TIMEOUT = 5


class Handler(http.server.SimpleHTTPRequestHandler):
    timeout = CLIENT_TIMEOUT

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
        except (TimeoutError, ConnectionError):
            # A client too slow, or gone: nothing more to say to it.
            self.close_connection = True

    def send_head(self):
        path = self.translate_path(self.path)
        if "\0" in path:
            self.send_error(HTTPStatus.BAD_REQUEST, "A path holds no NUL")
            return None
        # Where the path leads once every link is followed must lie in the
        # folder served.
        folder = os.path.realpath(self.directory)
        real = os.path.realpath(path)
        if real != folder and not real.startswith(folder + os.sep):
            self.send_error(HTTPStatus.NOT_FOUND, "File not found")
            return None
        return super().send_head()

    def log_message(self, *_):
        pass


class Server(http.server.ThreadingHTTPServer):
    # Connections the system holds until the server takes them: many more
    # than the default 5, which a burst of clients fills at once.
    request_queue_size = 1024

    def handle_error(self, request, client_address):
        """A client that went away mid-answer is no error of the server's."""
        error = sys.exc_info()[1]
        if isinstance(error, (TimeoutError, ConnectionError)):
            return
        super().handle_error(request, client_address)


def main(port, folder):
    handler = functools.partial(Handler, directory=folder)
    with Server(("127.0.0.1", port), handler) as server:
        server.serve_forever()


if __name__ == "__main__":
    main(int(sys.argv[1]), sys.argv[2])
