"""The update check and the updater, as a player meets them: the manifest's
version line against the client's, faults of the update host that must never
cost the player the earlier manifest, and the whole update, which installs a
verified package and refuses anything else while the old client keeps working."""
import datetime
import hashlib
import os
import re
import shutil
import struct
import subprocess
import tempfile
import time
import unittest

import harness
from operator_site import OperatorSite
from test_login import LOGIN_PATH, page, refresh_to

MANIFEST_PATH = "/gamehome/vorn/update.txt"
PACKAGE_PATH = "/gamehome/vorn/Velmora-next.exe"
OFFER = "发现有新版本，是否现在更新！"
BUILD = os.path.dirname(harness.CLIENT)
NEXT_CLIENT = os.path.join(BUILD, "VelmoraNext.exe")
KEYS = os.path.join(BUILD, "update-keys")  # the test build's own root and update key
PRIVATE_KEY = os.path.join(KEYS, "update-private.pem")
ROOT_KEY = os.path.join(KEYS, "root-private.pem")
with open(os.path.join(KEYS, "passphrase")) as _f:
    PASSPHRASE = _f.read()
SIGNER = "test1"  # the build's update key, as the key lists name it
_lists = tempfile.TemporaryDirectory()


def sign_update(*args):
    """tools/sign-update's output, with the test keys' passphrase."""
    return subprocess.run([os.path.join(harness.TOP, "tools", "sign-update"), *args], capture_output=True, check=True,
                          timeout=60, env=dict(os.environ, VELMORA_KEY_PASSPHRASE=PASSPHRASE)).stdout.decode()


def key_list(**keys):
    """A key list file the build's root signs, naming each id's public key file."""
    path = os.path.join(_lists.name, "-".join("%s=%s" % (i, os.path.basename(f)) for i, f in sorted(keys.items())) + ".txt")
    if not os.path.exists(path):
        with open(path, "w", newline="") as f:
            f.write(sign_update("keylist", ROOT_KEY, *("%s=%s" % k for k in keys.items())))
    return path


def made_key(name):
    """A key pair of the operator's kind, made once, that no key list names unless told:
    its private key file (the public one beside it as NAME-public.hex)."""
    if not os.path.exists(os.path.join(_lists.name, name + "-private.pem")):
        sign_update("keygen", _lists.name, name)
    return os.path.join(_lists.name, name + "-private.pem")


def default_key_list():
    return key_list(**{SIGNER: os.path.join(KEYS, "update-public.hex")})


def list_block(path):
    with open(path, newline="") as f:
        return f.read()


def signed_manifest(site, package_bytes, version, key=PRIVATE_KEY, keys=None):
    """The manifest the operator's tool writes for this package at this version,
    signed with `key` and carrying the key list `keys` (the build's own by default)."""
    with tempfile.TemporaryDirectory() as own:
        package = os.path.join(own, "package.bin")
        with open(package, "wb") as f:
            f.write(package_bytes)
        return sign_update("sign", "--keys", keys or default_key_list(), key, version, site.url("update", PACKAGE_PATH),
                           package)  # CR LF kept


def openssl_signature(key, text):
    der = subprocess.run(["openssl", "dgst", "-sha256", "-sign", key, "-passin", "file:" + os.path.join(KEYS, "passphrase")],
                         input=text.encode(), capture_output=True, check=True, timeout=30).stdout
    return raw_signature(der)


def key_list_block(signed, expires, keys):
    """A key list the build's root signs with any times, which the operator's
    tool would not write (it dates from the signing on); `keys` (id, hex) pairs."""
    fields = [("signed", signed.strftime("%Y-%m-%dT%H:%M:%SZ")), ("expires", expires.strftime("%Y-%m-%dT%H:%M:%SZ"))]
    fields += [("key", "%s %s" % k) for k in keys]
    text = "Velmora update keys\n" + "".join("%s=%s\n" % f for f in fields)
    return "".join("keylist-%s=%s\r\n" % f for f in fields) + "keylist-signature=%s\r\n" % openssl_signature(ROOT_KEY, text)


def public_key(private_key):
    with open(private_key.replace("-private.pem", "-public.hex")) as f:
        return f.read().strip()


