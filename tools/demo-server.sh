#!/usr/bin/env bash
# Starts the demo FTP server for newcomers (127.0.0.1:2121, user demo / demo).
set -euo pipefail
cd "$(dirname "$0")/.."
tools/deps.sh
exec /usr/bin/python3 tools/demo_server.py "$@"
