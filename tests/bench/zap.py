"""Zapping speed: the player against bare mpv on the same two served channels.

Two live-like HLS channels, one solid red and one solid blue, are served on 127.0.0.1 with every
answer held back by a delay, as a distant server would. Each zap is timed from the command
(an MPRIS Next/Previous for the player, `loadfile URL replace` over mpv's IPC socket for mpv) to
the new colour on screen, read from one pixel in the middle of the video. Both sound through the
desktop's default output, as the program does (on a machine without a sound device, both try
and fail alike). It reports medians and the player's ratio to mpv per delay; it judges nothing.

The category holds four channels, red, blue, red, blue. By default the player goes Next and
Previous in turn, back and forth between the first two, so it never surfs; with --surf it goes
Next every time, round the category, as a viewer surfing does: the player then opens the next
channel ahead, and its memory and CPU show beside the figures. With --cold each zap comes after
the channel played a long while (--gap seconds, more than the player's ten seconds of surfing),
as the one press a viewer makes after watching does: no second core waits and nothing is open
ahead, and the player opens the channel as bare mpv does.

Run under the harness's X server and a private session bus:
    dbus-run-session -- tests/harness/with-xvfb python3 tests/bench/zap.py [--zaps 10] [--delays 0,50,150] [--surf | --cold [--gap 11]] [--rounds 1]
"""
import argparse
import ctypes
import ctypes.util
import functools
import http.server
import json
import shlex
import os
import shutil
import socket
import statistics
import subprocess
import sys
import tempfile
import threading
import time

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
BIN_DIR = os.environ.get("QUORVEL_BIN_DIR", os.path.join(ROOT, "build", "bin"))
CLIENT_LEFT, CLIENT_TOP = 3, 30
VIDEO_CENTRE = (255, 200)   # the middle of the video area, above the ticker and the bar


class Screen:
    """Reads single pixels of the root window straight from the X server (a few microseconds,
    where a screenshot tool would take tens of milliseconds)."""

    def __init__(self):
        x11 = ctypes.cdll.LoadLibrary(ctypes.util.find_library("X11"))
        x11.XOpenDisplay.restype = ctypes.c_void_p
        x11.XDefaultRootWindow.restype = ctypes.c_ulong
        x11.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
        x11.XGetImage.restype = ctypes.c_void_p
        x11.XGetImage.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_int, ctypes.c_uint,
                                  ctypes.c_uint, ctypes.c_ulong, ctypes.c_int]
        x11.XGetPixel.restype = ctypes.c_ulong
        x11.XGetPixel.argtypes = [ctypes.c_void_p, ctypes.c_int, ctypes.c_int]
        x11.XFree.argtypes = [ctypes.c_void_p]
        self.x11 = x11
        self.display = x11.XOpenDisplay(None)
        if not self.display:
            raise SystemExit("zap.py: no X display")
        self.root = x11.XDefaultRootWindow(self.display)

    def pixel(self, x, y):
        image = self.x11.XGetImage(self.display, self.root, x, y, 1, 1, 0xFFFFFFFF, 2)  # ZPixmap
        if not image:
            return (0, 0, 0)
        value = self.x11.XGetPixel(image, 0, 0)
        # XImage.data is the second pointer-sized field after width, height, xoffset, format.
        data = ctypes.cast(image + 16, ctypes.POINTER(ctypes.c_void_p)).contents.value
        self.x11.XFree(ctypes.c_void_p(data))
        self.x11.XFree(ctypes.c_void_p(image))
        return ((value >> 16) & 255, (value >> 8) & 255, value & 255)


def red(p):
    return p[0] > 180 and p[1] < 80 and p[2] < 80


def blue(p):
    return p[2] > 180 and p[0] < 80 and p[1] < 80


def make_channel(folder, colour):
    os.makedirs(folder)
    subprocess.run(["ffmpeg", "-loglevel", "error", "-f", "lavfi", "-i", "color=c=%s:size=640x360:rate=25" % colour,
                    "-t", "120", "-c:v", "libx264", "-preset", "ultrafast", "-g", "25", "-hls_time", "1",
                    "-hls_list_size", "0", "-hls_playlist_type", "event", os.path.join(folder, "index.m3u8")],
                   check=True)


