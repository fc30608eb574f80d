"""What a viewer met trying the program on a desktop with a window manager: the boss key brings
back a window that was minimized and restored by the manager, the ticker comes back after full
screen, the player's keys over the video, the control bar going away in full screen, the
Sponsored Links pane of a maximized window, the window menu in the desktop's language, and what
a restart keeps."""
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
MUTE_BUTTON = (393, 421, 18, 16)   # the mute button's square on the control bar
VOLUME_TRACK = (415, 429, 64)      # the volume slider's track: left end, middle row, width
SOUND = (393, 421, 90, 16)         # mute button and volume slider together
PATTERN_ROW = (530, 82, 150, 12)   # the first channel of the first catalogue category, when open
MAXIMIZE = (W - 61, 15)            # the caption's maximize (and restore) button
SPONSORED_TAB = (W - 85, 40)       # the tab, in window coordinates: it keeps to the right edge
BAR_BORDER = (0x3c, 0x40, 0x4a)    # the control bar's top edge


def share(pixels, test):
    flat = [p for row in pixels for p in row]
    return sum(1 for p in flat if test(*p)) / len(flat)


def lime(r, g, b):
    return g > 180 and r < 90 and b < 90


def black(r, g, b):
    return r + g + b < 40


def page_backdrop(r, g, b):
    """The Sponsored Links page's dark blue."""
    return r + g + b < 200 and b > r + 5


def vivid(r, g, b):
    """The test pattern's colour bars; the start page has none."""
    return max(r, g, b) - min(r, g, b) > 150


def selected(r, g, b):
    return b > 150 and r < 120


