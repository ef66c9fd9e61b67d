"""The login screen, driven by the login page the test operator site serves:
it appears once the page has completed, follows the page's "app://" commands,
ends the client on an empty page, and drags as one."""
import os
import time
import unittest

import harness
from operator_site import OperatorSite

CAPTION = "Velmora客户端"
LOGIN_PATH = "/vorn/index.php"
NO_NETWORK_TEXT = "未能连接到服务器，请检查网络连接是否正常！"
# What the test build's page engine shows, and says in the client's log, for a
# navigation it cannot complete (the system control shows an error page).
ERROR_PAGE_TITLE = "无法显示此页"
FAILED_NAVIGATION = "page view: cannot show"
ICON_FILE = os.path.join(harness.TOP, "resources", "art", "velmora.ico")


def page(title, body="<p>账号 密码</p>", head=""):
    return "<html><head><title>%s</title>%s</head><body>%s</body></html>" % (title, head, body)


def refresh_to(url, delay=0):
    return '<meta http-equiv="refresh" content="%d;url=%s">' % (delay, url)


def windows_titled(title):
    return [w for w in harness.list_windows() if w["title"] == title]


def backdrop():
    found = [w for w in windows_titled(CAPTION) if w["layered"] == 1]
    return found[0] if found else None


def login_window():
    return harness.window_facts("Belvoy客户端")


def main_window():
    found = [w for w in windows_titled(CAPTION) if w["layered"] == 0]
    return found[0] if found else None


