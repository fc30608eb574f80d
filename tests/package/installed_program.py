"""The installed program as the users of a machine run it, under the harness's X server:
    installed_program.py USER OTHER_USER InstalledProgram
Run as root, with the package installed and both users freshly made. USER starts the player
from the PATH (its window shows the installed start page and the user's data folder is made
from the installed catalogue), imports a playlist served on 127.0.0.1 with quorvel-import, and
plays its channel in a second start. OTHER_USER's channels are apart from USER's. Nothing under
/usr changes meanwhile.
    installed_program.py USER OTHER_USER Upgraded
After an upgrade whose start page is green: USER's player shows the new page."""
import os
import pwd
import shutil
import signal
import subprocess
import sys
import tempfile
import time
import unittest

sys.path.insert(0, os.path.join(os.path.dirname(os.path.dirname(os.path.abspath(__file__))), "e2e"))
import harness  # noqa: E402

USERS = sys.argv[1:3]
del sys.argv[1:3]


def colourful(pixels):
    flat = [p for row in pixels for p in row]
    return sum(1 for (r, g, b) in flat if max(r, g, b) - min(r, g, b) > 80) / len(flat)


def read(path, mode="rb"):
    with open(path, mode) as f:
        return f.read()


def usr_listing():
    """Every entry under /usr with its kind, permissions, owner, size and modification time."""
    entries = {}
    for top, dirs, files in os.walk("/usr"):
        for name in dirs + files:
            path = os.path.join(top, name)
            try:
                st = os.lstat(path)
            except FileNotFoundError:
                continue
            entries[path] = (st.st_mode, st.st_uid, st.st_size, st.st_mtime_ns)
    return entries


class User:
    """One user of the machine, running commands with only the environment a desktop session
    gives: a home, a private runtime folder and the display."""

    def __init__(self, name):
        self.pw = pwd.getpwnam(name)
        self.home = self.pw.pw_dir
        self.runtime = tempfile.mkdtemp(prefix="quorvel-runtime-")
        os.chown(self.runtime, self.pw.pw_uid, self.pw.pw_gid)
        self.env = {"HOME": self.home, "USER": name, "LOGNAME": name, "PATH": "/usr/local/bin:/usr/bin:/bin",
                    "LANG": "C.UTF-8", "DISPLAY": os.environ["DISPLAY"], "XDG_RUNTIME_DIR": self.runtime}
        # The harness's display settings: software GL, and the web engine's sandbox off where
        # the machine (a container) cannot give it the namespaces it needs.
        for key in ("QT_QPA_PLATFORM", "LIBGL_ALWAYS_SOFTWARE", "QTWEBENGINE_DISABLE_SANDBOX",
                    "QTWEBENGINE_CHROMIUM_FLAGS"):
            if key in os.environ:
                self.env[key] = os.environ[key]

    def data(self, name=""):
        return os.path.join(self.home, ".local/share/quorvel", name)

    def popen(self, args, **kwargs):
        return subprocess.Popen(args, env=self.env, cwd=self.home, user=self.pw.pw_uid, group=self.pw.pw_gid,
                                extra_groups=[], start_new_session=True, **kwargs)

    def run(self, args, timeout=120):
        proc = self.popen(args, stdout=subprocess.PIPE, stderr=subprocess.PIPE, text=True)
        out, err = proc.communicate(timeout=timeout)
        return proc.returncode, out, err


class Player:
    """The installed player started by a user, by its name on the PATH."""

    def __init__(self, user):
        self.log = tempfile.NamedTemporaryFile(prefix="quorvel-installed-", suffix=".log", delete=False)
        self.proc = user.popen(["quorvel"], stdout=self.log, stderr=subprocess.STDOUT)
        self.window = harness.wait_for_window("Quorvel Online TV v1.12", timeout=60)

    def geometry(self):
        out = harness.xdotool("getwindowgeometry", "--shell", self.window)
        values = dict(line.split("=", 1) for line in out.splitlines() if "=" in line)
        return int(values["X"]), int(values["Y"])

    def output(self):
        with open(self.log.name, errors="replace") as f:
            return f.read()[-4000:]

    def close(self, testcase):
        """Ends the program as a log-out does: it closes cleanly."""
        self.proc.terminate()
        try:
            rc = self.proc.wait(60)
        except subprocess.TimeoutExpired:
            rc = None
        testcase.assertEqual(rc, 0, "the program did not close cleanly:\n" + self.output())

    def stop(self):
        if self.proc.poll() is None:
            # Everything it started goes with it: it runs in a session of its own.
            os.killpg(self.proc.pid, signal.SIGKILL)
            self.proc.wait()
        os.unlink(self.log.name)


