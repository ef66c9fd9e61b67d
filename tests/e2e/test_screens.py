"""What the player sees, screen by screen: the mask colour of the skins
(magenta) never reaches the screen in any of the client's windows, and the
exit box's answer buttons show whole, the question beneath them. With
VELMORA_SCREENS_DIR set, each test also keeps its screen there as a PNG (the
gallery that scripts/screens makes)."""
import os
import shutil
import subprocess
import tempfile
import time
import unittest

import harness
import test_commands
import test_login
import test_update
from operator_site import OperatorSite
from test_mainwindow import MainWindowCase, dde, page_texts

MAGENTA = (255, 0, 255)
DEMO = os.path.join(harness.TOP, "demo")
WINE_OWN = ("Wine System Tray",)


def client_windows():
    """The visible top-level windows on the screen, Wine's own tray aside."""
    return [w for w in harness.list_windows() if w["visible"] == 1 and w["title"] not in WINE_OWN
            and w["class"] != "Shell_TrayWnd"]


def magenta_pixels(shot, windows):
    """Magenta pixels inside the rectangles of the given windows, as (x, y)."""
    found = set()
    width, height = shot.size
    pixels = shot.load()
    for w in windows:
        for y in range(max(w["y"], 0), min(w["y"] + w["h"], height)):
            for x in range(max(w["x"], 0), min(w["x"] + w["w"], width)):
                if pixels[x, y] == MAGENTA:
                    found.add((x, y))
    return sorted(found)


def keep(name, shot, windows):
    """Saves the part of the screen that the windows cover, with a margin, for the gallery."""
    folder = os.environ.get("VELMORA_SCREENS_DIR")
    if not folder:
        return
    width, height = shot.size
    left = max(min(w["x"] for w in windows) - 8, 0)
    top = max(min(w["y"] for w in windows) - 8, 0)
    right = min(max(w["x"] + w["w"] for w in windows) + 8, width)
    bottom = min(max(w["y"] + w["h"] for w in windows) + 8, height)
    os.makedirs(folder, exist_ok=True)
    shot.crop((left, top, right, bottom)).save(os.path.join(folder, name + ".png"))


class NoMagenta:
    def assertNoMagenta(self, what, name):
        time.sleep(0.5)  # the last paint reaches the X server
        windows = client_windows()
        self.assertTrue(windows, "no client window on the screen")
        shot = harness.screenshot()
        keep(name, shot, windows)
        found = magenta_pixels(shot, windows)
        self.assertEqual(len(found), 0, "%s: %d magenta pixels, first %s" % (what, len(found), found[:5]))


class ScreensTest(MainWindowCase, NoMagenta):
    """The client on the demo operator site."""

    def setUp(self):
        self.site = OperatorSite(root=DEMO).start()
        self.addCleanup(self.site.stop)


    def three_tabs(self):
        main = self.start()
        for path in ("/play/two.html", "/play/notice.html"):
            self.assertEqual(dde(self.site.url("gamespace", path)), 0)
        harness.wait_for("three tabs", lambda: len(page_texts()) == 3, 20)
        return main

    def test_the_login_screen_shows_no_mask_colour(self):
        client = harness.Client()
        self.addCleanup(client.stop)
        harness.wait_for("the login screen", lambda: (test_login.backdrop() or {}).get("visible") == 1 and
                         (test_login.login_window() or {}).get("visible") == 1, 30)
        self.assertNoMagenta("login screen", "2-login")

    def test_the_game_window_with_three_tabs_one_hovered_shows_no_mask_colour(self):
        main = self.three_tabs()
        harness.set_root_colour((40, 40, 40))
        # The pointer on the body of the first tab (the third is selected).
        subprocess.run(["xdotool", "mousemove", str(main["x"] + 153 + 60), str(main["y"] + 15)], check=True, timeout=10)
        self.assertNoMagenta("game window", "3-game")

    def test_the_program_menu_shows_no_mask_colour(self):
        main = self.start()
        test_commands.CommandsTest.open_menu(self, main)
        self.assertNoMagenta("program menu", "4-menu")
        harness.press_key("Escape")

    def test_the_exit_box_shows_no_mask_colour_and_its_answers_whole(self):
        main = self.start()
        box = self.ask_to_close(main)
        harness.click(box["x"] + 120, box["y"] + 130)  # away from every button
        time.sleep(0.5)
        shot = harness.screenshot((box["x"], box["y"], box["w"], box["h"]))
        # The buttons' frames have navy outlines: their top edge, within rows
        # 88 to 90, shows all along each button over the white form.
        for left in (56, 136):
            hidden = [x for x in range(left + 6, left + 59) if min(max(shot.getpixel((x, y))) for y in (88, 89, 90)) > 160]
            self.assertEqual(hidden, [], "the top edge of the button at x %d is hidden" % left)
        # The question is drawn on the form between the band and the buttons.
        question = [shot.getpixel((x, y)) for x in range(24, 233) for y in range(56, 86)]
        self.assertTrue(any(max(p) < 100 for p in question), "no text of the question")
        self.assertNoMagenta("exit box", "5-exit")

    def test_the_splash_shows_no_mask_colour(self):
        self.site.answer("login", test_login.LOGIN_PATH, test_login.page("登录"), delay=60)  # the splash stays
        client = harness.Client()
        self.addCleanup(client.stop)
        harness.visible_window("Velmora", 30)
        self.assertNoMagenta("splash", "1-splash")


class UpdateScreensTest(test_update.UpdateCase, NoMagenta):
    def test_the_update_question_and_the_updaters_window_show_no_mask_colour(self):
        self.offer(test_update.signed_manifest(self.site, b"MZ the next client", "9.9.9"))
        self.start()
        harness.visible_window("提示", 30)
        self.assertNoMagenta("update question", "6-update-question")
        harness.press_key("n")
        harness.wait_for("the question to go", lambda: harness.window_facts("提示") is None)
        harness.wine("taskkill", "/f", "/im", "Velmora.exe")

        # The updater fetching a manifest that takes its time.
        self.site.answer("update", test_update.MANIFEST_PATH, "version=9.9.9\r\n", content_type="text/plain", delay=30)
        folder = tempfile.mkdtemp(dir=os.environ.get("VELMORA_WINE_ROOT", "/tmp"))
        shutil.copyfile(harness.CLIENT, os.path.join(folder, "Velmora.exe"))  # a client not running
        self.addCleanup(shutil.rmtree, folder, True)
        self.addCleanup(lambda: harness.wine("taskkill", "/f", "/im", "VelmoraUpdate.exe"))
        where = harness.wine_path(folder)
        updater = subprocess.Popen(["wine", os.path.join(test_update.BUILD, "VelmoraUpdate.exe"),
                                    "%s|%s\\Velmora.exe" % (where, where)],
                                   stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        self.addCleanup(updater.kill)
        harness.visible_window("Velmora 更新", 30)
        harness.wait_for("the manifest asked for", lambda: self.site.requested("update", test_update.MANIFEST_PATH), 30)
        self.assertNoMagenta("updater", "7-updater")


if __name__ == "__main__":
    unittest.main()
