"""The operator's tools: the update keys are never readable by others nor kept
unencrypted, their passphrase never on a command line, manifests and key lists
carry an expiry, a key that the list does not name signs nothing, and tools/sign-code signs the release client so that
osslsigncode verifies it (and leaves it untouched when signing fails)."""
import datetime
import os
import shutil
import stat
import subprocess
import sys
import tempfile
import unittest

TOP = os.path.abspath(os.path.join(os.path.dirname(__file__), "..", "..", ".."))
RELEASE_CLIENT = sys.argv.pop(1) if len(sys.argv) > 1 else os.path.join(TOP, "build", "win32-release", "Velmora.exe")


PASSPHRASE = "throw-away passphrase"


def tool(*args, env=None, **kw):
    env = {**os.environ, "VELMORA_KEY_PASSPHRASE": PASSPHRASE, **(env or {})}
    return subprocess.run([os.path.join(TOP, "tools", args[0]), *args[1:]], capture_output=True, timeout=60, env=env, **kw)


class SignUpdateTest(unittest.TestCase):
    def setUp(self):
        self.dir = tempfile.mkdtemp()
        self.addCleanup(shutil.rmtree, self.dir)

    def test_the_private_key_is_private_from_the_moment_it_is_written(self):
        # openssl is watched: the key file's mode is noted as soon as it exists,
        # before anything could narrow it afterwards.
        shim = os.path.join(self.dir, "bin")
        os.makedirs(shim)
        seen = os.path.join(self.dir, "modes")
        with open(os.path.join(shim, "openssl"), "w") as f:
            f.write('#!/bin/sh\necho "$@" >> %s.args\n%s "$@"; rc=$?\nfor a in "$@"; do [ -f "$a" ] && case "$a" in *private*) '
                    'stat -c %%a "$a" >> %s;; esac; done\nexit $rc\n' % (seen, shutil.which("openssl"), seen))
        os.chmod(os.path.join(shim, "openssl"), 0o755)
        keys = os.path.join(self.dir, "keys")
        old = os.umask(0o000)
        try:
            run = tool("sign-update", "keygen", keys, env=dict(PATH=shim + os.pathsep + os.environ["PATH"]))
        finally:
            os.umask(old)
        self.assertEqual(run.returncode, 0, run.stderr)
        with open(seen) as f:
            first = int(f.readline(), 8)
        self.assertEqual(first & 0o077, 0, "readable by others when written: %o" % first)
        with open(os.path.join(keys, "update-public.hex")) as f:
            self.assertRegex(f.read(), r"^[0-9a-f]{128}$")
        with open(os.path.join(keys, "update-private.pem")) as f:
            self.assertIn("ENCRYPTED PRIVATE KEY", f.read())
        with open(seen + ".args") as f:
            self.assertNotIn("passphrase", f.read())
        self.assertNotEqual(tool("sign-update", "keygen", keys).returncode, 0, "a key is never overwritten")
        self.assertNotEqual(tool("sign-update", "keygen", os.path.join(self.dir, "k2"), env=dict(VELMORA_KEY_PASSPHRASE="")
                                 ).returncode, 0, "no key without a passphrase")

    def test_a_manifest_expires_in_30_days_unless_told_otherwise(self):
        keys = os.path.join(self.dir, "keys")
        tool("sign-update", "keygen", keys, check=True)
        package = os.path.join(self.dir, "p.bin")
        with open(package, "wb") as f:
            f.write(b"x" * 100)
        key = os.path.join(keys, "update-private.pem")

        def expiry(*option):
            out = tool("sign-update", "sign", *option, key, "1.2.0", "http://h/p.bin", package, check=True).stdout.decode()
            line = [l for l in out.split("\r\n") if l.startswith("expires=")][0]
            return datetime.datetime.strptime(line[8:], "%Y-%m-%dT%H:%M:%SZ")

        now = datetime.datetime.utcnow()
        self.assertAlmostEqual((expiry() - now).total_seconds(), 30 * 86400, delta=120)
        self.assertAlmostEqual((expiry("--valid-days", "90") - now).total_seconds(), 90 * 86400, delta=120)
        for bad in ("0", "366", "x"):
            self.assertNotEqual(tool("sign-update", "sign", "--valid-days", bad, key, "1", "http://h/p", package).returncode, 0)
        wrong = tool("sign-update", "sign", key, "1.2.0", "http://h/p.bin", package, env=dict(VELMORA_KEY_PASSPHRASE="x"))
        self.assertNotEqual(wrong.returncode, 0, "the wrong passphrase")

    def test_a_key_list_lasts_at_most_90_days_and_only_a_key_it_names_signs(self):
        keys = os.path.join(self.dir, "keys")
        for verb in (("root-keygen", keys), ("keygen", keys), ("keygen", keys, "spare")):
            tool("sign-update", *verb, check=True)
        root, public = os.path.join(keys, "root-private.pem"), os.path.join(keys, "update-public.hex")
        for bad in ("91", "0"):
            self.assertNotEqual(tool("sign-update", "keylist", "--valid-days", bad, root, "k1=" + public).returncode, 0)
        listing = tool("sign-update", "keylist", "--valid-days", "90", root, "k1=" + public, check=True).stdout.decode()
        lines = dict(l.split("=", 1) for l in listing.split("\r\n") if l)
        expires = datetime.datetime.strptime(lines["keylist-expires"], "%Y-%m-%dT%H:%M:%SZ")
        signed = datetime.datetime.strptime(lines["keylist-signed"], "%Y-%m-%dT%H:%M:%SZ")
        self.assertEqual(expires - signed, datetime.timedelta(days=90))
        with open(public) as f:
            self.assertEqual(lines["keylist-key"], "k1 " + f.read().strip())
        list_file, package = os.path.join(self.dir, "keys.txt"), os.path.join(self.dir, "p.bin")
        with open(list_file, "w") as f:
            f.write(listing)
        with open(package, "wb") as f:
            f.write(b"x")
        manifest = tool("sign-update", "sign", "--keys", list_file, os.path.join(keys, "update-private.pem"), "1.2.0",
                        "http://h/p.bin", package, check=True).stdout.decode()
        self.assertRegex(manifest, r"\r\nsignature=k1:[0-9a-f]{128}\r\n")
        self.assertTrue(manifest.endswith(listing), "the key list follows the manifest")
        spare = tool("sign-update", "sign", "--keys", list_file, os.path.join(keys, "spare-private.pem"), "1.2.0",
                     "http://h/p.bin", package)
        self.assertNotEqual(spare.returncode, 0, "a key the list does not name")
        self.assertEqual(spare.stdout, b"")


