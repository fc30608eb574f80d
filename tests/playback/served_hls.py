#!/usr/bin/env python3
"""A recorded HLS stream served on 127.0.0.1, for the player's tests.
As a program: served_hls.py [--seconds N] [--sound | --tracks eng,deu,…] [--live] [--agent UA --referrer REF]
prints the playlist's address on its first line, then one line per request it is sent:
"GET <path> <json of the request's headers>". With --agent and --referrer every request
whose User-Agent and Referer are not exactly those is answered 403. --tracks gives the stream one
sound track per language named, in that order, each a tone of its own; the same stream is served
whole as tracks.ts too (HLS without a master playlist names no languages, a transport stream does).
With --live the playlist is a live one: a sliding window of three segments, one more each second,
round the recording, so a player keeps asking for the playlist and the newest segment for as long
as it plays."""
import argparse
import http.server
import json
import os
import shutil
import subprocess
import sys
import tempfile
import threading
import time


class QuietServer(http.server.ThreadingHTTPServer):
    daemon_threads = True

    def handle_error(self, request, client_address):
        pass  # a player that drops a download midway


def make_stream(folder, seconds, sound, tracks):
    inputs = ["-f", "lavfi", "-i", "testsrc=size=320x240:rate=25"]
    codecs = ["-c:v", "libx264", "-preset", "ultrafast", "-g", "25", "-pix_fmt", "yuv420p"]
    if sound:
        inputs += ["-f", "lavfi", "-i", "sine=frequency=440"]
        codecs += ["-c:a", "aac"]
    if tracks:
        codecs += ["-map", "0:v"]
        for i, language in enumerate(tracks):
            inputs += ["-f", "lavfi", "-i", "sine=frequency=%d" % (330 + 110 * i)]
            codecs += ["-map", "%d:a" % (i + 1), "-metadata:s:a:%d" % i, "language=" + language]
        codecs += ["-c:a", "aac"]
    subprocess.run(["ffmpeg", "-nostdin", "-loglevel", "error", "-y"] + inputs + ["-t", str(seconds)] + codecs +
                   ["-f", "hls", "-hls_time", "1", "-hls_playlist_type", "vod",
                    "-hls_segment_filename", os.path.join(folder, "seg%d.ts"), os.path.join(folder, "vod.m3u8")],
                   check=True)
    if tracks:
        segments = sorted((f for f in os.listdir(folder) if f.startswith("seg")), key=lambda f: int(f[3:-3]))
        with open(os.path.join(folder, "tracks.ts"), "wb") as whole:
            for name in segments:
                with open(os.path.join(folder, name), "rb") as part:
                    whole.write(part.read())


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--seconds", type=int, default=4)
    parser.add_argument("--sound", action="store_true")
    parser.add_argument("--tracks", default="")
    parser.add_argument("--agent")
    parser.add_argument("--referrer")
    parser.add_argument("--live", action="store_true")
    args = parser.parse_args()
    # The recording is served from memory: the tests end this server by killing it, which
    # left a folder behind in /tmp for every run.
    folder = tempfile.mkdtemp(prefix="quorvel-vod-")
    try:
        make_stream(folder, args.seconds, args.sound, [t for t in args.tracks.split(",") if t])
        files = {}
        for name in os.listdir(folder):
            with open(os.path.join(folder, name), "rb") as f:
                files[name] = f.read()
    finally:
        shutil.rmtree(folder, ignore_errors=True)
    lock = threading.Lock()
    started = time.time()

    def live_playlist():
        newest = 3 + int(time.time() - started)
        lines = ["#EXTM3U", "#EXT-X-VERSION:3", "#EXT-X-TARGETDURATION:1", "#EXT-X-MEDIA-SEQUENCE:%d" % (newest - 3)]
        for n in range(newest - 3, newest):
            lines += ["#EXTINF:1.000000,", "seg%d.ts?n=%d" % (n % args.seconds, n)]
        return ("\n".join(lines) + "\n").encode()

    class Handler(http.server.BaseHTTPRequestHandler):
        def log_message(self, *a):
            pass

        def do_GET(self):
            with lock:
                print("GET %s %s" % (self.path, json.dumps(dict(self.headers.items()))), flush=True)
            if args.agent is not None and (self.headers.get("User-Agent") != args.agent or
                                           self.headers.get("Referer") != args.referrer):
                self.send_error(403)
                return
            name = os.path.basename(self.path.split("?")[0])
            if args.live and name == "live.m3u8":
                body = live_playlist()
            elif name not in files:
                self.send_error(404)
                return
            else:
                body = files[name]
            self.send_response(200)
            kind = "application/vnd.apple.mpegurl" if name.endswith(".m3u8") else "video/mp2t"
            self.send_header("Content-Type", kind)
            self.send_header("Content-Length", str(len(body)))
            self.end_headers()
            self.wfile.write(body)

    httpd = QuietServer(("127.0.0.1", 0), Handler)
    print("http://127.0.0.1:%d/%s" % (httpd.server_address[1], "live.m3u8" if args.live else "vod.m3u8"), flush=True)
    httpd.serve_forever()


if __name__ == "__main__":
    sys.exit(main())
