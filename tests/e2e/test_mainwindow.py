"""The game window after login, driven as a player would: the skinned window
with its corners cut, one tab per address (from a second login and from an
outside program's DDE command), F10 and the tray icon, pages that ask for a
new window, and the exit question."""
import os
import subprocess
import tempfile
import time
import unittest

import harness
from operator_site import OperatorSite
from test_login import LOGIN_PATH, page, refresh_to

CAPTION = "Velmora客户端"
ROOT = (0, 160, 0)
NOT_SILENCED = "sound: the game's sound could not be silenced"


def main_window():
    found = [w for w in harness.list_windows() if w["title"] == CAPTION and w["layered"] == 0 and w["w"] != 242]
    return found[0] if found else None


def shown():
    """Whether the main window is visible (it is listed when hidden too)."""
    facts = [w for w in [harness.window_facts(CAPTION)] if w and w["w"] != 242]
    return facts[0]["visible"] == 1 if facts else None


def exit_boxes():
    return [w for w in harness.list_windows() if w["title"] == CAPTION and w["w"] == 242 and w["visible"] == 1]


def tray_icon_shown(tray):
    """Whether Wine's tray shows an icon in its first place (the icon, not the tray's plain background)."""
    x, y, w, h = harness.x_geometry(tray)
    if w < 8 or h < 8:
        return False
    shot = harness.screenshot((x, y, w, h))
    return len(set(shot.crop((0, 0, min(w, 32), h)).getdata())) > 2


def page_texts():
    """The titles the pages of the tabs show (a page view's window text is its document's title)."""
    return [t for t in harness.window_texts(CAPTION) if t not in ("WebUrl", "", "Velmora")]


def pages():
    return harness.window_texts(CAPTION).count("WebUrl")


def dde(text):
    return harness.wine(os.path.join(harness.TOOLS, "ddesend.exe"), "Velmora", "OrvaneDDE", text).returncode


class MainWindowCase(unittest.TestCase):
    """Starts the client through a login into its first game page; no tests of its own."""

    def setUp(self):
        self.site = OperatorSite().start()
        self.addCleanup(self.site.stop)
        self.site.answer("gamespace", "/play/one.html", page("第一服", "<p>码头</p>"))
        self.site.answer("gamespace", "/play/two.html", page("第二服", "<p>集市</p>"))
        self.site.answer("gamespace", "/play/three.html", page("第三服", "<p>城门</p>"))

    def login_to(self, path):
        self.site.answer("login", LOGIN_PATH, page("登录", head=refresh_to(
            "app://loadgame|%s" % self.site.url("gamespace", path), delay=1)))

    def start(self, path="/play/one.html", fresh_tray=False, env=None):
        if fresh_tray:
            # Clients that earlier tests killed leave their icons in Wine's
            # tray: a new session gives this client's icon the first place.
            harness.restart_wine_server()
        self.login_to(path)
        self.client = harness.Client(env=env)
        self.addCleanup(self.client.stop)
        main = harness.wait_for("the main window", lambda: (main_window() or {}).get("visible") == 1 and main_window(), 30)
        harness.wait_for("the game page's title", lambda: len(page_texts()) == 1, 20)
        return main

    def game_requests(self, path):
        return [p for h, p in self.site.requests if h == "gamespace" and p == path]

    def click_title_button(self, main, twips_from_right, width):
        """A click on the title button whose left edge is that many twips from the right edge."""
        x = main["x"] + main["w"] - round(twips_from_right / 15) + width // 2
        harness.click(x, main["y"] + 10)

    def ask_to_close(self, main):
        self.click_title_button(main, 730, 43)
        return harness.wait_for("the exit question", lambda: exit_boxes() and exit_boxes()[0], 15)

    def log_off(self):
        """A second program plays the system at log-off (tests/win/tools/wintool.cpp
        endsession); its output file says the client's answer once it has one."""
        out = tempfile.NamedTemporaryFile(prefix="endsession.", dir=os.environ.get("VELMORA_WINE_ROOT", "/tmp"),
                                          delete=False)
        system = subprocess.Popen(["wine", os.path.join(harness.TOOLS, "wintool.exe"), "endsession", CAPTION],
                                  stdout=out, stderr=subprocess.DEVNULL, stdin=subprocess.DEVNULL)
        out.close()
        self.addCleanup(lambda: system.poll() is None and system.kill())
        return system, out.name

    def session_answer(self, system, out):
        system.wait(20)
        return harness.read_text(out).split()

    def answer(self, box, which):
        x = {"是": 56 + 32, "否": 136 + 32, "close": 193 + 21}[which]
        y = 1 + 9 if which == "close" else 88 + 12
        harness.click(box["x"] + x, box["y"] + y)



