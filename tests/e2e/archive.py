"""Catch-up in the real program: a playlist of one channel for each catch-up mode goes in
through quorvel-import, whose summary counts their archives; the program reads the guide its
header names. For each mode, the guide list (Ctrl+G) plays a past programme from the archive
(Up, Enter) and the programme on now from its start (Down, Enter), and Escape over the picture
goes back to the channel live. The archive on 127.0.0.1 answers only each programme's exact
archive address. A programme ending from the archive is followed by the channel's next one. On a
private session bus (under dbus-run-session) the media keys name the programme and its channel."""
import os
import re
import subprocess
import sys
import tempfile
import time
import unittest

sys.path.insert(0, os.path.dirname(__file__))
import harness  # noqa: E402
from archive_server import ArchiveServer, programmes_around  # noqa: E402

SERVICE = "org.mpris.MediaPlayer2.quorvel"
VIDEO = (255, 200)  # the middle of the picture, in the client area


def metadata():
    if "DBUS_SESSION_BUS_ADDRESS" not in os.environ:
        return None
    return subprocess.run(["dbus-send", "--session", "--print-reply", "--dest=" + SERVICE, "/org/mpris/MediaPlayer2",
                           "org.freedesktop.DBus.Properties.Get", "string:org.mpris.MediaPlayer2.Player",
                           "string:Metadata"], capture_output=True, text=True).stdout


def title_and_artist():
    out = metadata() or ""
    title = re.search(r'string "xesam:title"\s+variant\s+string "([^"]*)"', out)
    artist = re.search(r'string "xesam:artist"\s+variant\s+array \[\s+string "([^"]*)"', out)
    return (title.group(1) if title else None, artist.group(1) if artist else None)


class Archive(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.server = ArchiveServer(tempfile.mkdtemp(prefix="quorvel-archive-"))
        now = int(time.time())
        cls.programmes = {name: programmes_around(now, name) for name, _, _ in cls.server.channels()}
        cls.playlist = cls.server.playlist_and_guide(cls.programmes)
        for name, _, _ in cls.server.channels():
            for (start, stop, title), label in zip(cls.programmes[name], ("earlier", "past", "now", "later")):
                cls.server.expect(name, start, stop, name + " " + label)

    @classmethod
    def tearDownClass(cls):
        cls.server.stop()

    def play_channel(self, program, name):
        program.click(560, 32)
        harness.xdotool("type", "--delay", "80", name.lower())
        time.sleep(0.8)
        harness.key("Return")
        live = dict((n, l) for n, l, _ in self.server.channels())[name]
        self.assertTrue(harness.wait_until(lambda: self.server.live_asked(live) > 0, 15), self.server.requests[-5:])

    def test_each_mode_plays_past_and_on_now_from_the_archive_and_goes_live(self):
        program = harness.Program("[Layer1]\n[Layer2]\n[Programs]\n")
        try:
            result = subprocess.run([os.path.join(program.dir, "quorvel-import"), self.playlist],
                                    capture_output=True, text=True, timeout=120)
            self.assertEqual(result.returncode, 0, result.stderr)
            self.assertIn("Archive: 5 channels with one (5 channels of 3 days).", result.stdout)
            program.start(env={"TZ": "UTC"})
            self.assertTrue(harness.wait_until(lambda: "/guide.xml" in self.server.requests, 20))
            time.sleep(2)  # the guide stored

            for name, live, _ in self.server.channels():
                with self.subTest(mode=name):
                    self.play_channel(program, name)
                    harness.key("ctrl+g")
                    time.sleep(1)
                    # The programme on now is chosen; the one before it is in the archive.
                    segments = self.server.clip_segments_asked()
                    harness.key("Up", "Return")
                    self.assertTrue(harness.wait_until(lambda: self.server.hit(name + " past"), 15),
                                    self.server.requests[-8:])
                    self.assertTrue(harness.wait_until(lambda: self.server.clip_segments_asked() > segments, 15))
                    if metadata() is not None:
                        self.assertTrue(harness.wait_until(
                            lambda: title_and_artist() == (name + " Past", name), 10), title_and_artist())
                    # Start over: the programme on now from its start.
                    harness.key("Down", "Return")
                    self.assertTrue(harness.wait_until(lambda: self.server.hit(name + " now"), 15),
                                    self.server.requests[-8:])
                    # Escape over the picture: the channel live again.
                    asked = self.server.live_asked(live)
                    program.click(*VIDEO)
                    time.sleep(0.3)
                    harness.key("Escape")
                    self.assertTrue(harness.wait_until(lambda: self.server.live_asked(live) > asked, 15),
                                    self.server.requests[-8:])
                    if metadata() is not None:
                        self.assertTrue(harness.wait_until(lambda: title_and_artist()[0] == name, 10),
                                        title_and_artist())
                    harness.key("ctrl+g")  # back to the tree
                    time.sleep(0.5)

            # The earliest programme plays to its end, and the one after it follows from the archive.
            self.play_channel(program, "Default")
            harness.key("ctrl+g")
            time.sleep(1)
            followed = self.server.hits("Default past")
            harness.key("Up", "Up", "Return")
            self.assertTrue(harness.wait_until(lambda: self.server.hit("Default earlier"), 15))
            self.assertTrue(harness.wait_until(lambda: self.server.hits("Default past") > followed, 40))
            program.finish(self)
        finally:
            program.stop()


if __name__ == "__main__":
    unittest.main()