@unittest.skipUnless(shutil.which("osslsigncode"), "osslsigncode is installed by scripts/setup")
class SignCodeTest(unittest.TestCase):
    def setUp(self):
        self.dir = tempfile.mkdtemp()
        self.addCleanup(shutil.rmtree, self.dir)
        self.cert, key = os.path.join(self.dir, "cert.pem"), os.path.join(self.dir, "key.pem")
        subprocess.run(["openssl", "req", "-x509", "-newkey", "rsa:2048", "-keyout", key, "-out", self.cert, "-days", "2",
                        "-nodes", "-subj", "/CN=Velmora throw-away signer", "-addext", "extendedKeyUsage=codeSigning"],
                       check=True, capture_output=True, timeout=60)
        self.pfx = os.path.join(self.dir, "signer.pfx")
        subprocess.run(["openssl", "pkcs12", "-export", "-inkey", key, "-in", self.cert, "-out", self.pfx,
                        "-passout", "pass:throw-away"], check=True, capture_output=True, timeout=60)
        self.exe = os.path.join(self.dir, "Velmora.exe")
        shutil.copyfile(RELEASE_CLIENT, self.exe)

    def verify(self):
        return subprocess.run(["osslsigncode", "verify", "-CAfile", self.cert, "-in", self.exe],
                              capture_output=True, timeout=60)

    def test_the_release_client_is_signed_and_verifies(self):
        self.assertNotEqual(self.verify().returncode, 0, "not signed before")
        run = tool("sign-code", self.pfx, self.exe, env=dict(os.environ, VELMORA_SIGN_PASSWORD="throw-away"))
        self.assertEqual(run.returncode, 0, run.stderr)
        verified = self.verify()
        self.assertEqual(verified.returncode, 0, verified.stdout.decode() + verified.stderr.decode())
        self.assertIn(b"SHA256", verified.stdout)
        self.assertEqual(os.listdir(self.dir).count("Velmora.exe.signing"), 0)

    def test_a_wrong_password_leaves_the_file_as_it_was(self):
        with open(self.exe, "rb") as f:
            before = f.read()
        run = tool("sign-code", self.pfx, self.exe, env=dict(os.environ, VELMORA_SIGN_PASSWORD="wrong"))
        self.assertNotEqual(run.returncode, 0)
        with open(self.exe, "rb") as f:
            self.assertEqual(f.read(), before)
        self.assertNotIn("Velmora.exe.signing", os.listdir(self.dir))


if __name__ == "__main__":
    unittest.main()
