"""The test client on the fake WebView2 runtime (tests/webview2), registered in
the prefix as an installed runtime: the same login, game tabs, commands and
menu as on the system control; and, where the runtime is missing, broken, too
old or does not start, the system control's stand-in with the reason logged."""
import json
import os
import subprocess
import tempfile
import time
import unittest

import harness
import test_commands
from test_login import LOGIN_PATH, page, refresh_to
from test_mainwindow import MainWindowCase, main_window, page_texts

REGISTER = os.path.join(harness.TOP, "scripts", "register-test-webview2")
ARCH = os.environ.get("VELMORA_WINE_ARCH", "win32")
ENGINE_LINE = "page engine: WebView2 120.0.2210.91"


def register(*options):
    done = subprocess.run([REGISTER, ARCH] + list(options), capture_output=True, text=True, timeout=60)
    if done.returncode != 0:
        raise AssertionError("register-test-webview2 %s: %s" % (" ".join(options), done.stderr))


class WebView2Case(MainWindowCase):
    """A client whose first page view found the fake runtime."""

    open_menu = test_commands.CommandsTest.open_menu
    choose = test_commands.CommandsTest.choose

    def setUp(self):
        super().setUp()
        register()
        self.addCleanup(register, "--remove")
        log = tempfile.NamedTemporaryFile(prefix="webview2.", suffix=".log",
                                          dir=os.environ.get("VELMORA_WINE_ROOT", "/tmp"), delete=False)
        log.close()
        self.addCleanup(os.remove, log.name)
        self.fake_log_path = log.name
        self.env = {"VELMORA_TEST_WEBVIEW2_LOG": harness.wine_path(log.name)}

    def fake_log(self):
        with open(self.fake_log_path, encoding="utf-8", errors="replace") as f:
            return [json.loads(line) for line in f if line.strip()]

    def calls(self, name):
        return [e for e in self.fake_log() if e.get("call") == name]

    def assertEveryCommandCancelled(self):
        """Each app:// navigation the runtime offered the host was cancelled by it."""
        log = self.fake_log()
        offered = [e["uri"] for e in log if e.get("callback") == "NavigationStarting"
                   and str(e.get("uri")).startswith("app://")]
        cancelled = [e["uri"] for e in log if e.get("call") == "put_Cancel" and e.get("cancel") is True]
        self.assertTrue(offered, "no app:// navigation reached the host")
        self.assertEqual(sorted(offered), sorted(cancelled))


class WebView2Test(WebView2Case):
    def test_login_game_tab_new_window_menu_refresh_and_cache_clearing(self):
        portal = self.site.url("gamespace", "/kavorn/news.html")
        self.site.answer("gamespace", "/play/one.html",
                         page("第一服", "<script>window.open('%s')</script><p>码头</p>" % portal))
        harness.clear_browser_log()
        # The first two environments find the profile in use: the host tries again.
        main = self.start(env=dict(self.env, VELMORA_TEST_WEBVIEW2_ENVIRONMENT="0x8007139F:2"))
        self.assertIn(ENGINE_LINE, self.client.log())
        self.assertEqual(page_texts(), ["第一服"])
        self.assertEveryCommandCancelled()

        # The page's new window: its address goes to the shell, the runtime opens none.
        harness.wait_for("the default browser", lambda: portal in harness.browser_log())
        self.assertFalse([e for e in self.fake_log() if e.get("event") == "own_window"])
        self.assertTrue(self.calls("put_Handled"))

        # No context menu over the game page.
        harness.click(main["x"] + main["w"] // 2, main["y"] + main["h"] // 2, button=3)
        time.sleep(1)
        self.assertEqual([w for w in harness.list_windows() if w["class"] == "#32768" and w["visible"] == 1], [])

        self.choose(main, 0)  # 刷新(F5)
        harness.wait_for("the page again", lambda: len(self.game_requests("/play/one.html")) == 2)
        # F5 inside the page: the runtime's own reload.
        harness.click(main["x"] + main["w"] // 2, main["y"] + main["h"] // 2)
        harness.press_key("F5")
        harness.wait_for("the page once more", lambda: len(self.game_requests("/play/one.html")) == 3)

        # The profile the host gave the runtime: %LOCALAPPDATA%\Velmora\WebView2.
        folder = self.calls("CreateWebViewEnvironmentWithOptionsInternal")[0]["userDataFolder"]
        self.assertTrue(folder.endswith("\\Velmora\\WebView2"), folder)
        cache = os.path.join(harness.unix_path(folder), "EBWebView", "Default", "Cache")
        self.assertTrue(os.listdir(cache), "the fake keeps a file a page")
        self.choose(main, 2)  # 清除缓存
        harness.visible_window("缓存清理")
        self.assertTrue([e for e in self.calls("CallDevToolsProtocolMethod")
                         if e.get("methodName") == "Network.clearBrowserCache"])
        self.assertEqual(os.listdir(cache), [])
        harness.press_key("Return")
        self.assertIn(ENGINE_LINE, self.client.log())
        self.assertNotIn("did not clear its cache", self.client.log())

    def test_exitgame_from_the_login_page_ends_the_client(self):
        self.site.answer("login", LOGIN_PATH, page("登录", head=refresh_to("app://exitgame", delay=1)))
        self.client = harness.Client(env=self.env)
        self.addCleanup(self.client.stop)
        self.assertEqual(self.client.wait_exit(30), 0)
        self.assertIn(ENGINE_LINE, self.client.log())
        self.assertEveryCommandCancelled()


    def test_an_empty_login_page_tells_the_player_and_ends_the_client(self):
        self.site.answer("login", LOGIN_PATH, "<html></html>")
        self.client = harness.Client(env=self.env)
        self.addCleanup(self.client.stop)
        harness.visible_window("提示", 20)
        self.assertIn("未能连接到服务器，请检查网络连接是否正常！", harness.window_texts("提示"))
        harness.press_key("Return")
        self.assertEqual(self.client.wait_exit(20), 0)
        self.assertIn(ENGINE_LINE, self.client.log())
        self.assertTrue(self.calls("ExecuteScript"))


class FallbackTest(WebView2Case):
    def test_without_a_usable_runtime_the_system_control_shows_login_and_game(self):
        for name, options, env, reason in (
                ("no runtime", ["--remove"], {}, "no WebView2 runtime"),
                ("no DLL", ["--no-dll"], {}, "the WebView2 runtime has no EmbeddedBrowserWebView.dll"),
                ("too old", ["--version", "80.0.1.2"], {}, "the WebView2 runtime 80.0.1.2 is older than 86.0.616.0"),
                ("no environment", [], {"VELMORA_TEST_WEBVIEW2_ENVIRONMENT": "0x80004005"},
                 "the WebView2 environment did not start: 0x80004005")):
            with self.subTest(name):
                register("--remove")
                if options != ["--remove"]:
                    register(*options)
                self.start(env=dict(self.env, **env))
                self.assertIn("page engine: the system control (%s)" % reason, self.client.log())
                self.assertEqual(page_texts(), ["第一服"])
                self.client.stop()
                harness.wait_for("the main window to go", lambda: main_window() is None, 20)


if __name__ == "__main__":
    unittest.main()
