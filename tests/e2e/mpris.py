"""Media keys: the player on a private session bus (the test runs under dbus-run-session) as an
MPRIS media player. Next chooses the next channel of the category, whose stream is then asked
for on 127.0.0.1; the metadata name it; pause, volume, Raise after the boss key and Quit work.
Without a session bus the player runs as before and says nothing about it."""
import os
import re
import socket
import subprocess
import sys
import tempfile
import time
import unittest

sys.path.insert(0, os.path.dirname(__file__))
import harness  # noqa: E402

PATH = "/org/mpris/MediaPlayer2"
PLAYER = "org.mpris.MediaPlayer2.Player"


def bus_names():
    out = subprocess.run(["dbus-send", "--session", "--print-reply", "--dest=org.freedesktop.DBus",
                          "/org/freedesktop/DBus", "org.freedesktop.DBus.ListNames"],
                         capture_output=True, text=True, check=True).stdout
    return re.findall(r'string "([^"]+)"', out)


def call(service, method, *args):
    return subprocess.run(["dbus-send", "--session", "--print-reply", "--dest=" + service, PATH, method, *args],
                          capture_output=True, text=True, check=True).stdout


def get(service, interface, name):
    return call(service, "org.freedesktop.DBus.Properties.Get", "string:" + interface, "string:" + name)


def metadata(service):
    """The metadata as a dict of the string values."""
    out = get(service, PLAYER, "Metadata")
    return dict(re.findall(r'string "([^"]+)"\s+variant\s+(?:string|object path) "([^"]*)"', out))


def visible():
    r = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", "Quorvel Online TV v1.12"],
                       capture_output=True, text=True)
    return bool(r.stdout.split())


def playerctl(*args):
    """What a desktop media widget asks, through the client such widgets use."""
    r = subprocess.run(["playerctl", "--player=quorvel", *args], capture_output=True, text=True, timeout=20)
    return r.returncode, r.stdout.strip()


