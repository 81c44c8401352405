#!/usr/bin/env bash
# Builds and runs the listing benchmark: a folder of many entries on pyftpdlib shown in the file
# list, and the longest time the window's event loop was held up meanwhile.
# Usage: bench/run-browse.sh [entries, default 100000] [list: LIST instead of MLSD]
set -euo pipefail
cd "$(dirname "$0")/.."
# A build folder of its own, so benchmarks never flip the build type of build/.
cmake -S . -B build-bench -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build-bench --target BrowseBench -j2 >/dev/null
QT_QPA_PLATFORM="${QT_QPA_PLATFORM:-offscreen}" exec build-bench/bench/BrowseBench "$@"
