"""The harness itself, end to end: the client starts under Wine, its first
window is found by title from both the window system and X, the screen shows
it, and it ends cleanly when asked to close."""
import unittest

import harness
from operator_site import OperatorSite


class HarnessTest(unittest.TestCase):
    def setUp(self):
        # The login page takes its time, so the splash stays up.
        self.site = OperatorSite().start()
        self.addCleanup(self.site.stop)
        self.site.answer("login", "/vorn/index.php", "<html><body>login</body></html>", delay=60)

    def test_first_window_found_screenshot_and_clean_end(self):
        with harness.Client() as client:
            facts = harness.visible_window("Velmora")
            self.assertEqual((facts["w"], facts["h"]), (356, 122))
            xids = harness.wait_for("the splash as an X window", lambda: harness.xdotool_search("^Velmora$"))
            x, y, w, h = harness.x_geometry(xids[0])
            self.assertEqual((x, y, w, h), (facts["x"], facts["y"], 356, 122))
            shot = harness.screenshot((x, y, w, h))
            # The splash is not an empty rectangle: its centre shows the picture.
            colours = {shot.getpixel((px, 61)) for px in range(100, 260, 8)}
            self.assertGreater(len(colours), 1, "the splash shows no picture")
            # The splash, then the login screen loaded behind it: the last window gone ends the client.
            client.close_window("Velmora")
            self.assertTrue(client.running())
            client.close_window("Velmora客户端")
            self.assertEqual(client.wait_exit(20), 0)


if __name__ == "__main__":
    unittest.main()