def openssl(*args):
    subprocess.run(["openssl", *args], check=True, capture_output=True, timeout=60)


def trusted_root(folder):
    """A throw-away certification authority (its key and certificate in `folder`),
    among the prefix's trusted roots until the returned registry key is deleted."""
    key, pem, der = (os.path.join(folder, "root" + ext) for ext in (".key", ".pem", ".der"))
    openssl("req", "-x509", "-newkey", "rsa:2048", "-nodes", "-keyout", key, "-out", pem, "-days", "2",
            "-subj", "/CN=Velmora throw-away root", "-addext", "basicConstraints=critical,CA:TRUE",
            "-addext", "keyUsage=critical,keyCertSign")
    openssl("x509", "-in", pem, "-outform", "der", "-out", der)
    with open(der, "rb") as f:
        certificate = f.read()
    # The machine's root store as the system keeps it: under the certificate's
    # SHA-1, its properties serialized (id, 1, length, value): the hash, then the certificate.
    sha1 = hashlib.sha1(certificate).digest()
    blob = struct.pack("<III", 3, 1, 20) + sha1 + struct.pack("<III", 32, 1, len(certificate)) + certificate
    entry = r"HKLM\Software\Microsoft\SystemCertificates\Root\Certificates\%s" % sha1.hex().upper()
    harness.wine("reg", "add", entry, "/v", "Blob", "/t", "REG_BINARY", "/d", blob.hex(), "/f", check=True)
    return entry


def code_signer(folder, name, subject, by_root=False):
    """A PFX file (password "throw-away") with a code-signing certificate for
    `subject`, issued by the root in `folder`, or by itself without one."""
    key, csr, pem, pfx = (os.path.join(folder, name + ext) for ext in (".key", ".csr", ".pem", ".pfx"))
    usage = ["-addext", "extendedKeyUsage=codeSigning", "-addext", "keyUsage=critical,digitalSignature"]
    if by_root:
        openssl("req", "-newkey", "rsa:2048", "-nodes", "-keyout", key, "-out", csr, "-subj", subject, *usage)
        openssl("x509", "-req", "-in", csr, "-CA", os.path.join(folder, "root.pem"), "-CAkey",
                os.path.join(folder, "root.key"), "-CAcreateserial", "-days", "2", "-copy_extensions", "copy",
                "-out", pem)
    else:
        openssl("req", "-x509", "-newkey", "rsa:2048", "-nodes", "-keyout", key, "-out", pem, "-days", "2",
                "-subj", subject, *usage)
    openssl("pkcs12", "-export", "-inkey", key, "-in", pem, "-out", pfx, "-passout", "pass:throw-away")
    return pfx


def sign_code(pfx, exe):
    subprocess.run([os.path.join(harness.TOP, "tools", "sign-code"), pfx, exe], check=True, capture_output=True,
                   timeout=60, env=dict(os.environ, VELMORA_SIGN_PASSWORD="throw-away"))
    with open(exe, "rb") as f:
        return f.read()


def login_screen():
    return [w for w in harness.list_windows() if w["title"] == "Velmora客户端" and w["layered"] == 1]


class UpdateCase(unittest.TestCase):
    """The operator site with a login page, and no manifest or updater left in the temporary folder."""

    def setUp(self):
        self.site = OperatorSite().start()
        self.addCleanup(self.site.stop)
        self.site.answer("login", LOGIN_PATH, page("登录"))
        self.temp = harness.wine_temp_folder()
        self.addCleanup(self.forget_update_files)
        self.forget_update_files()
        with open(os.path.join(harness.TOP, "CMakeLists.txt"), encoding="utf-8") as f:
            self.version = re.search(r"project\(Velmora VERSION ([0-9.]+)", f.read()).group(1)

    def forget_update_files(self):
        for name in ("update.txt", "Update.exe"):
            path = os.path.join(self.temp, name)
            if os.path.isdir(path):
                shutil.rmtree(path)
            elif os.path.exists(path):
                os.remove(path)

    def start(self, exe=harness.CLIENT):
        client = harness.Client(exe=exe)
        self.addCleanup(client.stop)
        return client

    def offer(self, manifest):
        self.site.answer("update", MANIFEST_PATH, manifest, content_type="text/plain")

    def start_up_verdict(self, exe=harness.CLIENT, timeout=30):
        """Starts the client and returns the start-up check's log line saying why
        nothing was offered (and the whole log); no question may appear."""
        client = self.start(exe=exe)
        found = harness.wait_for("the update check's verdict in the log", lambda: re.search(
            r"update check: no update offered: ([^\r\n]*)", client.log()), timeout)
        # The line comes only when the check has ended without asking; a box
        # that comes later is the login screen's (its page cannot load here).
        self.assertNotIn(OFFER, harness.window_texts("提示"))
        self.assertFalse(os.path.exists(os.path.join(self.temp, "Update.exe")), "the updater was written")
        log = client.log()
        client.stop()
        return found.group(1), log


