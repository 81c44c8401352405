#!/usr/bin/env bash
# Installs a built tree into a throw-away prefix and checks what a desktop and another developer
# get: the program, libQorFtp with its SONAME, the headers, the CMake and pkg-config packages, the
# desktop entry, the icon, the script file type, the metainfo and the help page. Then builds a
# small program against the installed QorFtp both ways and lists the demo server's files with it.
# Usage: tools/check-install.sh [build folder]
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="$(cd "${1:-$root/build}" && pwd)"
work="$(mktemp -d /tmp/tarvo-install.XXXXXX)"
server=""
cleanup() {
    if [[ -n "$server" ]]; then kill "$server" 2>/dev/null || true; wait "$server" 2>/dev/null || true; fi
    rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "check-install: $*" >&2; exit 1; }

prefix="$work/prefix"
cmake --install "$build" --prefix "$prefix" >/dev/null
libdir="$(sed -n 's/^CMAKE_INSTALL_LIBDIR:PATH=//p' "$build/CMakeCache.txt")"
version="$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")"

for file in bin/tarvo "$libdir/libQorFtp.so.$version" "$libdir/libQorFtp.so" \
    include/QorFtp/QorFtp.h include/QorFtp/QorFtpUi.h \
    "$libdir/pkgconfig/qorftp.pc" "$libdir/cmake/QorFtp/QorFtpConfig.cmake" \
    "$libdir/cmake/QorFtp/QorFtpConfigVersion.cmake" "$libdir/cmake/QorFtp/QorFtpTargets.cmake" \
    share/applications/tarvo.desktop share/icons/hicolor/scalable/apps/tarvo.svg \
    share/mime/packages/tarvo-script.xml share/metainfo/org.halvern.Tarvo.metainfo.xml \
    share/tarvo/Tarvo.html share/tarvo/help-browse.png share/tarvo/help-context-menu.png \
    share/tarvo/translations/tarvo_de.qm; do
    [[ -f "$prefix/$file" ]] || fail "$file is not installed"
done
soname="$(objdump -p "$prefix/$libdir/libQorFtp.so.$version" | awk '/SONAME/ {print $2}')"
[[ "$soname" == "libQorFtp.so.${version%%.*}" ]] || fail "libQorFtp's SONAME is '$soname'"
[[ -L "$prefix/$libdir/libQorFtp.so.${version%%.*}" ]] || fail "no $soname link"
# The installed program finds its library without LD_LIBRARY_PATH and runs without a display.
env -u DISPLAY -u WAYLAND_DISPLAY "$prefix/bin/tarvo" --help | grep -q -- --run-script \
    || fail "the installed tarvo --help does not list --run-script"

desktop-file-validate "$prefix/share/applications/tarvo.desktop" || fail "the desktop entry is not valid"
appstreamcli validate --no-net "$prefix/share/metainfo/org.halvern.Tarvo.metainfo.xml" >/dev/null \
    || fail "the metainfo is not valid"
/usr/bin/python3 -c 'import sys, xml.etree.ElementTree as t; t.parse(sys.argv[1]); t.parse(sys.argv[2])' \
    "$prefix/share/mime/packages/tarvo-script.xml" "$prefix/share/icons/hicolor/scalable/apps/tarvo.svg" \
    || fail "the MIME type or the icon is not well-formed XML"

# Another program: once through find_package, once through pkg-config.
cmake -S "$root/packaging/consumer" -B "$work/consumer" -DCMAKE_PREFIX_PATH="$prefix" >/dev/null
cmake --build "$work/consumer" >/dev/null
# shellcheck disable=SC2046
g++ -std=c++20 -o "$work/ftp-list-pc" "$root/packaging/consumer/main.cpp" \
    $(PKG_CONFIG_PATH="$prefix/$libdir/pkgconfig" pkg-config --cflags --libs qorftp) \
    -Wl,-rpath,"$prefix/$libdir"

port="$(/usr/bin/python3 -c 'import socket; s=socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')"
/usr/bin/python3 "$root/tools/demo_server.py" --root "$work/files" --port "$port" >"$work/server.log" 2>&1 &
server=$!
for _ in $(seq 50); do grep -q "Demo FTP server" "$work/server.log" && break; sleep 0.1; done
for program in "$work/consumer/ftp-list" "$work/ftp-list-pc"; do
    listing="$("$program" "$port" demo demo /pub)" || fail "$(basename "$program") could not list /pub"
    grep -qx readme.txt <<<"$listing" || fail "$(basename "$program") listed: $listing"
done
echo "check-install: the installed tree, the desktop files and both ways of linking QorFtp are right"
