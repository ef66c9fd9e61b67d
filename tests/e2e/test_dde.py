"""An outside program's DDE commands against the boss key and against
anything but a web page: a game hidden by F10 stays hidden while the tab
opens in it, files, shares and scripts open nothing, and a flood of
addresses opens no more than the tab limit and costs nothing past it."""
import os
import time
import unittest

import harness
from test_mainwindow import CAPTION, dde, pages, shown
from test_nested_loops import NestedLoopCase

REFUSED = "DDE: an address that is not a web page was refused"
FULL = "DDE: 64 tabs are open, no more is opened"


def burst(text, count):
    """`count` executes of `text` + 0, 1, ... in one conversation: (processed, refused), or None
    when one went unanswered."""
    r = harness.wine(os.path.join(harness.TOOLS, "ddesend.exe"), "Velmora", "OrvaneDDE", text, str(count),
                     timeout=300)
    out = r.stdout.decode()
    if r.returncode != 0 or "processed=" not in out:
        return None
    fields = dict(f.split("=") for f in out.split())
    return int(fields["processed"]), int(fields["refused"])


def client_private_bytes():
    """The client's anonymous resident memory, from the Linux process Wine runs it in (Wine
    answers no process counts from outside: GetGuiResources and private bytes are 0)."""
    sizes = []
    for pid in filter(str.isdigit, os.listdir("/proc")):
        try:
            with open("/proc/%s/cmdline" % pid, "rb") as f:
                if b"Velmora.exe" not in f.read():
                    continue
            with open("/proc/%s/status" % pid) as f:
                sizes += [int(line.split()[1]) * 1024 for line in f if line.startswith("RssAnon:")]
        except OSError:
            pass
    return max(sizes)


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

    def test_a_burst_of_500_addresses_opens_64_tabs_and_what_comes_past_the_limit_costs_nothing(self):
        self.start_game()
        address = self.site.url("gamespace", "/play/three.html?n=")
        self.assertEqual(burst(address, 500), (63, 437), "every execute answered, 64 tabs in all")
        self.assertEqual(pages(), 64)
        time.sleep(3)  # the pages load
        windows, memory = len(harness.window_texts(CAPTION)), client_private_bytes()
        self.assertEqual(burst(self.site.url("gamespace", "/play/two.html?m="), 500), (0, 500))
        time.sleep(3)
        self.assertEqual(len(harness.window_texts(CAPTION)), windows, "no window made or left behind")
        self.assertLess(client_private_bytes() - memory, 4 << 20)
        self.assertEqual(self.client.log().count(FULL), 937)
        self.assertEqual(dde(address + "5"), 0, "an open tab is still selected")
        self.assertTrue(self.client.running())


if __name__ == "__main__":
    unittest.main()
