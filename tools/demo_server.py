"""A local FTP server for trying Tarvo: 127.0.0.1:2121, user "demo" with password "demo"
(read and write), anonymous read-only, serving a small sample tree. Ctrl+C stops it."""
import argparse
import os

from pyftpdlib.authorizers import DummyAuthorizer
from pyftpdlib.handlers import FTPHandler
from pyftpdlib.servers import FTPServer

SAMPLES = {
    "README": "Welcome to the Tarvo demo server.\n",
    "pub/readme.txt": "Files in pub/ can be downloaded by anyone.\n",
    "pub/notes/2026-12.txt": "December notes.\n",
    "pub/archive.TAR": "not really an archive\n" * 100,
    "pub/incoming/.keep": "",
    "docs/my report.txt": "A name with a blank.\n",
    "docs/data.bin": "".join(chr(i % 256) for i in range(65536)),
}


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--root", default="/tmp/tarvo-demo")
    parser.add_argument("--port", type=int, default=2121)
    args = parser.parse_args()
    for name, text in SAMPLES.items():
        path = os.path.join(args.root, name)
        os.makedirs(os.path.dirname(path), exist_ok=True)
        if not os.path.exists(path):
            with open(path, "w", encoding="latin-1") as f:
                f.write(text)
    link = os.path.join(args.root, "pub", "latest.txt")
    if not os.path.lexists(link):
        os.symlink("notes/2026-12.txt", link)

    authorizer = DummyAuthorizer()
    authorizer.add_user("demo", "demo", args.root, perm="elradfmwMT")
    authorizer.add_anonymous(args.root)
    handler = FTPHandler
    handler.authorizer = authorizer
    handler.banner = "Tarvo demo server ready."
    server = FTPServer(("127.0.0.1", args.port), handler)
    print(f"Demo FTP server on 127.0.0.1:{args.port}, user demo / demo, files in {args.root}", flush=True)
    server.serve_forever()


if __name__ == "__main__":
    main()
