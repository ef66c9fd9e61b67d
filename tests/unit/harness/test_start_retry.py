#!/usr/bin/python3
"""A Windows program that does not start is run once more; one that ran and
failed is not: by scripts/wine-run (the Wine tests' emulator) and by the e2e
runner (tests/e2e/run.py) for a client that never started. The set-up here is
a stand-in whose `wine` plays each case, counting its starts."""
import os
import shutil
import subprocess
import tempfile
import unittest

TOP = os.path.dirname(os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__)))))
WINE_RUN = os.path.join(TOP, "scripts", "wine-run")
E2E_RUN = os.path.join(TOP, "tests", "e2e", "run.py")

# Each start appends a line to the count file; $PLAY says what each start does.
FAKE_WINE = r"""#!/bin/sh
[ "$1" = taskkill ] && exit 0
echo start >> "$VELMORA_WINE_ROOT/starts"
n=$(wc -l < "$VELMORA_WINE_ROOT/starts")
case "$PLAY:$n" in
  first-fails:1|never-starts:*) exit 1 ;;
  says-why:1) echo "wine: could not load kernel32.dll" >&2; exit 53 ;;
  test-fails:*) echo "[  FAILED  ] One.Test"; exit 1 ;;
  client-first-fails:1) exit 1 ;;
  client-*) exec sleep 30 ;;
esac
echo "[  PASSED  ] 1 test. args=$*"
"""


class StartRetryTest(unittest.TestCase):
    def setUp(self):
        self.home = tempfile.mkdtemp(prefix="start-retry.")
        self.addCleanup(shutil.rmtree, self.home)
        self.root = os.path.join(self.home, "win32")
        bin_dir = os.path.join(self.root, "bin")
        os.makedirs(bin_dir)
        for name, text in (("wine", FAKE_WINE), ("wineserver", "#!/bin/sh\nexit 0\n")):
            with open(os.path.join(bin_dir, name), "w") as f:
                f.write(text)
            os.chmod(os.path.join(bin_dir, name), 0o755)
        with open(os.path.join(self.root, "env"), "w") as f:
            f.write("export VELMORA_WINE_ROOT=%s\nexport PATH=%s:$PATH\n" % (self.root, bin_dir))

    def run_program(self, play):
        env = dict(os.environ, VELMORA_WINE_HOME=self.home, PLAY=play)
        r = subprocess.run([WINE_RUN, "win32", "/build/tests.exe", "--gtest_filter=One.Test"], env=env,
                           capture_output=True, text=True, timeout=30)
        with open(os.path.join(self.root, "starts")) as f:
            starts = len(f.readlines())
        return r.returncode, r.stdout, r.stderr, starts

    def test_a_start_that_fails_is_said_and_retried_once(self):
        code, out, err, starts = self.run_program("first-fails")
        self.assertEqual((code, starts), (0, 2))
        self.assertIn("harness: tests.exe did not start (wine exited 1 with no output); retrying once", err)
        self.assertIn("args=/build/tests.exe --gtest_filter=One.Test", out)
        with open(os.path.join(self.home, "start-failures.log")) as f:
            self.assertIn("tests.exe did not start", f.read())

    def test_what_wine_said_is_in_the_message(self):
        code, _, err, starts = self.run_program("says-why")
        self.assertEqual((code, starts), (0, 2))
        self.assertIn("(wine exited 53 with no output; wine said: wine: could not load kernel32.dll)", err)

    def test_a_program_that_never_starts_fails_after_the_one_retry(self):
        code, _, err, starts = self.run_program("never-starts")
        self.assertEqual((code, starts), (1, 2))
        self.assertEqual(err.count("retrying once"), 1)

    def test_a_test_that_ran_and_failed_is_not_run_again(self):
        code, out, err, starts = self.run_program("test-fails")
        self.assertEqual((code, starts), (1, 1))
        self.assertIn("[  FAILED  ] One.Test", out)
        self.assertNotIn("harness:", err)

    # An e2e test whose client is still up half a second after its start.
    CLIENT_TEST = """import time
import unittest
import harness
class T(unittest.TestCase):
    def test_up(self):
        with harness.Client() as client:
            time.sleep(0.5)
            self.assertTrue(client.running(), "the client ended")
            if "%s" == "fails":
                self.fail("the test's own failure")
"""

    def run_e2e(self, play, test_fails=False):
        with open(os.path.join(self.home, "fake_e2e.py"), "w") as f:
            f.write(self.CLIENT_TEST % ("fails" if test_fails else "passes"))
        with open(os.path.join(self.root, "env")) as f:
            path = f.read().split("PATH=")[1].split(":")[0]
        env = dict(os.environ, VELMORA_WINE_HOME=self.home, VELMORA_WINE_ROOT=self.root, VELMORA_WINE_ARCH="win32",
                   VELMORA_WINE_JOINED="win32", PLAY=play, PYTHONPATH=self.home, PATH=path + ":" + os.environ["PATH"])
        r = subprocess.run(["/usr/bin/python3", E2E_RUN, "fake_e2e.T.test_up"], env=env, capture_output=True,
                           text=True, timeout=60)
        with open(os.path.join(self.root, "starts")) as f:
            return r.returncode, r.stderr, len(f.readlines())

    def test_an_e2e_client_that_never_started_is_said_and_its_test_retried_once(self):
        code, err, starts = self.run_e2e("client-first-fails")
        self.assertEqual((code, starts), (0, 2), err)
        self.assertIn("harness: the client did not start (wine exited 1 with no output), in fake_e2e.T.test_up; "
                      "retrying once", err)

    def test_an_e2e_test_that_failed_with_its_client_running_is_not_retried(self):
        code, err, starts = self.run_e2e("client-runs", test_fails=True)
        self.assertEqual((code, starts), (1, 1), err)
        self.assertNotIn("harness:", err)


if __name__ == "__main__":
    unittest.main()
