"""Choosing channels with the keyboard plays them: the server is asked for the chosen stream,
the video panel shows its picture, the next channel replaces it, a category changes nothing."""
import os
import sys
import tempfile
import time
import unittest

sys.path.insert(0, os.path.dirname(__file__))
import harness  # noqa: E402


def colourful(pixels):
    """Share of strongly coloured pixels: the test patterns are full of them, the panel has none."""
    flat = [p for row in pixels for p in row]
    return sum(1 for (r, g, b) in flat if max(r, g, b) - min(r, g, b) > 80) / len(flat)


def difference(a, b):
    flat_a = [p for row in a for p in row]
    flat_b = [p for row in b for p in row]
    return sum(1 for p, q in zip(flat_a, flat_b) if sum(abs(x - y) for x, y in zip(p, q)) > 60) / len(flat_a)


class PlayChannels(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.media = tempfile.mkdtemp(prefix="quorvel-hls-")
        harness.make_hls(os.path.join(cls.media, "pattern"), "testsrc")
        harness.make_hls(os.path.join(cls.media, "bars"), "smptebars")
        cls.server = harness.StreamServer(cls.media)

    @classmethod
    def tearDownClass(cls):
        cls.server.stop()

    def test_keyboard_choice_plays_and_replaces(self):
        catalogue = ("[Layer1]\nNews=\nSports=\n[Layer2]\nPattern=News\nBars=News\n[Programs]\n"
                     "Pattern=%s\nBars=%s\n") % (self.server.url("pattern/index.m3u8"),
                                                  self.server.url("bars/index.m3u8"))
        program = harness.Program(catalogue).start()
        try:
            x, y, _, _ = program.geometry()
            video = (x + 40, y + 40, 430, 300)  # well inside the video area, away from the bars
            # The start page shows until a channel is chosen.
            self.assertTrue(harness.wait_until(lambda: harness.looks_like_start_page(harness.screenshot(*video)), 20))
            self.assertLess(colourful(harness.screenshot(*video)), 0.1)

            program.click(560, 68)           # "News", the first of the catalogue after Favourites and Recently watched
            harness.key("Right", "Down")     # open it and move to "Pattern"
            self.assertTrue(harness.wait_until(lambda: "/pattern/index.m3u8" in self.server.requests, 10))
            self.assertTrue(harness.wait_until(lambda: colourful(harness.screenshot(*video)) > 0.3, 15))
            first = harness.screenshot(*video)

            harness.key("Down")              # "Bars"
            self.assertTrue(harness.wait_until(lambda: "/bars/index.m3u8" in self.server.requests, 10))
            self.assertTrue(harness.wait_until(lambda: difference(harness.screenshot(*video), first) > 0.3, 15))
            time.sleep(1)
            second = harness.screenshot(*video)
            self.assertGreater(colourful(second), 0.3)

            asked = len([r for r in self.server.requests if r.endswith(".m3u8")])
            harness.key("Down")              # "Sports", a category
            time.sleep(2)
            self.assertEqual(asked, len([r for r in self.server.requests if r.endswith(".m3u8")]))
            self.assertGreater(colourful(harness.screenshot(*video)), 0.3)
            self.assertIsNone(program.proc.poll())
            program.finish(self)
        finally:
            program.stop()


if __name__ == "__main__":
    unittest.main()
