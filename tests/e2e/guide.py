"""The programme guide in the real program: a playlist whose header names a guide served on
127.0.0.1 goes in through quorvel-import; the program reads the guide beside the window, the
channel's tooltip in the tree shows the programme on now, and on a private session bus (the test
runs under dbus-run-session) the media keys' metadata name it as the artist. The guide list
(Ctrl+G) shows the programme on now for the chosen channel; a guide added in the playlist dialog,
packed and named like no guide, is told by its content and read for a channel the first lacks."""
import datetime
import gzip
import os
import re
import subprocess
import sys
import tempfile
import time
import unittest

sys.path.insert(0, os.path.dirname(__file__))
import harness  # noqa: E402

PATH = "/org/mpris/MediaPlayer2"
PLAYER = "org.mpris.MediaPlayer2.Player"
SERVICE = "org.mpris.MediaPlayer2.quorvel"


def guide_time(t):
    return datetime.datetime.fromtimestamp(t, datetime.timezone.utc).strftime("%Y%m%d%H%M%S +0000")


def guide(now, channel="pattern.tv", titles=("Test Card Hour", "Late Pattern News")):
    """Two hours of programmes around now for one channel, by its tvg-id."""
    parts = ['<?xml version="1.0" encoding="UTF-8"?>\n<tv>\n',
             '<channel id="%s"><display-name>Something else</display-name></channel>\n' % channel]
    for start, title in zip((now - 3600, now + 1800), titles):
        parts.append('<programme channel="%s" start="%s" stop="%s"><title>%s</title>'
                     '<desc>What %s is about.</desc></programme>\n'
                     % (channel, guide_time(start - (start % 60)), guide_time(start - (start % 60) + 5400), title,
                        title))
    parts.append("</tv>\n")
    return "".join(parts)


def red_png(side=48):
    """A plain red square as a PNG file's bytes: the channel's logo."""
    import struct
    import zlib

    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF)
    rows = b"".join(b"\x00" + b"\xff\x00\x00" * side for _ in range(side))
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", side, side, 8, 2, 0, 0, 0)) +
            chunk(b"IDAT", zlib.compress(rows)) + chunk(b"IEND", b""))


def metadata():
    return subprocess.run(["dbus-send", "--session", "--print-reply", "--dest=" + SERVICE, PATH,
                           "org.freedesktop.DBus.Properties.Get", "string:" + PLAYER, "string:Metadata"],
                          capture_output=True, text=True).stdout


def art_url():
    found = re.search(r'string "mpris:artUrl"\s+variant\s+string "([^"]*)"', metadata())
    return found.group(1) if found else None


def artist():
    out = metadata()
    found = re.search(r'string "xesam:artist"\s+variant\s+array \[\s+string "([^"]*)"', out)
    return found.group(1) if found else None


def windows():
    r = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", ""], capture_output=True, text=True)
    return set(r.stdout.split())


