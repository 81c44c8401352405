#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test through ctest.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/deps.sh
tools/build.sh
tools/loopback-only.sh ctest --test-dir build --output-on-failure -j2 "$@"