class DelayedServer:
    def __init__(self, root):
        self.delay = 0.0
        server = self

        class Handler(http.server.SimpleHTTPRequestHandler):
            def log_message(self, *args):
                pass

            def do_GET(self):
                time.sleep(server.delay)
                super().do_GET()

        class QuietServer(http.server.ThreadingHTTPServer):
            def handle_error(self, request, client_address):
                pass  # a player that drops a download midway, as one closing a channel does

        handler = functools.partial(Handler, directory=root)
        self.httpd = QuietServer(("127.0.0.1", 0), handler)
        self.httpd.daemon_threads = True
        self.port = self.httpd.server_address[1]
        threading.Thread(target=self.httpd.serve_forever, daemon=True).start()

    def url(self, path):
        return "http://127.0.0.1:%d/%s" % (self.port, path)

    def stop(self):
        self.httpd.shutdown()


class SessionBus:
    """A bare D-Bus connection to the session bus, kept open: a method call is one write to a
    socket already connected, as mpv's IPC command is, where running dbus-send for every zap
    would add a process start to the player's times alone."""

    def __init__(self):
        address = os.environ["DBUS_SESSION_BUS_ADDRESS"].split(";")[0]
        kind, _, rest = address.partition(":")
        params = dict(p.split("=", 1) for p in rest.split(",") if "=" in p)
        if kind != "unix":
            raise SystemExit("zap.py: the session bus is not on a unix socket: " + address)
        self.sock = socket.socket(socket.AF_UNIX)
        self.sock.connect("\0" + params["abstract"] if "abstract" in params else params["path"])
        self.sock.sendall(b"\0AUTH EXTERNAL " + str(os.getuid()).encode().hex().encode() + b"\r\n")
        if not self._line().startswith(b"OK"):
            raise SystemExit("zap.py: the session bus refused us")
        self.sock.sendall(b"BEGIN\r\n")
        self.serial = 0
        self.call("/org/freedesktop/DBus", "org.freedesktop.DBus", "Hello", "org.freedesktop.DBus", reply=True)
        self.sock.recv(4096)  # the name the bus gave us; nothing else is read from here on

    def _line(self):
        data = b""
        while not data.endswith(b"\r\n"):
            data += self.sock.recv(1)
        return data

    def call(self, path, interface, member, destination, reply=False):
        def pad(buf, n):
            return buf + b"\0" * (-len(buf) % n)

        def string(body):
            return len(body).to_bytes(4, "little") + body + b"\0"

        fields = b""
        for code, sig, value in ((1, "o", path), (2, "s", interface), (3, "s", member), (6, "s", destination)):
            fields = pad(fields, 8)
            fields += bytes([code, 1]) + sig.encode() + b"\0"   # the code, then the variant's signature
            fields = pad(fields, 4) + string(value.encode())
        self.serial += 1
        flags = 0 if reply else 1  # no reply expected
        header = b"l" + bytes([1, flags, 1]) + (0).to_bytes(4, "little") + self.serial.to_bytes(4, "little")
        header += len(fields).to_bytes(4, "little") + fields
        self.sock.sendall(pad(header, 8))


def xdotool(*args):
    return subprocess.run(["xdotool", *args], capture_output=True, text=True).stdout.strip()


def window_origin(name):
    for _ in range(200):
        ids = xdotool("search", "--onlyvisible", "--name", name).split()
        if ids:
            out = xdotool("getwindowgeometry", "--shell", ids[0])
            values = dict(line.split("=", 1) for line in out.splitlines() if "=" in line)
            return int(values["X"]), int(values["Y"]), int(values["WIDTH"]), int(values["HEIGHT"])
        time.sleep(0.1)
    raise SystemExit("zap.py: no window named " + name)


def wait_colour(screen, at, test, timeout=15.0):
    start = time.monotonic()
    while time.monotonic() - start < timeout:
        if test(screen.pixel(*at)):
            return time.monotonic()
        time.sleep(0.002)
    return None


def time_zaps(screen, at, zap, zaps, gap=1.0):
    """Alternates between the two channels; each zap timed from its command to its colour, the
    channel before having played for gap seconds."""
    times = []
    for i in range(2 * zaps):
        target = blue if i % 2 == 0 else red
        time.sleep(gap)
        sent = time.monotonic()
        zap(i % 2 == 0)
        shown = wait_colour(screen, at, target)
        if shown is None:
            print("  zap %d: the colour never came" % i, file=sys.stderr)
            continue
        times.append((shown - sent) * 1000)
        if os.environ.get("ZAP_PLAYER_LOG"):
            print("  zap %d: %.0f ms" % (i, times[-1]), file=sys.stderr)
    return times


