"""The skinned controls on their host program (tests/win/tools/controlhost.cpp),
driven with the real pointer and keys: the title band drags its window, an
edge resizes it down to the minimum, and the image button answers presses,
drags off and back, right clicks, Enter and Space. The host logs every event
of the button and the frame with the button's state after it."""
import os
import subprocess
import tempfile
import time
import unittest

import harness

TITLE = "Velmora controls host"
# The host's window is at (50, 50), 900 x 650; its title band is the top 33
# pixels; the button (the 43 x 18 close strip) sits at (200, 100) inside it.
BUTTON = (50 + 200 + 21, 50 + 100 + 9)
AWAY = (50 + 500, 50 + 400)


class ControlsTest(unittest.TestCase):
    def start(self, *options):
        folder = tempfile.mkdtemp(prefix="controlhost.", dir=os.environ.get("VELMORA_WINE_ROOT", "/tmp"))
        self.log_path = os.path.join(folder, "events.log")
        tool = os.path.join(harness.TOOLS, "controlhost.exe")
        self.proc = subprocess.Popen(["wine", tool, "Z:" + self.log_path.replace("/", "\\")] + list(options),
                                     stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        self.addCleanup(self.stop)
        harness.visible_window(TITLE)
        harness.wait_for("the host ready", lambda: "ready" in self.text())
        # A click on the form's bare surface makes it the active window first.
        harness.click(*AWAY)
        self.move(*AWAY)

    def stop(self):
        if self.proc.poll() is None:
            self.proc.kill()
            subprocess.run(["wine", "taskkill", "/f", "/im", "controlhost.exe"], capture_output=True, timeout=20)

    def text(self):
        return harness.read_text(self.log_path)

    def events(self, name):
        return [l for l in self.text().splitlines() if l.split(" ", 1)[0] == name]

    def move(self, x, y):
        subprocess.run(["xdotool", "mousemove", str(x), str(y)], check=True, timeout=10)
        time.sleep(0.3)

    def xdotool(self, *args):
        subprocess.run(["xdotool"] + list(args), check=True, timeout=10)

    def place(self):
        facts = harness.window_facts(TITLE)
        return facts["x"], facts["y"], facts["w"], facts["h"]

    def test_the_title_band_drags_the_window_and_nothing_without_a_window_to_drag(self):
        self.start()
        harness.drag((400, 65), (460, 105))
        harness.wait_for("the window to move", lambda: self.place()[:2] == (110, 90), timeout=5)
        self.stop()
        self.start("--no-drag")
        harness.drag((400, 65), (460, 105))
        time.sleep(0.5)
        self.assertEqual(self.place()[:2], (50, 50))

    def test_an_edge_drag_resizes_and_stops_at_the_minimum_width(self):
        self.start()
        harness.drag((948, 400), (898, 400))
        harness.wait_for("the window to narrow", lambda: self.place()[2] == 848, timeout=5)
        harness.drag((896, 400), (700, 400))
        time.sleep(0.5)
        width = self.place()[2]
        self.assertGreater(width, 800)
        self.assertLess(width, 848)
        self.assertEqual(self.place()[0], 50, "the left edge stays")

    def test_a_press_dragged_off_and_released_outside_is_no_click(self):
        self.start()
        self.move(*BUTTON)
        harness.wait_for("MouseOver", lambda: self.events("MouseOver"), timeout=5)
        self.xdotool("mousedown", "1")
        harness.wait_for("the press", lambda: self.events("MouseDown"), timeout=5)
        self.move(*AWAY)
        self.move(*BUTTON)
        self.move(*AWAY)
        self.assertEqual(self.events("MouseOut"), [], "MouseOut waits for the release")
        self.xdotool("mouseup", "1")
        harness.wait_for("MouseOut after the release", lambda: self.events("MouseOut"), timeout=5)
        self.assertEqual(self.events("Click"), [])
        self.assertIn("state=0", self.events("MouseUp")[-1])

    def test_a_right_click_is_no_click_and_shows_no_pressed_frame(self):
        self.start()
        harness.click(*BUTTON, button=3)
        harness.wait_for("the release", lambda: self.events("MouseUp"), timeout=5)
        self.assertIn("button=2", self.events("MouseDown")[-1])
        self.assertNotIn("state=2", self.events("MouseDown")[-1])
        self.assertEqual(self.events("Click"), [])

    def test_clicks_enter_and_space_click_a_toggle_button_after_its_value_flips(self):
        self.start("--toggle")
        harness.click(*BUTTON)
        harness.wait_for("the click", lambda: self.events("Click"), timeout=5)
        self.assertIn("value=1", self.events("Click")[-1])
        self.move(*AWAY)
        harness.wait_for("MouseOut", lambda: self.events("MouseOut"), timeout=5)
        harness.press_key("Return")
        harness.wait_for("Enter's click", lambda: len(self.events("Click")) == 2, timeout=5)
        self.assertIn("value=0", self.events("Click")[-1])
        harness.press_key("space")
        harness.wait_for("Space's click", lambda: len(self.events("Click")) == 3, timeout=5)
        self.assertIn("value=1", self.events("Click")[-1])


if __name__ == "__main__":
    unittest.main()
