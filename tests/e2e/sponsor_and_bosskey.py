"""The real program's boss key, ticker and sponsored-links pane, seen from outside."""
import os
import subprocess
import sys
import tempfile
import time
import unittest

sys.path.insert(0, os.path.dirname(__file__))
import harness  # noqa: E402

ADDRESS_A = "https://quorvel.tv/go/satellite-tv"
ADDRESS_B = "https://quorvel.tv/go/internet-tv"
TICKER = (311 + 60, 383 + 7)         # the ticker's middle in the window's client area
SPONSORED_TAB = (511 + 110, 10)
WEB_TV_TAB = (511 + 25, 10)


class SponsorAndBossKey(unittest.TestCase):
    def setUp(self):
        self.work = tempfile.mkdtemp(prefix="quorvel-e2e-")
        # A stand-in for the desktop's opener that only writes down what it was asked to open.
        self.opened = os.path.join(self.work, "opened.log")
        # ... and whether the player's own way of composing its windows reached the browser.
        self.composing = os.path.join(self.work, "composing.log")
        stub_dir = os.path.join(self.work, "bin")
        os.mkdir(stub_dir)
        with open(os.path.join(stub_dir, "xdg-open"), "w") as f:
            f.write('#!/bin/sh\nprintf "%%s\\n" "$*" >> "%s"\nprintf "%%s\\n" "${QT_QUICK_BACKEND-none}" >> "%s"\n'
                    % (self.opened, self.composing))
        os.chmod(os.path.join(stub_dir, "xdg-open"), 0o755)
        self.env = {"PATH": stub_dir + os.pathsep + os.environ["PATH"]}
        self.server = harness.StreamServer(self.work)
        catalogue = "[Layer1]\nNews=\n[Layer2]\nDead=News\n[Programs]\nDead=http://127.0.0.1:1/dead.m3u8\n"
        self.program = harness.Program(catalogue)
        # A sponsored-links page that reports every load to the test's server.
        with open(os.path.join(self.program.dir, "TVADS.dat"), "w") as f:
            f.write('<!DOCTYPE html><html><body>Ads<img src="%s"></body></html>' % self.server.url("ads-loaded.png"))
        self.program.start(self.env)

    def tearDown(self):
        self.program.stop()
        self.server.stop()

    def opened_lines(self):
        if not os.path.exists(self.opened):
            return []
        with open(self.opened) as f:
            return f.read().split()

    def visible(self):
        r = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", "Quorvel Online TV v1.12"],
                           capture_output=True, text=True)
        return bool(r.stdout.split())

    def test_boss_key_ticker_and_sponsored_links(self):
        # The ticker's timer starts within moments of the process: tick n comes about 6 n s after it.
        started = self.program.spawned
        # The start page is visible in the video area.
        x, y, _, _ = self.program.geometry()
        self.assertTrue(harness.wait_until(
            lambda: harness.looks_like_start_page(harness.screenshot(x + 40, y + 40, 430, 300)), 20))

        # Sponsored Links: every showing of the page loads it again.
        self.program.click(*SPONSORED_TAB)
        self.assertTrue(harness.wait_until(lambda: self.server.requests.count("/ads-loaded.png") == 1, 15))
        self.program.click(*WEB_TV_TAB)
        self.program.click(*SPONSORED_TAB)
        self.assertTrue(harness.wait_until(lambda: self.server.requests.count("/ads-loaded.png") == 2, 15))
        self.program.click(*WEB_TV_TAB)

        # A channel shows the ticker.
        self.program.click(560, 68)  # the first catalogue category, after Favourites and Recently watched
        harness.key("Right", "Down")

        # Home, pressed while another program has the keyboard, hides the window; again shows it.
        other = subprocess.Popen(["xmessage", "-geometry", "+0+0", "another program"])
        try:
            other_window = harness.wait_for_window("xmessage")
            harness.xdotool("windowfocus", "--sync", other_window)
            harness.key("shift+Home")
            time.sleep(0.5)
            self.assertTrue(self.visible())
            harness.key("Home")
            self.assertTrue(harness.wait_until(lambda: not self.visible(), 5))
            harness.key("Home")
            self.assertTrue(harness.wait_until(self.visible, 5))
        finally:
            other.terminate()
            other.wait()

        # The first tick shows "Internet Tv 3000+!" (address B); a click opens exactly that.
        harness.wait_until(lambda: time.time() - started > 8, 20)
        self.program.click(*TICKER)
        self.assertTrue(harness.wait_until(lambda: self.opened_lines() == [ADDRESS_B], 5), self.opened_lines())
        with open(self.composing) as f:
            self.assertEqual(f.read().split(), ["none"])

        # A non-web address opens nothing.
        ads = os.path.join(os.environ["XDG_RUNTIME_DIR"], "TvAds.ini")
        with open(ads) as f:
            text = f.read()
        with open(ads, "w") as f:
            f.write(text.replace(ADDRESS_B, "/usr/bin/xmessage"))
        self.program.click(*TICKER)
        time.sleep(2)
        self.assertEqual(self.opened_lines(), [ADDRESS_B])
        with open(ads, "w") as f:
            f.write(text)

        # The seventh tick shows "Satellite Tv For PC" (address A).
        harness.wait_until(lambda: time.time() - started > 6 * 7 + 2.5, 60)
        self.program.click(*TICKER)
        self.assertTrue(harness.wait_until(lambda: self.opened_lines() == [ADDRESS_B, ADDRESS_A], 5),
                        self.opened_lines())
        self.assertIsNone(self.program.proc.poll())

        # Log-out while the window is hidden by the boss key still closes it cleanly.
        harness.key("Home")
        self.assertTrue(harness.wait_until(lambda: not self.visible(), 5))
        self.program.finish(self)


if __name__ == "__main__":
    unittest.main()
