"""Pausing a live channel and recording it, in the real program, on a live HLS channel whose
every second is a colour of its own (colour_hls.py): a pause of 20 s plays on with the colour of
the moment it paused, End goes back to the live colour; a recording of 30 s is 30 s of picture
and sound, made from the segments the player fetched anyway; and a recording on a disk that
fills stops and stays playable."""
import json
import os
import shutil
import sqlite3
import subprocess
import sys
import tempfile
import time
import unittest

sys.path.insert(0, os.path.dirname(__file__))
import colour_hls  # noqa: E402
import harness  # noqa: E402


def probe(path):
    """The durations ffprobe reads of a file's video and sound, and of the whole."""
    out = subprocess.run(["ffprobe", "-v", "error", "-show_entries", "stream=codec_type,duration:format=duration",
                          "-of", "json", path], capture_output=True, text=True, check=True).stdout
    info = json.loads(out)
    streams = {s["codec_type"]: float(s.get("duration", 0)) for s in info.get("streams", [])}
    return streams, float(info.get("format", {}).get("duration", 0))


class TimeShift(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.stream = colour_hls.ColourHls(400)

    @classmethod
    def tearDownClass(cls):
        cls.stream.stop()

    def setUp(self):
        self.home = tempfile.mkdtemp(prefix="quorvel-shift-")
        self.videos = os.path.join(self.home, "videos")
        os.makedirs(os.path.join(self.home, "config"))
        with open(os.path.join(self.home, "config", "user-dirs.dirs"), "w") as f:
            f.write('XDG_VIDEOS_DIR="%s"\n' % self.videos)
        self.env = {"XDG_CONFIG_HOME": os.path.join(self.home, "config"),
                    "XDG_CACHE_HOME": os.path.join(self.home, "cache")}
        catalogue = ("[Layer1]\nNews=\n[Layer2]\nColours=News\nOther=News\n[Programs]\nColours=%s\nOther=%s\n" %
                     (self.stream.url(), self.stream.url().replace("live.m3u8", "other/live.m3u8")))
        self.program = harness.Program(catalogue)

    def tearDown(self):
        self.program.stop()
        shutil.rmtree(self.home, ignore_errors=True)

    def give_sound_device(self):
        """A sound device that plays into nothing: without one mpv drops the sound track, and
        there is no sound to record. It takes sound as fast as it comes, so the picture then
        runs at the live edge: the pause test goes without it."""
        alsa = os.path.join(self.home, "asound.conf")
        with open(alsa, "w") as f:
            f.write("pcm.!default { type null }\nctl.!default { type hw card 0 }\n")
        nowhere = os.path.join(self.home, "nowhere")
        self.env.update({"ALSA_CONFIG_PATH": alsa, "PULSE_SERVER": "unix:" + nowhere, "PIPEWIRE_REMOTE": nowhere})

    def play(self, command=None):
        # The stream serves every test: this one's requests are those from here on.
        self.first_request = len(self.stream.requests)
        if command:
            self.program.start(self.env, command)
        else:
            self.program.start(self.env)
        self.program.click(560, 68)  # "News"
        harness.key("Right", "Down")  # "Colours"
        self.assertTrue(harness.wait_until(lambda: self.shown() is not None, 20), "no colour of the stream shows")
        self.program.click(250, 200)  # the player takes the keys
        time.sleep(0.5)

    def shown(self):
        """The second of the stream the picture shows, None when it shows none."""
        x, y, _, _ = self.program.geometry()
        pixels = harness.screenshot(x + 300, y + 220, 6, 6)
        r, g, b = (sum(p[i] for row in pixels for p in row) // 36 for i in range(3))
        return colour_hls.index_of((r, g, b))

    def segments(self):
        """The segments this test's program asked for, in order."""
        return [r for r in self.stream.requests[self.first_request:] if r.startswith("/seg")]

    def behind(self):
        shown = self.shown()
        return None if shown is None else self.stream.live_index() - shown

    def recordings(self):
        folder = os.path.join(self.videos, "Quorvel Online TV")
        return [os.path.join(folder, f) for f in os.listdir(folder)] if os.path.isdir(folder) else []

    def test_pause_resume_and_live(self):
        self.play()
        time.sleep(12)  # something to go back in
        lag = self.behind()
        self.assertIsNotNone(lag)
        harness.key("space")
        time.sleep(1)
        paused_at = self.shown()
        time.sleep(20)
        self.assertEqual(self.shown(), paused_at, "the picture moved while paused")
        harness.key("space")
        time.sleep(2)
        resumed = self.shown()
        self.assertIsNotNone(resumed)
        self.assertLessEqual(resumed - paused_at, 4, "it did not play on from where it paused")
        self.assertGreaterEqual(self.behind(), lag + 15, "it plays live, not from the pause")
        # Back ten seconds within the buffer, then End: the live colour again.
        harness.key("Left")
        time.sleep(2)
        after_left = self.shown()
        self.assertLessEqual(after_left, resumed - 5)
        harness.key("Right")
        time.sleep(2)
        self.assertGreaterEqual(self.shown(), after_left + 9)
        harness.key("End")
        self.assertTrue(harness.wait_until(lambda: (self.behind() or 99) <= lag + 3, 10),
                        "End did not go back to live: %s behind, %s at first" % (self.behind(), lag))
        # Nothing was fetched twice: pausing and moving were all within what was read once.
        segments = self.segments()
        self.assertEqual(len(segments), len(set(segments)), segments)
        self.program.finish(self)

    def test_paused_past_the_bound_loses_the_oldest(self):
        # A bound of one minute, the least there is, in the viewer's settings.
        self.program.start(self.env)
        self.program.finish(self)
        with sqlite3.connect(os.path.join(self.program.dir, "viewer.db")) as db:
            db.execute("INSERT INTO settings (key, value) VALUES ('timeshift.minutes', '1')")
        self.play()
        harness.key("space")
        time.sleep(1)
        paused_at = self.shown()
        time.sleep(75)
        # Still paused, but no longer where it paused: the oldest part went.
        moved = self.shown()
        self.assertIsNotNone(moved)
        self.assertGreater(moved, paused_at + 10)
        harness.key("space")
        time.sleep(2)
        self.assertLessEqual(self.behind(), 62)
        self.assertGreaterEqual(self.behind(), 30)
        segments = self.segments()
        self.assertEqual(len(segments), len(set(segments)), segments)
        self.program.finish(self)

    def test_recording_of_thirty_seconds(self):
        self.give_sound_device()
        self.play()
        before = set(self.segments())
        harness.key("ctrl+r")
        self.assertTrue(harness.wait_until(lambda: self.recordings(), 5), "no recording was started")
        time.sleep(30)
        harness.key("ctrl+r")
        time.sleep(2)
        [recording] = self.recordings()
        self.assertTrue(os.path.basename(recording).startswith("Colours \u2013 "), recording)
        self.assertTrue(recording.endswith(".ts"))
        size = os.path.getsize(recording)
        time.sleep(2)
        self.assertEqual(os.path.getsize(recording), size, "the recording went on after it was stopped")
        streams, _ = probe(recording)
        # 30 s within a second; a build under the sanitizers may take the stopping key up to a
        # second later still, and records that second too.
        late = 1.0 if "ASAN_OPTIONS" in os.environ else 0.0
        for kind in ("video", "audio"):
            self.assertGreaterEqual(streams.get(kind, 0), 29, streams)
            self.assertLessEqual(streams.get(kind, 0), 31 + late, streams)
        # One connection: every segment was asked for once, the recording's as well.
        segments = self.segments()
        self.assertEqual(len(segments), len(set(segments)), segments)
        self.assertGreater(len(set(segments) - before), 25)
        self.program.finish(self)

    def test_another_channel_asks_first(self):
        self.play()
        harness.key("ctrl+r")
        self.assertTrue(harness.wait_until(lambda: self.recordings(), 5), "no recording was started")
        [recording] = self.recordings()
        # The next channel, over the picture: the player asks, and No keeps channel and recording.
        harness.key("Next")
        self.assertTrue(harness.wait_until(lambda: harness.visible("Recording"), 5), "nothing asked")
        harness.key("Escape")
        time.sleep(3)
        self.assertNotIn("/other/live.m3u8", self.stream.requests[self.first_request:])
        # mpv writes a quarter of a megabyte at a time, some 15 s of this stream.
        size = os.path.getsize(recording)
        self.assertTrue(harness.wait_until(lambda: os.path.getsize(recording) > size, 30), "the recording stopped")
        # Yes stops the recording and plays the other channel.
        self.program.click(250, 200)
        harness.key("Next")
        self.assertTrue(harness.wait_until(lambda: harness.visible("Recording"), 5), "nothing asked")
        harness.key("alt+y")
        self.assertTrue(harness.wait_until(lambda: "/other/live.m3u8" in self.stream.requests[self.first_request:], 10))
        time.sleep(2)
        size = os.path.getsize(recording)
        time.sleep(20)
        self.assertEqual(os.path.getsize(recording), size, "the recording went on")
        streams, _ = probe(recording)
        self.assertGreater(streams.get("video", 0), 10, streams)
        self.program.finish(self)

    def test_recording_stops_on_a_full_disk(self):
        # The videos folder is a tmpfs of its own, small enough to fill in seconds, mounted in
        # a mount namespace of the program's own.
        probe_mount = subprocess.run(["unshare", "-rm", "sh", "-c", "mount -t tmpfs -o size=64k tmpfs /mnt"],
                                     capture_output=True)
        if probe_mount.returncode != 0:
            self.skipTest("no tmpfs can be mounted here: %s" % probe_mount.stderr.decode(errors="replace"))
        os.makedirs(self.videos)
        exe = os.path.join(self.program.dir, "quorvel")
        self.play(["unshare", "-rm", "sh", "-c", 'mount -t tmpfs -o size=700k tmpfs "$0" && exec "$1"',
                   self.videos, exe])
        harness.key("ctrl+r")
        # The recording is inside the program's namespace: it is looked at from there.
        ns = "/proc/%d/root" % self.program.proc.pid
        folder = lambda: ns + os.path.join(self.videos, "Quorvel Online TV")  # noqa: E731
        self.assertTrue(harness.wait_until(lambda: os.path.isdir(folder()) and os.listdir(folder()), 5))
        [name] = os.listdir(folder())
        path = os.path.join(folder(), name)
        # Stopped by itself once the disk is (nearly) full: the file no longer grows.
        grown = harness.wait_until(lambda: os.path.getsize(path) > 0, 60)
        self.assertTrue(grown)
        sizes = []
        for _ in range(12):
            sizes.append(os.path.getsize(path))
            time.sleep(2)
        self.assertEqual(sizes[-1], sizes[-4], "the recording is still being written: %s" % sizes)
        copy = os.path.join(self.home, "copy.ts")
        shutil.copy(path, copy)
        streams, whole = probe(copy)
        self.assertGreater(streams.get("video", 0), 2, streams)
        # Playable to its end: decoding it whole gives no error.
        decoded = subprocess.run(["ffmpeg", "-v", "error", "-i", copy, "-f", "null", "-"], capture_output=True, text=True)
        self.assertEqual(decoded.returncode, 0, decoded.stderr)
        self.assertIsNone(self.program.proc.poll())
        self.program.finish(self)


if __name__ == "__main__":
    unittest.main()
