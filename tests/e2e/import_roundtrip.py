"""A playlist served on 127.0.0.1 goes through the real quorvel-import into the program folder's
catalogue; the real player then shows its channels in the tree, where the find box finds one and
Enter plays its stream from 127.0.0.1."""
import os
import subprocess
import sys
import tempfile
import time
import unittest

sys.path.insert(0, os.path.dirname(__file__))
import harness  # noqa: E402


def colourful(pixels):
    flat = [p for row in pixels for p in row]
    return sum(1 for (r, g, b) in flat if max(r, g, b) - min(r, g, b) > 80) / len(flat)


class ImportRoundTrip(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.media = tempfile.mkdtemp(prefix="quorvel-hls-")
        harness.make_hls(os.path.join(cls.media, "pattern"), "testsrc")
        cls.server = harness.StreamServer(cls.media)
        lines = ["\ufeff#EXTM3U"]
        for i in range(3000):
            lines.append('#EXTINF:-1 tvg-id="c%d" group-title="Imported %d",Filler %d, part %d' % (i, i % 30, i, i))
            lines.append(cls.server.url("filler/%d.m3u8" % i))
        lines.append('#EXTINF:-1 tvg-logo="http://127.0.0.1/x.png?a=1,b=2" group-title="Imported 7;Other",'
                     "[Test] Moving Pattern")
        lines.append("#EXTVLCOPT:http-user-agent=Quorvel")
        lines.append("pattern/index.m3u8")   # relative to the playlist's address
        with open(os.path.join(cls.media, "tv.m3u"), "w", encoding="utf-8", newline="") as f:
            f.write("\r\n".join(lines))

    @classmethod
    def tearDownClass(cls):
        cls.server.stop()

    def test_imported_channel_is_found_and_played(self):
        program = harness.Program(keep_catalogue=True)
        try:
            before = open(os.path.join(program.dir, "VisibleAPI.dat"), encoding="utf-8").read()
            result = subprocess.run([os.path.join(program.dir, "quorvel-import"), self.server.url("tv.m3u")],
                                    capture_output=True, text=True, timeout=120)
            self.assertEqual(result.returncode, 0, result.stderr)
            self.assertIn("Added 3,001 channels in 30 categories (30 of them new)", result.stdout)
            self.assertIn("  Imported 7 (new category): 101 added\n", result.stdout)
            after = open(os.path.join(program.dir, "VisibleAPI.dat"), encoding="utf-8").read()
            # What was there stays, in front.
            self.assertTrue(after.startswith(before.split("\n\n")[0]), after[:400])
            self.assertIn("(Test) Moving Pattern=" + self.server.url("pattern/index.m3u8"), after)

            program.start()
            x, y, _, _ = program.geometry()
            program.click(560, 32)                      # the tree has the keyboard
            harness.xdotool("type", "--delay", "120", "moving pat")
            time.sleep(1)
            harness.key("Return")
            self.assertTrue(harness.wait_until(lambda: "/pattern/index.m3u8" in self.server.requests, 20),
                            self.server.requests[-5:])
            video = (x + 40, y + 40, 430, 300)
            self.assertTrue(harness.wait_until(lambda: colourful(harness.screenshot(*video)) > 0.3, 20))
            self.assertFalse(any(r.startswith("/filler/") for r in self.server.requests))
            program.finish(self)
        finally:
            program.stop()


if __name__ == "__main__":
    unittest.main()