class UpdateTest(UpdateCase):
    def test_a_manifest_that_is_not_signed_offers_nothing_and_the_log_says_why(self):
        for manifest, reason in (("version=%s\r\n", "没有签名"), ("notes\r\nVersion: %s  \r\n", "没有签名"),
                                 ("version=0.9.0\r\n", "没有签名"), ("version=9.9.9\rsize=1\r", "没有签名"),
                                 ("size=1\r\n", "没有版本号")):
            with self.subTest(manifest=manifest):
                self.offer(manifest.replace("%s", self.version))
                why, _ = self.start_up_verdict()
                self.assertIn(reason, why)

    def test_faults_of_the_update_host_keep_the_earlier_manifest(self):
        earlier = ("version=%s\r\n" % self.version).encode()
        for name, answer in (("404", dict(status=404)), ("500", dict(status=500)), ("304", dict(status=304)),
                             ("chunked", dict(chunked=True)), ("no length", dict(sized=False)),
                             ("truncated", dict(truncate_at=5)), ("stalled", dict(delay=60)),
                             ("too long", dict(body="version=0.0.1\r\n" + "x" * 65536)),
                             # A byte every 2 s: no step is slow, the whole is given up after 30 s.
                             ("dripped", dict(drip=2.0))):
            with self.subTest(name):
                with open(os.path.join(self.temp, "update.txt"), "wb") as f:
                    f.write(earlier)
                answer.setdefault("body", "version=0.0.1\r\n" + "x" * 100)
                self.site.answer("update", MANIFEST_PATH, content_type="text/plain", **answer)
                # A stalled answer is given up after the downloader's receive bound (15 s).
                why, log = self.start_up_verdict(timeout=45)
                self.assertIn("could not be fetched", log)
                self.assertIn("没有签名", why, "the earlier manifest is read")
                with open(os.path.join(self.temp, "update.txt"), "rb") as f:
                    self.assertEqual(f.read(), earlier)


def raw_signature(der):
    """r then s, 32 bytes each, from a DER ECDSA signature (SEQUENCE of two INTEGERs)."""
    assert der[0] == 0x30
    at, parts = 2 if der[1] < 0x80 else 3, []
    for _ in range(2):
        assert der[at] == 0x02
        n = der[at + 1]
        parts.append(der[at + 2:at + 2 + n].lstrip(b"\0").rjust(32, b"\0"))
        at += 2 + n
    return (parts[0] + parts[1]).hex()


