"""Favourites survive a refresh and a restart: the real program favourites the playing channel
with Ctrl+D; quorvel-import reads the playlist again with that channel renamed and moved to
another category; after a restart the favourite is still first in the tree and plays the
channel at its new address. Backspace goes back to the channel before, and back again."""
import os
import subprocess
import sys
import tempfile
import time
import unittest

sys.path.insert(0, os.path.dirname(__file__))
import harness  # noqa: E402


def playlist(entries):
    lines = ["#EXTM3U"]
    for name, tvg, group, query in entries:
        lines.append('#EXTINF:-1 tvg-id="%s" group-title="%s",%s' % (tvg, group, name))
        lines.append("pattern/index.m3u8?ch=%s" % query)
    return "\n".join(lines) + "\n"


class Favourites(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.media = tempfile.mkdtemp(prefix="quorvel-hls-")
        harness.make_hls(os.path.join(cls.media, "pattern"), "testsrc", seconds=10)
        cls.server = harness.StreamServer(cls.media)

    @classmethod
    def tearDownClass(cls):
        cls.server.stop()

    def serve(self, entries):
        with open(os.path.join(self.media, "tv.m3u"), "w") as f:
            f.write(playlist(entries))

    def asked(self, query):
        return self.server.requests.count("/pattern/index.m3u8?ch=" + query)

    def wait_asked(self, query, times):
        return harness.wait_until(lambda: self.asked(query) >= times, 15)

    def play(self, program, name):
        """Finds the channel by name over the tree and plays it; the focus stays on the tree."""
        program.click(560, 300)
        harness.xdotool("type", "--delay", "100", name)
        time.sleep(0.8)
        harness.key("Return")

    def catalogue(self, program):
        with open(os.path.join(program.dir, "VisibleAPI.dat"), encoding="utf-8") as f:
            return f.read()

    def import_(self, program, *args):
        result = subprocess.run([os.path.join(program.dir, "quorvel-import"), *args], capture_output=True, text=True,
                                timeout=60)
        self.assertEqual(result.returncode, 0, result.stdout + result.stderr)

    def test_favourite_survives_refresh_and_restart(self):
        self.serve([("Alpha", "alpha.tv", "News", "a1"), ("Bravo", "bravo.tv", "News", "b")])
        program = harness.Program()
        try:
            # The catalogue is made at the first start; the playlist goes in while no player runs.
            program.start()
            program.finish(self)
            self.import_(program, self.server.url("tv.m3u"))
            self.assertIn("Alpha=News", self.catalogue(program))

            program.start()
            self.play(program, "bravo")
            self.assertTrue(self.wait_asked("b", 1), self.server.requests[-5:])
            self.play(program, "alpha")
            self.assertTrue(self.wait_asked("a1", 1), self.server.requests[-5:])
            # Backspace over the tree: the channel before plays again, and then the one after it.
            harness.key("BackSpace")
            self.assertTrue(self.wait_asked("b", 2), self.server.requests[-5:])
            harness.key("BackSpace")
            self.assertTrue(self.wait_asked("a1", 2), self.server.requests[-5:])
            # Alpha plays: Ctrl+D makes it a favourite.
            harness.key("ctrl+d")
            time.sleep(1)
            program.finish(self)

            # The provider renames Alpha (its tvg-id stays), gives it a new address and another group.
            self.serve([("Alpha HD", "alpha.tv", "Sports", "a2"), ("Bravo", "bravo.tv", "News", "b")])
            self.import_(program, "refresh")
            text = self.catalogue(program)
            self.assertNotIn("Alpha=News", text)
            self.assertIn("Alpha HD=Sports", text)

            program.start()
            # Favourites is first and open: a click chooses it, Down its first channel, which plays.
            program.click(600, 34)
            harness.key("Down")
            self.assertTrue(self.wait_asked("a2", 1), self.server.requests[-5:])
            # And Backspace over the video goes back to the channel before it.
            self.play(program, "bravo")
            self.assertTrue(self.wait_asked("b", 3), self.server.requests[-5:])
            program.click(200, 150)
            harness.key("BackSpace")
            self.assertTrue(self.wait_asked("a2", 2), self.server.requests[-5:])
            program.finish(self)
        finally:
            program.stop()


if __name__ == "__main__":
    unittest.main()
