#!/usr/bin/python3
"""The operator's web hosts on 127.0.0.1, for the tests and the demo.

One server per host of tests/hosts.env (update, login, game space, home). A test
sets each answer (status, body, chunked or unsized or truncated, slow); the demo
serves the files under demo/<host>/. Every request is recorded.

    operator_site.py --root demo      serve the demo site until interrupted
"""
import argparse
import errno
import http.server
import os
import socketserver
import threading
import time
import urllib.parse

HERE = os.path.dirname(os.path.abspath(__file__))
TOP = os.path.dirname(os.path.dirname(os.path.dirname(HERE)))
HOST_NAMES = {"UPDATE_BASE": "update", "LOGIN_BASE": "login", "GAMESPACE_BASE": "gamespace", "HOME_BASE": "home"}
TYPES = {".html": "text/html; charset=utf-8", ".php": "text/html; charset=utf-8", ".txt": "text/plain; charset=utf-8",
         ".png": "image/png", ".gif": "image/gif", ".css": "text/css", ".js": "application/javascript"}


def read_hosts(path=os.path.join(TOP, "tests", "hosts.env")):
    """{'update': 'http://127.0.0.1:18471', ...} from the hosts file."""
    hosts = {}
    with open(path, encoding="utf-8") as f:
        for line in f:
            line = line.strip()
            if "=" in line and not line.startswith("#"):
                name, base = line.split("=", 1)
                if name in HOST_NAMES:
                    hosts[HOST_NAMES[name]] = base
    return hosts


class Answer:
    def __init__(self, body=b"", status=200, content_type="text/html; charset=utf-8", chunked=False,
                 sized=True, truncate_at=None, delay=0.0, headers=None, drip=0.0):
        self.body = body.encode("utf-8") if isinstance(body, str) else body
        self.status = status
        self.content_type = content_type
        self.chunked = chunked            # Transfer-Encoding: chunked, no Content-Length
        self.sized = sized                # False: no Content-Length, the connection closes after the body
        self.truncate_at = truncate_at    # announce the full length, send this many bytes, close
        self.delay = delay                # seconds before the first byte of the body
        self.drip = drip                  # seconds between the body's bytes, sent one at a time
        self.headers = headers or {}


class _Handler(http.server.BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.1"

    def log_message(self, *args):
        pass

    def do_GET(self):
        site, host = self.server.site, self.server.host_name
        path = urllib.parse.urlsplit(self.path).path
        site.record(host, self.path)
        answer = site.answer_for(host, path)
        if answer is None:
            answer = Answer(b"not found", status=404, content_type="text/plain")
        self.send_response(answer.status)
        self.send_header("Content-Type", answer.content_type)
        self.send_header("Cache-Control", "no-store")
        for k, v in answer.headers.items():
            self.send_header(k, v)
        body = answer.body
        if answer.chunked:
            self.send_header("Transfer-Encoding", "chunked")
        elif not answer.sized:
            self.send_header("Connection", "close")
            self.close_connection = True
        else:
            self.send_header("Content-Length", str(len(body)))
        if answer.truncate_at is not None:
            self.close_connection = True
        self.end_headers()
        if answer.delay:
            time.sleep(answer.delay)
        if answer.truncate_at is not None:
            body = body[:answer.truncate_at]
        try:
            if answer.chunked:
                for i in range(0, len(body), 1000):
                    part = body[i:i + 1000]
                    self.wfile.write(b"%x\r\n%s\r\n" % (len(part), part))
                self.wfile.write(b"0\r\n\r\n")
            elif answer.drip:
                for i in range(len(body)):
                    self.wfile.write(body[i:i + 1])
                    self.wfile.flush()
                    time.sleep(answer.drip)
            else:
                self.wfile.write(body)
            self.wfile.flush()
        except (BrokenPipeError, ConnectionResetError):
            pass


class _Server(socketserver.ThreadingMixIn, http.server.HTTPServer):
    daemon_threads = True
    allow_reuse_address = True


class OperatorSite:
    """The four hosts. Use as a context manager; set answers with `answer`."""

    def __init__(self, root=None):
        self.hosts = read_hosts()
        self.root = root
        self._answers = {}
        self._lock = threading.Lock()
        self.requests = []
        self._servers = []

    def url(self, host, path="/"):
        return self.hosts[host] + path

    def answer(self, host, path, *args, **kwargs):
        with self._lock:
            self._answers[(host, path)] = Answer(*args, **kwargs)

    def record(self, host, path):
        with self._lock:
            self.requests.append((host, path))

    def requested(self, host, path):
        with self._lock:
            return any(h == host and urllib.parse.urlsplit(p).path == path for h, p in self.requests)

    def answer_for(self, host, path):
        with self._lock:
            found = self._answers.get((host, path))
        if found is not None or not self.root:
            return found
        top = os.path.join(self.root, host)
        local = os.path.normpath(os.path.join(top, urllib.parse.unquote(path).lstrip("/")))
        if os.path.commonpath([top, local]) != top:
            return None  # outside the host's folder
        if os.path.isdir(local):
            local = os.path.join(local, "index.html")
        if not os.path.isfile(local):
            return None
        with open(local, "rb") as f:
            body = f.read()
        return Answer(body, content_type=TYPES.get(os.path.splitext(local)[1], "application/octet-stream"))

    def start(self, without=(), patience=180.0):
        """Serves every host but those named in `without`, whose ports then refuse.
        The ports are fixed (the test client is built with them): a site of
        another test run on this machine is waited for, all ports or none, so
        that two runs never hold half of them each."""
        ports = {host: urllib.parse.urlsplit(base).port for host, base in self.hosts.items() if host not in without}
        deadline = time.monotonic() + patience
        while True:
            bound = []
            try:
                for host, port in ports.items():
                    bound.append((host, _Server(("127.0.0.1", port), _Handler)))
                break
            except OSError as error:
                for _, server in bound:
                    server.server_close()
                if error.errno != errno.EADDRINUSE or time.monotonic() > deadline:
                    raise
                time.sleep(0.5)
        for host, server in bound:
            server.site, server.host_name = self, host
            threading.Thread(target=server.serve_forever, daemon=True).start()
            self._servers.append(server)
        return self

    def stop(self):
        for server in self._servers:
            server.shutdown()
            server.server_close()
        self._servers = []

    def __enter__(self):
        return self.start()

    def __exit__(self, *exc):
        self.stop()


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--root", required=True, help="folder with one subfolder per host")
    args = parser.parse_args()
    site = OperatorSite(root=os.path.abspath(args.root)).start()
    for host, base in site.hosts.items():
        print("%-9s %s" % (host, base), flush=True)
    try:
        while True:
            time.sleep(3600)
    except KeyboardInterrupt:
        site.stop()


if __name__ == "__main__":
    main()
