"""The page view players get: the client hosts the browser control registered
under the system's class, here the tests' stand-in (tests/testbrowser), whose
log of every call and event shows what the client did with it."""
import json
import os
import re
import time
import unittest

import harness
from test_login import LOGIN_PATH, NO_NETWORK_TEXT, backdrop, login_window, page, refresh_to
from test_mainwindow import MainWindowCase, exit_boxes, page_texts

VK_TAB, VK_F5, VK_V = 0x09, 0x74, 0x56
WM_KEYDOWN = 0x100


class ControlLog:
    """The stand-in's log of one client run: one JSON object a line."""

    def __init__(self):
        self.path = os.path.join(os.environ.get("VELMORA_WINE_ROOT", "/tmp"), "control-%d.log" % time.monotonic_ns())
        self.env = {"VELMORA_TEST_BROWSER_LOG": harness.wine_path(self.path)}

    def lines(self):
        if not os.path.exists(self.path):
            return []
        with open(self.path, encoding="utf-8") as f:
            return [json.loads(line) for line in f if line.strip()]

    def events(self, name):
        return [line for line in self.lines() if line.get("event") == name]

    def calls(self, name):
        return [line for line in self.lines() if line.get("call") == name]

    def keys(self, vk):
        return [c for c in self.calls("TranslateAccelerator") if c["message"] == WM_KEYDOWN and c["wParam"] == vk]


class PageViewLoginTest(unittest.TestCase):
    def setUp(self):
        from operator_site import OperatorSite
        self.site = OperatorSite().start()
        self.addCleanup(self.site.stop)
        self.control = ControlLog()

    def start(self, login_page, env=None, **answer):
        self.site.answer("login", LOGIN_PATH, login_page, **answer)
        client = harness.Client(env=dict(self.control.env, **(env or {})))
        self.addCleanup(client.stop)
        return client

    def login_screen(self):
        return harness.wait_for("the login screen", lambda: (backdrop() or {}).get("visible") == 1 and
                                (login_window() or {}).get("visible") == 1)

    def test_the_login_screen_appears_on_the_top_document_after_its_frames(self):
        self.site.answer("login", "/vorn/fast.html", page("快", "<p>一</p>"))
        self.site.answer("login", "/vorn/slow.html", page("慢", "<p>二</p>"), delay=3)
        self.start(page("登录", '<iframe src="fast.html"></iframe><iframe src="slow.html"></iframe>'))
        harness.wait_for("the first frame's DocumentComplete",
                         lambda: any(e["url"].endswith("/fast.html") for e in self.control.events("DocumentComplete")))
        self.assertFalse((backdrop() or {}).get("visible"), "a frame shows nothing")
        self.login_screen()
        done = self.control.events("DocumentComplete")
        self.assertEqual([e["top"] for e in done], [False, False, True])
        self.assertTrue(done[-1]["url"].endswith(LOGIN_PATH))
        # Silent is set as each download begins and each document completes.
        lines = self.control.lines()
        for i, line in enumerate(lines):
            if line.get("event") in ("DownloadBegin", "DocumentComplete"):
                inside = [x for x in lines[i + 1:] if x["depth"] >= line["depth"]]
                self.assertIn("put_Silent", [x.get("call") for x in inside[:3]], line)

    def test_an_empty_answer_is_an_empty_page_the_parser_filled_in(self):
        client = self.start("")
        harness.visible_window("提示", 20)
        self.assertIn(NO_NETWORK_TEXT, harness.window_texts("提示"))
        harness.press_key("Return")
        self.assertEqual(client.wait_exit(20), 0)
        self.assertTrue(self.control.events("DocumentComplete"), "the page completed")

    def test_keys_reach_the_login_page_and_f5_reloads_it(self):
        self.start(page("登录", '<p><a href="a.html">一</a> <a href="b.html">二</a></p>'))
        self.login_screen()
        bg = backdrop()
        harness.click(bg["x"] + 399 + 300, bg["y"] + 119 + 300)
        for key, vk in (("Tab", VK_TAB), ("ctrl+v", VK_V), ("F5", VK_F5)):
            harness.press_key(key)
            harness.wait_for("%s at the control" % key, lambda: self.control.keys(vk))
        harness.wait_for("the page loaded again", lambda: len(
            [p for h, p in self.site.requests if h == "login" and p == LOGIN_PATH]) == 2)
        self.assertEqual([c["result"] for c in self.control.keys(VK_F5)], [0], "the control took F5")

    def released_after_the_event(self, command):
        self.start(page("登录", head=refresh_to(command)))
        harness.wait_for("the control closed", lambda: self.control.calls("Close"), 20)
        lines = self.control.lines()
        closing = [i for i, x in enumerate(lines) if x.get("call") in ("Close", "SetClientSite") and
                   (x.get("call") == "Close" or x.get("site") is None)]
        self.assertTrue(closing)
        for i in closing:
            self.assertEqual(lines[i]["depth"], 0, lines[i])
        released = max(i for i, x in enumerate(lines) if x.get("call") == "SetClientSite" and x.get("site") is None)
        control = lines[released]["control"]
        after = [x for x in lines[released + 1:] if x["control"] == control and next(iter(x)) in ("raise", "event", "site")]
        self.assertEqual(after, [], "nothing reaches the host once it let go")
        answered = [e for e in self.control.events("BeforeNavigate2") if e["url"].startswith("app://")]
        self.assertEqual([e.get("cancel") for e in answered], [True])

    def test_exitgame_releases_the_control_once_its_event_has_returned(self):
        self.released_after_the_event("app://exitgame")

    def test_loadgame_releases_the_control_once_its_event_has_returned(self):
        self.site.answer("gamespace", "/play/one.html", page("第一服"))
        self.released_after_the_event("app://loadgame|%s" % self.site.url("gamespace", "/play/one.html"))


