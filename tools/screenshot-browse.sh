#!/usr/bin/env bash
# Starts the demo FTP server, connects the folder tree and the file list to it under Xvfb,
# opens its pub folder in Details mode and writes a PNG of the main window outside the repository.
#   tools/screenshot-browse.sh [output.png]      (default /tmp/tarvo-browse.png)
# TARVO_BUILD_DIR chooses the build folder (default build/).
set -euo pipefail
cd "$(dirname "$0")/.."
out="$(realpath -m "${1:-/tmp/tarvo-browse.png}")"
build="${TARVO_BUILD_DIR:-build}"

tools/deps.sh
cmake -S . -B "$build" >/dev/null
# One build at a time on a shared machine.
flock /tmp/tarvo-build.lock cmake --build "$build" -j"$(nproc)" --target BrowseScreenshot

# A settings file, demo tree and port of its own: the picture never touches the user's Tarvo
# or a demo server that is already running.
scratch="$(mktemp -d)"
server_pid=""
cleanup() {
  [ -n "$server_pid" ] && kill "$server_pid" 2>/dev/null || true
  rm -rf "$scratch"
}
trap cleanup EXIT
port="$(/usr/bin/python3 -c 'import socket; s=socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')"
/usr/bin/python3 tools/demo_server.py --root "$scratch/demo" --port "$port" >"$scratch/server.log" 2>&1 &
server_pid=$!
for _ in $(seq 100); do
  grep -q "Demo FTP server" "$scratch/server.log" 2>/dev/null && break
  sleep 0.1
done

mkdir -p "$scratch/config" "$scratch/runtime"
chmod 700 "$scratch/runtime"
XDG_CONFIG_HOME="$scratch/config" XDG_RUNTIME_DIR="$scratch/runtime" \
  timeout 120 xvfb-run -a -s '-screen 0 1280x800x24' \
  "$build/tools/screenshot/BrowseScreenshot" "$out" "$port" demo demo pub
