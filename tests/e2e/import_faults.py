"""The real quorvel-import cut short at every step of an import, a refresh and a removal
(QUORVEL_FAULT_AT ends the process there, as a kill would), and on a full disk: after each, and
after the next start's repair, the catalogue reads, the database passes its integrity check, and
a source is listed exactly when the catalogue holds its channels."""
import os
import re
import shutil
import sqlite3
import subprocess
import tempfile
import sys
import time
import unittest

sys.path.insert(0, os.path.dirname(__file__))

BIN = os.environ.get("QUORVEL_BIN_DIR", os.path.join(os.path.dirname(__file__), "..", "..", "build", "bin"))
IMPORT = os.path.join(BIN, "quorvel-import")
CUT = 86  # the status a cut-short run ends with


def playlist(prefix, count, group, extra=""):
    lines = ["#EXTM3U"]
    for i in range(count):
        lines.append('#EXTINF:-1 group-title="%s"%s,%s %d' % (group, extra % i if extra else "", prefix, i))
        lines.append("http://127.0.0.1:9/%s/%d.m3u8" % (prefix, i))
    return "\n".join(lines) + "\n"


def run(folder, *args, fault=None):
    env = dict(os.environ)
    env.pop("QUORVEL_FAULT_AT", None)
    if fault is not None:
        env["QUORVEL_FAULT_AT"] = str(fault)
    result = subprocess.run([IMPORT, *args, "--catalogue", os.path.join(folder, "VisibleAPI.dat")],
                            capture_output=True, text=True, timeout=60, env=env)
    return result


def catalogue_channels(folder):
    """The catalogue's channel names; fails the test where it does not read as one."""
    sections = {}
    current = None
    with open(os.path.join(folder, "VisibleAPI.dat"), encoding="utf-8") as f:
        for line in f.read().splitlines():
            if line.startswith("[") and line.endswith("]"):
                current = sections.setdefault(line[1:-1], {})
            elif "=" in line and current is not None:
                key, value = line.split("=", 1)
                current[key] = value
            elif line.strip():
                raise AssertionError("not a catalogue line: %r" % line)
    for section in ("Layer1", "Layer2", "Programs"):
        assert section in sections, sections.keys()
    assert set(sections["Layer2"]) == set(sections["Programs"])
    return set(sections["Layer2"])


def integrity(folder):
    db = sqlite3.connect(os.path.join(folder, "viewer.db"))
    try:
        return db.execute("pragma integrity_check").fetchone()[0]
    finally:
        db.close()


def listed(folder):
    result = run(folder, "list")
    assert result.returncode == 0, result.stderr
    return result, re.findall(r"^\d+  (\S+)$", result.stdout, re.M)