class PageViewGameTest(MainWindowCase):
    def setUp(self):
        super().setUp()
        self.control = ControlLog()

    def start(self, path="/play/one.html", env=None, **kwargs):
        return super().start(path, env=dict(self.control.env, **(env or {})), **kwargs)

    def test_a_tab_follows_the_title_hides_scroll_bars_and_shows_no_menu(self):
        self.site.answer("gamespace", "/play/one.html", page("第一服", "<p>码头</p>" * 200 +
                                                             '<iframe src="frame.html"></iframe>'))
        self.site.answer("gamespace", "/play/frame.html", page("框", "<p>框</p>"))
        main = self.start()
        self.assertEqual(page_texts(), ["第一服"])
        titles = [e.get("title") for e in self.control.events("TitleChange")]
        self.assertIn("第一服", titles)
        harness.wait_for("the top document", lambda: any(e["top"] for e in self.control.events("DocumentComplete")
                                                          if e["url"].endswith("/one.html")))
        hidden = [c for c in self.control.calls("setAttribute") if c.get("name") == "overflow" and
                  c.get("value") == "hidden"]
        game = [e for e in self.control.events("DocumentComplete") if "/play/" in e["url"]]
        self.assertGreaterEqual(len(hidden), len(game), "every completed frame hides the scroll bars")
        harness.click(main["x"] + 300, main["y"] + 300, button=3)
        time.sleep(1.5)
        self.assertEqual([w for w in harness.list_windows() if w["class"] == "#32768" and w["visible"] == 1], [])

    def new_windows_reach_the_shell_once(self, env=None):
        news = self.site.url("gamespace", "/kavorn/news.html")
        link = self.site.url("gamespace", "/kavorn/link.html")
        self.site.answer("gamespace", "/play/one.html", page("第一服", "<script>window.open('%s')</script>"
                                                             '<p><a href="%s" target="_blank">新闻</a></p>' % (news, link)))
        harness.clear_browser_log()
        main = self.start(env=env)
        harness.wait_for("the script's window", lambda: news in harness.browser_log())
        # The player reaches the link with the keyboard: Tab to it, Enter.
        harness.click(main["x"] + 400, main["y"] + 400)
        harness.press_key("Tab")
        harness.press_key("Return")
        harness.wait_for("the link's window", lambda: link in harness.browser_log())
        time.sleep(1)
        self.assertEqual(sorted(harness.browser_log()), sorted([news, link]))
        self.assertEqual(self.control.events("OwnWindow"), [], "the control opened no window of its own")

    def test_new_windows_go_to_the_shell_once(self):
        self.new_windows_reach_the_shell_once()

    def test_new_windows_go_to_the_shell_without_the_first_generation_events(self):
        self.new_windows_reach_the_shell_once({"VELMORA_TEST_BROWSER_REFUSE": "DWebBrowserEvents"})

    def test_new_windows_go_to_the_shell_from_an_older_control(self):
        self.new_windows_reach_the_shell_once({"VELMORA_TEST_BROWSER_REFUSE": "NewWindow3"})

    def test_keys_reach_the_game_page_but_not_past_the_exit_question(self):
        main = self.start()
        harness.click(main["x"] + 400, main["y"] + 400)
        for key, vk in (("Tab", VK_TAB), ("ctrl+v", VK_V), ("F5", VK_F5)):
            harness.press_key(key)
            harness.wait_for("%s at the control" % key, lambda: self.control.keys(vk))
        harness.wait_for("the page loaded again", lambda: len(self.game_requests("/play/one.html")) == 2)
        box = self.ask_to_close(main)
        before = len(self.control.calls("TranslateAccelerator"))
        harness.press_key("F5")
        time.sleep(1)
        self.assertEqual(len(self.control.calls("TranslateAccelerator")), before, "the question has the keys")
        self.answer(box, "否")
        harness.wait_for("the question gone", lambda: not exit_boxes())
        self.assertEqual(len(self.game_requests("/play/one.html")), 2)

    def test_keys_reach_the_page_while_the_menu_waits_for_the_update_host(self):
        # The menu's update check lets messages run while the manifest comes in.
        with open(os.path.join(harness.TOP, "CMakeLists.txt"), encoding="utf-8") as f:
            version = re.search(r"project\(Velmora VERSION ([0-9.]+)", f.read()).group(1)
        main = self.start()
        asked = lambda: len([p for h, p in self.site.requests if h == "update"])
        before = asked()
        self.site.answer("update", "/gamehome/vorn/update.txt", "version=%s\r\n" % version + " " * 60, drip=0.2)
        harness.click(main["x"] + main["w"] - round(1825 / 15) + 12, main["y"] + 10)
        harness.wait_for("the program menu", lambda: [w for w in harness.list_windows() if w["class"] == "#32768"])
        for _ in range(4):  # 刷新, 隐藏/恢复, 清除缓存, (the separator is skipped) 更新
            harness.press_key("Down")
        harness.press_key("Return")
        harness.wait_for("the manifest on its way", lambda: asked() > before)
        harness.click(main["x"] + 400, main["y"] + 400)
        harness.press_key("F5")
        harness.wait_for("F5 at the control", lambda: self.control.keys(VK_F5))
        harness.wait_for("the page loaded again", lambda: len(self.game_requests("/play/one.html")) == 2)
        harness.visible_window("提示", 30)
        harness.press_key("Return")


if __name__ == "__main__":
    unittest.main()
