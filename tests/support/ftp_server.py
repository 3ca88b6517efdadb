#!/usr/bin/python3
"""A small FTP server for the tests and for trying Fernlog by hand.

Serves one account on 127.0.0.1 with full rights on a root folder, prints
"PORT <n>" once it listens, and optionally appends every command it receives
(one line each, as received) to a log file. SIGTERM ends it; SIGUSR1 closes
every client connection (a dropped connection) and keeps serving.
"""
import argparse
import signal
import sys

from pyftpdlib.authorizers import DummyAuthorizer
from pyftpdlib.handlers import FTPHandler, ThrottledDTPHandler
from pyftpdlib.servers import FTPServer


def main():
    p = argparse.ArgumentParser()
    p.add_argument("--user", required=True)
    p.add_argument("--password", required=True)
    p.add_argument("--root", required=True)
    p.add_argument("--port", type=int, default=0)
    p.add_argument("--log", default="")
    p.add_argument("--send-limit", type=int, default=0,
                   help="bytes per second on data connections (0: no limit)")
    p.add_argument("--retr-without-data", action="store_true",
                   help="answer RETR with 226 at once, opening no data transfer")
    a = p.parse_args()

    auth = DummyAuthorizer()
    auth.add_user(a.user, a.password, a.root, perm="elradfmwMT")
    log = open(a.log, "a", encoding="latin-1") if a.log else None

    class Handler(FTPHandler):
        def pre_process_command(self, line, cmd, arg):
            if log:
                log.write(line + "\n")
                log.flush()
            if a.retr_without_data and cmd == "RETR":
                self.respond("226 Transfer complete.")
                return
            return super().pre_process_command(line, cmd, arg)

    Handler.authorizer = auth
    Handler.encoding = "latin-1"  # names pass as the bytes they are
    Handler.banner = "test server ready"
    Handler.auth_failed_timeout = 0  # a refused login answers at once
    if a.send_limit > 0:
        dtp = ThrottledDTPHandler
        dtp.read_limit = 0
        dtp.write_limit = a.send_limit
        Handler.dtp_handler = dtp

    server = FTPServer(("127.0.0.1", a.port), Handler)

    def drop(_sig, _frame):
        for h in list(server.ioloop.socket_map.values()):
            if isinstance(h, FTPHandler):
                h.close()

    signal.signal(signal.SIGUSR1, drop)
    signal.signal(signal.SIGTERM, lambda *_: server.close_all() or sys.exit(0))
    print("PORT %d" % server.address[1], flush=True)
    server.serve_forever(timeout=0.2)


if __name__ == "__main__":
    main()
