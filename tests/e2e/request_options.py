"""Channels whose server demands its own request headers: a playlist served on 127.0.0.1 names
the user agent and referrer in each of the three ways playlists write them; the real program,
after quorvel-import, plays each of those channels from a server that answers 403 to any request
without them, and a channel without options sends neither."""
import functools
import http.server
import os
import subprocess
import sys
import tempfile
import threading
import unittest

sys.path.insert(0, os.path.dirname(__file__))
import harness  # noqa: E402

AGENT = "QuorvelTest/1.0 (X11; comma, too)"
REFERRER = "https://provider.example/watch?id=7"
SUFFIX = "|User-Agent=QuorvelTest%2F1.0%20(X11%3B%20comma%2C%20too)&Referer=https%3A%2F%2Fprovider.example%2Fwatch%3Fid%3D7"


class GuardedServer:
    """Serves the media folder; every request under /guarded/ needs the agent and the referrer.
    Remembers each request's path and headers."""

    def __init__(self, root):
        self.seen = []
        seen = self.seen

        class Handler(http.server.SimpleHTTPRequestHandler):
            def log_message(self, *args):
                pass

            def do_GET(self):
                agent, referrer = self.headers.get("User-Agent"), self.headers.get("Referer")
                seen.append((self.path, agent, referrer))
                if self.path.startswith("/guarded/") and (agent != AGENT or referrer != REFERRER):
                    self.send_error(403)
                    return
                super().do_GET()

        self.httpd = harness.QuietServer(("127.0.0.1", 0), functools.partial(Handler, directory=root))
        self.port = self.httpd.server_address[1]
        threading.Thread(target=self.httpd.serve_forever, daemon=True).start()

    def url(self, path):
        return "http://127.0.0.1:%d/%s" % (self.port, path)

    def stop(self):
        self.httpd.shutdown()


class RequestOptions(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.media = tempfile.mkdtemp(prefix="quorvel-hls-")
        harness.make_hls(os.path.join(cls.media, "pattern"), "testsrc", seconds=30)
        os.makedirs(os.path.join(cls.media, "guarded"))
        for way in ("vlc", "attributes", "suffix"):
            os.symlink(os.path.join(cls.media, "pattern"), os.path.join(cls.media, "guarded", way))
        cls.server = GuardedServer(cls.media)
        lines = [
            "#EXTM3U",
            '#EXTINF:-1 group-title="Guarded",Vlc Way',
            "#EXTVLCOPT:http-user-agent=" + AGENT,
            "#EXTVLCOPT:http-referrer=" + REFERRER,
            "guarded/vlc/index.m3u8",
            '#EXTINF:-1 user-agent="%s" http-referrer="%s" group-title="Guarded",Attribute Way'
            % (AGENT, REFERRER),
            "guarded/attributes/index.m3u8",
            '#EXTINF:-1 group-title="Guarded",Suffix Way',
            "guarded/suffix/index.m3u8" + SUFFIX,
            '#EXTINF:-1 group-title="Guarded",Plain Way',
            "pattern/index.m3u8",
        ]
        with open(os.path.join(cls.media, "tv.m3u"), "w") as f:
            f.write("\n".join(lines) + "\n")

    @classmethod
    def tearDownClass(cls):
        cls.server.stop()

    def play(self, program, name):
        program.click(560, 32)
        harness.xdotool("type", "--delay", "100", name)
        harness.wait_until(lambda: False, 0.8)
        harness.key("Return")

    def test_each_way_of_writing_the_headers_plays_and_a_plain_channel_sends_none(self):
        program = harness.Program("[Layer1]\n[Layer2]\n[Programs]\n")
        try:
            catalogue = os.path.join(program.dir, "VisibleAPI.dat")
            subprocess.run([os.path.join(program.dir, "quorvel-import"), self.server.url("tv.m3u"),
                            "--catalogue", catalogue], check=True, capture_output=True)
            program.start()
            for way, name in (("vlc", "Vlc Way"), ("attributes", "Attribute Way"), ("suffix", "Suffix Way")):
                self.play(program, name)
                segment = "/guarded/%s/index" % way
                # A segment served means the playlist passed the guard and its segments did too.
                self.assertTrue(harness.wait_until(
                    lambda: any(p.startswith(segment) and p.endswith(".ts") for p, _, _ in self.server.seen), 20),
                    [s for s in self.server.seen if s[0].startswith("/guarded/" + way)][:4])
                guarded = [s for s in self.server.seen if s[0].startswith("/guarded/" + way)]
                self.assertTrue(all(a == AGENT and r == REFERRER for _, a, r in guarded), guarded[:4])
                self.assertNotIn("|", "".join(p for p, _, _ in guarded))

            self.play(program, "Plain Way")
            self.assertTrue(harness.wait_until(
                lambda: any(p.startswith("/pattern/") and p.endswith(".ts") for p, _, _ in self.server.seen), 20))
            plain = [s for s in self.server.seen if s[0].startswith("/pattern/")]
            self.assertTrue(all(a != AGENT and r is None for _, a, r in plain), plain[:4])
            program.finish(self)
        finally:
            program.stop()


if __name__ == "__main__":
    unittest.main()
