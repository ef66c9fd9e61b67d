"""Start-up as the player sees it: the splash, the "/web" switch, and a machine
with no network connection."""
import os
import unittest

from PIL import Image

import harness
from operator_site import OperatorSite

SPLASH_PNG = os.path.join(harness.TOP, "resources", "art", "splash.png")
NO_NETWORK_TEXT = "未能连接到服务器，请检查网络连接是否正常！"


class SlowLoginPage:
    """The login page takes its time, so the splash stays up."""

    def setUp(self):
        self.site = OperatorSite().start()
        self.addCleanup(self.site.stop)
        self.site.answer("login", "/vorn/index.php", "<html><body>login</body></html>", delay=60)


class SplashTest(SlowLoginPage, unittest.TestCase):
    def test_splash_is_the_picture_centred_without_a_taskbar_button(self):
        with harness.Client() as client:
            facts = harness.visible_window("Velmora")
            width, height = harness.screen_size()
            self.assertEqual((facts["w"], facts["h"]), (356, 122))
            self.assertEqual((facts["x"], facts["y"]), ((width - 356) // 2, (height - 122) // 2))
            self.assertEqual(facts["taskbar"], 0, "the splash must have no taskbar button")
            self.assertEqual(facts["layered"], 1)
            self.assertEqual([w["title"] for w in harness.list_windows() if w["visible"]], ["Velmora"],
                             "the splash is the only window on the screen")
            client.stop()

    def test_transparent_pixels_show_what_lies_behind(self):
        picture = Image.open(SPLASH_PNG).convert("RGBA")
        behind = (23, 201, 87)
        with harness.Client():
            facts = harness.visible_window("Velmora")
            harness.set_root_colour(behind)
            box = (facts["x"], facts["y"], 356, 122)
            shot = harness.wait_for("the root colour behind the splash",
                                    lambda: (lambda s: s if s.getpixel((0, 0)) == behind else None)(
                                        harness.screenshot(box)))
            clear = opaque = 0
            for y in range(0, 122, 3):
                for x in range(0, 356, 3):
                    r, g, b, a = picture.getpixel((x, y))
                    if a == 0:
                        self.assertEqual(shot.getpixel((x, y)), behind, "at %d,%d" % (x, y))
                        clear += 1
                    elif a == 255:
                        self.assertEqual(shot.getpixel((x, y)), (r, g, b), "at %d,%d" % (x, y))
                        opaque += 1
            self.assertGreater(clear, 50)
            self.assertGreater(opaque, 1000)


class WebSwitchTest(SlowLoginPage, unittest.TestCase):
    def setUp(self):
        super().setUp()
        harness.clear_browser_log()

    def test_web_opens_the_home_page_and_ends_without_a_window(self):
        home = harness.read_hosts()["home"] + "/"
        with harness.Client("/web") as client:
            self.assertEqual(client.wait_exit(30), 0)
            self.assertIsNone(harness.window_facts("Velmora"))
            self.assertEqual(harness.wait_for("the home page in the browser", harness.browser_log), [home])
            self.assertFalse(self.site.requested("login", "/vorn/index.php"), "no login page after /web")

    def test_other_arguments_start_normally(self):
        for argument in ("/WEB", "/web2", "x"):
            with self.subTest(argument=argument), harness.Client(argument) as client:
                harness.visible_window("Velmora")
                self.assertTrue(client.running())
                client.close_window("Velmora")
                client.close_window("Velmora客户端")
                self.assertEqual(client.wait_exit(20), 0)
        self.assertEqual(harness.browser_log(), [])


class NoNetworkTest(unittest.TestCase):
    def test_only_the_message_box_then_the_client_ends(self):
        if os.geteuid() != 0:
            self.skipTest("a network namespace needs root")
        with harness.Client(no_network=True) as client:
            box = harness.visible_window("提示")
            self.assertIn(NO_NETWORK_TEXT, harness.window_texts("提示"))
            self.assertIsNone(harness.window_facts("Velmora"), "no client window before the box is answered")
            harness.press_key("Return")
            self.assertEqual(client.wait_exit(20), 0)
            self.assertIsNone(harness.window_facts("提示"))
            del box


if __name__ == "__main__":
    unittest.main()
