"""What the player sees, screen by screen: the mask colour of the skins
(magenta) never reaches the screen in any of the client's windows, and the
exit box's answer buttons show whole, the question beneath them."""
import subprocess
import time
import unittest

import harness
import test_commands
import test_login
from test_mainwindow import MainWindowCase, dde, page_texts

MAGENTA = (255, 0, 255)
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


class ScreensTest(MainWindowCase):
    def assertNoMagenta(self, what):
        time.sleep(0.5)  # the last paint reaches the X server
        windows = client_windows()
        self.assertTrue(windows, "no client window on the screen")
        found = magenta_pixels(harness.screenshot(), windows)
        self.assertEqual(len(found), 0, "%s: %d magenta pixels, first %s" % (what, len(found), found[:5]))

    def three_tabs(self):
        main = self.start()
        for path in ("/play/two.html", "/play/three.html"):
            self.assertEqual(dde(self.site.url("gamespace", path)), 0)
        harness.wait_for("three tabs", lambda: len(page_texts()) == 3, 20)
        return main

    def test_the_login_screen_shows_no_mask_colour(self):
        self.site.answer("login", test_login.LOGIN_PATH, test_login.page("登录"))
        client = harness.Client()
        self.addCleanup(client.stop)
        harness.wait_for("the login screen", lambda: (test_login.backdrop() or {}).get("visible") == 1 and
                         (test_login.login_window() or {}).get("visible") == 1, 30)
        self.assertNoMagenta("login screen")

    def test_the_game_window_with_three_tabs_one_hovered_shows_no_mask_colour(self):
        main = self.three_tabs()
        # The pointer on the body of the first tab (the third is selected).
        subprocess.run(["xdotool", "mousemove", str(main["x"] + 153 + 60), str(main["y"] + 15)], check=True, timeout=10)
        self.assertNoMagenta("game window")

    def test_the_program_menu_shows_no_mask_colour(self):
        main = self.start()
        test_commands.CommandsTest.open_menu(self, main)
        self.assertNoMagenta("program menu")
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
        self.assertNoMagenta("exit box")


if __name__ == "__main__":
    unittest.main()