class MainWindowTest(MainWindowCase):
    def test_after_login_a_skinned_window_fills_the_screen_with_cut_corners_and_one_tab(self):
        main = self.start()
        width, height = harness.screen_size()
        self.assertEqual((main["x"], main["y"], main["w"], main["h"]), (0, 0, width, height))
        self.assertEqual(main["taskbar"], 1)
        self.assertEqual(page_texts(), ["第一服"])
        harness.set_root_colour(ROOT)
        time.sleep(0.5)
        shot = harness.screenshot()
        # (The top left corner lies under Wine's tray window.)
        for corner in ((width - 1, 0), (0, height - 1), (width - 1, height - 1)):
            self.assertEqual(shot.getpixel(corner), ROOT, "corner %s shows what lies behind" % (corner,))
        self.assertNotEqual(shot.getpixel((10, 10)), ROOT)
        # The close button, red, ends 85 twips short of the right edge.
        r, g, b = shot.getpixel((width - 49 + 6, 4))
        self.assertTrue(r > 150 and g < 100 and b < 100, (r, g, b))
        # The logo (gold on blue) at the top left; the band beside it is blue.
        band = shot.getpixel((120, 28))
        self.assertGreater(band[2], band[0])
        logo = [shot.getpixel((x, y)) for x in range(7, 36) for y in range(2, 31)]
        self.assertTrue(any(p[0] > 150 and p[1] > 120 and p[2] < 100 for p in logo), "no gold in the logo")

    def test_second_logins_and_dde_commands_open_one_tab_per_address(self):
        main = self.start()
        # The account button brings the login back; the same game again selects its tab.
        harness.click(main["x"] + main["w"] - round(4850 / 15) + 40, main["y"] + 11)
        harness.wait_for("the login screen again", lambda: (harness.window_facts("Belvoy客户端") or {}).get("visible") == 1)
        harness.wait_for("the login window to hand over", lambda: harness.window_facts("Belvoy客户端") is None, 20)
        self.assertEqual(pages(), 1)
        self.assertEqual(len(self.game_requests("/play/one.html")), 1, "the open page is not loaded again")
        self.login_to("/play/two.html")
        harness.click(main["x"] + main["w"] - round(4850 / 15) + 40, main["y"] + 11)
        harness.wait_for("a second tab", lambda: pages() == 2, 30)

        # Minimised, an outside program's command restores the window and opens the page.
        self.click_title_button(main, 1465, 24)
        harness.wait_for("the window minimised", lambda: main_window()["iconic"] == 1)
        self.assertEqual(dde(self.site.url("gamespace", "/play/three.html")), 0)
        harness.wait_for("the window restored", lambda: main_window()["iconic"] == 0)
        harness.wait_for("a third tab", lambda: sorted(page_texts()) == sorted(["第一服", "第二服", "第三服"]), 20)
        self.assertEqual(dde(self.site.url("gamespace", "/play/ONE.html").replace("http://", "HTTP://")), 0)
        time.sleep(1)
        self.assertEqual(pages(), 3, "an address differing only in letter case selects its tab")
        self.assertEqual(dde("   "), 3, "a blank command is refused")
        self.assertTrue(self.client.running())

    def test_f10_and_the_tray_icon_hide_and_show_the_window(self):
        main = self.start(fresh_tray=True)
        harness.click(main["x"] + 400, main["y"] + 400)  # a client window has the focus
        for expected in (0, 1):
            harness.press_key("F10")
            harness.wait_for("F10 to toggle the window", lambda: shown() == bool(expected))
        harness.press_key("shift+F10")
        time.sleep(1)
        self.assertTrue(shown(), "F10 with Shift is not the hot key")
        self.assertNotIn(NOT_SILENCED, self.client.log(), "the Wine set-up has a sound device")

        tray = harness.xdotool_search("Wine System Tray")[0]
        subprocess.run(["xdotool", "windowraise", str(tray)], check=True, timeout=10)
        tx, ty, tw, th = harness.x_geometry(tray)
        icon = (tx + 12, ty + th - 14)
        self.click_title_button(main, 1465, 24)
        harness.wait_for("the window minimised", lambda: main_window()["iconic"] == 1)
        for expected in (0, 1):
            subprocess.run(["xdotool", "windowraise", str(tray)], check=True, timeout=10)
            harness.click(*icon)
            harness.wait_for("the tray click to toggle", lambda: shown() == bool(expected))
        self.assertEqual(main_window()["iconic"], 1, "shown again, still minimised")
        harness.click(*icon, button=3)
        harness.wait_for("the program menu", lambda: [w for w in harness.list_windows() if w["class"] == "#32768"])
        harness.press_key("Escape")

    def test_a_page_asking_for_a_new_window_goes_to_the_default_browser(self):
        portal = self.site.url("gamespace", "/kavorn/news.html")
        self.site.answer("gamespace", "/play/one.html",
                         page("第一服", "<script>window.open('%s')</script><p>码头</p>" % portal))
        harness.clear_browser_log()
        self.start()
        harness.wait_for("the default browser", lambda: portal in harness.browser_log())
        self.assertEqual(pages(), 1)

    def test_the_exit_question_keeps_everything_unless_confirmed(self):
        main = self.start()
        self.login_to("/play/two.html")
        self.assertEqual(dde(self.site.url("gamespace", "/play/two.html")), 0)
        harness.wait_for("two tabs", lambda: len(page_texts()) == 2)
        for declined_by in ("否", "close"):
            box = self.ask_to_close(main)
            self.assertEqual((box["w"], box["h"]), (242, 140))
            self.answer(box, declined_by)
            harness.wait_for("the question to go", lambda: not exit_boxes())
            self.assertTrue(self.client.running())
            self.assertEqual(sorted(page_texts()), ["第一服", "第二服"])

        # The system's close command asks, and asks again when declined.
        harness.wine(os.path.join(harness.TOOLS, "wintool.exe"), "sysclose", CAPTION, check=True)
        asked = []
        for _ in range(2):
            box = harness.wait_for("the exit question", lambda: [b for b in exit_boxes() if b["hwnd"] not in asked], 15)[0]
            asked.append(box["hwnd"])
            self.answer(box, "否")
            # The second question follows the first at once.
            harness.wait_for("the question to go", lambda: box["hwnd"] not in [b["hwnd"] for b in exit_boxes()])
        time.sleep(1)
        self.assertFalse(exit_boxes())
        self.assertTrue(self.client.running())

        self.answer(self.ask_to_close(main), "是")
        self.assertEqual(self.client.wait_exit(20), 0)

    def test_a_log_off_asks_the_exit_question_and_ends_the_client_in_order_only_when_confirmed(self):
        main = self.start(fresh_tray=True)
        tray = harness.xdotool_search("Wine System Tray")[0]
        self.assertTrue(tray_icon_shown(tray))
        self.assertEqual(dde(self.site.url("gamespace", "/play/two.html")), 0)
        harness.wait_for("two tabs", lambda: len(page_texts()) == 2)
        system, out = self.log_off()
        box = harness.wait_for("the exit question", lambda: exit_boxes() and exit_boxes()[0], 15)
        self.assertEqual((box["w"], box["h"]), (242, 140))
        self.answer(box, "否")
        self.assertEqual(self.session_answer(system, out), ["answer=0", "ended"], "the session may not end")
        self.assertFalse(exit_boxes())
        self.assertTrue(self.client.running())
        self.assertEqual(sorted(page_texts()), ["第一服", "第二服"])
        self.assertEqual(main_window()["visible"], 1)

        system, out = self.log_off()
        self.answer(harness.wait_for("the exit question", lambda: exit_boxes() and exit_boxes()[0], 15), "是")
        self.assertEqual(self.session_answer(system, out), ["answer=1", "ended"])
        self.assertEqual(self.client.wait_exit(20), 0, "the client ends by itself")
        self.assertIn("session end: the game window has unloaded", self.client.log(), "its unload steps ran")
        harness.wait_for("the tray icon to go", lambda: not tray_icon_shown(tray), 10)

    def test_reopened_from_the_game_window_the_login_screen_closes_alone_on_exitgame(self):
        main = self.start()
        self.site.answer("login", LOGIN_PATH, page("登录", head=refresh_to("app://exitgame", delay=1)))
        harness.click(main["x"] + main["w"] - round(4850 / 15) + 40, main["y"] + 11)
        harness.wait_for("the login screen again", lambda: (harness.window_facts("Belvoy客户端") or {}).get("visible") == 1)
        harness.wait_for("the login screen to close", lambda: harness.window_facts("Belvoy客户端") is None, 20)
        self.assertFalse([w for w in harness.list_windows() if w["title"] == CAPTION and w["layered"] == 1],
                         "the backdrop went with it")
        self.assertTrue(self.client.running())
        self.assertEqual(main_window()["visible"], 1)
        self.assertEqual(page_texts(), ["第一服"])

    def test_without_a_sound_device_the_boss_key_still_hides_the_window_and_the_log_says_so(self):
        silent = os.path.join(os.environ.get("VELMORA_WINE_ROOT", "/tmp"), "no-sound.conf")
        open(silent, "w").close()  # ALSA with no device at all
        main = self.start(fresh_tray=True, env={"ALSA_CONFIG_PATH": silent})
        harness.click(main["x"] + 400, main["y"] + 400)  # a client window has the focus
        harness.press_key("F10")
        harness.wait_for("F10 to hide the window", lambda: shown() is False)
        harness.wait_for("the log to say so", lambda: NOT_SILENCED in self.client.log(), 10)
        # Shown again from the tray: with the window hidden no client window
        # has the X focus, which a second F10 would need under Wine.
        tray = harness.xdotool_search("Wine System Tray")[0]
        subprocess.run(["xdotool", "windowraise", str(tray)], check=True, timeout=10)
        tx, ty, tw, th = harness.x_geometry(tray)
        harness.click(tx + 12, ty + th - 14)
        harness.wait_for("the tray click to show the window", lambda: shown() is True)
        self.assertTrue(self.client.running())


if __name__ == "__main__":
    unittest.main()