def rss_tree_mb(pid):
    """Resident memory of a process and its children, in MiB."""
    total = 0
    pids = [str(pid)] + subprocess.run(["pgrep", "-P", str(pid)], capture_output=True, text=True).stdout.split()
    for p in pids:
        try:
            with open("/proc/%s/status" % p) as f:
                for line in f:
                    if line.startswith("VmRSS:"):
                        total += int(line.split()[1])
        except OSError:
            pass
    return total / 1024


def cpu_seconds(pid):
    with open("/proc/%d/stat" % pid) as f:
        fields = f.read().rsplit(")", 1)[1].split()
    return (int(fields[11]) + int(fields[12])) / os.sysconf("SC_CLK_TCK")


SURFING_IDLE_S = 10  # the player stops surfing after this long without a zap


def share_of_cpu(pid, seconds):
    """The process's CPU use over a while, in per cent of one core."""
    before = cpu_seconds(pid)
    time.sleep(seconds)
    return (cpu_seconds(pid) - before) / seconds * 100


def measure_player(screen, server, zaps, surf, gap):
    work = tempfile.mkdtemp(prefix="quorvel-zap-")
    for name in os.listdir(BIN_DIR):
        if os.path.isfile(os.path.join(BIN_DIR, name)):
            shutil.copy2(os.path.join(BIN_DIR, name), work)
    with open(os.path.join(work, "VisibleAPI.dat"), "w") as f:
        # Four addresses, two of them the same files asked for under another name.
        f.write("[Layer1]\nZap=\n\n[Layer2]\nRed=Zap\nBlue=Zap\nRed 2=Zap\nBlue 2=Zap\n\n[Programs]\n"
                "Red=%s\nBlue=%s\nRed 2=%s\nBlue 2=%s\n"
                % (server.url("red/index.m3u8"), server.url("blue/index.m3u8"),
                   server.url("red/index.m3u8?2"), server.url("blue/index.m3u8?2")))
    env = dict(os.environ)
    # For tracing where a zap's time goes: ZAP_PLAYER_LOG=<file> keeps the player's own log
    # (with QT_LOGGING_RULES="quorvel.zap.debug=true" and QUORVEL_MPV_LOG, see playback/zaptrace.h).
    log = open(os.environ["ZAP_PLAYER_LOG"], "a") if os.environ.get("ZAP_PLAYER_LOG") else subprocess.DEVNULL
    proc = subprocess.Popen([os.path.join(work, "quorvel")], env=env, stdout=subprocess.DEVNULL, stderr=log)
    try:
        x, y, _, _ = window_origin("Quorvel Online TV v1.12")
        at = (x + CLIENT_LEFT + VIDEO_CENTRE[0], y + CLIENT_TOP + VIDEO_CENTRE[1])
        # Open the category and play its first channel (red), as a viewer would.
        time.sleep(2)
        # The catalogue's first category, after the viewer's Favourites and Recently watched.
        xdotool("mousemove", str(x + CLIENT_LEFT + 560), str(y + CLIENT_TOP + 68), "click", "1")
        xdotool("key", "Right", "Down")
        if wait_colour(screen, at, red, 30) is None:
            raise SystemExit("zap.py: the player never showed the first channel")

        bus = SessionBus()

        def zap(forward):
            forward = forward or surf
            if os.environ.get("ZAP_BY_KEYS"):
                subprocess.run(["xdotool", "key", "Down" if forward else "Up"], check=False)
                return
            bus.call("/org/mpris/MediaPlayer2", "org.mpris.MediaPlayer2.Player", "Next" if forward else "Previous",
                     "org.mpris.MediaPlayer2.quorvel")
        cpu0 = cpu_seconds(proc.pid)
        times = time_zaps(screen, at, zap, zaps, gap)
        cpu = cpu_seconds(proc.pid) - cpu0
        rss = rss_tree_mb(proc.pid)
        if surf:
            # The channel after the last one is open ahead now, until ten seconds without a zap.
            ahead = share_of_cpu(proc.pid, 4), rss_tree_mb(proc.pid)
            time.sleep(SURFING_IDLE_S + 1 - 4)
            alone = share_of_cpu(proc.pid, 4), rss_tree_mb(proc.pid)
            print("  surfing, the last channel playing: with the next one open ahead %.0f%% CPU, %.0f MiB; "
                  "once surfing stopped %.0f%% CPU, %.0f MiB" % (ahead[0], ahead[1], alone[0], alone[1]))
        return times, rss, cpu
    finally:
        proc.terminate()
        try:
            proc.wait(20)
        except subprocess.TimeoutExpired:
            proc.kill()
        shutil.rmtree(work, ignore_errors=True)


