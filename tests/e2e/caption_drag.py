"""Dragging the window by its caption: the window follows the pointer from the press on, the few
pixels before the move is known to be a move included, for a slow drag and for one fast jump, with
a window manager (openbox, which moves the window itself) and on a bare X server."""
import os
import subprocess
import sys
import time
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import harness  # noqa: E402

W, H = 718, 479
CAPTION = (200, 15)


class CaptionDrag:
    def drag(self, steps):
        """Presses on the caption, moves the pointer by each step and lets go; returns how far the
        window went."""
        x, y, _, _ = self.program.geometry()
        harness.xdotool("mousemove", str(x + CAPTION[0]), str(y + CAPTION[1]))
        time.sleep(0.3)
        harness.xdotool("mousedown", "1")
        time.sleep(0.1)
        for dx, dy in steps:
            harness.xdotool("mousemove_relative", "--", str(dx), str(dy))
            time.sleep(0.03)
        time.sleep(0.3)
        harness.xdotool("mouseup", "1")
        moved = (sum(s[0] for s in steps), sum(s[1] for s in steps))
        harness.wait_until(lambda: self.program.geometry()[:2] == (x + moved[0], y + moved[1]), 3)
        time.sleep(0.6)  # the next press is no double click
        nx, ny, _, _ = self.program.geometry()
        return nx - x, ny - y

    def test_window_follows_the_pointer_from_the_press(self):
        self.assertEqual(self.drag([(10, 10)] * 10), (100, 100))
        self.assertEqual(self.drag([(1, 0)] * 12 + [(-12, -40)]), (0, -40))
        self.assertEqual(self.drag([(-100, 100)]), (-100, 100))
        self.assertEqual(self.drag([(3, 0)]), (3, 0))
        self.assertEqual(self.program.geometry()[2:], (W, H))


class OnABareServer(CaptionDrag, unittest.TestCase):
    def setUp(self):
        harness.xdotool("mousemove", "0", "0")
        self.program = harness.Program().start()
        self.assertTrue(harness.wait_until(lambda: self.program.geometry()[2:] == (W, H), 20))

    def tearDown(self):
        self.program.stop()


class UnderAWindowManager(CaptionDrag, unittest.TestCase):
    def setUp(self):
        self.manager = harness.start_window_manager()
        self.program = harness.Program().start()
        self.assertTrue(harness.wait_until(lambda: self.program.geometry()[2:] == (W, H), 20))

    def tearDown(self):
        self.program.stop()
        harness.stop_window_manager(self.manager)


if __name__ == "__main__":
    unittest.main()
