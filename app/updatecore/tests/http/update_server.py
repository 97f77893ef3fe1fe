#!/usr/bin/env python3
"""The update server of the updater tests: a real HTTP server on 127.0.0.1 (a free port,
written to PORT_FILE) serving the files below ROOT, plus answers that a hostile or broken
server gives, chosen by the first path segment:

  /status/CODE/...        that status with a short body
  /redirect/N/PATH        302 to PATH (N: "abs" absolute, "rel" relative, "lower" with a
                          lower-case header name, "ftp" to an ftp address, "none" without
                          a Location)
  /loop/...               302 to itself, for ever
  /cut/PATH               the file's length announced, half of it sent, then the connection closed
  /huge/PATH              a Content-Length of 99999999999 and the file
  /long/PATH              a Content-Length 100 bytes beyond the file, the file, then the end
  /hang/...               the request read, then nothing until the connection is closed
  /stall/PATH             the headers and 2000 bytes of the file, then nothing
  /slow/PATH              the file in pieces of 4096 bytes, 50 ms apart
  anything else           the file ROOT/PATH (404 when there is none)

Every request is appended to ROOT/../requests.log as the request line, its headers and a
blank line.
Usage: update_server.py ROOT PORT_FILE
"""
import http.server
import os
import socketserver
import sys
import threading
import time

ROOT = os.path.abspath(sys.argv[1])
LOG = os.path.join(os.path.dirname(ROOT), "requests.log")
log_lock = threading.Lock()


class Handler(http.server.BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.1"

    def log_message(self, *args):
        pass

    def log_request_headers(self):
        with log_lock, open(LOG, "a", encoding="utf-8", newline="\n") as f:
            f.write(self.requestline + "\n")
            for k, v in self.headers.items():
                f.write(f"{k}: {v}\n")
            f.write("\n")

    def file_bytes(self, path):
        full = os.path.normpath(os.path.join(ROOT, path.lstrip("/")))
        if not full.startswith(ROOT) or not os.path.isfile(full):
            return None
        with open(full, "rb") as f:
            return f.read()

    def answer(self, code, body=b"", headers=(), length=None):
        self.send_response(code)
        for k, v in headers:
            self.send_header(k, v)
        self.send_header("Content-Length", str(len(body) if length is None else length))
        self.send_header("Connection", "close")
        self.end_headers()
        self.close_connection = True
        return body

    def do_GET(self):
        self.log_request_headers()
        parts = self.path.split("?")[0].split("/")
        kind = parts[1] if len(parts) > 1 else ""
        rest = "/" + "/".join(parts[2:])
        try:
            self.route(kind, rest, parts)
        except (BrokenPipeError, ConnectionResetError):
            pass

    def route(self, kind, rest, parts):
        w = self.wfile
        if kind == "status":
            w.write(self.answer(int(parts[2]), b"<html><body>status page</body></html>"))
        elif kind == "redirect":
            how, target = parts[2], "/" + "/".join(parts[3:])
            if how == "ftp":
                w.write(self.answer(302, b"moved", [("Location", "ftp://127.0.0.1" + target)]))
            elif how == "none":
                w.write(self.answer(302, b"moved"))
            elif how == "rel":
                # Up from the folder of this address to the top, then down to the target.
                ups = "../" * (2 + target.count("/") - 1)
                w.write(self.answer(302, b"moved", [("Location", ups + target.lstrip("/"))]))
            elif how == "lower":
                w.write(self.answer(302, b"moved", [("location", target)]))
            else:
                host = self.headers.get("Host", "127.0.0.1")
                w.write(self.answer(302, b"moved", [("Location", f"http://{host}{target}")]))
        elif kind == "loop":
            w.write(self.answer(302, b"again", [("Location", self.path)]))
        elif kind == "hang":
            self.hang()
        else:
            data = self.file_bytes(rest if kind in ("cut", "huge", "long", "stall", "slow") else "/".join(parts))
            if data is None:
                w.write(self.answer(404, b"<html><body>404 Not Found</body></html>"))
            elif kind == "cut":
                w.write(self.answer(200, data[: len(data) // 2], length=len(data)))
            elif kind == "long":
                w.write(self.answer(200, data, length=len(data) + 100))
            elif kind == "huge":
                w.write(self.answer(200, data, length=99999999999))
            elif kind == "stall":
                w.write(self.answer(200, data[:2000], length=len(data)))
                w.flush()
                self.hang()
            elif kind == "slow":
                self.answer(200, length=len(data))
                for i in range(0, len(data), 4096):
                    w.write(data[i : i + 4096])
                    w.flush()
                    time.sleep(0.05)
            else:
                w.write(self.answer(200, data))

    def hang(self):
        # Until the client gives up (its read returns nothing) or the server stops.
        self.connection.settimeout(120)
        try:
            while self.connection.recv(1024):
                pass
        except OSError:
            pass
        self.close_connection = True


class Server(socketserver.ThreadingMixIn, http.server.HTTPServer):
    daemon_threads = True


def main():
    server = Server(("127.0.0.1", 0), Handler)
    tmp = sys.argv[2] + ".tmp"
    with open(tmp, "w") as f:
        f.write(str(server.server_address[1]))
    os.replace(tmp, sys.argv[2])
    server.serve_forever()


if __name__ == "__main__":
    main()
