"""The skinned window of the real program: its size and outline, the caption buttons under the
pointer, moving by the caption, rolling up by a double click, maximize and restore, closing by the
close button, and, with a window manager, minimizing and the manager's own move."""
import os
import subprocess
import sys
import time
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import harness  # noqa: E402

ROOT = (255, 0, 255)  # the desktop's colour in these tests: magenta, so the outline shows
W, H = 718, 479
CLOSE, MAXIMIZE, MINIMIZE = (W - 27, 15), (W - 61, 15), (W - 86, 15)
CAPTION = (200, 15)


def pixel(x, y):
    return harness.screenshot(x, y, 1, 1)[0][0]


settled = harness.settled


def near(a, b, tolerance=8):
    return all(abs(p - q) <= tolerance for p, q in zip(a, b))


class WindowFrame(unittest.TestCase):
    def setUp(self):
        harness.xdotool("mousemove", "0", "0")
        subprocess.run(["xsetroot", "-solid", "#ff00ff"], check=True)
        self.program = harness.Program().start()
        self.wid = self.program.window
        self.assertTrue(harness.wait_until(lambda: self.program.geometry()[2:] == (W, H), 20))

    def tearDown(self):
        self.program.stop()

    def point(self, x, y):
        """A point of the window (frame included) on the screen."""
        wx, wy, _, _ = self.program.geometry()
        return wx + x, wy + y

    def move_to(self, x, y):
        harness.xdotool("mousemove", *map(str, self.point(x, y)))

    def test_outline_hover_drag_rollup_maximize_and_close(self):
        x, y = self.point(0, 0)
        # The top corners are cut round by the mask; the bottom ones are square.
        self.assertTrue(harness.wait_until(lambda: pixel(x, y) == ROOT, 10))
        self.assertEqual(pixel(x + W - 1, y), ROOT)
        self.assertNotEqual(pixel(x + 8, y + 1), ROOT)
        self.assertNotEqual(pixel(x, y + H - 1), ROOT)
        self.assertNotEqual(pixel(x + W - 1, y + H - 1), ROOT)
        self.assertEqual(pixel(x + W, y + H // 2), ROOT)

        # The close button lights up red under the pointer, and goes dark again.
        cx, cy = self.point(*CLOSE)
        before = settled((cx - 12, cy + 8, 1, 1))[0][0]
        self.move_to(*CLOSE)
        self.assertTrue(harness.wait_until(lambda: pixel(cx - 12, cy + 8)[0] > 150, 5))
        self.move_to(*CAPTION)
        self.assertTrue(harness.wait_until(lambda: near(pixel(cx - 12, cy + 8), before), 5))

        # Dragging the caption moves the window.
        start = self.program.geometry()
        self.move_to(*CAPTION)
        harness.xdotool("mousedown", "1")
        for step in range(1, 11):
            harness.xdotool("mousemove_relative", "--", "10", "5")
            time.sleep(0.03)
        harness.xdotool("mouseup", "1")
        self.assertTrue(harness.wait_until(
            lambda: self.program.geometry()[:2] == (start[0] + 100, start[1] + 50), 5), self.program.geometry())

        # A double click on the caption rolls the window up to its caption, the next one down.
        self.move_to(*CAPTION)
        harness.xdotool("click", "--repeat", "2", "--delay", "80", "1")
        self.assertTrue(harness.wait_until(lambda: self.program.geometry()[2:] == (W, 33), 5))
        time.sleep(0.6)  # not a triple click
        harness.xdotool("click", "--repeat", "2", "--delay", "80", "1")
        self.assertTrue(harness.wait_until(lambda: self.program.geometry()[2:] == (W, H), 5))

        # Maximize fills the screen but for a pixel all round (this desktop has no task bar);
        # the same button, now at the right edge of the screen, restores.
        normal = self.program.geometry()
        self.move_to(*MAXIMIZE)
        harness.xdotool("click", "1")
        self.assertTrue(harness.wait_until(lambda: self.program.geometry() == (1, 1, 1278, 1022), 5),
                        self.program.geometry())
        # The pointer on it lights it up once the window has drawn itself at its new size (the
        # caption's buttons stop changing); then it is pressed.
        mx, my = 1 + 1278 - 61, 16
        settled((1278 - 120, 1, 120, 30))
        unlit = pixel(mx - 8, my + 10)
        harness.xdotool("mousemove", str(mx), str(my))
        self.assertTrue(harness.wait_until(lambda: pixel(mx - 8, my + 10) != unlit and pixel(mx - 8, my + 10)[2] > 150,
                                           10), (unlit, pixel(mx - 8, my + 10)))
        settled((mx - 20, 1, 40, 30))
        harness.xdotool("click", "1")
        self.assertTrue(harness.wait_until(lambda: self.program.geometry() == normal, 5), self.program.geometry())

        # Pressing close and releasing elsewhere closes nothing; pressing and releasing on it
        # ends the program cleanly.
        self.move_to(*CLOSE)
        harness.xdotool("mousedown", "1")
        self.move_to(*CAPTION)
        time.sleep(0.3)
        harness.xdotool("mouseup", "1")
        time.sleep(0.5)
        self.assertIsNone(self.program.proc.poll())
        self.move_to(*CLOSE)
        time.sleep(0.3)
        harness.xdotool("click", "1")
        self.assertEqual(self.program.proc.wait(30), 0)


    def test_system_menu_opens_runs_and_goes(self):
        # A right press on the caption opens the system menu at the pointer; its first item
        # is lit at once.
        px, py = self.point(*CAPTION)
        menu_area = (px + 4, py + 2, 100, 12)  # caption rows the menu covers when open
        before = settled(menu_area)
        self.move_to(*CAPTION)
        harness.xdotool("click", "3")
        self.assertTrue(harness.wait_until(lambda: harness.screenshot(*menu_area) != before, 5))
        # Escape closes it; the caption shows again.
        harness.key("Escape")
        self.assertTrue(harness.wait_until(lambda: harness.screenshot(*menu_area) == before, 5))
        # A press elsewhere on the window dismisses it without doing anything else. (Each right
        # press comes well after the one before: a second one within the double-click time
        # is a double click on the caption, which opens no menu.)
        time.sleep(0.6)
        harness.xdotool("click", "3")
        self.assertTrue(harness.wait_until(lambda: harness.screenshot(*menu_area) != before, 5))
        self.move_to(300, 250)
        harness.xdotool("click", "1")
        self.assertTrue(harness.wait_until(lambda: harness.screenshot(*menu_area) == before, 5))
        self.assertEqual(self.program.geometry()[2:], (W, H))
        # "X" is the accelerator of maximize: the item runs at once.
        self.move_to(*CAPTION)
        time.sleep(0.6)
        harness.xdotool("click", "3")
        self.assertTrue(harness.wait_until(lambda: harness.screenshot(*menu_area) != before, 5))
        harness.key("x")
        self.assertTrue(harness.wait_until(lambda: self.program.geometry() == (1, 1, 1278, 1022), 5),
                        self.program.geometry())
        self.program.finish(self)


class WindowFrameUnderWindowManager(unittest.TestCase):
    """The same window on a desktop with a window manager (openbox)."""

    def setUp(self):
        self.manager = harness.start_window_manager()
        self.program = harness.Program().start()
        self.assertTrue(harness.wait_until(lambda: self.program.geometry()[2:] == (W, H), 20))

    def tearDown(self):
        self.program.stop()
        harness.stop_window_manager(self.manager)

    def state(self):
        out = subprocess.run(["xprop", "-id", self.program.window, "WM_STATE"], capture_output=True, text=True).stdout
        return "Iconic" if "Iconic" in out else "Normal" if "Normal" in out else out

    def test_manager_moves_it_and_minimize_iconifies(self):
        wx, wy, _, _ = self.program.geometry()
        harness.xdotool("mousemove", str(wx + CAPTION[0]), str(wy + CAPTION[1]))
        harness.xdotool("mousedown", "1")
        for _ in range(10):
            harness.xdotool("mousemove_relative", "--", "-8", "6")
            time.sleep(0.05)
        harness.xdotool("mouseup", "1")
        self.assertTrue(harness.wait_until(lambda: self.program.geometry()[:2] != (wx, wy), 5))
        nx, ny, _, _ = self.program.geometry()
        self.assertLess(nx, wx)
        self.assertGreater(ny, wy)
        # Still frameless: the manager adds no decoration of its own.
        self.assertEqual(self.program.geometry()[2:], (W, H))

        harness.xdotool("mousemove", str(nx + MINIMIZE[0]), str(ny + MINIMIZE[1]))
        time.sleep(0.3)
        harness.xdotool("click", "1")
        self.assertTrue(harness.wait_until(lambda: self.state() == "Iconic", 5), self.state())
        harness.xdotool("windowactivate", self.program.window)
        self.assertTrue(harness.wait_until(lambda: self.state() == "Normal", 5), self.state())
        self.assertEqual(self.program.geometry()[2:], (W, H))


if __name__ == "__main__":
    unittest.main()
