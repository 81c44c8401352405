#!/usr/bin/env bash
# Builds and runs the transfer benchmark: QorFtp and curl against one vsftpd on loopback.
# Usage: bench/run.sh [file size in MiB, default 1024] [entries to list, default 100000]
# Needs root (vsftpd and a throw-away system account) and curl.
set -euo pipefail
cd "$(dirname "$0")/.."
command -v curl >/dev/null || apt-get install -y curl
# A build folder of its own, so benchmarks never flip the build type of build/.
cmake -S . -B build-bench -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build-bench --target FtpBench -j2 >/dev/null
exec build-bench/bench/FtpBench "$@"
