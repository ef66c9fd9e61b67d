"""Closing the game while a nested loop runs inside one of its handlers: the
program menu's update check waiting for a stalling update host, or showing
its answer. The client ends cleanly (exit code 0, no crash), and the answer's
box belongs to the game window."""
import os
import re
import subprocess
import time
import unittest

import harness
from test_mainwindow import MainWindowCase, exit_boxes, main_window
from test_update import signed_manifest

MANIFEST_PATH = "/gamehome/vorn/update.txt"
UP_TO_DATE = "当前版本已是最新，无需更新！"
MENU_UPDATE = 4  # 刷新, 隐藏/恢复, 清除缓存, (the separator is skipped) 更新
MENU_EXIT = 6


class NestedLoopCase(MainWindowCase):
    def setUp(self):
        super().setUp()
        with open(os.path.join(harness.TOP, "CMakeLists.txt"), encoding="utf-8") as f:
            self.version = re.search(r"project\(Velmora VERSION ([0-9.]+)", f.read()).group(1)
        self.offer()

    def offer(self, **kwargs):
        """The client's own version, signed: nothing to update."""
        if not hasattr(self, "manifest"):
            self.manifest = signed_manifest(self.site, b"MZ this client", self.version)
        self.site.answer("update", MANIFEST_PATH, self.manifest, content_type="text/plain", **kwargs)

    def start_game(self, fresh_tray=False):
        """Up to the game window only: what its page shows does not matter here."""
        if fresh_tray:
            harness.restart_wine_server()
        self.login_to("/play/one.html")
        self.client = harness.Client()
        self.addCleanup(self.client.stop)
        return harness.wait_for("the main window", lambda: (main_window() or {}).get("visible") == 1 and main_window(),
                                30)

    def choose_from_title_menu(self, main, item):
        self.click_title_button(main, 1825, 24)
        harness.wait_for("the program menu", lambda: [w for w in harness.list_windows() if w["class"] == "#32768"])
        for _ in range(item):
            harness.press_key("Down")
        harness.press_key("Return")

    def choose_from_tray_menu(self, item):
        tray = harness.xdotool_search("Wine System Tray")[0]
        subprocess.run(["xdotool", "windowraise", str(tray)], check=True, timeout=10)
        tx, ty, tw, th = harness.x_geometry(tray)
        harness.click(tx + 12, ty + th - 14, button=3)
        harness.wait_for("the tray's menu", lambda: [w for w in harness.list_windows() if w["class"] == "#32768"])
        for _ in range(item):
            harness.press_key("Down")
        harness.press_key("Return")

    def manifest_requests(self):
        return [p for h, p in self.site.requests if h == "update" and p == MANIFEST_PATH]

    def confirm_exit_and_expect_a_clean_end(self):
        box = harness.wait_for("the exit question", lambda: exit_boxes() and exit_boxes()[0], 15)
        self.answer(box, "是")
        # Well before the stalled transfer would give up (30 s).
        self.assertEqual(self.client.wait_exit(12), 0)
        log = self.client.log()
        self.assertNotIn("Unhandled", log)
        self.assertNotIn("page fault", log)


class NestedLoopTest(NestedLoopCase):
    def stall_the_menus_check(self, main):
        self.offer(delay=60)  # the answer's headers, then nothing for a minute
        before = len(self.manifest_requests())
        self.choose_from_title_menu(main, MENU_UPDATE)
        harness.wait_for("the menu's manifest request", lambda: len(self.manifest_requests()) > before, 15)
        time.sleep(1)

    def test_closed_by_its_close_button_while_the_menus_update_check_waits_the_game_ends_cleanly(self):
        main = self.start_game()
        self.stall_the_menus_check(main)
        self.ask_to_close(main)
        self.confirm_exit_and_expect_a_clean_end()

    @unittest.skip("in some runs (2 of 10) the tray's right click brings the game window up over the tray and no "
                   "menu stays open while the check waits; cause not found. The close is tested from the title bar")
    def test_closed_from_the_tray_while_the_menus_update_check_waits_the_game_ends_cleanly(self):
        main = self.start_game(fresh_tray=True)
        self.stall_the_menus_check(main)
        self.choose_from_tray_menu(MENU_EXIT)
        self.confirm_exit_and_expect_a_clean_end()

    def test_the_menus_answer_belongs_to_the_game_window_and_a_close_from_the_tray_meanwhile_ends_cleanly(self):
        main = self.start_game(fresh_tray=True)
        self.choose_from_title_menu(main, MENU_UPDATE)
        box = harness.visible_window("提示")
        self.assertIn(UP_TO_DATE, harness.window_texts("提示"))
        self.assertEqual(box["owner"], main["hwnd"], "modal to the game window")
        self.choose_from_tray_menu(MENU_EXIT)
        self.confirm_exit_and_expect_a_clean_end()


if __name__ == "__main__":
    unittest.main()
