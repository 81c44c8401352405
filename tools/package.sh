#!/usr/bin/env bash
# Builds the Debian package build/tarvo_<version>_amd64.deb (CPack, dependencies by
# dpkg-shlibdeps): the program, its desktop files and help, and QorFtp for other programs.
#   dpkg -i build/tarvo_*_amd64.deb   installs it (apt-get install -f adds what it depends on)
#   dpkg -r tarvo                      removes it
set -euo pipefail
cd "$(dirname "$0")/.."
tools/deps.sh
tools/build.sh
(cd build && cpack -G DEB >/dev/null)
version="$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' build/CMakeCache.txt)"
package="build/tarvo_${version}_$(dpkg --print-architecture).deb"
[[ -f "$package" ]] || { echo "package.sh: cpack wrote no $package" >&2; exit 1; }
echo "$package ($(du -h "$package" | cut -f1)), depends on: $(dpkg-deb -f "$package" Depends)"
