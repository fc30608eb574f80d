"""What a viewer met trying the program on a desktop with a window manager: the boss key brings
back a window that was minimized and restored by the manager, and the ticker comes back after
full screen."""
import os
import subprocess
import sys
import tempfile
import time
import unittest

sys.path.insert(0, os.path.dirname(__file__))
import harness  # noqa: E402

TITLE = "Quorvel Online TV v1.12"
W = 718
MINIMIZE = (W - 86, 15)            # the caption's minimize button, in window coordinates
TICKER = (311, 383, 120, 15)       # the ticker in the window's client area
VIDEO = (40, 40, 430, 300)
FULL_SCREEN_BUTTON = (492, 429)    # on the control bar, in the client area


def share(pixels, test):
    flat = [p for row in pixels for p in row]
    return sum(1 for p in flat if test(*p)) / len(flat)


def lime(r, g, b):
    return g > 180 and r < 90 and b < 90


def black(r, g, b):
    return r + g + b < 40


class ViewerTrial(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.media = tempfile.mkdtemp(prefix="quorvel-hls-")
        harness.make_hls(os.path.join(cls.media, "pattern"), "testsrc", seconds=60)
        cls.server = harness.StreamServer(cls.media)

    @classmethod
    def tearDownClass(cls):
        cls.server.stop()

    def setUp(self):
        harness.xdotool("mousemove", "0", "0")
        self.manager = subprocess.Popen(["openbox", "--sm-disable"], stdout=subprocess.DEVNULL,
                                        stderr=subprocess.DEVNULL)
        time.sleep(1)
        catalogue = "[Layer1]\nNews=\n[Layer2]\nPattern=News\n[Programs]\nPattern=%s\n" % self.server.url(
            "pattern/index.m3u8")
        self.program = harness.Program(catalogue).start()

    def tearDown(self):
        self.program.stop()
        self.manager.terminate()
        self.manager.wait()

    def wm_state(self):
        out = subprocess.run(["xprop", "-id", self.program.window, "WM_STATE"], capture_output=True, text=True).stdout
        return "Iconic" if "Iconic" in out else "Normal" if "Normal" in out else "Withdrawn"

    def region(self, rect):
        x, y, _, _ = self.program.geometry()
        return harness.screenshot(x + harness.CLIENT_LEFT + rect[0], y + harness.CLIENT_TOP + rect[1], rect[2], rect[3])

    def ticker_shows(self):
        # Lime letters on black: the picture under the ticker has lime in it too, but not black.
        pixels = self.region(TICKER)
        return share(pixels, lime) > 0.03 and share(pixels, black) > 0.5

    def test_boss_key_after_minimize_and_restore_by_the_manager(self):
        self.assertTrue(harness.wait_until(lambda: self.wm_state() == "Normal", 10))
        x, y, _, _ = self.program.geometry()
        harness.xdotool("mousemove", str(x + MINIMIZE[0]), str(y + MINIMIZE[1]))
        time.sleep(0.3)
        harness.xdotool("click", "1")
        self.assertTrue(harness.wait_until(lambda: self.wm_state() == "Iconic", 5), self.wm_state())
        # Restored as a taskbar does it: through the manager, not through the program's own button.
        harness.xdotool("windowactivate", self.program.window)
        self.assertTrue(harness.wait_until(lambda: self.wm_state() == "Normal", 5), self.wm_state())
        time.sleep(0.5)
        harness.key("Home")
        self.assertTrue(harness.wait_until(lambda: not harness.visible(TITLE), 5))
        time.sleep(0.5)
        harness.key("Home")
        self.assertTrue(harness.wait_until(lambda: harness.visible(TITLE) and self.wm_state() == "Normal", 5),
                        self.wm_state())
        self.assertEqual(self.program.geometry()[2:], (W, 479))
        self.program.finish(self)

    def test_ticker_comes_back_after_full_screen(self):
        self.program.click(560, 68)  # the first catalogue category, after Favourites and Recently watched
        harness.key("Right", "Down")
        self.assertTrue(harness.wait_until(lambda: share(self.region(VIDEO), black) < 0.5, 20))
        self.assertTrue(harness.wait_until(self.ticker_shows, 20))
        x, y, w, h = self.program.geometry()
        for leave in ("bar button", "double click", "escape"):
            if leave == "bar button":
                # The control bar's full-screen button, at the right end of the bar.
                harness.xdotool("mousemove", str(x + harness.CLIENT_LEFT + FULL_SCREEN_BUTTON[0]),
                                str(y + harness.CLIENT_TOP + FULL_SCREEN_BUTTON[1]))
                time.sleep(0.5)
                harness.xdotool("click", "1")
            else:
                harness.xdotool("mousemove", str(x + 250), str(y + 200), "click", "--repeat", "2", "--delay", "80", "1")
            self.assertTrue(harness.wait_until(lambda: self.program.geometry()[2:] == (1280, 1024), 10))
            time.sleep(0.5)
            if leave == "escape":
                harness.key("Escape")
            elif leave == "bar button":
                harness.xdotool("mousemove", "1262", "1010")
                time.sleep(0.5)
                harness.xdotool("click", "1")
            else:
                harness.xdotool("mousemove", "640", "400", "click", "--repeat", "2", "--delay", "80", "1")
            self.assertTrue(harness.wait_until(lambda: self.program.geometry() == (x, y, w, h), 10),
                            self.program.geometry())
            # The ticker is where it was, showing its title, at once (not only at the next tick).
            self.assertTrue(harness.wait_until(self.ticker_shows, 2),
                            "ticker gone after leaving full screen by " + leave)
        self.program.finish(self)


if __name__ == "__main__":
    unittest.main()
