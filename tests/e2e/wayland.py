"""The real program on a Wayland desktop: weston nested in the harness's X server, with XWayland.
With an X server there the program is an X11 client of XWayland (even where the desktop asks Qt
for Wayland) and takes the boss key from the desktop portal, here a stand-in on the test's
private bus (portal_standin.py); without one it is a Wayland client. Either way it plays a channel
from 127.0.0.1 and closes cleanly. Screenshots go to QUORVEL_SHOTS when set."""
import json
import os
import re
import shutil
import subprocess
import sys
import tempfile
import time
import unittest

sys.path.insert(0, os.path.dirname(__file__))
import harness  # noqa: E402

TITLE = "Quorvel Online TV v1.12"
TOLD = "The Home key cannot hide this window from other programs"
OUTER = os.environ["DISPLAY"]
# The stand-in needs the system's python3-dbus and python3-gi, which another python3 first on the
# PATH may lack.
STANDIN_PYTHON = "/usr/bin/python3" if os.path.exists("/usr/bin/python3") else sys.executable


class Weston:
    """A Wayland desktop in a window of the harness's X server, XWayland started with it."""

    def __init__(self, runtime):
        self.socket = "quorvel-wayland-%d" % os.getpid()
        self.log = os.path.join(runtime, self.socket + ".log")
        self.proc = subprocess.Popen(["weston", "--backend=x11-backend.so", "--use-pixman", "--xwayland",
                                      "--socket=" + self.socket, "--width=1100", "--height=760", "--idle-time=0",
                                      "--log=" + self.log], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        self.x_display = None

        def ready():
            if not os.path.exists(self.log):
                return False
            with open(self.log, errors="replace") as f:
                found = re.search(r"xserver listening on display (:\d+)", f.read())
            self.x_display = found and found.group(1)
            return bool(self.x_display) and os.path.exists(os.path.join(runtime, self.socket))

        assert harness.wait_until(ready, 20), "weston did not start"

    def stop(self):
        self.proc.terminate()
        self.proc.wait(20)


class StandIn:
    """The portal stand-in; its log says what the program asked."""

    def __init__(self, bind="bind"):
        self.log = tempfile.NamedTemporaryFile(prefix="quorvel-portal-", suffix=".log", delete=False).name
        env = dict(os.environ, QUORVEL_STANDIN_BIND=bind)
        self.proc = subprocess.Popen([STANDIN_PYTHON, os.path.join(os.path.dirname(__file__), "portal_standin.py"),
                                      self.log], env=env)
        assert harness.wait_until(lambda: self.calls("Ready"), 10), "the stand-in did not start"

    def calls(self, method):
        with open(self.log) as f:
            return [c["args"] for c in map(json.loads, f) if c["method"] == method]

    def press(self, shortcut):
        subprocess.run(["dbus-send", "--session", "--print-reply", "--dest=org.freedesktop.portal.Desktop",
                        "/org/freedesktop/portal/desktop", "tv.quorvel.test.PortalStandIn.Press",
                        "string:" + shortcut], check=True, capture_output=True)

    def stop(self):
        self.proc.terminate()
        self.proc.wait(10)
        os.unlink(self.log)


def playerctl(*args):
    return subprocess.run(["playerctl", "--player=quorvel", *args], capture_output=True, text=True, timeout=20)


def shows_test_picture():
    """The test stream's colour bars are on the outer screen: yellow, magenta and cyan, which
    neither the skin nor weston's desktop show."""
    raw = subprocess.run(["import", "-display", OUTER, "-window", "root", "-depth", "8", "rgb:-"],
                         check=True, capture_output=True).stdout
    counts = {"yellow": 0, "magenta": 0, "cyan": 0}
    for i in range(0, len(raw) - 2, 3 * 7):  # every seventh pixel is plenty
        r, g, b = raw[i], raw[i + 1], raw[i + 2]
        if r > 200 and g > 200 and b < 60:
            counts["yellow"] += 1
        elif r > 200 and b > 200 and g < 60:
            counts["magenta"] += 1
        elif g > 200 and b > 200 and r < 60:
            counts["cyan"] += 1
    return min(counts.values()) > 300


def shot(name):
    """The whole outer screen, where weston shows its desktop; kept for a look when asked."""
    folder = os.environ.get("QUORVEL_SHOTS")
    if folder:
        os.makedirs(folder, exist_ok=True)
        subprocess.run(["import", "-display", OUTER, "-window", "root", os.path.join(folder, name + ".png")],
                       check=True)


class Wayland(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.media = tempfile.mkdtemp(prefix="quorvel-hls-")
        harness.make_hls(os.path.join(cls.media, "first"), "testsrc", seconds=60)
        cls.server = harness.StreamServer(cls.media)
        cls.weston = Weston(os.environ["XDG_RUNTIME_DIR"])

    @classmethod
    def tearDownClass(cls):
        cls.weston.stop()
        cls.server.stop()
        shutil.rmtree(cls.media, ignore_errors=True)

    def setUp(self):
        catalogue = "[Layer1]\nNews=\n[Layer2]\nFirst=News\n[Programs]\nFirst=%s\n" % self.server.url(
            "first/index.m3u8")
        self.program = harness.Program(catalogue)
        self.standin = None
        self.addCleanup(self.cleanup)

    def cleanup(self):
        self.program.stop()
        if self.standin:
            self.standin.stop()
        os.environ["DISPLAY"] = OUTER

    def start_on_xwayland(self):
        # The desktop asks every Qt program for Wayland, as some do; the program is an X11 client
        # all the same, so its window is on XWayland's server.
        os.environ["DISPLAY"] = self.weston.x_display
        self.program.start({"WAYLAND_DISPLAY": self.weston.socket, "QT_QPA_PLATFORM": "wayland",
                            "QTWEBENGINE_CHROMIUM_FLAGS": "--disable-gpu"})

    def output(self):
        with open(self.program.output.name, errors="replace") as f:
            return f.read()

    def plays(self):
        requests_before = len(self.server.requests)
        self.assertTrue(harness.wait_until(lambda: playerctl("play").returncode == 0, 20), self.output()[-2000:])
        # The playlist, then its segments: the player is reading the stream.
        self.assertTrue(harness.wait_until(
            lambda: sum(1 for r in self.server.requests[requests_before:] if r.endswith(".ts")) >= 3, 30),
            self.server.requests[requests_before:])
        self.assertTrue(harness.wait_until(lambda: playerctl("status").stdout.strip() == "Playing", 20))

    def test_boss_key_through_the_portal_on_xwayland(self):
        self.standin = StandIn()
        self.start_on_xwayland()
        self.assertTrue(harness.wait_until(lambda: self.standin.calls("BindShortcuts"), 20), self.output()[-2000:])
        # The program says who it is before it asks for the session; its id names its desktop file.
        self.assertEqual([c[0] for c in self.standin.calls("Register")], ["tv.quorvel.Quorvel"])
        [(session, shortcuts, parent, options)] = self.standin.calls("BindShortcuts")
        self.assertTrue(session.startswith("/org/freedesktop/portal/desktop/session/"))
        [(shortcut, properties)] = shortcuts
        self.assertEqual(properties["preferred_trigger"], "Home")
        self.assertIn("mute", properties["description"])
        self.assertIn("handle_token", options)

        self.plays()
        self.assertTrue(harness.wait_until(shows_test_picture, 20))
        shot("xwayland-playing")
        # Pressed anywhere on the desktop, as the portal reports it: hidden, then back.
        self.standin.press(shortcut)
        self.assertTrue(harness.wait_until(lambda: not harness.visible(TITLE), 5))
        # Gone from the desktop's screen too, not only unmapped on XWayland.
        self.assertTrue(harness.wait_until(lambda: not shows_test_picture(), 5))
        time.sleep(1)  # weston fades the window out
        shot("xwayland-hidden")
        self.standin.press(shortcut)
        self.assertTrue(harness.wait_until(lambda: harness.visible(TITLE), 5))
        # A shortcut of another session or name is not the boss key.
        self.standin.press("SomethingElse")
        time.sleep(1)
        self.assertTrue(harness.visible(TITLE))
        self.assertNotIn(TOLD, self.output())
        self.program.finish(self)
        self.assertEqual(len(self.standin.calls("Close")), 1)

    def test_declined_shortcut_is_told_once_and_home_works_in_the_window(self):
        self.declined("decline")

    def test_refused_request_is_told_once_and_home_works_in_the_window(self):
        self.declined("refuse")

    def declined(self, how):
        self.standin = StandIn(bind=how)
        self.start_on_xwayland()
        self.assertTrue(harness.wait_until(lambda: TOLD in self.output(), 20), self.output()[-2000:])
        shot("xwayland-" + how)
        harness.xdotool("windowactivate", "--sync", self.program.window)
        harness.key("Home")
        self.assertTrue(harness.wait_until(lambda: not harness.visible(TITLE), 5))
        # The media controls bring it back.
        self.assertEqual(playerctl("--version").returncode, 0)
        subprocess.run(["dbus-send", "--session", "--print-reply", "--dest=org.mpris.MediaPlayer2.quorvel",
                        "/org/mpris/MediaPlayer2", "org.mpris.MediaPlayer2.Raise"], check=True, capture_output=True)
        self.assertTrue(harness.wait_until(lambda: harness.visible(TITLE), 5))
        self.program.finish(self)
        self.assertEqual(self.output().count(TOLD), 1)

    def start_as_wayland_client(self):
        env = dict(os.environ, WAYLAND_DISPLAY=self.weston.socket, QT_QPA_PLATFORM="")
        del env["DISPLAY"]
        self.program.spawned = time.time()
        self.program.output = tempfile.NamedTemporaryFile(prefix="quorvel-e2e-", suffix=".log", delete=False)
        self.program.proc = subprocess.Popen([os.path.join(self.program.dir, "quorvel")], env=env,
                                             stdout=self.program.output, stderr=subprocess.STDOUT)

    def test_wayland_client_without_an_x_server(self):
        # No X server and no portal: the program is a Wayland client, plays, and says once that
        # the boss key works only in its window.
        self.start_as_wayland_client()
        self.assertTrue(harness.wait_until(lambda: TOLD in self.output(), 30), self.output()[-2000:])
        self.plays()
        time.sleep(3)
        self.assertIsNone(self.program.proc.poll())
        shot("wayland-playing")
        self.program.finish(self)
        self.assertEqual(self.output().count(TOLD), 1)
        self.assertNotIn("xcb", self.output())

    # The player's native windows over the video (its picture, cards, control bar and the ticker)
    # are not yet composed as Wayland subsurfaces: the stream plays, the picture stays at
    # "Connecting…". Desktops with XWayland never get here (the program is an X11 client there).
    @unittest.expectedFailure
    def test_wayland_client_shows_the_picture(self):
        self.start_as_wayland_client()
        self.plays()
        self.assertTrue(harness.wait_until(shows_test_picture, 15))
        self.program.finish(self)


if __name__ == "__main__":
    unittest.main()
