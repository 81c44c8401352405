#!/usr/bin/env bash
# Builds and runs the listing benchmark: a folder of many entries on pyftpdlib shown in the file
# list, and the longest time the window's event loop was held up meanwhile.
# Usage: bench/run-browse.sh [entries, default 100000]
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S . -B build -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build --target BrowseBench -j2 >/dev/null
QT_QPA_PLATFORM="${QT_QPA_PLATFORM:-offscreen}" exec build/bench/BrowseBench "$@"
