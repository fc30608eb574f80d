"""Shared pieces of the end-to-end tests: a scratch copy of the program folder, test streams
served on 127.0.0.1, the program's window found with xdotool, and screenshots as pixels."""
import functools
import http.server
import os
import shutil
import subprocess
import sys
import tempfile
import threading
import time

BIN_DIR = os.environ.get("QUORVEL_BIN_DIR") or os.path.join(
    os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__)))), "build", "bin")


def make_hls(folder, source, seconds=20):
    """Writes an HLS stream of an ffmpeg test source (a moving pattern) into folder."""
    os.makedirs(folder, exist_ok=True)
    subprocess.run(["ffmpeg", "-loglevel", "error", "-y", "-f", "lavfi", "-i", source + "=size=320x240:rate=25",
                    "-t", str(seconds), "-c:v", "libx264", "-preset", "ultrafast", "-g", "25", "-hls_time", "1",
                    "-hls_list_size", "0", "-hls_playlist_type", "vod", os.path.join(folder, "index.m3u8")],
                   check=True)


class QuietServer(http.server.ThreadingHTTPServer):
    """A player that drops a download midway (a channel change) is no error worth a trace."""
    daemon_threads = True

    def handle_error(self, request, client_address):
        pass


class StreamServer:
    """Serves a folder on 127.0.0.1 only and remembers every path asked for."""

    def __init__(self, root):
        self.requests = []
        log = self.requests

        class Handler(http.server.SimpleHTTPRequestHandler):
            def log_message(self, *args):
                pass

            def do_GET(self):
                log.append(self.path)
                super().do_GET()

        handler = functools.partial(Handler, directory=root)
        self.httpd = QuietServer(("127.0.0.1", 0), handler)
        self.port = self.httpd.server_address[1]
        threading.Thread(target=self.httpd.serve_forever, daemon=True).start()

    def url(self, path):
        return "http://127.0.0.1:%d/%s" % (self.port, path)

    def stop(self):
        self.httpd.shutdown()


class Program:
    """The real program, started from a scratch copy of its folder."""

    def __init__(self, catalogue=None, keep_catalogue=False):
        self.dir = tempfile.mkdtemp(prefix="quorvel-e2e-")
        for name in os.listdir(BIN_DIR):
            src = os.path.join(BIN_DIR, name)
            if os.path.isfile(src):
                shutil.copy2(src, self.dir)
        if not keep_catalogue:
            os.remove(os.path.join(self.dir, "VisibleAPI.dat"))
        if catalogue is not None:
            with open(os.path.join(self.dir, "VisibleAPI.dat"), "w") as f:
                f.write(catalogue)
        self.proc = None
        self.window = None

    def start(self, env=None, command=None):
        """command: how to start it, when not simply (inside a namespace of its own)."""
        e = dict(os.environ)
        e.update(env or {})
        self.spawned = time.time()
        # Output goes to a file: a pipe nobody reads would stall a talkative program.
        self.output = tempfile.NamedTemporaryFile(prefix="quorvel-e2e-", suffix=".log", delete=False)
        self.proc = subprocess.Popen(command or [os.path.join(self.dir, "quorvel")], env=e,
                                     stdout=self.output, stderr=subprocess.STDOUT)
        self.window = wait_for_window("Quorvel Online TV v1.12")
        return self

    def geometry(self):
        out = xdotool("getwindowgeometry", "--shell", self.window)
        values = dict(line.split("=", 1) for line in out.splitlines() if "=" in line)
        return int(values["X"]), int(values["Y"]), int(values["WIDTH"]), int(values["HEIGHT"])

    def click(self, x, y):
        """Clicks at a point of the window's client area, which the skin's frame surrounds."""
        wx, wy, _, _ = self.geometry()
        xdotool("mousemove", str(wx + CLIENT_LEFT + x), str(wy + CLIENT_TOP + y), "click", "1")

    def finish(self, testcase):
        """Ends the program as a log-out does and checks that it closed cleanly: exit status 0
        and no memory or undefined-behaviour report on its way out."""
        self.proc.terminate()
        try:
            rc = self.proc.wait(60)
        except subprocess.TimeoutExpired:
            rc = None
        with open(self.output.name, errors="replace") as f:
            out = f.read()
        testcase.assertEqual(rc, 0, "program did not close cleanly:\n" + out[-3000:])
        for report in ("ERROR: AddressSanitizer", "ERROR: LeakSanitizer", "runtime error:"):
            testcase.assertNotIn(report, out, out[-3000:])

    def stop(self):
        if self.proc and self.proc.poll() is not None and self.proc.returncode != 0:
            # It ended on its own, badly: show what it said.
            with open(self.output.name, errors="replace") as f:
                sys.stderr.write("program ended with status %d:\n%s\n" % (self.proc.returncode, f.read()[-6000:]))
        if self.proc and self.proc.poll() is None:
            self.proc.terminate()
            try:
                self.proc.wait(10)
            except subprocess.TimeoutExpired:
                self.proc.kill()
                self.proc.wait()
        shutil.rmtree(self.dir, ignore_errors=True)
        if self.proc:
            self.output.close()
            os.unlink(self.output.name)


def start_window_manager():
    """openbox on the harness's X server, the pointer parked out of the way; stop it with
    stop_window_manager."""
    xdotool("mousemove", "0", "0")
    manager = subprocess.Popen(["openbox", "--sm-disable"], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    time.sleep(1)
    return manager


def stop_window_manager(manager):
    manager.terminate()
    manager.wait()


def xdotool(*args):
    return subprocess.run(["xdotool", *args], check=True, capture_output=True, text=True).stdout


# Where the client area starts in the window: inside the frame's left edge and caption.
CLIENT_LEFT, CLIENT_TOP = 3, 30


def wait_for_window(name, timeout=30):
    deadline = time.time() + timeout
    while time.time() < deadline:
        r = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", name], capture_output=True, text=True)
        ids = r.stdout.split()
        if ids:
            return ids[0]
        time.sleep(0.2)
    raise AssertionError("window %r did not appear" % name)


def visible(name):
    r = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", name], capture_output=True, text=True)
    return bool(r.stdout.split())


def key(*names):
    xdotool("key", "--delay", "120", *names)


def screenshot(x, y, w, h):
    """The screen's pixels in a rectangle, as a list of rows of (r, g, b)."""
    # Eight bits a channel: without it the screen's pixels come out as 16-bit values.
    raw = subprocess.run(["import", "-window", "root", "-crop", "%dx%d+%d+%d" % (w, h, x, y), "-depth", "8",
                          "rgb:-"],
                         check=True, capture_output=True).stdout
    return [[tuple(raw[(r * w + c) * 3:(r * w + c) * 3 + 3]) for c in range(w)] for r in range(h)]


def wait_until(predicate, timeout, step=0.2):
    deadline = time.time() + timeout
    while time.time() < deadline:
        if predicate():
            return True
        time.sleep(step)
    return predicate()


def settled(area, timeout=10):
    """The pixels of an area once they stop changing: the program has finished drawing it (a
    window that has just taken a new size may still be laying itself out, slowly under the
    sanitizers)."""
    last = screenshot(*area)
    deadline = time.time() + timeout
    while time.time() < deadline:
        time.sleep(0.3)
        now = screenshot(*area)
        if now == last:
            return now
        last = now
    return last


def looks_like_start_page(pixels):
    """The start page is a dark blue backdrop: mostly dark pixels with more blue than red."""
    flat = [p for row in pixels for p in row]
    dark_blue = sum(1 for (r, g, b) in flat if r + g + b < 200 and b > r)
    return dark_blue / len(flat) > 0.6
