"""The video and what is shown over it, seen from outside: the ticker and the player's messages
stay visible over the playing video, a double click on the video toggles full screen (Escape
leaves it too), and the boss key hides and shows the window with the picture going on."""
import os
import sys
import tempfile
import time
import unittest

sys.path.insert(0, os.path.dirname(__file__))
import harness  # noqa: E402

TICKER = (311, 383, 120, 15)      # the ticker in the window's client area
VIDEO = (40, 40, 430, 300)        # well inside the video area, away from the ticker and the bar
MESSAGE = (80, 120, 350, 180)     # the middle of the video area, where messages show


def share(pixels, test):
    flat = [p for row in pixels for p in row]
    return sum(1 for p in flat if test(*p)) / len(flat)


def lime(r, g, b):
    return g > 180 and r < 90 and b < 90


def black(r, g, b):
    return r + g + b < 40


def retry_blue(r, g, b):
    return abs(r - 47) < 30 and abs(g - 111) < 30 and abs(b - 214) < 30


class VideoSurface(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.media = tempfile.mkdtemp(prefix="quorvel-hls-")
        harness.make_hls(os.path.join(cls.media, "pattern"), "testsrc", seconds=60)
        cls.server = harness.StreamServer(cls.media)

    @classmethod
    def tearDownClass(cls):
        cls.server.stop()

    def region(self, rect):
        """The pixels of a rectangle of the window's client area."""
        x, y, _, _ = self.program.geometry()
        return harness.screenshot(x + harness.CLIENT_LEFT + rect[0], y + harness.CLIENT_TOP + rect[1], rect[2], rect[3])

    def moving(self, rect):
        first = self.region(rect)
        return harness.wait_until(lambda: self.region(rect) != first, 10)

    def test_overlays_full_screen_and_boss_key_over_playing_video(self):
        catalogue = ("[Layer1]\nNews=\n[Layer2]\nPattern=News\nDead=News\n[Programs]\nPattern=%s\n"
                     "Dead=http://127.0.0.1:1/dead.m3u8\n") % self.server.url("pattern/index.m3u8")
        self.program = harness.Program(catalogue).start()
        try:
            self.program.click(560, 68)  # the first catalogue category, after Favourites and Recently watched
            harness.key("Right", "Down")
            self.assertTrue(harness.wait_until(lambda: share(self.region(VIDEO), black) < 0.5, 20))
            self.assertTrue(self.moving(VIDEO))

            # The ticker's first title (after six seconds) shows over the moving picture: lime on black.
            self.assertTrue(harness.wait_until(lambda: share(self.region(TICKER), lime) > 0.03, 20))
            self.assertGreater(share(self.region(TICKER), black), 0.5)

            # The boss key hides the window; back again, the picture goes on.
            harness.key("Home")
            self.assertTrue(harness.wait_until(lambda: not harness.visible("Quorvel Online TV v1.12"), 5))
            time.sleep(1)
            harness.key("Home")
            self.assertTrue(harness.wait_until(lambda: harness.visible("Quorvel Online TV v1.12"), 5))
            self.assertTrue(self.moving(VIDEO))
            self.assertGreater(share(self.region(TICKER), black), 0.5)

            # A double click on the video: full screen, still playing; again: back as it was.
            x, y, w, h = self.program.geometry()
            harness.xdotool("mousemove", str(x + 250), str(y + 200), "click", "--repeat", "2", "--delay", "80", "1")
            self.assertTrue(harness.wait_until(lambda: self.program.geometry()[2:] == (1280, 1024), 10),
                            self.program.geometry())
            # The test picture's moving part is its counter, right of the middle of the screen.
            counter = (760, 330, 380, 300)
            first = harness.screenshot(*counter)
            self.assertTrue(harness.wait_until(lambda: harness.screenshot(*counter) != first, 10))
            # Escape, pressed with the pointer over the video, leaves full screen too.
            harness.key("Escape")
            self.assertTrue(harness.wait_until(lambda: self.program.geometry() == (x, y, w, h), 10),
                            self.program.geometry())
            harness.xdotool("mousemove", str(x + 250), str(y + 200), "click", "--repeat", "2", "--delay", "80", "1")
            self.assertTrue(harness.wait_until(lambda: self.program.geometry()[2:] == (1280, 1024), 10))
            harness.xdotool("mousemove", "640", "400", "click", "--repeat", "2", "--delay", "80", "1")
            self.assertTrue(harness.wait_until(lambda: self.program.geometry() == (x, y, w, h), 10),
                            self.program.geometry())
            self.assertTrue(self.moving(VIDEO))

            # A channel that cannot play: the message with its Retry button shows over the video.
            # The clicks on the picture gave the player the keyboard (Down would turn the volume
            # there): the tree takes it back with a click on the channel playing.
            self.program.click(580, 86)
            harness.key("Down")
            self.assertTrue(harness.wait_until(lambda: share(self.region(MESSAGE), retry_blue) > 0.005, 20))
            self.assertIsNone(self.program.proc.poll())
            self.program.finish(self)
        finally:
            self.program.stop()


if __name__ == "__main__":
    unittest.main()