def near(p, q, tolerance=10):
    return all(abs(a - b) <= tolerance for a, b in zip(p, q))


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
        self.manager = harness.start_window_manager()
        catalogue = "[Layer1]\nNews=\n[Layer2]\nPattern=News\n[Programs]\nPattern=%s\n" % self.server.url(
            "pattern/index.m3u8")
        self.program = harness.Program(catalogue)

    def launch(self, env=None):
        self.program.start(env)
        return self.program

    def tearDown(self):
        self.program.stop()
        harness.stop_window_manager(self.manager)

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
        self.launch()
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

    def play_first_channel(self):
        self.program.click(560, 68)  # the first catalogue category, after Favourites and Recently watched
        harness.key("Right", "Down")
        self.assertTrue(harness.wait_until(lambda: share(self.region(VIDEO), black) < 0.5, 20))
        # The picture itself, not the card that says the channel is on its way.
        self.assertTrue(harness.wait_until(lambda: not self.still(0.5), 20))

    def at(self, x, y):
        """A point of the client area on the screen."""
        wx, wy, _, _ = self.program.geometry()
        return str(wx + harness.CLIENT_LEFT + x), str(wy + harness.CLIENT_TOP + y)

    def test_ticker_comes_back_after_full_screen(self):
        self.launch()
        self.play_first_channel()
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

    def still(self, seconds=1.0):
        """The picture does not move: paused."""
        first = self.region(VIDEO)
        time.sleep(seconds)
        return self.region(VIDEO) == first

    def test_space_f_and_m_over_the_video(self):
        self.launch()
        self.play_first_channel()
        # A click on the picture gives the player the keyboard.
        harness.xdotool("mousemove", *self.at(200, 150), "click", "1")
        time.sleep(0.5)
        self.assertFalse(self.still())
        harness.key("space")
        self.assertTrue(harness.wait_until(self.still, 5), "Space did not pause")
        harness.key("space")
        self.assertTrue(harness.wait_until(lambda: not self.still(), 5), "Space did not resume")

        sound_on = self.region(MUTE_BUTTON)
        harness.key("m")
        self.assertTrue(harness.wait_until(lambda: self.region(MUTE_BUTTON) != sound_on, 5), "M did not mute")
        harness.key("m")
        self.assertTrue(harness.wait_until(lambda: self.region(MUTE_BUTTON) == sound_on, 5), "M did not unmute")

        x, y, w, h = self.program.geometry()
        harness.key("f")
        self.assertTrue(harness.wait_until(lambda: self.program.geometry()[2:] == (1280, 1024), 10))
        harness.key("f")
        self.assertTrue(harness.wait_until(lambda: self.program.geometry() == (x, y, w, h), 10),
                        self.program.geometry())
        self.program.finish(self)

    def test_control_bar_goes_in_full_screen_while_the_pointer_rests(self):
        self.launch()
        self.play_first_channel()
        harness.xdotool("mousemove", *self.at(200, 150), "click", "1")
        time.sleep(0.5)
        harness.key("f")
        self.assertTrue(harness.wait_until(lambda: self.program.geometry()[2:] == (1280, 1024), 10),
                        self.program.geometry())

        def bar_shown():
            row = harness.screenshot(0, 1024 - 30, 1280, 1)[0]
            return sum(1 for p in row if near(p, BAR_BORDER)) / len(row) > 0.6

        harness.xdotool("mousemove", "640", "400")
        self.assertTrue(harness.wait_until(bar_shown, 2), "no control bar in full screen")
        time.sleep(1.5)
        self.assertTrue(bar_shown(), "the bar went before 2.5 s")
        self.assertTrue(harness.wait_until(lambda: not bar_shown(), 3), "the bar stayed over a still pointer")
        harness.xdotool("mousemove_relative", "--", "20", "10")
        self.assertTrue(harness.wait_until(bar_shown, 1.5), "the bar did not come back when the pointer moved")
        # Resting on the bar keeps it.
        harness.xdotool("mousemove", "640", str(1024 - 15))
        time.sleep(3.5)
        self.assertTrue(bar_shown(), "the bar went from under the pointer")
        harness.key("Escape")
        self.program.finish(self)

    def test_maximized_window_sponsored_links_fill_the_side_bar(self):
        self.launch()
        x, y, _, _ = self.program.geometry()
        harness.xdotool("mousemove", str(x + MAXIMIZE[0]), str(y + MAXIMIZE[1]))
        time.sleep(0.3)
        harness.xdotool("click", "1")
        self.assertTrue(harness.wait_until(lambda: self.program.geometry()[2:] == (1278, 1022), 10),
                        self.program.geometry())
        x, y, w, h = self.program.geometry()
        # The tabs are pressed where the maximized window has drawn them, not where they were.
        harness.settled((x + w - 220, y, 220, 60))
        harness.xdotool("mousemove", str(x + w - (W - SPONSORED_TAB[0])), str(y + SPONSORED_TAB[1]), "click", "1")
        # The whole side bar below the tabs, down to the window's bottom edge: the page.
        pane = (x + w - 195, y + 60, 180, h - 60 - 12)
        self.assertTrue(harness.wait_until(lambda: share(harness.screenshot(*pane), page_backdrop) > 0.9, 15),
                        share(harness.screenshot(*pane), page_backdrop))
        shot = os.environ.get("QUORVEL_E2E_SHOTS")
        if shot:
            subprocess.run(["import", "-window", "root", os.path.join(shot, "maximized-sponsored-links.png")])
        self.program.finish(self)

    def menu_items(self, env):
        """The window menu's items, as the program says it drew them."""
        self.launch(env)
        x, y, _, _ = self.program.geometry()
        harness.xdotool("mousemove", str(x + 200), str(y + 15), "click", "3")

        def opened():
            with open(self.program.output.name, errors="replace") as f:
                lines = [line for line in f.read().splitlines() if "menu opened:" in line]
            return lines[-1].split("menu opened:", 1)[1].strip().split(" | ") if lines else None

        self.assertTrue(harness.wait_until(lambda: opened() is not None, 10), "no menu opened")
        harness.key("Escape")
        self.program.finish(self)
        return opened()

    def test_window_menu_follows_the_language(self):
        base = {"QT_LOGGING_RULES": "quorvel.menu.debug=true", "LC_ALL": "", "LC_MESSAGES": "", "LANGUAGE": ""}
        self.assertEqual(self.menu_items(dict(base, LANG="en_US.UTF-8")),
                         ["Mi&nimize", "Ma&ximize", "Ro&ll up", "-", "&Close"])
        self.assertEqual(self.menu_items(dict(base, LANG="zh_CN.UTF-8")),
                         ["最小化(&N)", "最大化(&X)", "卷起(&L)", "-", "关闭(&C)"])

    def test_restart_keeps_the_sound_the_place_the_open_category_and_the_channel(self):
        self.launch()
        self.play_first_channel()
        # A click on the volume track puts it there; M mutes.
        before = self.region(SOUND)
        left, row, width = VOLUME_TRACK
        harness.xdotool("mousemove", *self.at(left + width // 4, row), "click", "1")
        self.assertTrue(harness.wait_until(lambda: self.region(SOUND) != before, 5), "the volume did not jump")
        harness.xdotool("mousemove", *self.at(200, 150), "click", "1")
        time.sleep(0.5)
        harness.key("m")
        time.sleep(1)
        sound = self.region(SOUND)
        harness.xdotool("windowmove", self.program.window, "150", "100")
        self.assertTrue(harness.wait_until(lambda: self.program.geometry()[:2] == (150, 100), 5))
        self.program.finish(self)

        self.launch()
        self.assertEqual(self.program.geometry(), (150, 100, W, 479))
        # The category is open with the channel selected, and nothing plays until it is asked to.
        self.assertTrue(harness.wait_until(lambda: share(self.region(PATTERN_ROW), selected) > 0.5, 10))
        self.assertLess(share(self.region(VIDEO), vivid), 0.2, "a channel plays by itself")
        self.program.click(PATTERN_ROW[0] + 20, PATTERN_ROW[1] + 6)
        self.assertTrue(harness.wait_until(lambda: share(self.region(VIDEO), black) < 0.5, 20))
        self.assertTrue(harness.wait_until(lambda: self.region(SOUND) == sound, 5), "the sound came back otherwise")

        # Maximized, it comes back maximized, and restores to its place.
        harness.xdotool("mousemove", str(150 + MAXIMIZE[0]), str(100 + MAXIMIZE[1]), "click", "1")
        self.assertTrue(harness.wait_until(lambda: self.program.geometry()[2:] == (1278, 1022), 10))
        maximized = self.program.geometry()
        self.program.finish(self)
        self.launch()
        self.assertTrue(harness.wait_until(lambda: self.program.geometry() == maximized, 10), self.program.geometry())
        x, y, w, _ = self.program.geometry()
        harness.xdotool("mousemove", str(x + w - (W - MAXIMIZE[0])), str(y + MAXIMIZE[1]))
        time.sleep(0.5)
        harness.xdotool("click", "1")
        self.assertTrue(harness.wait_until(lambda: self.program.geometry() == (150, 100, W, 479), 10),
                        self.program.geometry())
        self.program.finish(self)


if __name__ == "__main__":
    unittest.main()
