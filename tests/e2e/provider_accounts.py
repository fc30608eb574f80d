"""Provider accounts through quorvel-import against a small panel on 127.0.0.1, with a keyring of
the test's own (run under tests/harness/with-keyring): accounts in every state said in plain
words, the live lists in the catalogue with no password in any address, a failing refresh that
keeps the lists whole, a panel's playlist address taken as the account, and no file written
and no line printed holding the password."""
import os
import shutil
import subprocess
import sys
import tempfile
import time
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from harness import BIN_DIR  # noqa: E402
from provider_panel import Account, Panel  # noqa: E402

PASSWORD = "Pa55-w0rd-XYZ"
IMPORT = os.path.join(BIN_DIR, "quorvel-import")
MARK = "%E2%80%A2%E2%80%A2%E2%80%A2"


class ProviderAccounts(unittest.TestCase):
    def setUp(self):
        self.folder = tempfile.mkdtemp(prefix="quorvel-provider-")
        self.catalogue = os.path.join(self.folder, "VisibleAPI.dat")
        self.panel = Panel()
        self.panel.accounts["anna"] = Account(PASSWORD, max_connections=1)
        self.said = ""

    def tearDown(self):
        self.panel.stop()
        shutil.rmtree(self.folder, ignore_errors=True)

    def run_import(self, *args, password=None):
        result = subprocess.run([IMPORT, *args, "--catalogue", self.catalogue], capture_output=True, text=True,
                                input=password if password is not None else "", timeout=120)
        self.said += result.stdout + result.stderr
        return result

    def add(self, user="anna", password=PASSWORD):
        return self.run_import("provider", self.panel.url(), user, password=password + "\n")

    def catalogue_text(self):
        with open(self.catalogue, encoding="utf-8") as f:
            return f.read()

    def assert_no_password_anywhere(self):
        self.assertNotIn(PASSWORD, self.said)
        for root, _, files in os.walk(self.folder):
            for name in files:
                with open(os.path.join(root, name), "rb") as f:
                    self.assertNotIn(PASSWORD.encode(), f.read(), name)

    def test_accounts_that_cannot_be_used_say_why(self):
        self.panel.accounts["old"] = Account(PASSWORD, status="Expired", expires=1796299200)  # noon on 3 December 2026
        self.panel.accounts["off"] = Account(PASSWORD, status="Disabled")
        cases = [("old", PASSWORD, "The provider says this account expired on 3 December 2026"),
                 ("off", PASSWORD, "The provider says this account is disabled"),
                 ("anna", "wrong", "The provider does not know this user name and password")]
        for user, password, words in cases:
            result = self.add(user, password)
            self.assertEqual(result.returncode, 1, result.stdout + result.stderr)
            self.assertIn(words, result.stderr)
        self.assertFalse(os.path.exists(self.catalogue) and "Panel One" in self.catalogue_text())
        # The password is never taken from the command line.
        self.assertEqual(self.run_import("provider", self.panel.url(), "anna", PASSWORD).returncode, 2)
        self.assert_no_password_anywhere()

    def test_live_lists_come_in_and_a_failing_refresh_keeps_them(self):
        result = self.add()
        self.assertEqual(result.returncode, 0, result.stdout + result.stderr)
        self.assertIn("1 connection allowed", result.stdout)
        text = self.catalogue_text()
        for name in ("Panel One", "Panel Two", "Panel Three", "News=", "Sport="):
            self.assertIn(name, text)
        self.assertIn("/live/anna/%s/101.m3u8" % MARK, text)
        before = text
        for broken in (b"<html><body>Maintenance</body></html>", b'[{"stream_id":101,"name":"Pan'):
            self.panel.answer = broken
            result = self.run_import("refresh")
            self.assertEqual(result.returncode, 1)
            self.assertEqual(self.catalogue_text(), before)
        self.assertIn("web page", self.said)
        # A good refresh takes the password from the keyring and brings the new channel.
        self.panel.answer = None
        self.panel.streams.append({"num": 4, "name": "Panel Four", "stream_id": 104, "category_id": "2"})
        result = self.run_import("refresh")
        self.assertEqual(result.returncode, 0, result.stdout + result.stderr)
        self.assertIn("Panel Four", self.catalogue_text())
        listed = self.run_import("list").stdout
        self.assertIn("player_api.php?username=anna", listed)
        self.assert_no_password_anywhere()
        # Removed, the account takes its password out of the keyring.
        self.assertEqual(self.run_import("remove", "1").returncode, 0)
        self.assertNotIn("Panel One", self.catalogue_text())
        result = self.add(password="")
        self.assertEqual(result.returncode, 1)
        self.assertIn("none is in the keyring", result.stderr)

    def test_a_panels_playlist_address_adds_the_account(self):
        self.panel.accounts["tess"] = Account(PASSWORD, formats=["ts"])
        address = self.panel.url("get.php?username=tess&password=%s&type=m3u_plus&output=ts" % PASSWORD)
        result = subprocess.run([IMPORT, address, "--catalogue", self.catalogue], capture_output=True, text=True,
                                timeout=120)
        self.assertEqual(result.returncode, 0, result.stdout + result.stderr)
        self.said += result.stdout + result.stderr
        self.assertIn("/live/tess/%s/101.ts" % MARK, self.catalogue_text())
        self.assertNotIn("/get.php", "".join(self.panel.requests))
        self.assert_no_password_anywhere()

    def test_a_panels_playlist_address_remembered_as_a_playlist_stays_one(self):
        address = self.panel.url("get.php?username=anna&password=%s&type=m3u_plus" % PASSWORD)
        self.panel.answer = b"<html>api switched off</html>"
        self.assertEqual(self.run_import(address).returncode, 0, self.said)
        self.panel.answer = None
        result = self.run_import("refresh")
        self.assertEqual(result.returncode, 0, result.stdout + result.stderr)
        self.assertEqual(sum(1 for r in self.panel.requests if r.startswith("/get.php")), 2)
        self.assertNotIn("player_api.php?username=anna", self.run_import("list").stdout)


if __name__ == "__main__":
    unittest.main()
