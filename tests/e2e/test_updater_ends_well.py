"""The updater ends well whatever happens on its way: the player closing its
window during a slow download, a scanner holding the client at the rename, a
client saved under another name, and an updater that cannot run at all. The
player keeps a working client every time."""
import os
import subprocess
import time

import harness
from test_update import BUILD, OFFER, PACKAGE_PATH, WholeUpdateCase, login_screen

PACKAGE_TYPE = "application/octet-stream"


class UpdaterEndsWellTest(WholeUpdateCase):
    def leftovers(self):
        return [n for n in os.listdir(self.folder) if n.endswith((".new", ".bak"))]

    def old_client_offers_again(self):
        harness.wait_for("the old client, offering the update again",
                         lambda: any(OFFER in t for t in harness.window_texts("提示")), 30)
        with open(self.client_path, "rb") as f:
            self.assertTrue(f.read() == self.old_bytes, "the client was replaced")
        self.assertEqual(self.leftovers(), [])

    def test_closing_the_updaters_window_during_a_slow_download_starts_the_old_client(self):
        self.offer(self.signed(self.new_bytes, self.next_version()))
        self.site.answer("update", PACKAGE_PATH, self.new_bytes, content_type=PACKAGE_TYPE, delay=60)
        self.accept_update()
        harness.wait_for("the partial download", lambda: os.path.exists(self.client_path + ".new"), 60)
        harness.wine(os.path.join(harness.TOOLS, "wintool.exe"), "close", "Velmora 更新", check=True)
        self.old_client_offers_again()

        # Escape does the same: the updater started again while the old client is gone.
        harness.wine("taskkill", "/f", "/im", "Velmora.exe")
        harness.wait_for("the old client to go", lambda: harness.window_facts("提示") is None)
        updater = self.start_updater("%s|%s\\Velmora.exe" % ((harness.wine_path(self.folder),) * 2))
        harness.wait_for("the partial download", lambda: os.path.exists(self.client_path + ".new"), 60)
        harness.press_key("Escape")
        self.assertEqual(updater.wait(30), 3, "cancelled, not refused")
        self.old_client_offers_again()

    def test_a_client_held_by_a_scanner_at_the_rename_is_replaced_once_it_lets_go(self):
        self.offer(self.signed(self.new_bytes, self.next_version()))
        self.site.answer("update", PACKAGE_PATH, self.new_bytes, content_type=PACKAGE_TYPE, delay=4)
        self.accept_update()
        harness.wait_for("the package download", lambda: self.site.requested("update", PACKAGE_PATH), 60)
        # A scanner reads the client: it may be copied, not renamed over.
        holder = subprocess.Popen(["wine", os.path.join(harness.TOOLS, "holdfile.exe"),
                                   harness.wine_path(self.client_path), "read"],
                                  stdout=subprocess.PIPE, stdin=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        self.addCleanup(lambda: harness.wine("taskkill", "/f", "/im", "holdfile.exe"))
        self.addCleanup(holder.kill)
        self.assertEqual(holder.stdout.readline().strip(), b"held")
        harness.wait_for("the backup copy", lambda: os.path.exists(self.client_path + ".bak"), 30)
        time.sleep(2)
        with open(self.client_path, "rb") as f:
            self.assertTrue(f.read() == self.old_bytes, "renamed over a held file")
        holder.kill()
        harness.wine("taskkill", "/f", "/im", "holdfile.exe")
        harness.wait_for("the new client's login screen", lambda: login_screen(), 60)
        with open(self.client_path, "rb") as f:
            self.assertTrue(f.read() == self.new_bytes)
        self.assertEqual(self.leftovers(), [])

    def test_a_client_saved_under_another_name_is_updated_under_that_name(self):
        renamed = os.path.join(self.folder, "Velmora (1).exe")
        os.rename(self.client_path, renamed)
        self.addCleanup(lambda: harness.wine("taskkill", "/f", "/im", "Velmora (1).exe"))
        self.offer(self.signed(self.new_bytes, self.next_version()))
        self.site.answer("update", PACKAGE_PATH, self.new_bytes, content_type=PACKAGE_TYPE)
        self.client_path = renamed
        self.accept_update()
        harness.wait_for("the new client's login screen", lambda: login_screen(), 60)
        with open(renamed, "rb") as f:
            self.assertTrue(f.read() == self.new_bytes)
        self.assertNotIn("Velmora.exe", os.listdir(self.folder))
        self.assertEqual(self.leftovers(), [])

    def test_an_updater_that_cannot_run_is_reported_and_the_game_goes_on(self):
        # The updater the client carries, made a program for another processor.
        with open(os.path.join(BUILD, "VelmoraUpdate.exe"), "rb") as f:
            updater = f.read()
        at = self.old_bytes.find(updater)
        self.assertGreater(at, 0)
        machine = at + int.from_bytes(updater[0x3C:0x40], "little") + 4
        patched = bytearray(self.old_bytes)
        patched[machine:machine + 2] = (0xAA64).to_bytes(2, "little")
        with open(self.client_path, "wb") as f:
            f.write(patched)
        self.offer(self.signed(self.new_bytes, self.version))
        client, main = self.open_game()
        self.offer(self.signed(self.new_bytes, self.next_version()))
        self.choose_update(main)
        harness.visible_window("提示", 30)
        self.assertIn(OFFER, harness.window_texts("提示"))
        harness.press_key("y")
        harness.wait_for("the box saying so", lambda: any("无法启动更新程序" in t for t in harness.window_texts("提示")), 20)
        harness.press_key("Return")
        harness.wait_for("the box to go", lambda: harness.window_facts("提示") is None)
        self.assertTrue(client.running(), "the game goes on")
        self.assertTrue([w for w in harness.list_windows() if w["hwnd"] == main["hwnd"] and w["visible"] == 1])
        self.assertFalse(self.site.requested("update", PACKAGE_PATH))
