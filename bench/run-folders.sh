#!/usr/bin/env bash
# Builds Tarvo and the folder benchmark in Release and runs it: Tarvo's folder job against lftp's
# mirror (default and --parallel=2) on one vsftpd on loopback. Needs root (vsftpd and a
# throw-away system account). Usage: bench/run-folders.sh [rounds, default 5] [small|big]
set -euo pipefail
cd "$(dirname "$0")/.."
tools/deps.sh lftp
cmake -S . -B build-bench -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build-bench --target FolderBench Tarvo -j2 >/dev/null
exec tools/loopback-only.sh build-bench/bench/FolderBench build-bench/app/tarvo "$@"
