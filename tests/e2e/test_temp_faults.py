"""The temporary folder failing the client at start-up: a full disk and a
read-only folder (a small file system mounted over Wine's temporary folder
for the test) while the manifest, the updater and the icon file are
written, and an updater file that a program of an earlier run still holds.
The player is told what could not be written, nothing half written is kept,
and the client goes on to its login window."""
import os
import subprocess
import time
import unittest

import harness
from test_update import OFFER, UpdateCase, signed_manifest

NO_UPDATER = "无法写入更新程序"


class TempFolderFaultTest(UpdateCase):
    def mount_temp(self, size_kib, ballast_kib=0, files=None, read_only=False):
        """A tmpfs of `size_kib` over the temporary folder, `ballast_kib` of it taken."""
        subprocess.run(["mount", "-t", "tmpfs", "-o", "size=%dk" % size_kib, "tmpfs", self.temp], check=True, timeout=20)
        self.addCleanup(lambda: subprocess.run(["umount", "-l", self.temp], timeout=20))
        for name, data in (files or {}).items():
            with open(os.path.join(self.temp, name), "wb") as f:
                f.write(data)
        if ballast_kib:
            with open(os.path.join(self.temp, "ballast"), "wb") as f:
                f.write(b"\0" * ballast_kib * 1024)
        if read_only:
            subprocess.run(["mount", "-o", "remount,ro", self.temp], check=True, timeout=20)

    def expect_the_start_up_goes_on(self, client):
        # On to the login window: its page view is made and navigated.
        harness.wait_for("the login window", lambda: harness.window_facts("Belvoy客户端"), 30)
        self.assertTrue(client.running())
        self.assertFalse(any(OFFER in t for t in harness.window_texts("提示")))
        self.assertNotIn("Unhandled", client.log())
        self.assertFalse([n for n in os.listdir(self.temp) if n.endswith(".part")], "nothing half written")

    def refuse_to_write_the_updater(self):
        harness.visible_window("提示", 30)
        self.assertIn(OFFER, harness.window_texts("提示"))
        harness.press_key("y")
        harness.wait_for("the updater's failure", lambda: any(NO_UPDATER in t for t in harness.window_texts("提示")), 20)
        text = " ".join(harness.window_texts("提示"))
        self.assertIn("Update.exe", text, "the box names the file")
        harness.press_key("Return")

    def test_a_full_disk_refuses_the_updater_and_the_start_up_goes_on(self):
        # Room for the manifest, not for the updater or the icon file.
        self.mount_temp(64, ballast_kib=56)
        self.offer(signed_manifest(self.site, b"MZ the next client", "99.0.0"))
        client = self.start()
        self.refuse_to_write_the_updater()
        self.assertNotIn("Update.exe", os.listdir(self.temp))
        self.expect_the_start_up_goes_on(client)

    def test_a_read_only_folder_keeps_the_earlier_manifest_and_the_start_up_goes_on(self):
        earlier = signed_manifest(self.site, b"MZ this client", self.version).encode()
        self.mount_temp(256, files={"update.txt": earlier}, read_only=True)
        self.offer(signed_manifest(self.site, b"MZ the next client", "99.0.0"))
        client = self.start()
        self.expect_the_start_up_goes_on(client)
        with open(os.path.join(self.temp, "update.txt"), "rb") as f:
            self.assertEqual(f.read(), earlier, "the earlier manifest, read and kept: nothing offered")

    def test_an_updater_held_by_an_earlier_run_is_reported_and_left_as_it_was(self):
        path = os.path.join(self.temp, "Update.exe")
        with open(path, "wb") as f:
            f.write(b"MZ an earlier updater")
        holder = subprocess.Popen(["wine", os.path.join(harness.TOOLS, "holdfile.exe"), harness.wine_path(path)],
                                  stdout=subprocess.PIPE, stdin=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        self.addCleanup(lambda: subprocess.run(["wine", "taskkill", "/f", "/im", "holdfile.exe"], capture_output=True,
                                               timeout=20))
        self.addCleanup(holder.kill)
        self.assertEqual(holder.stdout.readline().strip(), b"held")
        self.offer(signed_manifest(self.site, b"MZ the next client", "99.0.0"))
        client = self.start()
        self.refuse_to_write_the_updater()
        time.sleep(1)
        self.assertTrue(client.running())
        with open(path, "rb") as f:
            self.assertEqual(f.read(), b"MZ an earlier updater")


if __name__ == "__main__":
    unittest.main()