def measure_mpv(screen, server, zaps, gap, extra_args=()):
    sock_path = os.path.join(tempfile.mkdtemp(prefix="quorvel-zap-mpv-"), "ipc")
    proc = subprocess.Popen(["mpv", *extra_args, "--no-config", "--idle=yes", "--force-window=yes",
                             "--geometry=512x446+100+100", "--title=zap-mpv", "--input-ipc-server=" + sock_path,
                             "--keep-open=no", server.url("red/index.m3u8")],
                            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    try:
        x, y, w, h = window_origin("zap-mpv")
        at = (x + w // 2, y + h // 2)
        if wait_colour(screen, at, red, 30) is None:
            raise SystemExit("zap.py: mpv never showed the first channel")
        for _ in range(100):
            if os.path.exists(sock_path):
                break
            time.sleep(0.05)
        ipc = socket.socket(socket.AF_UNIX)
        ipc.connect(sock_path)

        def zap(forward):
            url = server.url(("blue" if forward else "red") + "/index.m3u8")
            ipc.sendall((json.dumps({"command": ["loadfile", url, "replace"]}) + "\n").encode())
        cpu0 = cpu_seconds(proc.pid)
        times = time_zaps(screen, at, zap, zaps, gap)
        cpu = cpu_seconds(proc.pid) - cpu0
        ipc.close()
        return times, rss_tree_mb(proc.pid), cpu
    finally:
        proc.terminate()
        proc.wait(20)


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--zaps", type=int, default=10, help="zaps each way per delay")
    parser.add_argument("--delays", default="0,50,150", help="server delays in milliseconds")
    parser.add_argument("--surf", action="store_true", help="the player goes Next every time, round the category")
    parser.add_argument("--cold", action="store_true",
                        help="zaps far apart (--gap), after the player stopped surfing: the first zap after watching")
    parser.add_argument("--gap", type=float, default=None,
                        help="seconds each channel plays before the next zap (1, or %d with --cold)" % (SURFING_IDLE_S + 1))
    parser.add_argument("--mpv-args", default="",
                        help="more options for mpv, e.g. \"--vo=gpu --gpu-sw=yes\": mpv refuses a software OpenGL "
                             "renderer, which the player draws with where there is no graphics card, and falls back "
                             "to another output; these have it draw as the player does")
    parser.add_argument("--rounds", type=int, default=1,
                        help="player and mpv measured in turn this many times per delay, their zaps pooled: "
                             "the machine's drift falls on both alike")
    args = parser.parse_args()
    if args.cold and args.surf:
        parser.error("--cold and --surf are two different zaps")
    gap = args.gap if args.gap is not None else (SURFING_IDLE_S + 1 if args.cold else 1.0)
    if args.cold and gap <= SURFING_IDLE_S:
        print("zap.py: a gap of %g s is within the player's surfing; the zaps are not cold" % gap, file=sys.stderr)
    media = tempfile.mkdtemp(prefix="quorvel-zap-media-")
    make_channel(os.path.join(media, "red"), "red")
    make_channel(os.path.join(media, "blue"), "blue")
    server = DelayedServer(media)
    screen = Screen()
    print("delay  player median  mpv median  ratio   (ms; %d zaps each way%s%s, %g s apart)"
          % (args.zaps, " in %d rounds" % args.rounds if args.rounds > 1 else "",
             "; the player surfing" if args.surf else "", gap))
    try:
        for delay in [int(d) for d in args.delays.split(",")]:
            server.delay = delay / 1000
            player, mpv = [], []
            player_cpu = mpv_cpu = 0.0
            for _ in range(max(1, args.rounds)):
                times, player_rss, cpu = measure_player(screen, server, args.zaps, args.surf, gap)
                player += times
                player_cpu += cpu
                times, mpv_rss, cpu = measure_mpv(screen, server, args.zaps, gap, shlex.split(args.mpv_args))
                mpv += times
                mpv_cpu += cpu
            if not player or not mpv:
                print("%5d  no figures" % delay)
                continue
            p, m = statistics.median(player), statistics.median(mpv)
            print("%5d  %13.0f  %10.0f  %5.2fx   player %.0f–%.0f ms, %.0f MiB, %.1f s CPU; "
                  "mpv %.0f–%.0f ms, %.0f MiB, %.1f s CPU"
                  % (delay, p, m, p / m, min(player), max(player), player_rss, player_cpu,
                     min(mpv), max(mpv), mpv_rss, mpv_cpu))
            sys.stdout.flush()
    finally:
        server.stop()
        shutil.rmtree(media, ignore_errors=True)


if __name__ == "__main__":
    main()
