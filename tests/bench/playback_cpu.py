#!/usr/bin/env python3
"""Playback cost: CPU seconds of the whole process tree over 20 s of playing one local
1280 x 720 H.264 HLS stream, the real program against `mpv --vo=gpu --gpu-sw` (the same software
GL the program gets under Xvfb) in a window the size of the program's video area, in the same
run. Run under an X server:
    tests/harness/with-xvfb python3 tests/bench/playback_cpu.py [rounds] [seconds]"""
import os
import subprocess
import sys
import tempfile
import time

root = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
os.environ.setdefault("QUORVEL_BIN_DIR", os.path.join(root, "build", "bin"))
sys.path.insert(0, os.path.join(root, "tests", "e2e"))
import harness  # noqa: E402

rounds = int(sys.argv[1]) if len(sys.argv) > 1 else 1
seconds = float(sys.argv[2]) if len(sys.argv) > 2 else 20.0
VIDEO = (1, 1, 508, 413)  # the video area in the window's client area at the default size
TICK = os.sysconf("SC_CLK_TCK")


def tree_times(pid):
    """CPU seconds (user + system) of every live process in the tree under pid, by pid."""
    parents, times = {}, {}
    for entry in os.listdir("/proc"):
        if not entry.isdigit():
            continue
        try:
            with open("/proc/%s/stat" % entry) as f:
                stat = f.read()
        except OSError:
            continue
        fields = stat[stat.rfind(")") + 2:].split()
        parents[int(entry)] = int(fields[1])
        times[int(entry)] = (int(fields[11]) + int(fields[12])) / TICK
    members = {pid}
    grew = True
    while grew:
        grew = False
        for p, pp in parents.items():
            if pp in members and p not in members:
                members.add(p)
                grew = True
    return {p: times[p] for p in members if p in times}


def cpu_over(pid, span):
    before = tree_times(pid)
    time.sleep(span)
    after = tree_times(pid)
    return sum(t - before.get(p, 0.0) for p, t in after.items())


def moving(region):
    first = harness.screenshot(*region)
    return harness.wait_until(lambda: harness.screenshot(*region) != first, 20, 0.5)


def ours(url):
    catalogue = "[Layer1]\nBench=\n[Layer2]\nStream=Bench\n[Programs]\nStream=%s\n" % url
    program = harness.Program(catalogue).start()
    try:
        x, y, _, _ = program.geometry()
        # The catalogue's first category, after the viewer's Favourites and Recently watched.
        program.click(560, 68)
        harness.key("Right", "Down")
        if not moving((x + VIDEO[0] + 40, y + VIDEO[1] + 40, 200, 200)):
            raise SystemExit("the program shows no moving picture")
        time.sleep(2)
        return cpu_over(program.proc.pid, seconds)
    finally:
        program.stop()


def mpv(url):
    proc = subprocess.Popen(["mpv", "--no-config", "--vo=gpu", "--gpu-sw", "--hwdec=no", "--ao=null", "--osc=no",
                             "--title=mpv-bench", "--geometry=%dx%d+0+0" % VIDEO[2:], "--force-window=yes", url],
                            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    try:
        harness.wait_for_window("mpv-bench")
        if not moving((40, 40, 200, 200)):
            raise SystemExit("mpv shows no moving picture")
        time.sleep(2)
        return cpu_over(proc.pid, seconds)
    finally:
        proc.terminate()
        proc.wait()


media = tempfile.mkdtemp(prefix="quorvel-bench-")
subprocess.run(["ffmpeg", "-loglevel", "error", "-y", "-f", "lavfi", "-i", "testsrc2=size=1280x720:rate=25",
                "-t", str(int(seconds) + 40), "-pix_fmt", "yuv420p", "-c:v", "libx264", "-preset", "veryfast",
                "-g", "50", "-hls_time", "2", "-hls_list_size", "0", "-hls_playlist_type", "vod",
                os.path.join(media, "index.m3u8")], check=True)
server = harness.StreamServer(media)
url = server.url("index.m3u8")
results = []
for _ in range(rounds):
    a = ours(url)
    b = mpv(url)
    results.append((a, b))
    print("round: player %.2f s, mpv %.2f s, ratio %.2f" % (a, b, a / b), flush=True)
server.stop()
a = sorted(r[0] for r in results)[len(results) // 2]
b = sorted(r[1] for r in results)[len(results) // 2]
print("CPU seconds over %.0f s of 1280x720 HLS, whole process tree, median of %d:" % (seconds, rounds))
print("| what | CPU s | vs mpv |\n|---|---|---|")
print("| mpv --vo=gpu | %.2f | 1.00 |" % b)
print("| Quorvel Online TV | %.2f | %.2f |" % (a, a / b))
