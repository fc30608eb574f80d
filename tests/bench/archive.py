"""Catch-up speed: Enter on a past programme in the player's guide list against bare mpv opening
the same archive address, on the same archive served on 127.0.0.1.

The channel plays live in solid red, the archive's clip is solid blue; every answer of the server
is held back by a delay, as a distant provider's would be. Each start is timed from the command
(Enter sent with xdotool to the guide list; `loadfile URL replace` over mpv's IPC socket for
mpv) to the first blue picture, read from one pixel in the middle of the video; between starts
both go back to the live channel (Escape over the picture; a loadfile of the live address). The
player's figure includes starting xdotool, a few milliseconds. It reports medians and the
player's ratio to mpv per delay; it judges nothing.

Run under the harness's X server:
    tests/harness/with-xvfb python3 tests/bench/archive.py [--starts 5] [--delays 0,50,150]
"""
import argparse
import json
import os
import shutil
import socket
import statistics
import subprocess
import sys
import tempfile
import time

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)
sys.path.insert(0, os.path.join(os.path.dirname(HERE), "e2e"))
from archive_server import ArchiveServer, programmes_around  # noqa: E402
from zap import CLIENT_LEFT, CLIENT_TOP, VIDEO_CENTRE, Screen, blue, red, wait_colour, window_origin, xdotool  # noqa: E402

ROOT = os.path.dirname(os.path.dirname(HERE))
BIN_DIR = os.environ.get("QUORVEL_BIN_DIR", os.path.join(ROOT, "build", "bin"))


def make_colour(folder, colour, seconds):
    os.makedirs(folder, exist_ok=True)
    subprocess.run(["ffmpeg", "-loglevel", "error", "-y", "-f", "lavfi", "-i", "color=c=%s:size=640x360:rate=25" % colour,
                    "-t", str(seconds), "-c:v", "libx264", "-preset", "ultrafast", "-g", "25", "-hls_time", "1",
                    "-hls_list_size", "0", "-hls_playlist_type", "vod", os.path.join(folder, "index.m3u8")],
                   check=True)


def measure_player(screen, server, starts):
    work = tempfile.mkdtemp(prefix="quorvel-archive-bench-")
    for name in os.listdir(BIN_DIR):
        if os.path.isfile(os.path.join(BIN_DIR, name)):
            shutil.copy2(os.path.join(BIN_DIR, name), work)
    with open(os.path.join(work, "VisibleAPI.dat"), "w") as f:
        f.write("[Layer1]\n[Layer2]\n[Programs]\n")
    delay, server.delay = server.delay, 0
    subprocess.run([os.path.join(work, "quorvel-import"), server.url("/tv.m3u")], check=True,
                   stdout=subprocess.DEVNULL)
    proc = subprocess.Popen([os.path.join(work, "quorvel")], env=dict(os.environ, TZ="UTC"),
                            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    times = []
    try:
        x, y, _, _ = window_origin("Quorvel Online TV v1.12")
        at = (x + CLIENT_LEFT + VIDEO_CENTRE[0], y + CLIENT_TOP + VIDEO_CENTRE[1])
        time.sleep(3)  # the guide read and stored
        xdotool("mousemove", str(x + CLIENT_LEFT + 560), str(y + CLIENT_TOP + 32), "click", "1")
        xdotool("type", "--delay", "80", "default")
        time.sleep(0.8)
        xdotool("key", "Return")
        if wait_colour(screen, at, red, 30) is None:
            raise SystemExit("archive.py: the player never showed the live channel")
        server.delay = delay
        xdotool("key", "ctrl+g")
        time.sleep(1)
        xdotool("key", "Up")
        for i in range(starts):
            time.sleep(1.0)
            sent = time.monotonic()
            xdotool("key", "Return")
            shown = wait_colour(screen, at, blue)
            if shown is None:
                print("  start %d: the archive's picture never came" % i, file=sys.stderr)
            else:
                times.append((shown - sent) * 1000)
            # Live again, and the keys back to the guide list.
            xdotool("mousemove", str(at[0]), str(at[1]), "click", "1")
            time.sleep(0.2)
            xdotool("key", "Escape")
            wait_colour(screen, at, red)
            xdotool("key", "ctrl+g")
            time.sleep(0.3)
            xdotool("key", "ctrl+g")
            time.sleep(0.5)
        return times
    finally:
        proc.terminate()
        try:
            proc.wait(20)
        except subprocess.TimeoutExpired:
            proc.kill()
        shutil.rmtree(work, ignore_errors=True)


def measure_mpv(screen, server, starts, archive_url, live_url):
    sock_path = os.path.join(tempfile.mkdtemp(prefix="quorvel-archive-mpv-"), "ipc")
    proc = subprocess.Popen(["mpv", "--no-config", "--idle=yes", "--force-window=yes", "--geometry=512x446+100+100",
                             "--title=archive-mpv", "--input-ipc-server=" + sock_path, "--keep-open=no", live_url],
                            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    times = []
    try:
        x, y, w, h = window_origin("archive-mpv")
        at = (x + w // 2, y + h // 2)
        if wait_colour(screen, at, red, 30) is None:
            raise SystemExit("archive.py: mpv never showed the live channel")
        for _ in range(100):
            if os.path.exists(sock_path):
                break
            time.sleep(0.05)
        ipc = socket.socket(socket.AF_UNIX)
        ipc.connect(sock_path)

        def load(url):
            ipc.sendall((json.dumps({"command": ["loadfile", url, "replace"]}) + "\n").encode())
        for i in range(starts):
            time.sleep(1.0)
            sent = time.monotonic()
            load(archive_url)
            shown = wait_colour(screen, at, blue)
            if shown is not None:
                times.append((shown - sent) * 1000)
            load(live_url)
            wait_colour(screen, at, red)
        ipc.close()
        return times
    finally:
        proc.terminate()
        proc.wait(20)


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--starts", type=int, default=5, help="archive starts per delay")
    parser.add_argument("--delays", default="0,50,150", help="server delays in milliseconds")
    args = parser.parse_args()
    media = tempfile.mkdtemp(prefix="quorvel-archive-media-")
    server = ArchiveServer(media, clip_seconds=30, live_seconds=120,
                           make=lambda folder, colour, seconds: make_colour(folder, colour, seconds),
                           sources=("red", "blue"))
    now = int(time.time())
    programmes = {name: programmes_around(now, name) for name, _, _ in server.channels()}
    server.playlist_and_guide(programmes)
    start, stop, _ = programmes["Default"][1]
    server.expect("Default", start, stop, "past")
    archive_url = server.url(server.archive_address("Default", start, stop))
    live_url = server.url(dict((n, l) for n, l, _ in server.channels())["Default"])
    screen = Screen()
    print("delay  player median  mpv median  ratio   (ms; %d starts each)" % args.starts)
    try:
        for delay in [int(d) for d in args.delays.split(",")]:
            server.delay = delay / 1000
            player = measure_player(screen, server, args.starts)
            mpv = measure_mpv(screen, server, args.starts, archive_url, live_url)
            if not player or not mpv:
                print("%5d  no figures" % delay)
                continue
            p, m = statistics.median(player), statistics.median(mpv)
            print("%5d  %13.0f  %10.0f  %5.2fx" % (delay, p, m, p / m))
            sys.stdout.flush()
    finally:
        server.stop()
        shutil.rmtree(media, ignore_errors=True)


if __name__ == "__main__":
    main()
