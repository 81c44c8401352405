#!/usr/bin/env bash
# Installs what is missing, builds, and starts Tarvo. The first time it also has something to
# connect to: the demo server runs in the background while Tarvo does (127.0.0.1:2121, unless
# one is listening there already), saved as the server "Demo" when no server has that name.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/deps.sh
tools/build.sh
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
  echo "Tarvo is built (build/app/tarvo) but there is no graphical session to show it in." >&2
  echo "Start it from a desktop, or run scripts without a window: build/app/tarvo --help" >&2
  exit 1
fi

listening() { ss -Hltn 'sport = :2121' | grep -q .; }
server=""
stop_server() {
  if [ -n "$server" ]; then kill "$server" 2>/dev/null || true; wait "$server" 2>/dev/null || true; fi
}
trap stop_server EXIT
if ! listening; then
  log="$(mktemp /tmp/tarvo-demo-server.XXXXXX.log)"
  /usr/bin/python3 tools/demo_server.py >"$log" 2>&1 &
  server=$!
  for _ in $(seq 50); do listening && break; sleep 0.1; done
  listening || { echo "The demo server did not start:" >&2; cat "$log" >&2; }
  rm -f "$log"
fi

settings="${XDG_CONFIG_HOME:-$HOME/.config}/Halvern/Tarvo.conf"
has_demo() {
  [ -f "$settings" ] && awk '/^\[/ { servers = ($0 == "[Servers]") }
    servers && (index($0, "Demo=") == 1 || index($0, "Demo\\") == 1) { found = 1 }
    END { exit !found }' "$settings"
}
if ! has_demo; then
  # Passive: pyftpdlib now and then leaves an active data connection unanswered when two
  # sessions open one at the same moment, as a folder copied over two connections does.
  build/app/tarvo --add-server Demo 127.0.0.1:2121 demo demo --passive >/dev/null
  echo "Saved the demo server as \"Demo\" (127.0.0.1:2121, user demo / demo)."
fi

build/app/tarvo "$@"
