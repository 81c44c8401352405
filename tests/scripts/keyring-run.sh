#!/usr/bin/env bash
# A password in a real keyring: gnome-keyring-daemon on a private session bus takes the password
# `--add-server` saves, `--run-script` logs in with it, and without a session bus the run names
# the server whose password it could not get. Skipped (77) where no keyring daemon is installed.
set -euo pipefail
tarvo=$1
command -v gnome-keyring-daemon >/dev/null && command -v dbus-run-session >/dev/null || exit 77
work=$(mktemp -d)
server=
cleanup() {
    [[ -n $server ]] && kill "$server" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT
mkdir -p "$work/config/Halvern" "$work/home" "$work/root"
printf '[Settings]\nUseKeyring=1\n' >"$work/config/Halvern/Tarvo.conf"
port=$(/usr/bin/python3 -c 'import socket; s=socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')
/usr/bin/python3 -m pyftpdlib -i 127.0.0.1 -p "$port" -u demo -P 's3cret' -d "$work/root" >/dev/null 2>&1 &
server=$!
for _ in $(seq 50); do
    /usr/bin/python3 -c 'import socket,sys; socket.create_connection(("127.0.0.1", int(sys.argv[1])), 1)' "$port" 2>/dev/null && break
    sleep 0.1
done
export XDG_CONFIG_HOME=$work/config XDG_DATA_HOME=$work/data HOME=$work/home
printf 'open Kept\nclose\n' >"$work/run.ftp"
# shellcheck disable=SC2016
dbus-run-session -- bash -c '
    set -e
    echo -n unlock | gnome-keyring-daemon --unlock --components=secrets >/dev/null
    "$1" --add-server Kept "127.0.0.1:$2" demo s3cret >/dev/null
    if grep -q "UP=" "$XDG_CONFIG_HOME/Halvern/Tarvo.conf"; then echo "the password stayed in the file"; exit 1; fi
    "$1" --run-script "$3" | grep -qx "open Kept: ok" || { echo "no login with the keyring'"'"'s password"; exit 1; }
    ' keyring "$tarvo" "$port" "$work/run.ftp" 2>/dev/null
message=$(env -u DBUS_SESSION_BUS_ADDRESS DISPLAY= "$tarvo" --run-script "$work/run.ftp" 2>&1 >/dev/null || true)
if ! grep -q "Could not get the password of the server 'Kept' from the desktop's keyring" <<<"$message"; then
    echo "without a keyring: $message"
    exit 1
fi
echo "keyring: saved, used, and missed by name"
