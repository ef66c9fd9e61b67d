"""The test operator site answers exactly as a test sets it: the e2e tests
rely on each kind of answer being what its name says."""
import http.client
import os
import sys
import tempfile
import time
import unittest
import urllib.parse

TOP = os.path.dirname(os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__)))))
sys.path.insert(0, os.path.join(TOP, "tests", "e2e", "site"))
from operator_site import OperatorSite  # noqa: E402


class OperatorSiteTest(unittest.TestCase):
    def setUp(self):
        self.root = tempfile.mkdtemp()
        os.makedirs(os.path.join(self.root, "login", "vorn"))
        with open(os.path.join(self.root, "login", "vorn", "index.php"), "w", encoding="utf-8") as f:
            f.write("<html>登录</html>")
        with open(os.path.join(self.root, "secret.txt"), "w") as f:
            f.write("outside")
        self.site = OperatorSite(root=self.root).start()
        self.addCleanup(self.site.stop)

    def get(self, host, path):
        base = urllib.parse.urlsplit(self.site.url(host))
        conn = http.client.HTTPConnection(base.hostname, base.port, timeout=10)
        self.addCleanup(conn.close)
        conn.request("GET", path)
        return conn.getresponse()

    def test_sized_answer_with_status(self):
        self.site.answer("update", "/m.txt", "version=1.1.0\r\n", status=200, content_type="text/plain")
        r = self.get("update", "/m.txt")
        self.assertEqual((r.status, r.getheader("Content-Length")), (200, "15"))
        self.assertEqual(r.read(), b"version=1.1.0\r\n")
        self.site.answer("update", "/gone", "missing", status=404)
        r = self.get("update", "/gone")
        self.assertEqual((r.status, r.read()), (404, b"missing"))

    def test_chunked_answer_has_no_length(self):
        body = "x" * 2500
        self.site.answer("login", "/c", body, chunked=True)
        r = self.get("login", "/c")
        self.assertIsNone(r.getheader("Content-Length"))
        self.assertEqual(r.getheader("Transfer-Encoding"), "chunked")
        self.assertEqual(r.read(), body.encode())

    def test_unsized_answer_ends_with_the_connection(self):
        self.site.answer("home", "/u", "abc", sized=False)
        r = self.get("home", "/u")
        self.assertIsNone(r.getheader("Content-Length"))
        self.assertEqual(r.read(), b"abc")

    def test_truncated_answer_is_incomplete(self):
        self.site.answer("gamespace", "/t", "0123456789", truncate_at=4)
        r = self.get("gamespace", "/t")
        self.assertEqual(r.getheader("Content-Length"), "10")
        with self.assertRaises(http.client.IncompleteRead) as caught:
            r.read()
        self.assertEqual(caught.exception.partial, b"0123")

    def test_slow_answer_waits_before_the_body(self):
        self.site.answer("login", "/s", "late", delay=0.6)
        start = time.monotonic()
        self.assertEqual(self.get("login", "/s").read(), b"late")
        self.assertGreaterEqual(time.monotonic() - start, 0.6)

    def test_files_under_the_root_and_nothing_outside_it(self):
        r = self.get("login", "/vorn/index.php")
        self.assertEqual(r.getheader("Content-Type"), "text/html; charset=utf-8")
        self.assertEqual(r.read().decode("utf-8"), "<html>登录</html>")
        self.assertEqual(self.get("login", "/../secret.txt").status, 404)
        self.assertEqual(self.get("login", "/%2e%2e/secret.txt").status, 404)

    def test_requests_are_recorded_per_host(self):
        self.get("update", "/a?x=1").read()
        self.assertTrue(self.site.requested("update", "/a"))
        self.assertFalse(self.site.requested("login", "/a"))


if __name__ == "__main__":
    unittest.main()
