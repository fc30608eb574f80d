"""Zapping soak: the real program, a catalogue that mixes good streams with a refused port, a
server that never answers, a page that is no stream and a live stream that stalls, and channel
changes by keyboard, hundreds of them. The window keeps answering, the last good channel plays
and the program ends cleanly.
    soak.py [--zaps N]   (default 300; every 500 changes the program's memory is printed)"""
import argparse
import os
import socket
import sys
import tempfile
import threading
import time
import unittest

sys.path.insert(0, os.path.dirname(__file__))
import harness  # noqa: E402
from stalling_hls import StallingHls  # noqa: E402

ZAPS = 300
BATCH = 50
VIDEO = (40, 40, 430, 300)
# The channels in tree order; the last one is good and is reached with End.
CHANNELS = ["Bars", "Refused", "Silent", "Page", "Stalling", "Pattern"]


class SilentServer:
    """Takes every connection and never answers."""

    def __init__(self):
        self.sock = socket.socket()
        self.sock.bind(("127.0.0.1", 0))
        self.sock.listen(64)
        self.port = self.sock.getsockname()[1]
        self.held = []
        threading.Thread(target=self.take, daemon=True).start()

    def take(self):
        while True:
            try:
                conn, _ = self.sock.accept()
            except OSError:
                return
            self.held.append(conn)
            if len(self.held) > 200:
                self.held.pop(0).close()


def rss_kib(pid):
    with open("/proc/%d/status" % pid) as f:
        for line in f:
            if line.startswith("VmRSS:"):
                return int(line.split()[1])
    return 0


class Soak(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.media = tempfile.mkdtemp(prefix="quorvel-soak-")
        harness.make_hls(os.path.join(cls.media, "pattern"), "testsrc", seconds=60)
        harness.make_hls(os.path.join(cls.media, "bars"), "smptebars", seconds=60)
        with open(os.path.join(cls.media, "page.html"), "w") as f:
            f.write("<html><body>Not a stream</body></html>\n")
        cls.server = harness.StreamServer(cls.media)
        cls.silent = SilentServer()
        cls.stalling = StallingHls(4)

    @classmethod
    def tearDownClass(cls):
        cls.server.stop()
        cls.stalling.stop()

    def pattern_asked(self):
        return self.server.requests.count("/pattern/index.m3u8")

    def test_zapping(self):
        addresses = {"Bars": self.server.url("bars/index.m3u8"), "Refused": "http://127.0.0.1:1/live.m3u8",
                     "Silent": "http://127.0.0.1:%d/live.m3u8" % self.silent.port,
                     "Page": self.server.url("page.html"), "Stalling": self.stalling.url(),
                     "Pattern": self.server.url("pattern/index.m3u8")}
        catalogue = "[Layer1]\nSoak=\n[Layer2]\n" + "".join("%s=Soak\n" % c for c in CHANNELS)
        catalogue += "[Programs]\n" + "".join("%s=%s\n" % (c, addresses[c]) for c in CHANNELS)
        program = harness.Program(catalogue).start()
        try:
            program.click(560, 68)  # the first catalogue category, after Favourites and Recently watched
            harness.key("Right", "Down")
            at, step, done = 0, 1, 0
            started = time.time()
            while done < ZAPS:
                before = done
                keys = []
                for _ in range(min(BATCH, ZAPS - done)):
                    if not 0 <= at + step < len(CHANNELS):
                        step = -step
                    at += step
                    keys.append("Down" if step > 0 else "Up")
                harness.xdotool("key", "--delay", "30", *keys)
                done += len(keys)
                # The window still answers: after the queued changes it takes End to the last,
                # good channel, which asks the server for its stream.
                # A step back first: a second step the same way has the channel after opened
                # ahead, and from the first channel upwards that is the last one, which End
                # would then show without asking anew.
                if 0 <= at - step < len(CHANNELS):
                    at -= step
                    harness.xdotool("key", "Up" if step > 0 else "Down")
                    done += 1
                if at == len(CHANNELS) - 1:
                    harness.xdotool("key", "Up")
                    done += 1
                asked = self.pattern_asked()
                harness.xdotool("key", "End")
                done += 1
                at, step = len(CHANNELS) - 1, -1
                self.assertTrue(harness.wait_until(lambda: self.pattern_asked() > asked, 60),
                                "no answer after %d changes" % done)
                self.assertIsNone(program.proc.poll())
                if done // 500 != before // 500 or done >= ZAPS:
                    print("changes %5d  RSS %7.1f MiB  (%.0f s)" % (done, rss_kib(program.proc.pid) / 1024.0,
                                                                    time.time() - started), flush=True)

            # The last good channel plays: its picture moves.
            x, y, _, _ = program.geometry()
            region = (x + VIDEO[0], y + VIDEO[1], VIDEO[2], VIDEO[3])
            first = harness.screenshot(*region)
            self.assertTrue(harness.wait_until(lambda: harness.screenshot(*region) != first, 30))
            time.sleep(1)
            second = harness.screenshot(*region)
            self.assertTrue(harness.wait_until(lambda: harness.screenshot(*region) != second, 30))
            program.finish(self)
        finally:
            program.stop()


if __name__ == "__main__":
    parser = argparse.ArgumentParser()
    parser.add_argument("--zaps", type=int, default=ZAPS)
    args, rest = parser.parse_known_args()
    ZAPS = args.zaps
    unittest.main(argv=[sys.argv[0]] + rest)