class LoginTest(unittest.TestCase):
    def setUp(self):
        self.site = OperatorSite().start()
        self.addCleanup(self.site.stop)

    def start(self, login_page, **answer):
        self.site.answer("login", LOGIN_PATH, login_page, **answer)
        client = harness.Client()
        self.addCleanup(client.stop)
        return client

    def assertNoFailedNavigation(self, client):
        self.assertNotIn(FAILED_NAVIGATION, client.log())

    def wait_notice_then_end(self, client, timeout=20):
        harness.visible_window("提示", timeout)
        self.assertIn(NO_NETWORK_TEXT, harness.window_texts("提示"))
        harness.press_key("Return")
        self.assertEqual(client.wait_exit(20), 0)

    def wait_login_screen(self):
        shown = harness.wait_for("the login screen", lambda: (backdrop() or {}).get("visible") == 1 and
                                 (backdrop() or {}).get("iconic") == 0 and
                                 (login_window() or {}).get("visible") == 1)
        self.assertTrue(shown)
        return backdrop(), login_window()

    def test_splash_first_then_backdrop_and_login_window(self):
        self.start(page("登录"), delay=2.5)
        harness.visible_window("Velmora")
        self.assertFalse((backdrop() or {}).get("visible"), "the backdrop waits for the page")
        bg, login = self.wait_login_screen()
        self.assertEqual((bg["w"], bg["h"]), (1237, 696))
        self.assertEqual(bg["taskbar"], 1, "the backdrop is the one on the taskbar")
        self.assertEqual(login["taskbar"], 0)
        self.assertEqual((login["x"], login["y"]), (bg["x"], bg["y"]))
        harness.wait_for("the splash to go", lambda: harness.window_facts("Velmora") is None)
        with open(os.path.join(harness.wine_temp_folder(), "vorn.ico"), "rb") as written, \
                open(ICON_FILE, "rb") as resource:
            self.assertEqual(written.read(), resource.read())

    def test_a_frame_completing_first_shows_nothing(self):
        self.site.answer("login", "/vorn/fast.html", page("fast frame"))
        self.site.answer("login", "/vorn/slow.html", page("slow frame"), delay=4)
        self.start(page("登录", '<iframe src="fast.html"></iframe><iframe src="slow.html"></iframe>'))
        harness.wait_for("the fast frame", lambda: self.site.requested("login", "/vorn/fast.html"))
        time.sleep(1.5)
        self.assertIsNotNone(harness.window_facts("Velmora"), "the splash stays while the page loads")
        self.assertFalse((backdrop() or {}).get("visible"))
        self.wait_login_screen()

    def test_a_completed_frame_tests_the_top_document_for_emptiness(self):
        # The top document's root is empty (its frames stand after </html>).
        # The fast frame's completion ends the client; the slow one would keep
        # the top document from completing for half a minute.
        self.site.answer("login", "/vorn/fast.html", page("fast frame"))
        self.site.answer("login", "/vorn/slow.html", page("slow frame"), delay=30)
        client = self.start('<html></html><iframe src="fast.html"></iframe><iframe src="slow.html"></iframe>')
        self.wait_notice_then_end(client, timeout=10)

    def test_minimize_then_restore_brings_both_back(self):
        client = self.start(page("登录", head=refresh_to("app://minimize")))
        bg = harness.wait_for("the login screen minimised", lambda: (lambda b: b if b and b["iconic"] else None)(backdrop()))
        self.assertTrue(client.running())
        # The command was not followed as an address: the login page still shows.
        time.sleep(0.5)
        self.assertIn("登录", harness.window_texts("Belvoy客户端"))
        self.assertNoFailedNavigation(client)
        # The owned login window goes with it: hidden (Windows), or at least
        # moved along with the backdrop's minimised stand-in (Wine unmanaged).
        login = login_window()
        self.assertTrue(login["visible"] == 0 or (login["x"], login["y"]) == (bg["x"], bg["y"]), login)
        harness.restore_window(CAPTION)
        restored, login = self.wait_login_screen()
        self.assertEqual(restored["iconic"], 0)
        self.assertEqual((restored["w"], restored["h"]), (1237, 696))
        self.assertEqual((login["x"], login["y"]), (restored["x"], restored["y"]))

    def test_exit_commands_end_the_client(self):
        for name, target in (("command", "app://exitgame"),
                             ("in a query", self.site.url("login", "/next.php?back=app://exitgame")),
                             ("both commands", "app://minimize?app://exitgame")):
            with self.subTest(name):
                client = self.start(page("登录", head=refresh_to(target)))
                self.assertEqual(client.wait_exit(30), 0)
                self.assertNoFailedNavigation(client)

    def test_capital_letters_are_no_command(self):
        client = self.start(page("登录", head=refresh_to("APP://EXITGAME", delay=1)))
        self.wait_login_screen()
        time.sleep(3)
        self.assertTrue(client.running())

    def test_a_log_off_with_only_the_login_screen_up_asks_nothing_and_ends_the_client(self):
        client = self.start(page("登录"))
        self.wait_login_screen()
        # The system's log-off: the backdrop (which carries the caption) is asked, then told.
        system = harness.wine(os.path.join(harness.TOOLS, "wintool.exe"), "endsession", CAPTION, check=True)
        self.assertEqual(system.stdout.decode().split(), ["answer=1", "ended"])
        self.assertEqual(client.wait_exit(20), 0)
        self.assertFalse([w for w in harness.list_windows() if w["title"] == "提示" or w["w"] == 242],
                         "no question was shown")

    def test_loadgame_hands_only_the_game_address_to_the_main_window(self):
        game = self.site.url("gamespace", "/play/one.html")
        self.site.answer("gamespace", "/play/one.html", page("第一服", "<p>码头</p>"))
        self.start(page("登录", head=refresh_to("app://loadgame|%s|x|y" % game, delay=1)))
        self.wait_login_screen()
        main = harness.wait_for("the main window", lambda: (main_window() or {}).get("visible") == 1 and main_window())
        self.assertEqual(main["taskbar"], 1)
        harness.wait_for("the game page", lambda: self.site.requested("gamespace", "/play/one.html"))
        harness.wait_for("the login screen to go", lambda: backdrop() is None and login_window() is None)
        game_requests = [p for h, p in self.site.requests if h == "gamespace"]
        self.assertEqual(game_requests, ["/play/one.html"])

    def test_loadgame_without_an_address_leaves_the_login_screen(self):
        client = self.start(page("登录", head=refresh_to("app://loadgame", delay=1)))
        self.wait_login_screen()
        time.sleep(3)
        self.assertTrue(client.running())
        self.assertEqual(backdrop()["visible"], 1)
        self.assertIsNone(main_window())

    def test_loadgame_of_a_file_or_a_share_opens_nothing(self):
        for address in ("file:///C:/windows/win.ini", r"\\127.0.0.1\share\game.html", "ftp://127.0.0.1/game"):
            with self.subTest(address):
                client = self.start(page("登录", head=refresh_to("app://loadgame|" + address, delay=1)))
                self.wait_login_screen()
                harness.wait_for("the refusal in the log", lambda: "login: a game address that is not a web page "
                                 "was refused: " + address in client.log())
                self.assertTrue(client.running())
                self.assertEqual(backdrop()["visible"], 1)
                self.assertIsNone(main_window())
                client.stop()
                harness.wait_for("the client to go", lambda: backdrop() is None)

    def test_the_login_pages_new_windows_reach_the_browser_only_rebuilt(self):
        news = self.site.url("gamespace", "/kavorn/news.html")
        harness.clear_browser_log()
        client = self.start(page("登录", "<script>window.open('file:///C:/windows/win.ini');"
                                        "window.open('%s?who=a b\\x22c')</script><p>账号</p>" % news))
        self.wait_login_screen()
        rebuilt = news + "?who=a%20b%22c"
        harness.wait_for("the default browser", lambda: rebuilt in harness.browser_log())
        self.assertEqual(harness.browser_log(), [rebuilt])
        self.assertIn("login: a new window for an address that is not a web page was refused: file:///C:/windows/win.ini",
                      client.log())

    def test_an_empty_login_page_ends_the_client(self):
        self.wait_notice_then_end(self.start(""))

    def test_an_unreachable_login_host_ends_the_client(self):
        # Nothing listens on the login host's port: the connection is refused.
        self.site.stop()
        self.site.start(without=("login",))
        client = harness.Client()
        self.addCleanup(client.stop)
        self.wait_notice_then_end(client)
        self.assertIsNone(backdrop())

    def test_the_login_page_shows_no_context_menu(self):
        client = self.start(page("登录"))
        bg, _ = self.wait_login_screen()
        harness.click(bg["x"] + 399 + 300, bg["y"] + 119 + 200, button=3)
        time.sleep(1.5)
        menus = [w for w in harness.list_windows() if w["class"] == "#32768" and w["visible"] == 1]
        self.assertEqual(menus, [])
        self.assertTrue(client.running())

    def test_two_clients_started_together_both_reach_the_login_screen(self):
        self.site.answer("login", LOGIN_PATH, page("登录"))
        # A temporary file that a killed run of an older client left beside the icon file.
        stale = os.path.join(harness.wine_temp_folder(), "vorn.ico.part")
        with open(stale, "wb") as f:
            f.write(b"stale")
        self.addCleanup(os.remove, stale)
        clients = [harness.Client(), harness.Client()]
        for client in clients:
            self.addCleanup(client.stop)
        harness.wait_for("two login screens", lambda: len([w for w in windows_titled(CAPTION)
                                                           if w["layered"] == 1 and w["visible"] == 1]) == 2, 30)
        self.assertTrue(all(client.running() for client in clients))
        self.assertEqual(harness.window_facts("提示"), None)
        leftovers = [n for n in os.listdir(harness.wine_temp_folder()) if n.startswith("vorn.ico.") and n != "vorn.ico.part"]
        self.assertEqual(leftovers, [])

    def test_the_picture_buttons_minimise_and_close(self):
        client = self.start(page("登录"))
        bg, _ = self.wait_login_screen()
        harness.click(bg["x"] + 1130 + 16, bg["y"] + 116 + 16)
        harness.wait_for("the login screen minimised", lambda: (backdrop() or {}).get("iconic") == 1)
        harness.restore_window(CAPTION)
        bg, _ = self.wait_login_screen()
        harness.click(bg["x"] + 1146 + 20, bg["y"] + 147 + 20)
        self.assertEqual(client.wait_exit(20), 0)

    def test_dragging_the_backdrop_moves_the_login_window_along(self):
        self.start(page("登录"))
        bg, _ = self.wait_login_screen()
        # A point on the backdrop's picture outside the page panel and the buttons.
        x, y = bg["x"] + 200, bg["y"] + 400
        harness.drag((x, y), (x + 60, y + 40))
        moved = harness.wait_for("the backdrop to move", lambda: (lambda b: b if b and b["x"] == bg["x"] + 60 else None)(backdrop()))
        self.assertEqual(moved["y"], bg["y"] + 40)
        login = login_window()
        self.assertEqual((login["x"], login["y"]), (moved["x"], moved["y"]))


if __name__ == "__main__":
    unittest.main()
