"""Zapping over the video of the real program: a channel number typed over the picture plays that
channel (the playlist's own number, else the channel's place in the catalogue), Page Down and
Page Up go round the playing channel's category, and Backspace goes back to the channel before."""
import os
import subprocess
import sys
import tempfile
import time
import unittest

sys.path.insert(0, os.path.dirname(__file__))
import harness  # noqa: E402

# name, number the playlist gives ("" for none), group, stream query
CHANNELS = [
    ("Alpha", "", "Zap Test", "a"),    # place 1
    ("Bravo", "50", "Zap Test", "b"),  # its own number
    ("Charlie", "", "Zap Test", "c"),  # place 3, which Delta's number takes: after the highest, 51
    ("Delta", "3", "Zap Test", "d"),
    ("Echo", "", "Other", "e"),        # place 5
]


def playlist():
    lines = ["#EXTM3U"]
    for name, number, group, query in CHANNELS:
        chno = ' tvg-chno="%s"' % number if number else ""
        lines.append('#EXTINF:-1 tvg-id="%s.tv"%s group-title="%s",%s' % (name.lower(), chno, group, name))
        lines.append("pattern/index.m3u8?ch=%s" % query)
    return "\n".join(lines) + "\n"


class Zapping(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.media = tempfile.mkdtemp(prefix="quorvel-hls-")
        harness.make_hls(os.path.join(cls.media, "pattern"), "testsrc", seconds=30)
        with open(os.path.join(cls.media, "tv.m3u"), "w") as f:
            f.write(playlist())
        cls.server = harness.StreamServer(cls.media)

    @classmethod
    def tearDownClass(cls):
        cls.server.stop()

    def asked(self, query):
        return self.server.requests.count("/pattern/index.m3u8?ch=" + query)

    def plays(self, query, times=1):
        """The channel's stream is asked for at least that many times all told."""
        ok = harness.wait_until(lambda: self.asked(query) >= times, 15)
        self.assertTrue(ok, "%s not asked %d times: %s" % (query, times, self.server.requests[-6:]))

    def type_number(self, digits, enter=False):
        for d in digits:
            harness.key(d)
        if enter:
            harness.key("Return")

    def test_numbers_pages_and_back(self):
        program = harness.Program()
        try:
            program.start()
            program.finish(self)
            result = subprocess.run([os.path.join(program.dir, "quorvel-import"), self.server.url("tv.m3u")],
                                    capture_output=True, text=True, timeout=60)
            self.assertEqual(result.returncode, 0, result.stdout + result.stderr)

            program.start()
            # Alpha, found over the tree; then a click on the picture gives the player the keys.
            program.click(560, 300)
            harness.xdotool("type", "--delay", "100", "alpha")
            time.sleep(0.8)
            harness.key("Return")
            self.plays("a")
            program.click(200, 150)
            time.sleep(0.5)

            # The playlist's own number, taken when typing stops.
            self.type_number("50")
            self.plays("b")
            # Delta's number, which is Charlie's place, taken at once with Enter.
            self.type_number("3", enter=True)
            self.plays("d")
            # Charlie, pushed past the highest number.
            self.type_number("51", enter=True)
            self.plays("c")
            # A place in another category.
            self.type_number("05", enter=True)
            self.plays("e")
            # No channel has 57: nothing new is asked for, the channel plays on.
            before = len(self.server.requests)
            self.type_number("57", enter=True)
            time.sleep(2)
            self.assertFalse(any("?ch=" in r for r in self.server.requests[before:] if "index.m3u8" in r),
                             self.server.requests[before:])

            # Page Down and Page Up round Zap Test: Bravo, Charlie, ... Delta, then round to Alpha.
            self.type_number("50", enter=True)
            self.plays("b", 2)
            harness.key("Next")
            self.plays("c", 2)
            harness.key("Next")
            self.plays("d", 2)
            harness.key("Next")
            self.plays("a", 2)
            harness.key("Prior")
            self.plays("d", 3)
            # Backspace over the video: the channel before, Alpha, and back again.
            harness.key("BackSpace")
            self.plays("a", 3)
            harness.key("BackSpace")
            self.plays("d", 4)
            program.finish(self)
        finally:
            program.stop()


if __name__ == "__main__":
    unittest.main()
