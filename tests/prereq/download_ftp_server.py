#!/usr/bin/python3
"""FTP servers for the downloader tests (pyftpdlib), on 127.0.0.1 only: one that resumes with
REST and one that refuses it. Both serve FOLDER read-only to "anonymous" and to kit/secret.
The fixture bounds their lifetime."""
import logging
import sys

from pyftpdlib.authorizers import DummyAuthorizer
from pyftpdlib.handlers import FTPHandler
from pyftpdlib.ioloop import IOLoop
from pyftpdlib.servers import FTPServer


class NoRestHandler(FTPHandler):
    def ftp_REST(self, line):
        self.respond("502 Command not implemented.")


def main():
    port, no_rest_port, folder = int(sys.argv[1]), int(sys.argv[2]), sys.argv[3]
    logging.basicConfig(level=logging.ERROR)
    authorizer = DummyAuthorizer()
    authorizer.add_user("kit", "secret", folder, perm="elr")
    authorizer.add_anonymous(folder, perm="elr")
    ioloop = IOLoop()
    for handler_base, number in ((FTPHandler, port), (NoRestHandler, no_rest_port)):
        handler = type("Handler%d" % number, (handler_base,), {})
        handler.authorizer = authorizer
        handler.passive_ports = None
        FTPServer(("127.0.0.1", number), handler, ioloop=ioloop)
    ioloop.loop()


if __name__ == "__main__":
    main()
