"""pyftpdlib on 127.0.0.1 whose logins start in a folder below the root, as on servers that put
a user in a home folder: PWD after login answers --start-dir. Reports its port in a file."""

import argparse
import os

from pyftpdlib.authorizers import DummyAuthorizer
from pyftpdlib.filesystems import AbstractedFS
from pyftpdlib.handlers import FTPHandler
from pyftpdlib.servers import FTPServer


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--root", required=True)
    parser.add_argument("--port-file", required=True)
    parser.add_argument("--start-dir", required=True)
    args = parser.parse_args()

    class StartFolderFS(AbstractedFS):
        def __init__(self, root, cmd_channel):
            super().__init__(root, cmd_channel)
            self._cwd = args.start_dir

    authorizer = DummyAuthorizer()
    authorizer.add_user("user", "secret", args.root, perm="elradfmwMT")

    class Handler(FTPHandler):
        pass

    Handler.authorizer = authorizer
    Handler.abstracted_fs = StartFolderFS
    Handler.auth_failed_timeout = 0
    server = FTPServer(("127.0.0.1", 0), Handler)
    partial = args.port_file + ".partial"
    with open(partial, "w") as out:
        out.write("%d\n" % server.socket.getsockname()[1])
    os.rename(partial, args.port_file)
    server.serve_forever()


if __name__ == "__main__":
    main()
