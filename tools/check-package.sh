#!/usr/bin/env bash
# Builds the Debian package, installs it with dpkg, runs the installed tarvo (--help, and a
# script against the demo server on a free loopback port), and purges it again. As root, on a
# machine without another tarvo package (CI).
set -euo pipefail
cd "$(dirname "$0")/.."
if dpkg-query -W -f='${Status}' tarvo 2>/dev/null | grep -q 'ok installed'; then
    echo "check-package: a tarvo package is installed already; leaving it alone" >&2
    exit 1
fi
package="$(tools/package.sh | tail -1 | cut -d' ' -f1)"
work="$(mktemp -d /tmp/tarvo-package.XXXXXX)"
server=""
cleanup() {
    if [[ -n "$server" ]]; then kill "$server" 2>/dev/null || true; wait "$server" 2>/dev/null || true; fi
    dpkg -P tarvo >/dev/null 2>&1 || true
    rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "check-package: $*" >&2; exit 1; }

dpkg -i "$package" >/dev/null
[[ "$(command -v tarvo)" == /usr/bin/tarvo ]] || fail "tarvo is not /usr/bin/tarvo"
grep -q '^text/x-tarvo-script=.*tarvo.desktop' /usr/share/applications/mimeinfo.cache \
    || fail "the desktop does not open .ftp files with Tarvo"
env -u DISPLAY -u WAYLAND_DISPLAY tarvo --help | grep -q -- --run-script || fail "tarvo --help"

export XDG_CONFIG_HOME="$work/config"
port="$(/usr/bin/python3 -c 'import socket; s=socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')"
/usr/bin/python3 tools/demo_server.py --root "$work/files" --port "$port" >"$work/server.log" 2>&1 &
server=$!
for _ in $(seq 50); do grep -q "Demo FTP server" "$work/server.log" && break; sleep 0.1; done
tarvo --add-server Demo "127.0.0.1:$port" demo demo >/dev/null
printf 'open Demo\nget /README "%s/README copy"\nclose\n' "$work" >"$work/fetch.ftp"
env -u DISPLAY -u WAYLAND_DISPLAY tarvo --run-script "$work/fetch.ftp" >/dev/null || fail "the script failed"
grep -q "Welcome to the Tarvo demo server" "$work/README copy" || fail "the script fetched nothing"

dpkg -r tarvo >/dev/null
[[ ! -e /usr/bin/tarvo && ! -e /usr/share/tarvo ]] || fail "dpkg -r left files behind"
echo "check-package: $package installs, runs and removes cleanly"
