"""A provider's archive on 127.0.0.1 for the catch-up tests and the benchmark: one channel of
each catch-up mode, live as a served HLS stream, and an archive that answers only the exact
archive address of the programmes it was told of, with a short VOD HLS clip; every other
archive address is a 404. The playlist and the guide name the channels and their programmes."""
import datetime
import http.server
import os
import re
import threading
import time

import harness


def guide_time(t):
    return datetime.datetime.fromtimestamp(t, datetime.timezone.utc).strftime("%Y%m%d%H%M%S +0000")


def served_playlist(folder, prefix):
    """The folder's HLS playlist with its segments named by absolute paths under prefix."""
    with open(os.path.join(folder, "index.m3u8")) as f:
        lines = f.read().splitlines()
    return "\n".join(line if line.startswith("#") or not line else prefix + line for line in lines) + "\n"


class ArchiveServer:
    """Live channels and their archive. Mode by mode: the channel's live address (a path), the
    playlist attributes of its catch-up, and the archive address a programme must be asked by,
    as a pattern over the path (times of the moment of asking cannot be known to the second)."""

    def __init__(self, media, clip_seconds=10, live_seconds=60, make=harness.make_hls, sources=("testsrc", "smptebars")):
        self.media = media
        make(os.path.join(media, "live"), sources[0], seconds=live_seconds)
        make(os.path.join(media, "clip"), sources[1], seconds=clip_seconds)
        self.live_text = served_playlist(os.path.join(media, "live"), "/livemedia/")
        self.clip_text = served_playlist(os.path.join(media, "clip"), "/clipmedia/")
        self.requests = []
        self.archive_hits = []
        self.delay = 0.0
        self.lock = threading.Lock()
        self.expected = []  # (whether a path is the programme's archive address, label)
        server = self

        class Handler(http.server.BaseHTTPRequestHandler):
            def log_message(self, *args):
                pass

            def answer(self, body, kind):
                data = body if isinstance(body, bytes) else body.encode()
                self.send_response(200)
                self.send_header("Content-Type", kind)
                self.send_header("Content-Length", str(len(data)))
                self.end_headers()
                self.wfile.write(data)

            def do_GET(self):
                path = self.path
                with server.lock:
                    server.requests.append(path)
                if server.delay:
                    time.sleep(server.delay)
                for name, kind in (("/livemedia/", "video/mp2t"), ("/clipmedia/", "video/mp2t")):
                    if path.startswith(name):
                        file = os.path.join(server.media, name.strip("/").replace("media", ""),
                                            os.path.basename(path))
                        if os.path.isfile(file):
                            with open(file, "rb") as f:
                                return self.answer(f.read(), kind)
                        return self.send_error(404)
                if path in server.live_paths():
                    return self.answer(server.live_text, "application/vnd.apple.mpegurl")
                for matches, label in list(server.expected):
                    if matches(path):
                        with server.lock:
                            server.archive_hits.append((label, path))
                        return self.answer(server.clip_text, "application/vnd.apple.mpegurl")
                extra = server.files.get(path)
                if extra is not None:
                    return self.answer(extra, "text/plain")
                self.send_error(404)

        self.files = {}
        self.httpd = harness.QuietServer(("127.0.0.1", 0), Handler)
        self.port = self.httpd.server_address[1]
        threading.Thread(target=self.httpd.serve_forever, daemon=True).start()

    def url(self, path):
        return "http://127.0.0.1:%d%s" % (self.port, path)

    # The channels, one a mode: name, live path, catch-up attributes.
    def channels(self):
        return [
            ("Default", "/ch/default/index.m3u8",
             'catchup="default" catchup-source="%s"' % self.url("/archive/default/{utc}-{utcend}.m3u8")),
            ("Append", "/ch/append/index.m3u8", 'catchup="append" catchup-source="?utc={utc}&d={duration:60}"'),
            ("Shift", "/ch/shift/index.m3u8?token=abc", 'catchup="shift"'),
            ("Flussonic", "/fl/news/index.m3u8", 'catchup="flussonic"'),
            ("Xc", "/live/me/secret/7.m3u8", 'catchup="xc" catchup-correction="-0.5"'),
        ]

    def live_paths(self):
        return {live for _, live, _ in self.channels()}

    @staticmethod
    def archive_address(mode, start, stop):
        """The archive address of a programme as each mode makes it, with "NOW" where the moment
        of asking goes (known to a minute or two only). The program runs with TZ=UTC, so the
        provider's clock is UTC moved by the channel's correction."""
        if mode == "Default":
            return "/archive/default/%d-%d.m3u8" % (start, stop)
        if mode == "Append":
            return "/ch/append/index.m3u8?utc=%d&d=%d" % (start, (stop - start) // 60)
        if mode == "Shift":
            return "/ch/shift/index.m3u8?token=abc&utc=%d&lutc=NOW" % start
        if mode == "Flussonic":
            return "/fl/news/timeshift_rel-NOW.m3u8"  # now - start
        if mode == "Xc":
            when = datetime.datetime.fromtimestamp(start - 1800, datetime.timezone.utc).strftime("%Y-%m-%d:%H-%M")
            return "/timeshift/me/secret/%d/%s/7.m3u8" % ((stop - start) // 60, when)
        raise ValueError(mode)

    def expect(self, mode, start, stop, label):
        address = self.archive_address(mode, start, stop)
        pattern = re.compile(re.escape(address).replace("NOW", r"(\d+)"))
        since = start if mode == "Flussonic" else 0

        def matches(path):
            found = pattern.fullmatch(path)
            if not found:
                return False
            return not found.groups() or abs(int(found.group(1)) - (time.time() - since)) < 120
        self.expected.append((matches, label))

    def hits(self, label):
        with self.lock:
            return sum(1 for hit_label, _ in self.archive_hits if hit_label == label)

    def hit(self, label):
        return self.hits(label) > 0

    def clip_segments_asked(self):
        with self.lock:
            return sum(1 for p in self.requests if p.startswith("/clipmedia/"))

    def live_asked(self, live):
        with self.lock:
            return self.requests.count(live)

    def playlist_and_guide(self, programmes):
        """The playlist (its header naming the guide) and the guide: programmes maps a mode to
        (start, stop, title) triples."""
        self.files["/guide.xml"] = self.guide(programmes)
        lines = ['#EXTM3U x-tvg-url="%s" catchup-days="3"' % self.url("/guide.xml")]
        for name, live, attributes in self.channels():
            lines.append('#EXTINF:-1 tvg-id="%s.tv" group-title="Archive" %s,%s' % (name.lower(), attributes, name))
            lines.append(self.url(live))
        self.files["/tv.m3u"] = "\n".join(lines) + "\n"
        return self.url("/tv.m3u")

    def guide(self, programmes):
        parts = ['<?xml version="1.0" encoding="UTF-8"?>\n<tv>\n']
        for name, _, _ in self.channels():
            parts.append('<channel id="%s.tv"><display-name>%s</display-name></channel>\n' % (name.lower(), name))
            for start, stop, title in programmes[name]:
                parts.append('<programme channel="%s.tv" start="%s" stop="%s"><title>%s</title></programme>\n'
                             % (name.lower(), guide_time(start), guide_time(stop), title))
        parts.append("</tv>\n")
        return "".join(parts)

    def stop(self):
        self.httpd.shutdown()


def programmes_around(now, name):
    """Four programmes of a channel on minute boundaries: two over (one right after the other),
    one on now and one to come."""
    base = now - now % 60
    return [
        (base - 3 * 3600, base - 2 * 3600, "%s Earlier" % name),
        (base - 2 * 3600, base - 1800, "%s Past" % name),
        (base - 1800, base + 1800, "%s Now" % name),
        (base + 1800, base + 5400, "%s Later" % name),
    ]
