#!/usr/bin/python3
"""Which Windows suites one ctest run holds, on both kinds of machine.

The choice (tests/suites.cmake through scripts/wine-arch) is made by running
Wine's loaders. Each case here plays a machine by handing the check other
loaders: a file the kernel refuses to execute ("Exec format error", as a
32-bit program on a kernel without 32-bit support), one that runs, one that
is missing. The build trees are stand-ins with one test each, so the listing
shows exactly which suites were taken.
"""
import os
import shutil
import stat
import subprocess
import sys
import tempfile
import unittest

TOP = os.path.dirname(os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__)))))
WINE_ARCH = os.path.join(TOP, "scripts", "wine-arch")


def executable(path, content):
    with open(path, "wb") as f:
        f.write(content)
    os.chmod(path, os.stat(path).st_mode | stat.S_IXUSR)
    return path


class SuiteChoiceTest(unittest.TestCase):
    def setUp(self):
        self.dir = tempfile.mkdtemp(prefix="suite-choice.")
        self.addCleanup(shutil.rmtree, self.dir)
        # An ELF header for no machine at all: the kernel refuses it with ENOEXEC.
        self.refused = executable(os.path.join(self.dir, "refused"), b"\x7fELF\x01\x01\x01" + b"\0" * 57)
        self.runs = executable(os.path.join(self.dir, "runs"), b"#!/bin/sh\necho wine-8.0\n")
        self.missing = os.path.join(self.dir, "missing")
        self.build = os.path.join(self.dir, "build")
        for tree, test in (("native", "unit.one"), ("win32-test", "win32.one"), ("win64-test", "win64.one")):
            os.makedirs(os.path.join(self.build, tree))
            with open(os.path.join(self.build, tree, "CTestTestfile.cmake"), "w") as f:
                f.write('add_test(%s /bin/true)\n' % test)
        with open(os.path.join(self.build, "CTestTestfile.cmake"), "w") as f:
            f.write('include("%s/tests/suites.cmake")\n' % TOP)

    def machine(self, loader32, loader64):
        return dict(os.environ, VELMORA_WINE32_LOADER=loader32, VELMORA_WINE64_LOADER=loader64)

    def ctest(self, env, *args):
        r = subprocess.run(["ctest"] + list(args), cwd=self.build, env=env, capture_output=True, text=True,
                           timeout=60)
        return r.returncode, r.stdout + r.stderr

    def listed(self, env):
        _, out = self.ctest(env, "-N")
        return {line.split(":", 1)[1].strip() for line in out.splitlines() if line.strip().startswith("Test #")}, out

    def test_a_kernel_without_32_bit_code_runs_the_64_bit_suite_and_says_why(self):
        env = self.machine(self.refused, self.runs)
        tests, out = self.listed(env)
        self.assertEqual(tests, {"unit.one", "win64.one", "win32.left-out"})
        message = ("The 32-bit suite (win32.*) is left out: the kernel runs no 32-bit code (%s: Exec format error)."
                   % self.refused)
        self.assertIn(message, out)
        best = subprocess.run([WINE_ARCH, "best"], env=env, capture_output=True, text=True, timeout=30)
        self.assertEqual(best.stdout.strip(), "win64")
        # Run, the stand-in says it again and counts as skipped, not passed; the run still passes.
        code, out = self.ctest(env, "-V")
        self.assertEqual(code, 0, out)
        self.assertIn(message, out)
        self.assertRegex(out, r"win32\.left-out \.*\*\*\*Skipped")
        self.assertIn("win32.left-out (Skipped)", out)

    def test_a_machine_that_runs_both_takes_both_suites_and_leaves_nothing_out(self):
        tests, out = self.listed(self.machine(self.runs, self.runs))
        self.assertEqual(tests, {"unit.one", "win32.one", "win64.one"})
        self.assertNotIn("left out", out)
        best = subprocess.run([WINE_ARCH, "best"], env=self.machine(self.runs, self.runs), capture_output=True,
                              text=True, timeout=30)
        self.assertEqual(best.stdout.strip(), "win32")

    def test_a_missing_loader_is_named_as_not_installed(self):
        tests, out = self.listed(self.machine(self.runs, self.missing))
        self.assertEqual(tests, {"unit.one", "win32.one", "win64.left-out"})
        self.assertIn("The 64-bit suite (win64.*) is left out: 64-bit Wine is not installed (no %s)." % self.missing,
                      out)

    def test_no_windows_suite_at_all_fails_the_run(self):
        env = self.machine(self.refused, self.missing)
        tests, _ = self.listed(env)
        self.assertEqual(tests, {"unit.one", "win32.left-out", "win64.left-out", "wine.none"})
        code, out = self.ctest(env)
        self.assertNotEqual(code, 0, out)
        self.assertIn("wine.none (Failed)", out)

    def test_the_verdict_on_this_machine_matches_what_its_kernel_executes(self):
        # A static 32-bit program that only exits with 0 (exit through int 0x80).
        code = bytes([0x31, 0xDB, 0xB8, 0x01, 0x00, 0x00, 0x00, 0xCD, 0x80])  # xor ebx,ebx; mov eax,1; int 0x80
        entry = 0x08048000 + 0x54
        header = (b"\x7fELF\x01\x01\x01" + b"\0" * 9 +
                  (2).to_bytes(2, "little") + (3).to_bytes(2, "little") + (1).to_bytes(4, "little") +
                  entry.to_bytes(4, "little") + (0x34).to_bytes(4, "little") + (0).to_bytes(4, "little") +
                  (0).to_bytes(4, "little") + (0x34).to_bytes(2, "little") + (0x20).to_bytes(2, "little") +
                  (1).to_bytes(2, "little") + (0).to_bytes(2, "little") * 3)
        size = 0x54 + len(code)
        program = ((1).to_bytes(4, "little") + (0).to_bytes(4, "little") + (0x08048000).to_bytes(4, "little") * 2 +
                   size.to_bytes(4, "little") * 2 + (5).to_bytes(4, "little") + (0x1000).to_bytes(4, "little"))
        probe = executable(os.path.join(self.dir, "probe32"), header + program + code)
        try:
            kernel_runs_32 = subprocess.run([probe], timeout=10).returncode == 0
        except OSError:
            kernel_runs_32 = False
        loader = "/usr/lib/wine/wine"
        if not os.path.exists(loader):
            self.skipTest("32-bit Wine is not installed")
        verdict = subprocess.run([WINE_ARCH, "check", "win32"], capture_output=True, text=True, timeout=30)
        self.assertEqual(verdict.returncode == 0, kernel_runs_32, verdict.stdout)
        if not kernel_runs_32:
            self.assertIn("the kernel runs no 32-bit code", verdict.stdout)


if __name__ == "__main__":
    unittest.main(argv=sys.argv[:1], verbosity=2)
