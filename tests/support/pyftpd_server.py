"""pyftpdlib on loopback (127.0.0.1, or ::1) for the tests: serves one folder, reports its port in a file."""

import argparse
import os

from pyftpdlib.authorizers import DummyAuthorizer
from pyftpdlib.filesystems import AbstractedFS
from pyftpdlib.handlers import DTPHandler, FTPHandler, TLS_FTPHandler
from pyftpdlib.servers import FTPServer


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--root", required=True)
    parser.add_argument("--port-file", required=True)
    parser.add_argument("--user", required=True)
    parser.add_argument("--password", required=True)
    parser.add_argument("--anonymous", action="store_true")
    parser.add_argument("--max-cons", type=int, default=0)
    parser.add_argument("--max-cons-per-ip", type=int, default=0)
    parser.add_argument("--address", default="127.0.0.1")
    # Logins start in this folder below the root, as on servers that put a user in a home folder.
    parser.add_argument("--start-dir", default="")
    parser.add_argument("--tls-certificate", default="")
    parser.add_argument("--tls12-only", action="store_true")
    # Seconds a session may stay idle before "421 Control connection timed out." (pyftpdlib: 300).
    parser.add_argument("--idle-timeout", type=float, default=0)
    # The first download's data connection is cut after this many bytes, with "426 Transfer
    # aborted", as when a connection dies mid-file; later downloads are whole.
    parser.add_argument("--cut-first-download-after", type=int, default=0)
    args = parser.parse_args()

    authorizer = DummyAuthorizer()
    # 'M' is SITE CHMOD, 'T' is MFMT; the rest is the usual read/write set.
    authorizer.add_user(args.user, args.password, args.root, perm="elradfmwMT")
    if args.anonymous:
        authorizer.add_anonymous(args.root)  # pyftpdlib's default for anonymous: "elr", read-only

    # A subclass, so the settings stay off pyftpdlib's shared class. Names that are not UTF-8
    # travel as the bytes on disk, in listings, commands and replies alike, instead of as "?".
    base = TLS_FTPHandler if args.tls_certificate else FTPHandler

    class Handler(base):
        unicode_errors = "surrogateescape"

        def push(self, s):
            super(FTPHandler, self).push(s.encode("utf8", self.unicode_errors))

    if args.start_dir:
        class StartFolderFS(AbstractedFS):
            def __init__(self, root, cmd_channel):
                super().__init__(root, cmd_channel)
                self._cwd = args.start_dir

        Handler.abstracted_fs = StartFolderFS
    if args.tls_certificate:
        from OpenSSL import SSL
        context = SSL.Context(SSL.TLS_METHOD)
        context.use_certificate_chain_file(args.tls_certificate)
        context.use_privatekey_file(args.tls_certificate)
        context.set_min_proto_version(SSL.TLS1_2_VERSION)
        if args.tls12_only:
            context.set_max_proto_version(SSL.TLS1_2_VERSION)
        Handler.ssl_context = context
        Handler.tls_control_required = True
        Handler.tls_data_required = True
    Handler.authorizer = authorizer
    Handler.banner = "pyftpdlib ready"
    if args.idle_timeout > 0:
        Handler.timeout = args.idle_timeout
    if args.cut_first_download_after > 0:
        cut = {"done": False}

        class CuttingDTPHandler(DTPHandler):
            def send(self, data):
                if cut["done"] or self.receive:
                    return super().send(data)
                room = args.cut_first_download_after - self.tot_bytes_sent
                if room <= 0:
                    # Closed from the loop, not from inside asynchat's own send.
                    cut["done"] = True
                    self.cmd_channel.ioloop.call_later(0, self.handle_close)
                    return 0
                return super().send(data[:room])

        Handler.dtp_handler = CuttingDTPHandler
        Handler.use_sendfile = False
    Handler.auth_failed_timeout = 0  # not 3 s: tests of a wrong password stay quick

    class Server(FTPServer):
        def _accept_new_cons(self):
            # pyftpdlib's own count takes in every socket, its listener and data channels
            # too; count control connections, the new one included, as clients see them.
            return not self.max_cons or len(self.ip_map) <= self.max_cons

    server = Server((args.address, 0), Handler)
    if args.max_cons > 0:
        server.max_cons = args.max_cons
    if args.max_cons_per_ip > 0:
        server.max_cons_per_ip = args.max_cons_per_ip

    # Written then renamed, so the fixture never reads half a number.
    partial = args.port_file + ".partial"
    with open(partial, "w") as out:
        out.write("%d\n" % server.socket.getsockname()[1])
    os.rename(partial, args.port_file)
    server.serve_forever()


if __name__ == "__main__":
    main()
