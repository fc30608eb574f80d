"""A provider account in the real program, against a small panel on 127.0.0.1 and a keyring of
the test's own (run under tests/harness/with-keyring and with-xvfb): the password comes from the
keyring at start and goes into a channel's address only on its way to the player; with one
connection allowed, zapping and surfing never open a second stream; and no file the program
wrote and no line it logged holds the password."""
import os
import subprocess
import sys
import tempfile
import time
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import harness  # noqa: E402
from provider_panel import Account, Panel  # noqa: E402

PASSWORD = "Pl4y-Pa55-QRS"


class ProviderPlay(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.media = tempfile.mkdtemp(prefix="quorvel-ts-")
        cls.ts = os.path.join(cls.media, "pattern.ts")
        subprocess.run(["ffmpeg", "-loglevel", "error", "-y", "-f", "lavfi", "-i", "testsrc=size=320x240:rate=25",
                        "-t", "30", "-c:v", "libx264", "-preset", "ultrafast", "-g", "25", "-f", "mpegts", cls.ts],
                       check=True)

    def setUp(self):
        self.panel = Panel(self.ts)
        self.panel.accounts["anna"] = Account(PASSWORD, max_connections=1, formats=["ts"])
        self.panel.streams = [{"num": n, "name": "Panel %s" % name, "stream_id": 100 + n, "category_id": "1"}
                              for n, name in enumerate(["Alpha", "Bravo", "Charlie", "Delta"], start=1)]

    def tearDown(self):
        self.panel.stop()

    def asked(self, stream_id):
        return sum(1 for r in self.panel.requests if r == "/live/anna/%s/%d.ts" % (PASSWORD, stream_id))

    def plays(self, stream_id, times=1):
        ok = harness.wait_until(lambda: self.asked(stream_id) >= times, 15)
        self.assertTrue(ok, "%d not asked %d times: %s" % (stream_id, times, self.panel.requests[-6:]))

    def test_one_connection_and_no_password_written(self):
        program = harness.Program()
        try:
            program.start()
            program.finish(self)
            result = subprocess.run([os.path.join(program.dir, "quorvel-import"), "provider", self.panel.url(),
                                     "anna"], input=PASSWORD + "\n", capture_output=True, text=True, timeout=60)
            self.assertEqual(result.returncode, 0, result.stdout + result.stderr)

            program.start()
            program.click(560, 300)
            harness.xdotool("type", "--delay", "100", "panel alpha")
            time.sleep(0.8)
            harness.key("Return")
            self.plays(101)
            program.click(200, 150)
            time.sleep(1)
            # Surfing one way: each step would open the next channel ahead on any other account.
            for stream_id in (102, 103, 104):
                harness.key("Next")
                self.plays(stream_id)
                time.sleep(1.5)
            harness.key("Prior")
            self.plays(103, 2)
            time.sleep(2)
            self.assertEqual(self.panel.most_open.get("anna"), 1, self.panel.requests)
            # Nothing was asked ahead: each channel once per zap to it.
            self.assertEqual(self.asked(104), 1, self.panel.requests)
            program.finish(self)

            with open(program.output.name, "rb") as f:
                self.assertNotIn(PASSWORD.encode(), f.read())
            home = os.environ.get("HOME", "")
            for top in (program.dir, home):
                for root, dirs, files in os.walk(top):
                    dirs[:] = [d for d in dirs if d != "keyrings"]
                    for name in files:
                        path = os.path.join(root, name)
                        if os.path.islink(path) or not os.path.isfile(path):
                            continue
                        with open(path, "rb") as f:
                            self.assertNotIn(PASSWORD.encode(), f.read(), path)
        finally:
            program.stop()


if __name__ == "__main__":
    unittest.main()
