#!/usr/bin/env python3
"""Pausing and recording a live channel: the real program plays a live 1280 x 720 HLS channel of
about 3 Mbit/s served on 127.0.0.1, is paused for a while (10 minutes by default), and reports
how its resident memory and the buffer's file on disk grew meanwhile, how long after Space the
picture moves again, and the CPU share of one core over a minute of plain playing against a
minute of playing and recording. It reports; it judges nothing.
Run under an X server:
    tests/harness/with-xvfb python3 tests/bench/timeshift.py [--minutes 10] [--sample 30]"""
import argparse
import os
import shutil
import subprocess
import sys
import tempfile
import time

root = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
os.environ.setdefault("QUORVEL_BIN_DIR", os.path.join(root, "build", "bin"))
sys.path.insert(0, os.path.join(root, "tests", "e2e"))
import colour_hls  # noqa: E402
import harness  # noqa: E402

TICK = os.sysconf("SC_CLK_TCK")


def make_720p(folder, seconds):
    """A moving picture with grain, which keeps the encoder near its 3 Mbit/s."""
    subprocess.run(["ffmpeg", "-nostdin", "-loglevel", "error", "-y",
                    "-f", "lavfi", "-i", "testsrc2=size=1280x720:rate=25,noise=alls=12:allf=t",
                    "-f", "lavfi", "-i", "sine=frequency=440:sample_rate=48000", "-t", str(seconds),
                    "-c:v", "libx264", "-preset", "ultrafast", "-b:v", "3M", "-maxrate", "3M", "-bufsize", "3M",
                    "-g", "25", "-force_key_frames", "expr:gte(t,n_forced)", "-c:a", "aac", "-b:a", "128k",
                    "-f", "segment", "-segment_time", "1", "-segment_format", "mpegts",
                    os.path.join(folder, "seg%d.ts")], check=True)


def rss_kib(pid):
    with open("/proc/%d/status" % pid) as f:
        for line in f:
            if line.startswith("VmRSS:"):
                return int(line.split()[1])
    return 0


def buffer_bytes(pid):
    """Bytes of the buffer's files the process holds open (mpv unlinks them as it makes them)."""
    total = 0
    fds = "/proc/%d/fd" % pid
    for fd in os.listdir(fds):
        try:
            target = os.readlink(os.path.join(fds, fd))
            if "mpv-cache-" in target:
                total += os.fstat(os.open(os.path.join(fds, fd), os.O_RDONLY)).st_size
        except OSError:
            pass
    return total


def cpu_seconds(pid):
    with open("/proc/%d/stat" % pid) as f:
        fields = f.read().rsplit(")", 1)[1].split()
    return (int(fields[11]) + int(fields[12])) / TICK


def cpu_share(pid, seconds):
    start = cpu_seconds(pid)
    time.sleep(seconds)
    return (cpu_seconds(pid) - start) / seconds * 100


def video_area(program):
    x, y, _, _ = program.geometry()
    return (x + 200, y + 150, 40, 40)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--minutes", type=float, default=10)
    parser.add_argument("--sample", type=float, default=30)
    args = parser.parse_args()
    paused_for = args.minutes * 60
    print("making %d s of 720p stream ..." % (paused_for + 240), flush=True)
    stream = colour_hls.ColourHls(int(paused_for + 240), maker=make_720p)
    rate = sum(len(b) for b in stream.segments.values()) * 8 / stream.seconds / 1e6
    print("stream: %.2f Mbit/s" % rate, flush=True)
    home = tempfile.mkdtemp(prefix="quorvel-bench-")
    env = {"XDG_CACHE_HOME": os.path.join(home, "cache"), "XDG_CONFIG_HOME": os.path.join(home, "config")}
    os.makedirs(env["XDG_CONFIG_HOME"])
    with open(os.path.join(env["XDG_CONFIG_HOME"], "user-dirs.dirs"), "w") as f:
        f.write('XDG_VIDEOS_DIR="%s"\n' % os.path.join(home, "videos"))
    catalogue = "[Layer1]\nNews=\n[Layer2]\nLive=News\n[Programs]\nLive=%s\n" % stream.url()
    program = harness.Program(catalogue)
    try:
        program.start(env)
        pid = program.proc.pid
        program.click(560, 68)
        harness.key("Right", "Down")
        time.sleep(15)
        program.click(250, 200)
        time.sleep(1)

        print("\npaused for %.0f s:" % paused_for)
        harness.key("space")
        time.sleep(2)
        base_rss = rss_kib(pid)
        print("%8s %12s %14s" % ("seconds", "RSS growth", "buffer on disk"))
        started = time.time()
        while time.time() - started < paused_for:
            time.sleep(min(args.sample, paused_for - (time.time() - started)))
            print("%8.0f %9.1f MB %11.1f MB" % (time.time() - started, (rss_kib(pid) - base_rss) / 1024,
                                               buffer_bytes(pid) / 1e6), flush=True)

        area = video_area(program)
        still = harness.screenshot(*area)
        looks = []
        pressed = time.time()
        harness.xdotool("key", "space")
        moved = None
        while time.time() - pressed < 5:
            before = time.time()
            shot = harness.screenshot(*area)
            looks.append(time.time() - before)
            if shot != still:
                moved = time.time() - pressed
                break
        look = sum(looks) / len(looks) * 1000
        print("\nresume to a moving picture: %s (each look at the screen takes %.0f ms)" %
              ("%.0f ms" % (moved * 1000) if moved is not None else "no movement within 5 s", look))

        harness.key("End")
        time.sleep(5)
        plain = cpu_share(pid, 60)
        harness.key("ctrl+r")
        recording = cpu_share(pid, 60)
        harness.key("ctrl+r")
        print("\nCPU of one core: playing %.1f %%, playing and recording %.1f %% (+%.1f)" %
              (plain, recording, recording - plain))
        program.finish(type("Quiet", (), {"assertEqual": lambda *a: None, "assertNotIn": lambda *a: None})())
    finally:
        program.stop()
        stream.stop()
        shutil.rmtree(home, ignore_errors=True)


if __name__ == "__main__":
    main()
