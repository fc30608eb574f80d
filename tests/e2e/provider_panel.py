"""A small Xtream Codes panel on 127.0.0.1 for the tests: accounts in any state, live categories
and channels, and streams that count their connections, dropping the older one when an account
opens more than it is allowed. Run alone for a look by hand:
    python3 tests/e2e/provider_panel.py [PORT]"""
import http.server
import json
import os
import select
import socket
import sys
import threading
import time
import urllib.parse


NULL_PACKET = b"\x47\x1f\xff\x10" + b"\xff" * 184


def peer_closed(sock):
    """Whether the other end has closed the connection (what it sent before is all read)."""
    try:
        readable, _, _ = select.select([sock], [], [], 0)
        return bool(readable) and sock.recv(1, socket.MSG_PEEK) == b""
    except OSError:
        return True


class Account:
    def __init__(self, password, status="Active", expires=None, max_connections=2, formats=("m3u8", "ts")):
        self.password = password
        self.status = status
        self.expires = expires if expires is not None else int(time.time()) + 90 * 86400
        self.max_connections = max_connections
        self.formats = list(formats)


class Panel:
    """accounts: user -> Account. categories: [(id, name)]. streams: [dict] as the panel sends them.
    answer: a fixed body for every api call (to play a broken panel), or None."""

    def __init__(self, media_file=None):
        self.accounts = {}
        self.categories = [("1", "News"), ("2", "Sport")]
        self.streams = [
            {"num": 1, "name": "Panel One", "stream_id": 101, "stream_icon": "", "epg_channel_id": "one.test",
             "category_id": "1", "tv_archive": 1, "tv_archive_duration": "3"},
            {"num": "2", "name": "Panel Two", "stream_id": "102", "category_id": 1},
            {"num": 3, "name": "Panel Three", "stream_id": 103, "category_id": "2"},
        ]
        self.answer = None
        self.media_file = media_file
        self.requests = []
        self.open_streams = []  # (user, event to drop it, socket), oldest first
        self.most_open = {}     # user -> the most streams open at once
        self.lock = threading.Lock()
        panel = self

        class Handler(http.server.BaseHTTPRequestHandler):
            protocol_version = "HTTP/1.0"

            def log_message(self, *args):
                pass

            def send(self, status, body, kind="application/json"):
                self.send_response(status)
                self.send_header("Content-Type", kind)
                self.send_header("Content-Length", str(len(body)))
                self.end_headers()
                self.wfile.write(body)

            def do_GET(self):
                panel.requests.append(self.path)
                url = urllib.parse.urlsplit(self.path)
                if url.path == "/player_api.php":
                    return panel.api(self, urllib.parse.parse_qs(url.query))
                if url.path == "/get.php":
                    return panel.playlist(self, urllib.parse.parse_qs(url.query))
                parts = url.path.strip("/").split("/")
                if len(parts) == 4 and parts[0] == "live":
                    return panel.stream(self, urllib.parse.unquote(parts[1]), urllib.parse.unquote(parts[2]),
                                        parts[3])
                self.send(404, b"no")

        class Server(http.server.ThreadingHTTPServer):
            daemon_threads = True

            def handle_error(self, request, client_address):
                pass

        self.httpd = Server(("127.0.0.1", 0), Handler)
        self.port = self.httpd.server_address[1]
        threading.Thread(target=self.httpd.serve_forever, daemon=True).start()

    def url(self, path=""):
        return "http://127.0.0.1:%d/%s" % (self.port, path)

    def stop(self):
        self.httpd.shutdown()

    def account_of(self, user, password):
        account = self.accounts.get(user)
        return account if account and account.password == password else None

    def api(self, handler, query):
        if self.answer is not None:
            return handler.send(200, self.answer, "text/html" if self.answer.startswith(b"<") else "application/json")
        user = query.get("username", [""])[0]
        account = self.account_of(user, query.get("password", [""])[0])
        action = query.get("action", [""])[0]
        if account is None:
            return handler.send(200, json.dumps({"user_info": {"auth": 0}}).encode())
        if action == "":
            with self.lock:
                active = sum(1 for u, _ in self.open_streams if u == user)
            body = {"user_info": {"username": user, "auth": 1, "status": account.status,
                                  "exp_date": str(account.expires), "is_trial": "0", "active_cons": str(active),
                                  "max_connections": str(account.max_connections),
                                  "allowed_output_formats": account.formats},
                    "server_info": {"url": "127.0.0.1", "port": str(self.port), "timezone": "Europe/London",
                                    "timestamp_now": int(time.time())}}
        elif action == "get_live_categories":
            body = [{"category_id": i, "category_name": n, "parent_id": 0} for i, n in self.categories]
        elif action == "get_live_streams":
            body = self.streams
        else:
            body = []
        handler.send(200, json.dumps(body).encode())

    def playlist(self, handler, query):
        """The account's channels as an M3U playlist, addresses with the login in them."""
        user, password = query.get("username", [""])[0], query.get("password", [""])[0]
        if self.account_of(user, password) is None:
            return handler.send(401, b"no")
        lines = ["#EXTM3U"]
        for s in self.streams:
            lines.append('#EXTINF:-1 group-title="Playlist",%s' % s["name"])
            lines.append(self.url("live/%s/%s/%s.ts" % (user, password, s["stream_id"])))
        handler.send(200, ("\n".join(lines) + "\n").encode(), "audio/x-mpegurl")

    def stream(self, handler, user, password, name):
        account = self.account_of(user, password)
        if account is None:
            return handler.send(401, b"no")
        stream_id, _, ext = name.partition(".")
        if not any(str(s.get("stream_id")) == stream_id for s in self.streams) or ext not in account.formats:
            return handler.send(404, b"no")
        dropped = threading.Event()
        with self.lock:
            # A stream the player has let go of is over even while its thread has not noticed yet.
            mine = [e for u, e, s in self.open_streams if u == user and not peer_closed(s)] + [dropped]
            self.open_streams.append((user, dropped, handler.connection))
            self.most_open[user] = max(self.most_open.get(user, 0), len(mine))
            # Over the limit, the panel drops the older connection, as panels do.
            for older in mine[:max(0, len(mine) - account.max_connections)]:
                older.set()
        try:
            if self.media_file:
                with open(self.media_file, "rb") as f:
                    data = f.read()
            else:
                data = NULL_PACKET
            handler.send_response(200)
            handler.send_header("Content-Type", "video/mp2t")
            handler.end_headers()
            # Sent slowly, as live television comes, until the player goes or the panel drops it.
            for start in range(0, len(data), 64 * 1024):
                if dropped.is_set():
                    break
                handler.wfile.write(data[start:start + 64 * 1024])
                handler.wfile.flush()
                time.sleep(0.05)
            # Then filler packets, which also tell when the player has gone.
            while not dropped.wait(0.2):
                handler.wfile.write(NULL_PACKET * 4)
                handler.wfile.flush()
        except OSError:
            pass
        finally:
            with self.lock:
                self.open_streams = [(u, e, s) for u, e, s in self.open_streams if e is not dropped]


if __name__ == "__main__":
    panel = Panel()
    panel.accounts["anna"] = Account("secret", max_connections=1)
    print("panel at", panel.url(), "user anna, password secret")
    threading.Event().wait()