class Cuts(unittest.TestCase):
    def setUp(self):
        self.work = tempfile.mkdtemp(prefix="quorvel-faults-")
        self.base = os.path.join(self.work, "base")
        os.mkdir(self.base)
        self.first = os.path.join(self.work, "first.m3u")
        self.second = os.path.join(self.work, "second.m3u")
        with open(self.first, "w") as f:
            f.write(playlist("First", 50, "News"))
        with open(self.second, "w") as f:
            f.write(playlist("Second", 120, "Films"))
        self.assertEqual(run(self.base, self.first).returncode, 0)

    def tearDown(self):
        shutil.rmtree(self.work, ignore_errors=True)

    def fresh(self, name, source):
        folder = os.path.join(self.work, name)
        shutil.rmtree(folder, ignore_errors=True)
        shutil.copytree(source, folder)
        return folder

    def agrees(self, folder, why):
        """After the repair a start makes: the two files agree, and the repair is said once."""
        staged = os.path.exists(os.path.join(folder, ".VisibleAPI.dat.staged"))
        result, sources = listed(folder)
        self.assertEqual("was cut short" in result.stderr, staged, why + result.stderr)
        again, _ = listed(folder)
        self.assertNotIn("cut short", again.stderr, why)
        self.assertFalse(os.path.exists(os.path.join(folder, ".VisibleAPI.dat.staged")), why)
        self.assertEqual(integrity(folder), "ok", why)
        channels = catalogue_channels(folder)
        self.assertIn(self.first, sources, why)
        second = {"Second %d" % i for i in range(120)}
        if self.second in sources:
            self.assertTrue(second & channels, why)
            db = sqlite3.connect(os.path.join(folder, "viewer.db"))
            names = {row[0] for row in db.execute(
                "select name from source_channels join sources on sources.id = source_id where location = ?",
                (self.second,))}
            db.close()
            self.assertTrue(names <= channels, why + " the database names channels the catalogue lacks")
        else:
            self.assertFalse(second & channels, why + " the catalogue holds channels of a source not listed")
        return sources, channels

    def cut_everywhere(self, name, start, *args):
        """Runs the command cut at its 1st, 2nd, ... step until it runs through; checks each."""
        outcomes = set()
        for step in range(1, 200):
            folder = self.fresh(name, start)
            result = run(folder, *args, fault=step)
            why = "%s cut at step %d: " % (name, step)
            if result.returncode == 0:
                self.agrees(folder, why)
                self.assertGreater(step, 5, "too few places to cut")
                return outcomes
            self.assertEqual(result.returncode, CUT, why + result.stderr)
            sources, _ = self.agrees(folder, why)
            outcomes.add(self.second in sources)
        self.fail("the command never ran through")

    def test_import_refresh_and_remove_cut_at_every_step(self):
        # Cut short early the import is undone, late it is completed: both are seen.
        self.assertEqual(self.cut_everywhere("import", self.base, self.second), {False, True})

        imported = self.fresh("imported", self.base)
        self.assertEqual(run(imported, self.second).returncode, 0)
        with open(self.second, "w") as f:
            f.write(playlist("Second", 80, "Films") + playlist("Second", 30, "Series").replace("#EXTM3U\n", "")
                    .replace("Second ", "Second 1"))
        self.cut_everywhere("refresh", imported, "refresh", self.second)
        self.assertEqual(self.cut_everywhere("remove", imported, "remove", self.second), {False, True})


    def test_killed_at_moments_spread_over_an_import(self):
        # SIGKILL from outside, wherever the import happens to be (SQLite's own commit included).
        with open(self.second, "w") as f:
            f.write(playlist("Second", 120, "Films") + playlist("More", 8000, "Films").replace("#EXTM3U\n", ""))
        folder = self.fresh("timed", self.base)
        started = time.monotonic()
        self.assertEqual(run(folder, self.second).returncode, 0)
        took = time.monotonic() - started
        for k in range(1, 13):
            folder = self.fresh("killed", self.base)
            proc = subprocess.Popen([IMPORT, self.second, "--catalogue", os.path.join(folder, "VisibleAPI.dat")],
                                    stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
            time.sleep(took * k / 13)
            proc.kill()
            proc.wait()
            self.agrees(folder, "killed after %.0f%% of the run: " % (100 * k / 13))


class FullDisk(unittest.TestCase):
    """A folder of a few hundred kilobytes on its own tmpfs (root only; skipped elsewhere)."""

    def setUp(self):
        self.work = tempfile.mkdtemp(prefix="quorvel-full-")
        self.folder = os.path.join(self.work, "disk")
        os.mkdir(self.folder)
        mount = subprocess.run(["mount", "-t", "tmpfs", "-o", "size=2m", "tmpfs", self.folder],
                               capture_output=True, text=True)
        if mount.returncode != 0:
            shutil.rmtree(self.work)
            self.skipTest("cannot mount a tmpfs here: " + mount.stderr.strip())
        self.first = os.path.join(self.work, "first.m3u")
        with open(self.first, "w") as f:
            f.write(playlist("First", 50, "News"))
        self.assertEqual(run(self.folder, self.first).returncode, 0)

    def tearDown(self):
        subprocess.run(["umount", self.folder], capture_output=True)
        shutil.rmtree(self.work, ignore_errors=True)

    def fill(self, leave):
        st = os.statvfs(self.folder)
        free = st.f_bavail * st.f_frsize
        with open(os.path.join(self.folder, "filler"), "wb") as f:
            f.write(b"\0" * max(0, free - leave))

    def unchanged(self, result, before):
        self.assertEqual(result.returncode, 1, result.stdout)
        self.assertIn("No space left on device", result.stderr)
        with open(os.path.join(self.folder, "VisibleAPI.dat"), "rb") as f:
            self.assertEqual(f.read(), before)
        self.assertFalse(os.path.exists(os.path.join(self.folder, ".VisibleAPI.dat.staged")))
        # Nothing was moved aside as damaged: with space again, all is as it was.
        self.assertFalse([f for f in os.listdir(self.folder) if "damaged" in f])
        os.remove(os.path.join(self.folder, "filler"))
        self.assertEqual(integrity(self.folder), "ok")
        _, sources = listed(self.folder)
        self.assertEqual(sources, [self.first])

    def test_the_catalogue_cannot_be_written(self):
        second = os.path.join(self.work, "second.m3u")
        with open(second, "w") as f:
            f.write(playlist("Second", 2000, "Films"))
        with open(os.path.join(self.folder, "VisibleAPI.dat"), "rb") as f:
            before = f.read()
        self.fill(8192)
        result = run(self.folder, second)
        self.assertIn("Unable to write to " + os.path.join(self.folder, "VisibleAPI.dat") + ": ", result.stderr)
        self.unchanged(result, before)

    def test_the_database_cannot_be_written(self):
        # Long guide names go to the database only: the new catalogue fits, the sources do not.
        second = os.path.join(self.work, "second.m3u")
        with open(second, "w") as f:
            f.write(playlist("Second", 400, "Films", extra=' tvg-id="%d' + "x" * 400 + '"'))
        with open(os.path.join(self.folder, "VisibleAPI.dat"), "rb") as f:
            before = f.read()
        self.fill(len(before) + 400 * 60 + 64 * 1024)
        result = run(self.folder, second)
        self.assertIn("the viewer's data", result.stderr)
        self.unchanged(result, before)


class WindowStart(unittest.TestCase):
    """The player's own start completes an import that was cut short after the sources changed."""

    def test_the_player_completes_a_committed_import_as_it_starts(self):
        import harness  # the window's helpers, only for this test
        program = harness.Program(keep_catalogue=True)
        try:
            work = tempfile.mkdtemp(prefix="quorvel-faults-")
            second = os.path.join(work, "second.m3u")
            with open(second, "w") as f:
                f.write(playlist("Second", 40, "Films"))
            catalogue = os.path.join(program.dir, "VisibleAPI.dat")
            with open(catalogue, "rb") as f:
                before = f.read()
            # The first cut that leaves the new catalogue staged and named by the database.
            for step in range(1, 100):
                trial = os.path.join(work, "trial")
                shutil.rmtree(trial, ignore_errors=True)
                os.mkdir(trial)
                shutil.copy(catalogue, trial)
                self.assertEqual(run(trial, second, fault=step).returncode, CUT)
                if not all(os.path.exists(os.path.join(trial, f)) for f in (".VisibleAPI.dat.staged", "viewer.db")):
                    continue
                db = sqlite3.connect(os.path.join(trial, "viewer.db"))
                noted = db.execute("select count(*) from settings where key like 'pending-catalogue:%'").fetchone()[0]
                db.close()
                if noted:
                    break
            self.assertEqual(run(program.dir, second, fault=step).returncode, CUT)
            with open(catalogue, "rb") as f:
                self.assertEqual(f.read(), before)

            program.start()
            staged = os.path.join(program.dir, ".VisibleAPI.dat.staged")
            self.assertTrue(harness.wait_until(lambda: not os.path.exists(staged), 20))
            self.assertIn("Second 39", catalogue_channels(program.dir))
            _, sources = listed(program.dir)
            self.assertEqual(sources, [second])
            program.finish(self)
            shutil.rmtree(work, ignore_errors=True)
        finally:
            program.stop()


if __name__ == "__main__":
    unittest.main()