class InstalledProgram(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.media = tempfile.mkdtemp(prefix="quorvel-hls-")
        os.chmod(cls.media, 0o755)
        harness.make_hls(os.path.join(cls.media, "pattern"), "testsrc")
        with open(os.path.join(cls.media, "tv.m3u"), "w", encoding="utf-8") as f:
            f.write('#EXTM3U\n#EXTINF:-1 group-title="Loopback",Moving Pattern\npattern/index.m3u8\n')
        cls.server = harness.StreamServer(cls.media)

    @classmethod
    def tearDownClass(cls):
        cls.server.stop()
        cls.server.httpd.server_close()
        shutil.rmtree(cls.media, ignore_errors=True)

    def test_each_user_keeps_own_channels_and_usr_stays_as_installed(self):
        user, other = User(USERS[0]), User(USERS[1])
        for u in (user, other):
            self.addCleanup(shutil.rmtree, u.runtime, ignore_errors=True)
        installed = read("/usr/share/quorvel/VisibleAPI.dat")
        before = usr_listing()

        # First start: the window, the start page from where it is installed, and the user's
        # data folder with a copy of the installed catalogue.
        player = Player(user)
        try:
            x, y = player.geometry()
            video = (x + 40, y + 40, 430, 300)
            self.assertTrue(harness.wait_until(lambda: harness.looks_like_start_page(harness.screenshot(*video)), 30),
                            "the installed start page is not shown:\n" + player.output())
            self.assertTrue(harness.wait_until(lambda: os.path.exists(user.data("VisibleAPI.dat")), 10))
            self.assertEqual(read(user.data("VisibleAPI.dat")), installed)
            st = os.stat(user.data())
            self.assertEqual((st.st_uid, st.st_mode & 0o777), (user.pw.pw_uid, 0o700))
            if os.environ.get("QUORVEL_PACKAGE_SHOT"):
                subprocess.run(["import", "-window", "root", os.environ["QUORVEL_PACKAGE_SHOT"] + ".start.png"],
                               check=True)
            player.close(self)
        finally:
            player.stop()

        # The playlist goes into this user's catalogue, after what was there.
        rc, out, err = user.run(["quorvel-import", self.server.url("tv.m3u")])
        self.assertEqual(rc, 0, out + err)
        self.assertIn("catalogue " + user.data("VisibleAPI.dat"), out)
        self.assertIn("Added 1 channel in 1 category", out)
        catalogue = read(user.data("VisibleAPI.dat"), "r")
        categories = installed.decode("utf-8").splitlines()
        categories = categories[:categories.index("")]
        self.assertEqual(catalogue.splitlines()[:len(categories) + 1], categories + ["Loopback="], catalogue[:400])
        self.assertIn("Moving Pattern=" + self.server.url("pattern/index.m3u8"), catalogue)

        # Second start: the imported channel is found and plays.
        player = Player(user)
        try:
            x, y = player.geometry()
            video = (x + 40, y + 40, 430, 300)
            harness.xdotool("mousemove", str(x + harness.CLIENT_LEFT + 560), str(y + harness.CLIENT_TOP + 32),
                            "click", "1")
            harness.xdotool("type", "--delay", "120", "moving pat")
            time.sleep(1)
            harness.key("Return")
            self.assertTrue(harness.wait_until(lambda: "/pattern/index.m3u8" in self.server.requests, 30),
                            "the channel was not asked for:\n" + player.output())
            self.assertTrue(harness.wait_until(lambda: colourful(harness.screenshot(*video)) > 0.3, 30),
                            "the channel does not play:\n" + player.output())
            if os.environ.get("QUORVEL_PACKAGE_SHOT"):
                subprocess.run(["import", "-window", "root", os.environ["QUORVEL_PACKAGE_SHOT"]], check=True)
            player.close(self)
        finally:
            player.stop()

        # The other user starts from the installed catalogue, not from the first one's.
        rc, out, err = other.run(["quorvel-import", "--dry-run", self.server.url("tv.m3u")])
        self.assertEqual(rc, 0, out + err)
        self.assertIn("Would add 1 channel", out)
        self.assertFalse(os.path.exists(other.data()), "a dry run made the data folder")

        after = usr_listing()
        changed = sorted(p for p in set(before) | set(after) if before.get(p) != after.get(p))
        self.assertEqual(changed, [], "/usr changed while the users ran the program")
        owned = [p for p, (_, uid, _, _) in after.items() if uid in (user.pw.pw_uid, other.pw.pw_uid)]
        self.assertEqual(owned, [])


class Upgraded(unittest.TestCase):
    def test_the_newer_installed_start_page_is_shown(self):
        user = User(USERS[0])
        self.addCleanup(shutil.rmtree, user.runtime, ignore_errors=True)
        player = Player(user)
        try:
            x, y = player.geometry()
            video = (x + 40, y + 40, 430, 300)

            def green(pixels):
                flat = [p for row in pixels for p in row]
                return sum(1 for (r, g, b) in flat if g > 150 and r < 80 and b < 80) / len(flat)
            self.assertTrue(harness.wait_until(lambda: green(harness.screenshot(*video)) > 0.5, 30),
                            "the upgraded start page is not shown:\n" + player.output())
            player.close(self)
        finally:
            player.stop()


if __name__ == "__main__":
    unittest.main()
