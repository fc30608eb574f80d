#!/usr/bin/env python3
"""A live HLS channel on 127.0.0.1 that stops sending: its playlist keeps answering, but after a
number of segments every segment request is taken and never answered.
As a program: stalling_hls.py <after-segments>  prints the playlist's address, serves until killed."""
import http.server
import os
import subprocess
import sys
import tempfile
import threading
import time

SEGMENTS = 40


class QuietServer(http.server.ThreadingHTTPServer):
    daemon_threads = True

    def handle_error(self, request, client_address):
        pass  # a player that drops a download midway


class StallingHls:
    def __init__(self, after_segments, folder=None):
        self.folder = folder or tempfile.mkdtemp(prefix="quorvel-live-")
        if not os.path.exists(os.path.join(self.folder, "seg%d.ts" % (SEGMENTS - 1))):
            subprocess.run(["ffmpeg", "-loglevel", "error", "-y", "-f", "lavfi", "-i", "testsrc=size=320x240:rate=25",
                            "-t", str(SEGMENTS), "-c:v", "libx264", "-preset", "ultrafast", "-g", "25",
                            "-f", "segment", "-segment_time", "1", "-segment_format", "mpegts",
                            os.path.join(self.folder, "seg%d.ts")], check=True)
        self.started = time.time()
        self.served = 0
        self.stalled = threading.Event()
        me = self

        class Handler(http.server.BaseHTTPRequestHandler):
            def log_message(self, *args):
                pass

            def do_GET(self):
                if self.path.endswith(".m3u8"):
                    body = me.playlist().encode()
                    self.send_response(200)
                    self.send_header("Content-Type", "application/vnd.apple.mpegurl")
                    self.send_header("Content-Length", str(len(body)))
                    self.end_headers()
                    self.wfile.write(body)
                    return
                name = os.path.basename(self.path)
                path = os.path.join(me.folder, name)
                if not name.startswith("seg") or not os.path.exists(path):
                    self.send_error(404)
                    return
                me.served += 1
                if me.served > after_segments:
                    me.stalled.set()
                    time.sleep(3600)  # taken, never answered
                    return
                with open(path, "rb") as f:
                    body = f.read()
                self.send_response(200)
                self.send_header("Content-Type", "video/mp2t")
                self.send_header("Content-Length", str(len(body)))
                self.end_headers()
                self.wfile.write(body)

        self.httpd = QuietServer(("127.0.0.1", 0), Handler)
        self.port = self.httpd.server_address[1]
        threading.Thread(target=self.httpd.serve_forever, daemon=True).start()

    def url(self):
        return "http://127.0.0.1:%d/live.m3u8" % self.port

    def playlist(self):
        # A sliding window of the last four segments "recorded" so far, one a second.
        newest = min(SEGMENTS - 1, 3 + int(time.time() - self.started))
        first = max(0, newest - 3)
        lines = ["#EXTM3U", "#EXT-X-VERSION:3", "#EXT-X-TARGETDURATION:1", "#EXT-X-MEDIA-SEQUENCE:%d" % first]
        for i in range(first, newest + 1):
            lines += ["#EXTINF:1.000,", "seg%d.ts" % i]
        return "\n".join(lines) + "\n"

    def stop(self):
        self.httpd.shutdown()


if __name__ == "__main__":
    server = StallingHls(int(sys.argv[1]) if len(sys.argv) > 1 else 6)
    print(server.url(), flush=True)
    threading.Event().wait()