class Mpris(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.media = tempfile.mkdtemp(prefix="quorvel-hls-")
        harness.make_hls(os.path.join(cls.media, "first"), "testsrc", seconds=30)
        harness.make_hls(os.path.join(cls.media, "second"), "smptebars", seconds=30)
        cls.server = harness.StreamServer(cls.media)

    @classmethod
    def tearDownClass(cls):
        cls.server.stop()

    def catalogue(self):
        return ("[Layer1]\nNews=\nSports=\n[Layer2]\nFirst=News\nSecond=News\nGoal=Sports\n[Programs]\n"
                "First=%s\nSecond=%s\nGoal=%s\n") % (self.server.url("first/index.m3u8"),
                                                     self.server.url("second/index.m3u8"),
                                                     self.server.url("goal/index.m3u8"))

    def test_next_plays_the_next_channel_and_the_desktop_can_steer(self):
        self.assertIn("DBUS_SESSION_BUS_ADDRESS", os.environ, "run this under dbus-run-session")
        program = harness.Program(self.catalogue()).start()
        try:
            service = "org.mpris.MediaPlayer2.quorvel"
            self.assertTrue(harness.wait_until(lambda: service in bus_names(), 20), bus_names())
            self.assertIn("Quorvel Online TV", get(service, "org.mpris.MediaPlayer2", "Identity"))
            self.assertIn('"Stopped"', get(service, PLAYER, "PlaybackStatus"))

            # Nothing chosen yet: Next starts the first channel.
            call(service, PLAYER + ".Next")
            self.assertTrue(harness.wait_until(lambda: "/first/index.m3u8" in self.server.requests, 15))
            self.assertEqual(metadata(service).get("xesam:title"), "First")
            self.assertTrue(harness.wait_until(lambda: '"Playing"' in get(service, PLAYER, "PlaybackStatus"), 15))

            call(service, PLAYER + ".Next")
            self.assertTrue(harness.wait_until(lambda: "/second/index.m3u8" in self.server.requests, 15))
            meta = metadata(service)
            self.assertEqual(meta.get("xesam:title"), "Second")
            self.assertEqual(meta.get("xesam:album"), "News")
            self.assertEqual(meta.get("xesam:url"), self.server.url("second/index.m3u8"))

            # Round the category, not into the next one.
            asked = self.server.requests.count("/first/index.m3u8")
            call(service, PLAYER + ".Next")
            self.assertTrue(harness.wait_until(
                lambda: self.server.requests.count("/first/index.m3u8") > asked, 15))
            self.assertNotIn("/goal/index.m3u8", self.server.requests)
            call(service, PLAYER + ".Previous")
            self.assertTrue(harness.wait_until(lambda: metadata(service).get("xesam:title") == "Second", 10))

            call(service, PLAYER + ".Pause")
            self.assertTrue(harness.wait_until(lambda: '"Paused"' in get(service, PLAYER, "PlaybackStatus"), 10))
            call(service, PLAYER + ".PlayPause")
            self.assertTrue(harness.wait_until(lambda: '"Playing"' in get(service, PLAYER, "PlaybackStatus"), 10))

            call(service, "org.freedesktop.DBus.Properties.Set", "string:" + PLAYER, "string:Volume",
                 "variant:double:0.5")
            self.assertTrue(harness.wait_until(lambda: "double 0.5" in get(service, PLAYER, "Volume"), 10))

            # Raise brings back a window the boss key hid.
            harness.key("Home")
            self.assertTrue(harness.wait_until(lambda: not visible(), 5))
            call(service, "org.mpris.MediaPlayer2.Raise")
            self.assertTrue(harness.wait_until(visible, 5))

            call(service, "org.mpris.MediaPlayer2.Quit")
            self.assertEqual(program.proc.wait(30), 0)
            self.assertTrue(harness.wait_until(lambda: service not in bus_names(), 10))
        finally:
            program.stop()

    def ask_everything(self, program, service, state):
        """Every question a media widget puts, in the state the player is in: each is answered
        and the program lives on."""
        rc, status = playerctl("status")
        self.assertEqual(rc, 0, state)
        rc, position = playerctl("position")
        self.assertEqual(rc, 0, state)
        self.assertGreaterEqual(float(position), 0.0, state)
        self.assertEqual(playerctl("metadata")[0] in (0, 1), True, state)
        self.assertEqual(playerctl("volume")[0], 0, state)
        for interface in ("org.mpris.MediaPlayer2", PLAYER):
            self.assertIn("PlaybackStatus" if interface == PLAYER else "Identity",
                          call(service, "org.freedesktop.DBus.Properties.GetAll", "string:" + interface), state)
        self.assertIsNone(program.proc.poll(), "the program ended when asked while " + state)
        return status

    def test_every_question_is_answered_in_every_state(self):
        # An address that takes the connection and never answers keeps its channel connecting.
        silent = socket.socket()
        silent.bind(("127.0.0.1", 0))
        silent.listen(8)
        refused = socket.socket()
        refused.bind(("127.0.0.1", 0))
        dead_port = refused.getsockname()[1]
        refused.close()
        catalogue = ("[Layer1]\nNews=\n[Layer2]\nFirst=News\nHang=News\nDead=News\n[Programs]\nFirst=%s\n"
                     "Hang=http://127.0.0.1:%d/live.m3u8\nDead=http://127.0.0.1:%d/live.m3u8\n") % (
                         self.server.url("first/index.m3u8"), silent.getsockname()[1], dead_port)
        program = harness.Program(catalogue)
        service = "org.mpris.MediaPlayer2.quorvel"
        try:
            program.start()
            self.assertTrue(harness.wait_until(lambda: service in bus_names(), 20))
            self.assertEqual(self.ask_everything(program, service, "nothing is chosen"), "Stopped")
            self.assertEqual(float(playerctl("position")[1]), 0.0)

            playerctl("next")
            self.assertTrue(harness.wait_until(lambda: playerctl("status")[1] == "Playing", 15))
            self.ask_everything(program, service, "playing")
            self.assertEqual(playerctl("metadata", "xesam:title")[1], "First")
            playerctl("pause")
            self.assertTrue(harness.wait_until(lambda: playerctl("status")[1] == "Paused", 10))
            self.ask_everything(program, service, "paused")
            playerctl("play-pause")
            self.assertTrue(harness.wait_until(lambda: playerctl("status")[1] == "Playing", 10))
            playerctl("volume", "0.4")
            self.assertTrue(harness.wait_until(lambda: playerctl("volume")[1].startswith("0.4"), 10))

            playerctl("next")
            self.assertTrue(harness.wait_until(lambda: playerctl("metadata", "xesam:title")[1] == "Hang", 10))
            self.ask_everything(program, service, "connecting")
            playerctl("next")
            self.assertTrue(harness.wait_until(lambda: playerctl("metadata", "xesam:title")[1] == "Dead", 10))
            time.sleep(3)
            self.ask_everything(program, service, "failed")
            playerctl("previous")
            playerctl("previous")
            self.assertTrue(harness.wait_until(lambda: playerctl("status")[1] == "Playing", 15))

            harness.key("Home")
            self.assertTrue(harness.wait_until(lambda: not visible(), 5))
            self.ask_everything(program, service, "hidden by the boss key")
            playerctl("stop")
            self.ask_everything(program, service, "stopped")
            call(service, "org.mpris.MediaPlayer2.Raise")
            self.assertTrue(harness.wait_until(visible, 5))
            program.finish(self)

            # After a restart the remembered channel is selected, not playing: Play plays it.
            program.start()
            self.assertTrue(harness.wait_until(lambda: service in bus_names(), 20))
            self.assertEqual(self.ask_everything(program, service, "restarted"), "Stopped")
            asked = self.server.requests.count("/first/index.m3u8")
            playerctl("play")
            self.assertTrue(harness.wait_until(lambda: playerctl("status")[1] == "Playing", 15))
            self.assertGreater(self.server.requests.count("/first/index.m3u8"), asked)
            self.assertEqual(playerctl("metadata", "xesam:title")[1], "First")
            program.finish(self)
        finally:
            program.stop()
            silent.close()

    def test_without_a_session_bus_nothing_is_said(self):
        program = harness.Program(self.catalogue()).start(
            env={"DBUS_SESSION_BUS_ADDRESS": "unix:path=/nonexistent/bus"})
        try:
            program.click(560, 32)
            harness.key("Right", "Down")
            self.assertTrue(harness.wait_until(lambda: "/first/index.m3u8" in self.server.requests, 15))
            time.sleep(1)
            with open(program.output.name, errors="replace") as f:
                out = f.read()
            self.assertNotRegex(out, r"(?i)d-?bus")
            program.finish(self)
        finally:
            program.stop()


if __name__ == "__main__":
    unittest.main()