class WholeUpdateCase(UpdateCase):
    """The client runs from a folder of its own, which the updater may change."""

    def setUp(self):
        super().setUp()
        self.folder = os.path.join(os.environ.get("VELMORA_WINE_ROOT", "/tmp"), "update-%d" % time.monotonic_ns())
        os.makedirs(self.folder)
        self.addCleanup(shutil.rmtree, self.folder, True)
        self.client_path = os.path.join(self.folder, "Velmora.exe")
        shutil.copyfile(harness.CLIENT, self.client_path)
        with open(self.client_path, "rb") as f:
            self.old_bytes = f.read()
        with open(NEXT_CLIENT, "rb") as f:
            self.new_bytes = f.read()
        self.addCleanup(lambda: harness.wine("taskkill", "/f", "/im", "Velmora.exe"))
        self.addCleanup(lambda: harness.wine("taskkill", "/f", "/im", "Update.exe"))

    def signed(self, package_bytes, version="9.1.1", key=PRIVATE_KEY, keys=None):
        return signed_manifest(self.site, package_bytes, version, key, keys)

    def signed_expiring(self, package_bytes, version, expires, key=PRIVATE_KEY, signer=SIGNER, block=None):
        """A manifest signed with `key` under the id `signer` whose expiry is the given UTC
        time, which the operator's tool would not write (it dates from the signing on),
        with the key list `block` (the build's own by default)."""
        url = self.site.url("update", PACKAGE_PATH)
        stamp = expires.strftime("%Y-%m-%dT%H:%M:%SZ")
        fields = [("version", version), ("package", url), ("size", str(len(package_bytes))),
                  ("sha256", hashlib.sha256(package_bytes).hexdigest()), ("expires", stamp)]
        text = "Velmora update\n" + "".join("%s=%s\n" % f for f in fields)
        return ("".join("%s=%s\r\n" % f for f in fields) + "signature=%s:%s\r\n" % (signer, openssl_signature(key, text)) +
                (block or list_block(default_key_list())))

    def other_key(self):
        return made_key("other")

    def forged(self, version):
        """A manifest that names the build's key but is signed with another."""
        return self.signed_expiring(self.new_bytes, version, datetime.datetime.utcnow() + datetime.timedelta(days=10),
                                    key=self.other_key())

    def key_list_faults(self):
        """Manifests of the next version that a key list does not let in, each with the words that say why:
        signed by the build's key after a list naming only a new one withdrew it; under a list the
        root did not sign (a key added to a genuine one); under a list that has expired."""
        later = datetime.datetime.utcnow() + datetime.timedelta(days=10)
        withdrawn = list_block(key_list(next=made_key("next").replace("-private.pem", "-public.hex")))
        added = list_block(default_key_list()).replace(
            "keylist-signature=", "keylist-key=mine %s\r\nkeylist-signature=" % public_key(self.other_key()))
        now = datetime.datetime.utcnow()
        stale = key_list_block(now - datetime.timedelta(days=31), now - datetime.timedelta(minutes=5),
                               [(SIGNER, public_key(PRIVATE_KEY))])
        version = self.next_version()
        return (("withdrawn key", self.signed_expiring(self.new_bytes, version, later, block=withdrawn), "不在密钥列表中"),
                ("forged key list", self.signed_expiring(self.new_bytes, version, later, key=self.other_key(),
                                                         signer="mine", block=added), "根密钥"),
                ("expired key list", self.signed_expiring(self.new_bytes, version, later, block=stale), "密钥列表已过期"))

    def older_version(self):
        major_minor, revision = self.version.rsplit(".", 1)
        return "%s.%d" % (major_minor, int(revision) - 1) if int(revision) else "0.9.9"

    def open_game(self):
        """The client from its folder, logged in to a game page; its main window."""
        self.site.answer("gamespace", "/play/one.html", page("第一服"))
        self.site.answer("login", LOGIN_PATH, page("登录", head=refresh_to(
            "app://loadgame|%s" % self.site.url("gamespace", "/play/one.html"), delay=1)))
        client = self.start(exe=self.client_path)
        main = harness.wait_for("the main window", lambda: [
            w for w in harness.list_windows() if w["title"] == "Velmora客户端" and w["layered"] == 0 and w["w"] > 242], 30)[0]
        return client, main

    def choose_update(self, main):
        harness.click(main["x"] + main["w"] - round(1825 / 15) + 12, main["y"] + 10)
        harness.wait_for("the program menu", lambda: [w for w in harness.list_windows() if w["class"] == "#32768"])
        for _ in range(4):  # 刷新, 隐藏/恢复, 清除缓存, (the separator is skipped) 更新
            harness.press_key("Down")
        harness.press_key("Return")

    def start_updater(self, argument, exe=None):
        updater = subprocess.Popen(["wine", exe or os.path.join(BUILD, "VelmoraUpdate.exe"), argument],
                                   stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        self.addCleanup(updater.kill)
        return updater

    def refusal_text(self):
        harness.wait_for("the updater's refusal", lambda: [
            w for w in harness.list_windows() if w["title"] == "Velmora 更新" and w["class"] == "#32770"], 60)
        return " ".join(harness.window_texts("Velmora 更新"))

    def accept_update(self):
        client = self.start(exe=self.client_path)
        harness.visible_window("提示", 30)
        self.assertIn(OFFER, harness.window_texts("提示"))
        harness.press_key("y")
        self.assertEqual(client.wait_exit(20), 0)
        return client

    def next_version(self):
        major_minor, revision = self.version.rsplit(".", 1)
        return "%s.%d" % (major_minor, int(revision) + 1)


class WholeUpdateTest(WholeUpdateCase):
    def test_a_signed_package_replaces_the_client_and_the_new_client_starts(self):
        self.offer(self.signed(self.new_bytes, self.next_version()))
        self.site.answer("update", PACKAGE_PATH, self.new_bytes, content_type="application/octet-stream")
        self.accept_update()
        # The new client checks again, finds itself up to date and shows the login.
        harness.wait_for("the new client's login screen", lambda: login_screen(), 60)
        with open(self.client_path, "rb") as f:
            self.assertEqual(f.read(), self.new_bytes)
        self.assertEqual(sorted(os.listdir(self.folder)), ["Velmora.exe"], "no backup or package left")
        self.assertIsNone(harness.window_facts("提示"))

    def test_a_package_signed_under_a_rotated_key_installs(self):
        # The list names only a new key: the build's own is withdrawn, the new one signs.
        rotated = made_key("next")
        listed = key_list(next=rotated.replace("-private.pem", "-public.hex"))
        self.offer(self.signed(self.new_bytes, self.next_version(), key=rotated, keys=listed))
        self.site.answer("update", PACKAGE_PATH, self.new_bytes, content_type="application/octet-stream")
        self.accept_update()
        harness.wait_for("the new client's login screen", lambda: login_screen(), 60)
        with open(self.client_path, "rb") as f:
            self.assertEqual(f.read(), self.new_bytes)

    def test_the_menu_run_says_up_to_date_and_on_yes_leaves_without_the_exit_question(self):
        self.offer(self.signed(self.new_bytes, self.version))
        client, main = self.open_game()
        self.choose_update(main)
        harness.visible_window("提示")
        self.assertIn("当前版本已是最新，无需更新！", harness.window_texts("提示"))
        harness.press_key("Return")
        harness.wait_for("the message to go", lambda: harness.window_facts("提示") is None)

        self.offer(self.signed(self.new_bytes, self.next_version()))
        self.site.answer("update", PACKAGE_PATH, self.new_bytes, content_type="application/octet-stream")
        self.choose_update(main)
        harness.visible_window("提示")
        self.assertIn(OFFER, harness.window_texts("提示"))
        harness.press_key("y")
        self.assertEqual(client.wait_exit(30), 0, "the window closed without asking")
        harness.wait_for("the new client's login screen", lambda: login_screen(), 60)
        with open(self.client_path, "rb") as f:
            self.assertEqual(f.read(), self.new_bytes)

    def test_a_genuine_manifest_the_updater_would_refuse_is_not_offered_and_the_log_says_why(self):
        later = datetime.datetime.utcnow() + datetime.timedelta(days=10)
        earlier = datetime.datetime.utcnow() - datetime.timedelta(minutes=5)
        cases = (("older", self.signed_expiring(self.new_bytes, self.older_version(), later), "不比已安装的版本"),
                 ("the same", self.signed_expiring(self.new_bytes, self.version, later), "不比已安装的版本"),
                 ("expired", self.signed_expiring(self.new_bytes, self.next_version(), earlier), "已过期"),
                 ("another key", self.forged(self.next_version()), "签名无效")) + self.key_list_faults()
        for name, manifest, reason in cases:
            with self.subTest(name):
                self.offer(manifest)
                why, _ = self.start_up_verdict(exe=self.client_path)
                self.assertIn(reason, why)
        self.assertFalse(self.site.requested("update", PACKAGE_PATH), "the package was fetched")
        with open(self.client_path, "rb") as f:
            self.assertTrue(f.read() == self.old_bytes)

    def test_the_menu_run_says_why_nothing_is_offered(self):
        later = datetime.datetime.utcnow() + datetime.timedelta(days=10)
        earlier = datetime.datetime.utcnow() - datetime.timedelta(minutes=5)
        cases = (("older", dict(body=self.signed_expiring(self.new_bytes, self.older_version(), later)),
                  "当前版本已是最新，无需更新！"),
                 ("expired, the same version", dict(body=self.signed_expiring(self.new_bytes, self.version, earlier)),
                  "已过期"),
                 ("another key", dict(body=self.forged(self.next_version())), "签名无效"),
                 ("withdrawn key", dict(body=self.key_list_faults()[0][1]), "不在密钥列表中"),
                 ("unsigned", dict(body="version=9.9.9\r\n"), "没有签名"),
                 # A host that no longer answers: the earlier manifest tells nothing about today.
                 ("not fetched", dict(status=404, body=self.signed(self.new_bytes, self.version)), "无法取得更新信息"))
        self.offer(self.signed(self.new_bytes, self.version))
        client, main = self.open_game()
        for name, answer, text in cases:
            with self.subTest(name):
                self.site.answer("update", MANIFEST_PATH, content_type="text/plain", **answer)
                self.choose_update(main)
                harness.visible_window("提示", 30)
                self.assertTrue(any(text in t for t in harness.window_texts("提示")), harness.window_texts("提示"))
                harness.press_key("Return")
                harness.wait_for("the message to go", lambda: harness.window_facts("提示") is None)
                self.assertTrue(client.running(), "the game goes on")
        self.assertIn("update check: no update offered", client.log())

    def test_a_client_that_cannot_start_its_updater_says_so_and_goes_on(self):
        self.offer(self.signed(self.new_bytes, self.next_version()))
        # A folder in the updater's place: it cannot be written, let alone started.
        os.makedirs(os.path.join(self.temp, "Update.exe"))
        client = self.start(exe=self.client_path)
        harness.visible_window("提示", 30)
        self.assertIn(OFFER, harness.window_texts("提示"))
        harness.press_key("y")
        harness.wait_for("the box saying so", lambda: any(
            "更新程序" in t and OFFER not in t for t in harness.window_texts("提示")), 20)
        harness.press_key("Return")
        # Start-up goes on to the login screen (the splash before it may come and go between two looks).
        harness.wait_for("the login screen", lambda: login_screen(), 30)
        self.assertTrue(client.running())
        with open(self.client_path, "rb") as f:
            self.assertTrue(f.read() == self.old_bytes)

    def test_anything_but_the_signed_package_is_refused_and_the_old_client_starts(self):
        good = self.signed(self.new_bytes)
        tampered = bytearray(self.new_bytes)
        tampered[len(tampered) // 2] ^= 1
        folder = harness.wine_path(self.folder)
        # The client offers only a manifest it would install; the updater,
        # started directly, refuses the rest by itself.
        cases = (
            ("tampered", good, bytes(tampered), True),
            ("truncated", good, self.new_bytes[:-100], True),
            ("unsigned", "\r\n".join(l for l in good.split("\r\n") if not l.startswith("signature=")), self.new_bytes,
             False),
            ("another key", self.forged("9.1.1"), self.new_bytes, False),
        )
        for name, manifest, served, offered in cases:
            with self.subTest(name):
                self.offer(manifest)
                self.site.answer("update", PACKAGE_PATH, served, content_type="application/octet-stream")
                if offered:
                    self.accept_update()
                else:
                    self.start_updater("%s|%s\\Velmora.exe" % (folder, folder))
                self.assertIn("拒绝", self.refusal_text())
                harness.press_key("Return")
                # The old client is started again; it offers the update once more, or not at all.
                harness.wait_for("the old client", lambda: login_screen() or harness.window_facts("提示"), 60)
                if offered:
                    harness.press_key("n")
                with open(self.client_path, "rb") as f:
                    now = f.read()
                self.assertTrue(now == self.old_bytes, "the client was replaced (by the package: %s)" % (now == self.new_bytes))
                self.assertEqual(sorted(os.listdir(self.folder)), ["Velmora.exe"])
                harness.wine("taskkill", "/f", "/im", "Velmora.exe")
                harness.wine("taskkill", "/f", "/im", "Update.exe")
                harness.wine("taskkill", "/f", "/im", "VelmoraUpdate.exe")
                harness.wait_for("the client to go", lambda: not login_screen() and not harness.window_facts("提示"))
                self.forget_update_files()

    def test_an_updater_stopped_at_any_step_leaves_a_client_that_starts(self):
        self.offer(self.signed(self.new_bytes, self.next_version()))
        # Stopped while the package is on its way (its body is held back).
        self.site.answer("update", PACKAGE_PATH, self.new_bytes, content_type="application/octet-stream", delay=20)
        self.accept_update()
        harness.wait_for("the package download", lambda: self.site.requested("update", PACKAGE_PATH), 60)
        harness.wine("taskkill", "/f", "/im", "Update.exe")
        with open(self.client_path, "rb") as f:
            self.assertEqual(f.read(), self.old_bytes)
        self.start(exe=self.client_path)
        harness.visible_window("提示", 30)  # the old client, offering the update again
        harness.press_key("n")
        harness.wait_for("the old client's login screen", lambda: login_screen(), 30)
        harness.wine("taskkill", "/f", "/im", "Velmora.exe")
        harness.wait_for("the client to go", lambda: not login_screen())

        # Stopped the moment it starts installing (its backup copy appears):
        # whatever it had done by then, the client's path holds a whole client.
        self.site.answer("update", PACKAGE_PATH, self.new_bytes, content_type="application/octet-stream")
        self.accept_update()
        backup = self.client_path + ".bak"
        harness.wait_for("the install to begin", lambda: os.path.exists(backup), 60, interval=0.01)
        harness.wine("taskkill", "/f", "/im", "Update.exe")
        harness.wine("taskkill", "/f", "/im", "Velmora.exe")
        with open(self.client_path, "rb") as f:
            self.assertIn(f.read(), (self.old_bytes, self.new_bytes))
        self.start(exe=self.client_path)
        harness.wait_for("a client that starts", lambda: login_screen() or harness.window_facts("提示"), 30)

    def test_a_signed_client_takes_only_a_package_its_own_publisher_signed(self):
        certificates = tempfile.mkdtemp()
        self.addCleanup(shutil.rmtree, certificates, True)
        root = trusted_root(certificates)
        self.addCleanup(harness.wine, "reg", "delete", root, "/f")
        publisher = code_signer(certificates, "publisher", "/CN=Velmora Games", by_root=True)
        self.old_bytes = sign_code(publisher, self.client_path)

        def package(name, pfx=None):
            path = os.path.join(certificates, name + ".exe")
            shutil.copyfile(NEXT_CLIENT, path)
            return sign_code(pfx, path) if pfx else self.new_bytes

        other = code_signer(certificates, "other", "/CN=Other Games", by_root=True)
        # Anyone can give a certificate that name; no trusted root vouches for this one.
        impostor = code_signer(certificates, "impostor", "/CN=Velmora Games")
        cases = (("another publisher", package("other", other), "不是当前客户端的发布者所签"),
                 ("the same name, certified by nobody", package("impostor", impostor), "不受信任"),
                 ("unsigned", package("unsigned"), "没有数字签名"))
        folder = harness.wine_path(self.folder)
        for name, served, reason in cases:
            with self.subTest(name):
                self.offer(self.signed(served, self.next_version()))
                self.site.answer("update", PACKAGE_PATH, served, content_type="application/octet-stream")
                self.start_updater("%s|%s\\Velmora.exe" % (folder, folder))
                self.assertIn(reason, self.refusal_text())
                harness.press_key("Return")
                harness.wait_for("the old client", lambda: login_screen() or harness.window_facts("提示"), 60)
                with open(self.client_path, "rb") as f:
                    self.assertTrue(f.read() == self.old_bytes, "the client was replaced")
                harness.wine("taskkill", "/f", "/im", "Velmora.exe")
                harness.wait_for("the client to go", lambda: not login_screen() and not harness.window_facts("提示"))

        ours = package("ours", publisher)
        self.offer(self.signed(ours, self.next_version()))
        self.site.answer("update", PACKAGE_PATH, ours, content_type="application/octet-stream")
        self.start_updater("%s|%s\\Velmora.exe" % (folder, folder))
        harness.wait_for("the new client's login screen", lambda: login_screen(), 60)
        with open(self.client_path, "rb") as f:
            self.assertTrue(f.read() == ours, "the package from the client's own publisher was not installed")

    def test_a_genuine_manifest_that_is_old_the_same_or_expired_is_refused(self):
        later = datetime.datetime.utcnow() + datetime.timedelta(days=10)
        earlier = datetime.datetime.utcnow() - datetime.timedelta(minutes=5)
        older = self.older_version()
        folder = harness.wine_path(self.folder)
        cases = (("older", self.signed_expiring(self.new_bytes, older, later), "不比已安装的版本"),
                 ("the same", self.signed_expiring(self.new_bytes, self.version, later), "不比已安装的版本"),
                 ("expired", self.signed_expiring(self.new_bytes, self.next_version(), earlier), "已过期"),
                 ("without expiry", "\r\n".join(l for l in self.signed(self.new_bytes, self.next_version()).split("\r\n")
                                                 if not l.startswith("expires=")), "不完整")) + self.key_list_faults()
        self.site.answer("update", PACKAGE_PATH, self.new_bytes, content_type="application/octet-stream")
        for name, manifest, reason in cases:
            with self.subTest(name):
                self.offer(manifest)
                # Started as the client starts it: the same version would never be offered.
                self.start_updater("%s|%s\\Velmora.exe" % (folder, folder))
                self.assertIn(reason, self.refusal_text())
                harness.press_key("Return")
                # The old client is started again, unchanged byte for byte.
                harness.wait_for("the old client", lambda: login_screen() or harness.window_facts("提示"), 30)
                with open(self.client_path, "rb") as f:
                    self.assertTrue(f.read() == self.old_bytes, "the client was replaced")
                self.assertFalse(self.site.requested("update", PACKAGE_PATH), "the package was fetched")
                self.assertEqual(sorted(os.listdir(self.folder)), ["Velmora.exe"])
                harness.wine("taskkill", "/f", "/im", "Velmora.exe")
                harness.wait_for("the client to go", lambda: not login_screen() and not harness.window_facts("提示"))

    def test_the_updater_replaces_only_the_clients_own_file(self):
        self.offer(self.signed(self.new_bytes, self.next_version()))
        self.site.answer("update", PACKAGE_PATH, self.new_bytes, content_type="application/octet-stream")
        # A program of the same product beside the client, whose version resource names it otherwise.
        other = os.path.join(self.folder, "Other.exe")
        shutil.copyfile(os.path.join(BUILD, "VelmoraUpdate.exe"), other)
        with open(other, "rb") as f:
            other_bytes = f.read()
        folder = harness.wine_path(self.folder)
        for argument in ("|%s\\Other.exe" % folder, "%s|%s\\Other.exe" % (folder, folder),
                         "%s\\sub|%s\\sub\\..\\Other.exe" % (folder, folder)):
            with self.subTest(argument):
                updater = self.start_updater(argument)
                self.assertIn("更新程序须由客户端启动", self.refusal_text())
                harness.press_key("Return")
                self.assertEqual(updater.wait(30), 2)
        with open(other, "rb") as f:
            self.assertTrue(f.read() == other_bytes)
        self.assertFalse(self.site.requested("update", MANIFEST_PATH))

    def test_an_updater_without_the_operators_key_refuses_every_package(self):
        self.offer(self.signed(self.new_bytes, self.next_version()))
        self.site.answer("update", PACKAGE_PATH, self.new_bytes, content_type="application/octet-stream")
        folder = harness.wine_path(self.folder)
        updater = subprocess.Popen(["wine", os.path.join(BUILD, "VelmoraUpdateNoKey.exe"),
                                    "%s|%s\\Velmora.exe" % (folder, folder)],
                                   stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        self.addCleanup(updater.kill)
        harness.wait_for("the refusal", lambda: [
            w for w in harness.list_windows() if w["title"] == "Velmora 更新" and w["class"] == "#32770"], 60)
        self.assertTrue(any("公钥" in t for t in harness.window_texts("Velmora 更新")), harness.window_texts("Velmora 更新"))
        harness.press_key("Return")
        harness.visible_window("提示", 30)  # the old client, started again
        with open(self.client_path, "rb") as f:
            self.assertEqual(f.read(), self.old_bytes)


if __name__ == "__main__":
    unittest.main()
