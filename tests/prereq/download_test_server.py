#!/usr/bin/python3
"""HTTP server for the downloader tests, for what nginx cannot do: drop a connection halfway,
send a body shorter than its length, answer a wrong range, act as a proxy that demands
credentials. Listens on 127.0.0.1 only; the fixture bounds its lifetime.

Paths (N is the size of the file served; its bytes are PatternByte(i)):
  /file/N        the file, with ranges
  /norange/N     the file, always whole (200), whatever range is asked
  /cut/N         the first request without a range gets half the file, then the connection drops
  /drop/N        every answer announces the bytes asked for and sends none
  /short/N       every answer sends half of the bytes it announces
                 (both answer 503 after 20 requests, so a client that never gives up still ends)
  /wrongrange/N  a range request is answered 206 with the bytes from 0
  /slow/N        100 KiB at once, then 1 KiB every 50 ms
  /status/C      status C with a small HTML error page (and no Location for a redirect)
  /count?p=PATH  how many requests PATH has had
  http://any/N   (proxy form) 407 unless Proxy-Authorization is proxyuser:proxypass; the realm
                 is "Test Proxy", or "Test Proxy B" for an odd N
"""
import base64
import http.server
import socketserver
import sys
import threading
import time
from urllib.parse import urlsplit, parse_qs

PROXY_CREDENTIALS = "Basic " + base64.b64encode(b"proxyuser:proxypass").decode()
COUNTS = {}
MAX_BROKEN_ANSWERS = 20
COUNTS_LOCK = threading.Lock()


def pattern(start, end):
    return bytes(((i * 7 + i // 251) & 0xFF) for i in range(start, end))


class Handler(http.server.BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.0"
    timeout = 30  # seconds a connection may stay silent

    def log_message(self, *args):
        pass

    def count(self, path):
        with COUNTS_LOCK:
            COUNTS[path] = COUNTS.get(path, 0) + 1

    def requested_range(self, size):
        header = self.headers.get("Range")
        if not header or not header.startswith("bytes=") or not header.endswith("-"):
            return None
        try:
            first = int(header[6:-1])
        except ValueError:
            return None
        return first if first < size else None

    def head_lines(self, status, length, first=None, size=None, extra=()):
        self.send_response(status)
        self.send_header("Content-Type", "application/octet-stream")
        self.send_header("Content-Length", str(length))
        if first is not None:
            self.send_header("Content-Range", "bytes %d-%d/%d" % (first, size - 1, size))
        for name, value in extra:
            self.send_header(name, value)
        self.end_headers()

    def send_file(self, size, first, announced, sent, close_after=False):
        if first is None:
            self.head_lines(200, announced)
        else:
            self.head_lines(206, announced, first, size)
        if self.command != "HEAD":
            start = first or 0
            self.wfile.write(pattern(start, start + sent))
            self.wfile.flush()
        if close_after:
            self.close_connection = True

    def do_HEAD(self):
        self.do_GET()

    def do_GET(self):
        if self.path.startswith("http://"):
            return self.proxy()
        parts = urlsplit(self.path)
        if parts.path == "/count":
            text = str(COUNTS.get(parse_qs(parts.query).get("p", [""])[0], 0)).encode()
            self.head_lines(200, len(text))
            self.wfile.write(text)
            return
        self.count(parts.path)
        pieces = parts.path.strip("/").split("/")
        if len(pieces) != 2 or not pieces[1].isdigit():
            return self.error_page(404)
        kind, number = pieces[0], int(pieces[1])
        handler = getattr(self, "serve_" + kind, None)
        if handler is None:
            return self.error_page(404)
        handler(number)

    def serve_file(self, size):
        first = self.requested_range(size)
        remaining = size - (first or 0)
        self.send_file(size, first, remaining, remaining)

    def serve_norange(self, size):
        self.send_file(size, None, size, size)

    def serve_cut(self, size):
        first = self.requested_range(size)
        remaining = size - (first or 0)
        if first is None:
            self.send_file(size, None, size, size // 2, close_after=True)
        else:
            self.send_file(size, first, remaining, remaining)

    def served_enough(self):
        # A downloader that kept reconnecting for ever gets an error after this many answers.
        with COUNTS_LOCK:
            return COUNTS.get(urlsplit(self.path).path, 0) > MAX_BROKEN_ANSWERS

    def serve_drop(self, size):
        if self.served_enough():
            return self.error_page(503)
        first = self.requested_range(size)
        self.send_file(size, first, size - (first or 0), 0, close_after=True)

    def serve_short(self, size):
        if self.served_enough():
            return self.error_page(503)
        first = self.requested_range(size)
        remaining = size - (first or 0)
        self.send_file(size, first, remaining, max(1, remaining // 2), close_after=True)

    def serve_wrongrange(self, size):
        if self.requested_range(size) is None:
            self.send_file(size, None, size, size)
        else:
            self.send_file(size, 0, size, size)

    def serve_slow(self, size):
        self.head_lines(200, size)
        sent = min(size, 100 * 1024)
        self.wfile.write(pattern(0, sent))
        self.wfile.flush()
        deadline = time.monotonic() + 20
        while sent < size and time.monotonic() < deadline:
            time.sleep(0.05)
            step = min(1024, size - sent)
            self.wfile.write(pattern(sent, sent + step))
            self.wfile.flush()
            sent += step

    def serve_status(self, code):
        self.error_page(code)

    def error_page(self, code):
        body = b"<html><body>error page %d</body></html>" % code
        self.send_response(code)
        self.send_header("Content-Type", "text/html")
        self.send_header("Content-Length", str(len(body)))
        self.end_headers()
        if self.command != "HEAD":
            self.wfile.write(body)

    def proxy(self):
        parts = urlsplit(self.path)
        self.count("proxy")
        if self.headers.get("Proxy-Authorization") != PROXY_CREDENTIALS:
            body = b"proxy credentials needed"
            self.send_response(407)
            realm = "Test Proxy B" if int(parts.path.strip("/") or "0") % 2 else "Test Proxy"
            self.send_header("Proxy-Authenticate", 'Basic realm="%s"' % realm)
            self.send_header("Content-Length", str(len(body)))
            self.end_headers()
            self.wfile.write(body)
            return
        size = int(parts.path.strip("/") or "0")
        self.send_file(size, None, size, size)


class Server(socketserver.ThreadingMixIn, http.server.HTTPServer):
    daemon_threads = True
    allow_reuse_address = True


def main():
    port = int(sys.argv[1])
    Server(("127.0.0.1", port), Handler).serve_forever()


if __name__ == "__main__":
    main()
