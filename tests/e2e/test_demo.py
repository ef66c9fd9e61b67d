"""The demo operator site works with the client: its entry page sends the
client into its first game page, and its manifest names the client's version."""
import os
import re
import unittest

import harness
from operator_site import OperatorSite
from test_login import main_window, page, refresh_to

DEMO = os.path.join(harness.TOP, "demo")


class DemoSiteTest(unittest.TestCase):
    def test_manifest_names_the_clients_version(self):
        with open(os.path.join(harness.TOP, "CMakeLists.txt"), encoding="utf-8") as f:
            version = re.search(r"project\(Velmora VERSION ([0-9.]+)", f.read()).group(1)
        with open(os.path.join(DEMO, "update", "gamehome", "vorn", "update.txt"), "rb") as f:
            self.assertEqual(f.read(), b"version=" + version.encode() + b"\r\n")

    def test_entering_the_game_from_the_demo_login(self):
        with OperatorSite(root=DEMO) as site:
            # The player's click on the demo's login link, as a navigation the page makes itself.
            site.answer("login", "/vorn/index.php", page("登录", head=refresh_to("enter.html", delay=1)))
            with harness.Client() as client:
                harness.wait_for("the demo's entry page", lambda: site.requested("login", "/vorn/enter.html"))
                main = harness.wait_for("the main window", lambda: (main_window() or {}).get("visible") == 1)
                self.assertTrue(main)
                harness.wait_for("the first game page", lambda: site.requested("gamespace", "/play/one.html"))
                self.assertTrue(client.running())


if __name__ == "__main__":
    unittest.main()
