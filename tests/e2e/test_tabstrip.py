"""The tab strip on its host program (tests/win/tools/tabhost.cpp), driven with
the real pointer: hovering, pressing, releasing on close glyphs, double-clicks,
leaving, and the page container's resize. The host logs every event of the
strip with its arguments and the selection and tab count after it."""
import os
import re
import subprocess
import tempfile
import time
import unittest

import harness

TITLE = "Velmora tab host"
# The host sits at (100, 100); the tab area starts 40 pixels in. Slanted tabs
# of three are 108 wide at 14, 122 and 230; each close glyph is 24 .. 12
# pixels from its tab's right edge, rows 6 .. 18.
AREA_X, STRIP_Y = 140, 100
LEFTS = (14, 122, 230)


def body(i):
    return AREA_X + LEFTS[i] + 40, STRIP_Y + 12


def glyph(i):
    return AREA_X + LEFTS[i] + 108 - 18, STRIP_Y + 12


class TabStripTest(unittest.TestCase):
    def move(self, x, y):
        """Moves the pointer; over the strip, waits until the strip has seen it there."""
        subprocess.run(["xdotool", "mousemove", str(x), str(y)], check=True, timeout=10)
        host_x, host_y = x - 100, y - STRIP_Y
        if 0 <= host_x < 800 and 0 <= host_y < 25:
            at = "OnMouseMove item=%s x=%d y=%d" % (r"-?\d+ button=0 shift=\d", host_x, host_y)
            harness.wait_for("the strip to see the pointer at (%d, %d)" % (x, y),
                             lambda: any(re.match(at, l) for l in self.text().splitlines()), timeout=5)
        else:
            time.sleep(0.3)

    def move_held(self, x, y):
        """Moves the pointer with the left button held; waits until the strip has seen it there."""
        subprocess.run(["xdotool", "mousemove", str(x), str(y)], check=True, timeout=10)
        at = "OnMouseMove item=0 button=1 shift=\\d x=%d y=%d " % (x - 100, y - STRIP_Y)
        return harness.wait_for("the strip to see the held pointer at (%d, %d)" % (x, y),
                                lambda: [l for l in self.events("OnMouseMove") if re.match(at, l)], timeout=5)[-1]

    def press_glyph_and_leave_the_window(self, i):
        """Presses tab i's glyph and takes the pointer off the strip and out of the host window."""
        self.move(*glyph(i))
        subprocess.run(["xdotool", "mousedown", "1"], check=True, timeout=10)
        # A test that fails with the button down must not leave it down for the next.
        self.addCleanup(subprocess.run, ["xdotool", "mouseup", "1"], timeout=10)
        harness.wait_for("the press", lambda: self.events("OnMouseDown"), timeout=5)
        self.move_held(glyph(i)[0], STRIP_Y + 150)
        outside = self.move_held(50, 50)
        # Long enough for the pointer's leaving to be reported, were it reported.
        time.sleep(1)
        return outside

    def click(self, x, y, button=1):
        """A click; waits until the strip has seen its release."""
        ups = len(self.events("OnMouseUp"))
        harness.click(x, y, button)
        harness.wait_for("the release", lambda: len(self.events("OnMouseUp")) > ups, timeout=5)

    def start(self, *options):
        folder = tempfile.mkdtemp(prefix="tabhost.", dir=os.environ.get("VELMORA_WINE_ROOT", "/tmp"))
        self.log_path = os.path.join(folder, "events.log")
        tool = os.path.join(harness.TOOLS, "tabhost.exe")
        self.proc = subprocess.Popen(["wine", tool, "Z:" + self.log_path.replace("/", "\\"), "0"] + list(options) +
                                     ["Alpha", "Beta", "Gamma"], stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                                     stderr=subprocess.DEVNULL)
        self.addCleanup(self.stop)
        harness.visible_window(TITLE)
        harness.wait_for("the host ready", lambda: "ready" in self.text())
        self.move(AREA_X + 600, STRIP_Y + 150)  # start off the strip
        self.mark()

    def stop(self):
        if self.proc.poll() is None:
            harness.wine(os.path.join(harness.TOOLS, "wintool.exe"), "close", TITLE)
            try:
                self.proc.wait(10)
            except subprocess.TimeoutExpired:
                self.proc.kill()

    def text(self):
        return harness.read_text(self.log_path)

    def mark(self):
        """Only events after this point count."""
        self.seen = len(self.text().splitlines())

    def events(self, name=None):
        lines = self.text().splitlines()[self.seen:]
        return [l for l in lines if name is None or l.split(" ", 1)[0] == name]

    def field(self, line, key):
        return int(re.search(r"\b%s=(-?\d+)" % key, line).group(1))

    def last_state(self):
        lines = self.text().splitlines()
        return self.field(lines[-1], "selected"), self.field(lines[-1], "count")

    def test_hover_changes_raise_the_event_only_for_a_new_index_and_leaving_is_reported(self):
        self.start()
        self.move(*body(1))
        self.move(*glyph(1))  # onto its own glyph: a repaint, no new hover
        self.move(*body(2))
        self.move(AREA_X - 20, STRIP_Y + 12)  # the left margin
        hovers = [self.field(l, "item") for l in self.events("OnMouseHover")]
        self.assertEqual(hovers, [1, 2, -2])
        self.move(AREA_X + 300, STRIP_Y + 120)  # off the strip
        harness.wait_for("OnMouseLeave", lambda: self.events("OnMouseLeave"), timeout=5)

    def test_presses_select_bodies_but_not_glyphs_and_report_what_they_hit(self):
        self.start()
        self.move(*glyph(1))
        subprocess.run(["xdotool", "mousedown", "1"], check=True, timeout=10)
        harness.wait_for("the press", lambda: self.events("OnMouseDown"), timeout=5)
        self.move(AREA_X + 300, STRIP_Y + 150)  # released away from the glyph: nothing closes
        subprocess.run(["xdotool", "mouseup", "1"], check=True, timeout=10)
        down = self.events("OnMouseDown")
        self.assertEqual(self.field(down[-1], "item"), 1)
        self.assertEqual(self.field(down[-1], "selected"), 0, "a press on an unselected glyph selects nothing")
        self.assertTrue(self.events("TabChanged"))
        self.mark()
        self.click(*body(2), button=3)
        down = self.events("OnMouseDown")[-1]
        self.assertEqual((self.field(down, "item"), self.field(down, "button"), self.field(down, "selected")), (0, 2, 0))
        self.assertEqual(self.events("TabChanged"), [])
        for (x, item) in ((AREA_X - 20, -2), (AREA_X + 500, -1)):
            self.mark()
            self.click(x, STRIP_Y + 12)
            self.assertEqual(self.field(self.events("OnMouseDown")[-1], "item"), item)
        self.mark()
        self.click(*body(2))
        self.assertEqual(self.field(self.events("OnMouseDown")[-1], "selected"), 2)
        self.assertEqual(self.last_state()[1], 3)

    def test_a_release_on_the_glyph_hovered_before_the_press_closes_that_tab(self):
        self.start()
        # Pressed on one glyph and released on another tab: nothing closes.
        harness.drag(glyph(1), body(2))
        harness.wait_for("the release", lambda: self.events("OnMouseUp"), timeout=5)
        self.assertEqual(self.events("OnItemColose"), [])
        self.assertEqual(self.last_state()[1], 3)
        # Clicked on the selected tab's glyph: it closes and tab 0 is selected.
        self.click(*body(2))
        self.mark()
        self.move(*glyph(2))
        self.click(*glyph(2))
        closing = self.events("OnItemColose")
        self.assertEqual([self.field(l, "item") for l in closing], [2])
        harness.wait_for("the tab to go", lambda: self.last_state() == (0, 2), timeout=5)

    def test_a_host_that_cancels_keeps_the_tab_and_a_hidden_glyph_closes_nothing(self):
        self.start("--cancel-close", "--hide", "0")
        self.move(*glyph(1))
        self.click(*glyph(1))
        self.assertEqual([self.field(l, "cancel") for l in self.events("OnItemColose")], [1])
        self.assertEqual(self.last_state()[1], 3)
        self.mark()
        self.move(*glyph(0))
        self.click(*glyph(0))
        self.assertEqual(self.events("OnItemColose"), [])

    def test_a_glyph_pressed_taken_out_of_the_window_and_brought_back_closes_its_tab(self):
        self.start()
        outside = self.press_glyph_and_leave_the_window(1)
        self.assertEqual((self.field(outside, "hover"), self.field(outside, "state")), (1, 2),
                         "the glyph stays pressed while the pointer is away")
        back = self.move_held(*glyph(1))
        self.assertEqual((self.field(back, "hover"), self.field(back, "state")), (1, 2))
        subprocess.run(["xdotool", "mouseup", "1"], check=True, timeout=10)
        harness.wait_for("the release", lambda: self.events("OnMouseUp"), timeout=5)
        self.assertEqual([self.field(l, "item") for l in self.events("OnItemColose")], [1])
        harness.wait_for("the tab to go", lambda: self.last_state() == (0, 2), timeout=5)
        self.assertEqual(self.field(self.events("OnMouseUp")[-1], "state"), 0)

    def test_a_glyph_pressed_and_released_outside_the_window_closes_nothing_and_the_release_is_reported(self):
        self.start()
        self.press_glyph_and_leave_the_window(1)
        subprocess.run(["xdotool", "mouseup", "1"], check=True, timeout=10)
        up = harness.wait_for("the release outside", lambda: self.events("OnMouseUp"), timeout=5)[-1]
        self.assertEqual((self.field(up, "button"), self.field(up, "x"), self.field(up, "y")), (1, -50, -50))
        self.assertEqual(self.events("OnItemColose"), [])
        self.assertEqual(self.last_state()[1], 3)
        left = harness.wait_for("the leaving, reported at the release",
                                lambda: self.events("OnMouseLeave"), timeout=5)[-1]
        self.assertEqual((self.field(left, "hover"), self.field(left, "state")), (-1, 0),
                         "no hover and no pressed glyph after the release")
        # The next press on the strip is a fresh one: a click on a body selects it.
        self.click(*body(2))
        self.assertEqual(self.last_state(), (2, 3))

    def test_removing_a_tab_left_of_the_selected_one_keeps_the_same_page_selected(self):
        self.start()
        self.click(*body(2))
        self.assertIn("page=Gamma", self.events("OnMouseUp")[-1])
        self.mark()
        self.move(*glyph(0))
        self.click(*glyph(0))
        self.assertEqual([self.field(l, "item") for l in self.events("OnItemColose")], [0])
        after = harness.wait_for("the tab to go", lambda: [l for l in self.events() if "count=2" in l], timeout=5)[-1]
        self.assertEqual(self.field(after, "selected"), 1)
        self.assertIn("page=Gamma", after)

    def test_a_double_click_replays_the_press(self):
        self.start()
        self.move(*body(1))
        subprocess.run(["xdotool", "click", "--repeat", "2", "--delay", "80", "1"], check=True, timeout=10)
        harness.wait_for("OnDblClick", lambda: self.events("OnDblClick"), timeout=5)
        names = [l.split(" ", 1)[0] for l in self.events() if l.split(" ", 1)[0] in ("OnMouseDown", "OnDblClick")]
        self.assertEqual(names[-2:], ["OnMouseDown", "OnDblClick"])
        self.assertEqual(self.field(self.events("OnDblClick")[-1], "item"), 1)

    def test_the_containers_resize_resizes_the_selected_page(self):
        self.start()
        harness.wine(os.path.join(harness.TOOLS, "wintool.exe"), "size", TITLE, "600", "250", check=True)
        harness.wait_for("the page resized", lambda: any("page 0 size=600x218" in l for l in self.events()),
                         timeout=5)


if __name__ == "__main__":
    unittest.main()
