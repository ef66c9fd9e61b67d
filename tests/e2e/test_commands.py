"""The main window's commands as a player uses them: the program menu's
items, filling and restoring the window, dragging it by the title skin and
the empty strip, the portal button, and closing tabs by their glyphs."""
import subprocess
import time
import unittest

import harness
from test_mainwindow import MainWindowCase, exit_boxes, main_window, page_texts, pages, dde, shown



def click_menu_item(menu, item):
    """Text item `item` (0 first, the separator not counted): 17-pixel rows and a
    9-pixel separator after the third, as Wine draws the menu."""
    y = 3 + 17 * item + (9 if item >= 3 else 0) + 8
    harness.click(menu["x"] + menu["w"] // 2, menu["y"] + y)


class CommandsTest(MainWindowCase):
    def open_menu(self, main):
        self.click_title_button(main, 1825, 24)
        return harness.wait_for("the program menu", lambda: [w for w in harness.list_windows() if w["class"] == "#32768"])[0]

    def choose(self, main, item):
        """Item by its place (0 first); keyboard, as WINE-NOTES measured it."""
        self.open_menu(main)
        for _ in range(item + 1):
            harness.press_key("Down")
        harness.press_key("Return")

    def test_menu_items_refresh_the_selected_page_clear_the_cache_and_exit_asks(self):
        main = self.start()
        self.assertEqual(dde(self.site.url("gamespace", "/play/two.html")), 0)
        harness.wait_for("two tabs", lambda: len(page_texts()) == 2)
        self.choose(main, 0)  # 刷新(F5)
        harness.wait_for("the selected page again", lambda: len(self.game_requests("/play/two.html")) == 2)
        time.sleep(0.5)
        self.assertEqual(len(self.game_requests("/play/one.html")), 1, "only the selected page is refreshed")

        self.choose(main, 2)  # 清除缓存 (the separator is skipped by the keys)
        harness.visible_window("缓存清理")
        self.assertIn("缓存已清理完毕！", harness.window_texts("缓存清理"))
        harness.press_key("Return")
        harness.wait_for("the box to go", lambda: harness.window_facts("缓存清理") is None)

        self.choose(main, 5)  # 退出
        box = harness.wait_for("the exit question", lambda: exit_boxes() and exit_boxes()[0], 15)
        self.answer(box, "是")
        self.assertEqual(self.client.wait_exit(20), 0)

    def test_hide_restore_on_a_minimised_window_keeps_it_minimised(self):
        main = self.start(fresh_tray=True)
        self.click_title_button(main, 1465, 24)
        harness.wait_for("the window minimised", lambda: main_window()["iconic"] == 1)
        tray = harness.xdotool_search("Wine System Tray")[0]
        for expected in (False, True):
            subprocess.run(["xdotool", "windowraise", str(tray)], check=True, timeout=10)
            tx, ty, tw, th = harness.x_geometry(tray)
            harness.click(tx + 12, ty + th - 14, button=3)
            menu = harness.wait_for("the program menu",
                                    lambda: [w for w in harness.list_windows() if w["class"] == "#32768"])[0]
            click_menu_item(menu, 1)  # 隐藏/恢复(F10)
            harness.wait_for("hide/restore", lambda: shown() == expected)
        self.assertEqual(main_window()["iconic"], 1)

    def test_fill_and_restore_and_what_drags_the_window(self):
        main = self.start()
        strip_empty = (main["x"] + 153 + 400, main["y"] + 15)
        harness.drag(strip_empty, (strip_empty[0] + 50, strip_empty[1] + 50))
        time.sleep(0.5)
        self.assertEqual((main_window()["x"], main_window()["y"]), (0, 0), "a filled window does not move")

        self.click_title_button(main, 1105, 25)
        restored = harness.wait_for("the restored window", lambda: main_window()["w"] == 1036 and main_window())
        self.assertEqual(restored["h"], 639)
        band = (restored["x"] + 100, restored["y"] + 20)
        harness.drag(band, (band[0] + 40, band[1] + 30))
        moved = harness.wait_for("the title skin to drag", lambda: main_window()["x"] == restored["x"] + 40 and main_window())
        strip = (moved["x"] + 153 + 400, moved["y"] + 15)
        harness.drag(strip, (strip[0] - 30, strip[1] + 20))
        dragged = harness.wait_for("the strip to drag", lambda: main_window()["x"] == moved["x"] - 30 and main_window())
        self.assertEqual(dragged["y"], moved["y"] + 20)

        self.click_title_button(dragged, 1105, 25)
        harness.wait_for("the filled window", lambda: main_window()["w"] == harness.screen_size()[0] and main_window()["x"] == 0)

    def test_the_portal_button_and_the_tab_glyphs(self):
        main = self.start()
        harness.clear_browser_log()
        harness.click(main["x"] + main["w"] - round(3300 / 15) + 40, main["y"] + 11)
        portal = self.site.url("gamespace", "/kavorn/")
        harness.wait_for("the portal in the default browser", lambda: portal in harness.browser_log())
        self.assertEqual(harness.browser_log(), [portal])

        # The only tab's glyph asks; declined, the tab stays.
        glyph = lambda i: (main["x"] + 153 + 10 + 205 * i + 200 - 20 + 6, main["y"] + 3 + 13)
        harness.click(*glyph(0))
        box = harness.wait_for("the exit question", lambda: exit_boxes() and exit_boxes()[0], 15)
        self.answer(box, "否")
        harness.wait_for("the question to go", lambda: not exit_boxes())
        self.assertEqual(pages(), 1)
        # With two tabs a glyph closes one, without a question.
        self.assertEqual(dde(self.site.url("gamespace", "/play/two.html")), 0)
        harness.wait_for("two tabs", lambda: pages() == 2)
        harness.click(*glyph(1))
        harness.wait_for("one tab again", lambda: pages() == 1)
        self.assertFalse(exit_boxes())
        self.assertEqual(page_texts(), ["第一服"])
        # Confirmed from the last tab's glyph, the client ends.
        harness.click(*glyph(0))
        self.answer(harness.wait_for("the exit question", lambda: exit_boxes() and exit_boxes()[0], 15), "是")
        self.assertEqual(self.client.wait_exit(20), 0)


if __name__ == "__main__":
    unittest.main()