class Guide(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.media = tempfile.mkdtemp(prefix="quorvel-hls-")
        harness.make_hls(os.path.join(cls.media, "pattern"), "testsrc", seconds=60)
        cls.server = harness.StreamServer(cls.media)
        with open(os.path.join(cls.media, "guide.xml"), "w") as f:
            f.write(guide(int(time.time())))
        with open(os.path.join(cls.media, "tv.m3u"), "w") as f:
            f.write('#EXTM3U x-tvg-url="%s"\n' % cls.server.url("guide.xml"))
            f.write('#EXTINF:-1 tvg-id="pattern.tv" tvg-logo="%s" group-title="Guided",Pattern\n'
                    % cls.server.url("logo"))
            f.write(cls.server.url("pattern/index.m3u8") + "\n")
            f.write('#EXTINF:-1 tvg-id="other.tv" group-title="Guided",Other\n')
            f.write(cls.server.url("pattern/index.m3u8?other") + "\n")
        with open(os.path.join(cls.media, "logo"), "wb") as f:
            f.write(red_png())
        with open(os.path.join(cls.media, "extra"), "wb") as f:
            f.write(gzip.compress(guide(int(time.time()), "other.tv", ("Other Hour", "Other Later")).encode()))

    @classmethod
    def tearDownClass(cls):
        cls.server.stop()

    def copied(self):
        """The line of the programme chosen in the guide list, copied with Ctrl+C."""
        harness.key("ctrl+c")
        time.sleep(0.3)
        return subprocess.run(["xclip", "-o", "-selection", "clipboard"], capture_output=True, text=True,
                              timeout=10).stdout

    def test_tooltip_and_media_keys_name_the_programme_on_now(self):
        self.assertIn("DBUS_SESSION_BUS_ADDRESS", os.environ, "run this under dbus-run-session")
        program = harness.Program("[Layer1]\n[Layer2]\n[Programs]\n")
        try:
            result = subprocess.run([os.path.join(program.dir, "quorvel-import"), self.server.url("tv.m3u")],
                                    capture_output=True, text=True, timeout=120)
            self.assertEqual(result.returncode, 0, result.stderr)
            self.cache = tempfile.mkdtemp(prefix="quorvel-cache-")
            program.start(env={"XDG_CACHE_HOME": self.cache})
            # Nothing is kept yet: the guide is read soon after the start.
            self.assertTrue(harness.wait_until(lambda: "/guide.xml" in self.server.requests, 20),
                            self.server.requests)

            # The channel is found and played: the tree opens its category and selects it.
            program.click(560, 32)
            harness.xdotool("type", "--delay", "100", "pattern")
            time.sleep(0.8)
            harness.key("Return")
            self.assertTrue(harness.wait_until(lambda: "/pattern/index.m3u8" in self.server.requests, 15))
            shot = os.environ.get("QUORVEL_GUIDE_CARD_SHOT")
            if shot:
                time.sleep(1.5)
                subprocess.run(["import", "-window", "root", shot])
            self.assertTrue(harness.wait_until(lambda: artist() == "Test Card Hour", 20), artist())
            # The playlist's logo was fetched once, kept in the cache folder, and given to the desktop.
            self.assertTrue(harness.wait_until(lambda: (art_url() or "").startswith("file://" + self.cache), 20),
                            art_url())
            self.assertTrue(os.path.isfile(art_url()[len("file://"):]))
            self.assertEqual(self.server.requests.count("/logo"), 1)

            # The channel's name is short: a tooltip over it is there only for the programmes.
            harness.key("Escape")
            time.sleep(0.5)
            before = windows()
            wx, wy, _, _ = program.geometry()
            row = (wx + harness.CLIENT_LEFT + 600, wy + harness.CLIENT_TOP + 78)
            shown = False
            for dy in (0, 18, -18, 36):
                harness.xdotool("mousemove", str(row[0]), str(row[1] + dy))
                time.sleep(0.3)
                harness.xdotool("mousemove", str(row[0] + 3), str(row[1] + dy))
                if harness.wait_until(lambda: len(windows() - before) > 0, 3):
                    shown = True
                    break
            shot = os.environ.get("QUORVEL_GUIDE_SHOT")
            if shot:
                subprocess.run(["import", "-window", "root", shot])
            self.assertTrue(shown, "no tooltip over the channel")

            # Ctrl+G: the guide list of the chosen channel, the programme on now chosen; Ctrl+C
            # copies its line.
            harness.key("Escape")
            harness.key("ctrl+g")
            time.sleep(1)
            shot = os.environ.get("QUORVEL_GUIDE_LIST_SHOT")
            if shot:
                subprocess.run(["import", "-window", "root", shot])
            self.assertTrue(harness.wait_until(lambda: "Test Card Hour" in self.copied(), 10), self.copied())

            # A guide added in the dialog, told by its bytes, is read for the channel it covers.
            harness.key("ctrl+g")
            time.sleep(0.5)
            program.click(560, 200)
            harness.xdotool("mousemove", str(wx + harness.CLIENT_LEFT + 560), str(wy + harness.CLIENT_TOP + 200),
                            "click", "3")
            time.sleep(0.8)
            harness.key("Down", "Return")
            harness.wait_for_window("Add playlist", 10)
            harness.xdotool("type", "--delay", "30", self.server.url("extra"))
            time.sleep(0.3)
            harness.key("Return")
            self.assertTrue(harness.wait_until(lambda: self.server.requests.count("/extra") >= 2, 20),
                            self.server.requests)
            program.click(560, 32)
            harness.xdotool("type", "--delay", "100", "other")
            time.sleep(0.8)
            harness.key("Return")
            self.assertTrue(harness.wait_until(lambda: "/pattern/index.m3u8?other" in self.server.requests, 15))
            harness.key("ctrl+g")
            self.assertTrue(harness.wait_until(lambda: "Other Hour" in self.copied(), 15), self.copied())
            program.finish(self)
        finally:
            program.stop()


if __name__ == "__main__":
    unittest.main()
