"""Playlists from the window: the real program adds a playlist served on 127.0.0.1 through the
tree's context menu and dialog, shows its channels without a restart, and after the served list
changes, a refresh adds one channel, drops one and moves one to its new address while the
channel playing goes on."""
import os
import sys
import tempfile
import time
import unittest

sys.path.insert(0, os.path.dirname(__file__))
import harness  # noqa: E402


def colourful(pixels):
    flat = [p for row in pixels for p in row]
    return sum(1 for (r, g, b) in flat if max(r, g, b) - min(r, g, b) > 80) / len(flat)


def playlist(entries):
    lines = ["#EXTM3U"]
    for name, query in entries:
        lines.append('#EXTINF:-1 group-title="Served",%s' % name)
        lines.append("pattern/index.m3u8?ch=%s" % query)
    return "\n".join(lines) + "\n"


class Playlists(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.media = tempfile.mkdtemp(prefix="quorvel-hls-")
        harness.make_hls(os.path.join(cls.media, "pattern"), "testsrc", seconds=60)
        cls.server = harness.StreamServer(cls.media)

    @classmethod
    def tearDownClass(cls):
        cls.server.stop()

    def serve(self, entries):
        with open(os.path.join(self.media, "tv.m3u"), "w") as f:
            f.write(playlist(entries))

    def menu(self, program, item):
        """Right click in the tree, then the item-th entry of its menu."""
        program.click(560, 200)
        wx, wy, _, _ = program.geometry()
        harness.xdotool("mousemove", str(wx + harness.CLIENT_LEFT + 560), str(wy + harness.CLIENT_TOP + 200),
                        "click", "3")
        time.sleep(0.8)
        harness.key(*(["Down"] * item), "Return")

    def play(self, program, name, query):
        """Finds the channel by name over the tree and plays it: its stream is then asked for."""
        program.click(560, 32)
        harness.xdotool("type", "--delay", "100", name)
        time.sleep(0.8)
        harness.key("Return")
        wanted = "/pattern/index.m3u8?ch=" + query
        return harness.wait_until(lambda: wanted in self.server.requests, 15)

    def catalogue(self, program):
        with open(os.path.join(program.dir, "VisibleAPI.dat"), encoding="utf-8") as f:
            return f.read()

    def test_add_by_address_then_refresh(self):
        self.serve([("Alpha One", "a1"), ("Bravo Two", "b"), ("Charlie Three", "c")])
        program = harness.Program()
        try:
            program.start()
            # Add playlist… : the dialog takes the address.
            self.menu(program, 1)
            harness.wait_for_window("Add playlist", 10)
            harness.xdotool("type", "--delay", "30", self.server.url("tv.m3u"))
            time.sleep(0.3)
            harness.key("Return")
            self.assertTrue(harness.wait_until(lambda: "Charlie Three=" in self.catalogue(program), 20))
            # The tree has the channels at once: found and played without a restart.
            self.assertTrue(self.play(program, "charlie th", "c"), self.server.requests[-5:])
            x, y, _, _ = program.geometry()
            video = (x + 40, y + 40, 430, 300)
            self.assertTrue(harness.wait_until(lambda: colourful(harness.screenshot(*video)) > 0.3, 20))
            self.assertTrue(os.path.exists(os.path.join(program.dir, "viewer.db")))

            # The provider changes its list; Refresh playlists.
            self.serve([("Alpha One", "a2"), ("Charlie Three", "c"), ("Delta Four", "d")])
            asked_c = self.server.requests.count("/pattern/index.m3u8?ch=c")
            self.menu(program, 2)
            self.assertTrue(harness.wait_until(lambda: "Delta Four=" in self.catalogue(program), 20))
            text = self.catalogue(program)
            self.assertNotIn("Bravo Two=", text)
            self.assertIn("Alpha One=" + self.server.url("pattern/index.m3u8?ch=a2"), text)
            time.sleep(1.5)
            # The channel playing was not started again, and still plays.
            self.assertEqual(self.server.requests.count("/pattern/index.m3u8?ch=c"), asked_c)
            self.assertGreater(colourful(harness.screenshot(*video)), 0.3)
            # New, moved and gone, as the tree has them now.
            self.assertTrue(self.play(program, "delta f", "d"), self.server.requests[-5:])
            self.assertTrue(self.play(program, "alpha o", "a2"), self.server.requests[-5:])
            before = len(self.server.requests)
            program.click(560, 32)
            harness.xdotool("type", "--delay", "100", "bravo t")
            time.sleep(0.8)
            harness.key("Return")
            time.sleep(2)
            self.assertFalse(any("ch=b" in r for r in self.server.requests[before:]))
            harness.key("Escape")
            program.finish(self)
        finally:
            program.stop()


if __name__ == "__main__":
    unittest.main()
