#!/usr/bin/env python3
"""A live HLS channel on 127.0.0.1 whose picture tells the time: every second of it is one plain
colour of its own, with a steady tone for sound. The playlist is a sliding window of the last
four one-second segments, one more each second from the start, as a live channel's is; every
request is remembered. ColourHls.index_of reads a colour back to the second it belongs to.
As a program: colour_hls.py [seconds]  prints the playlist's address and serves until killed."""
import http.server
import os
import shutil
import subprocess
import sys
import tempfile
import threading
import time

WINDOW = 4
# Each second's colour: red steps through the units, green through the tens, blue the hundreds;
# steps of 20 stay apart through the video's colour conversion and compression.
STEP, BASE = 20, 40


def colour_of(index):
    return (BASE + (index % 10) * STEP, BASE + (index // 10 % 10) * STEP, BASE + (index // 100 % 10) * STEP)


def index_of(rgb):
    """The second a colour shown belongs to, or None when it is no colour of this stream."""
    digits = []
    for value in rgb:
        step = round((value - BASE) / STEP)
        if not 0 <= step <= 9 or abs(value - (BASE + step * STEP)) > STEP // 3:
            return None
        digits.append(step)
    return digits[0] + 10 * digits[1] + 100 * digits[2]


class QuietServer(http.server.ThreadingHTTPServer):
    daemon_threads = True

    def handle_error(self, request, client_address):
        pass  # a player that drops a download midway


def make_segments(folder, seconds, size):
    expr = lambda i: "%d+%d*mod(floor(T/%d),10)" % (BASE, STEP, 10 ** i)  # noqa: E731
    picture = "color=c=black:s=%s:r=25,format=rgb24,geq=r='%s':g='%s':b='%s'" % (size, expr(0), expr(1), expr(2))
    subprocess.run(["ffmpeg", "-nostdin", "-loglevel", "error", "-y", "-f", "lavfi", "-i", picture,
                    "-f", "lavfi", "-i", "sine=frequency=440:sample_rate=48000", "-t", str(seconds),
                    "-c:v", "libx264", "-preset", "ultrafast", "-pix_fmt", "yuv420p", "-g", "25",
                    "-force_key_frames", "expr:gte(t,n_forced)", "-c:a", "aac", "-b:a", "64k",
                    "-f", "segment", "-segment_time", "1", "-segment_format", "mpegts",
                    os.path.join(folder, "seg%d.ts")], check=True)


class ColourHls:
    """maker(folder, seconds): writes seg<N>.ts of one second each, in place of the colours."""

    def __init__(self, seconds=200, size="160x120", maker=None):
        folder = tempfile.mkdtemp(prefix="quorvel-colour-")
        try:
            if maker:
                maker(folder, seconds)
            else:
                make_segments(folder, seconds, size)
            self.segments = {}
            for name in os.listdir(folder):
                with open(os.path.join(folder, name), "rb") as f:
                    self.segments[name] = f.read()
        finally:
            shutil.rmtree(folder, ignore_errors=True)
        self.seconds = seconds
        self.requests = []
        self.started = time.time()
        me = self

        class Handler(http.server.BaseHTTPRequestHandler):
            def log_message(self, *args):
                pass

            def do_GET(self):
                me.requests.append(self.path)
                name = os.path.basename(self.path.split("?")[0])
                if name == "live.m3u8":
                    body, kind = me.playlist().encode(), "application/vnd.apple.mpegurl"
                elif name in me.segments:
                    body, kind = me.segments[name], "video/mp2t"
                else:
                    self.send_error(404)
                    return
                self.send_response(200)
                self.send_header("Content-Type", kind)
                self.send_header("Content-Length", str(len(body)))
                self.end_headers()
                self.wfile.write(body)

        self.httpd = QuietServer(("127.0.0.1", 0), Handler)
        self.port = self.httpd.server_address[1]
        threading.Thread(target=self.httpd.serve_forever, daemon=True).start()

    def url(self):
        return "http://127.0.0.1:%d/live.m3u8" % self.port

    def live_index(self):
        """The newest second the playlist offers now."""
        return min(self.seconds - 1, WINDOW - 1 + int(time.time() - self.started))

    def playlist(self):
        newest = self.live_index()
        first = max(0, newest - WINDOW + 1)
        lines = ["#EXTM3U", "#EXT-X-VERSION:3", "#EXT-X-TARGETDURATION:1", "#EXT-X-MEDIA-SEQUENCE:%d" % first]
        for i in range(first, newest + 1):
            lines += ["#EXTINF:1.000000,", "seg%d.ts" % i]
        return "\n".join(lines) + "\n"

    def segment_requests(self):
        return [r for r in self.requests if r.startswith("/seg")]

    def stop(self):
        self.httpd.shutdown()


if __name__ == "__main__":
    server = ColourHls(int(sys.argv[1]) if len(sys.argv) > 1 else 200)
    print(server.url(), flush=True)
    threading.Event().wait()
