"""An outside program's DDE commands against the boss key and against
anything but a web page: a game hidden by F10 stays hidden while the tab
opens in it, and files, shares and scripts open nothing."""
import time
import unittest

import harness
from test_mainwindow import dde, pages, shown
from test_nested_loops import NestedLoopCase

REFUSED = "DDE: an address that is not a web page was refused"


class DdeTest(NestedLoopCase):
    def test_a_game_hidden_by_f10_stays_hidden_and_gets_the_tab_and_no_file_share_or_script_opens(self):
        main = self.start_game()
        harness.click(main["x"] + 400, main["y"] + 400)  # a client window has the focus
        harness.press_key("F10")
        harness.wait_for("F10 to hide the game", lambda: shown() is False)
        self.assertEqual(dde(self.site.url("gamespace", "/play/three.html")), 0)
        harness.wait_for("the new page's request", lambda: self.game_requests("/play/three.html"), 15)
        time.sleep(1)
        self.assertIs(shown(), False, "the boss key's hide holds")
        self.assertEqual(pages(), 2)
        # Any window of the client takes the key while the game is hidden.
        harness.press_key("F10")
        harness.wait_for("F10 to bring the game back", lambda: shown() is True)
        self.assertEqual(pages(), 2, "the tab is there")

        for address in ("file:///c:/windows/win.ini", "\\\\127.0.0.1\\share\\page.html", "javascript:alert(1)",
                        "ftp://127.0.0.1/x"):
            self.assertEqual(dde(address), 3, address)
        time.sleep(1)
        self.assertEqual(pages(), 2)
        self.assertEqual(self.client.log().count(REFUSED), 4)
        self.assertTrue(self.client.running())


if __name__ == "__main__":
    unittest.main()
