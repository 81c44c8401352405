#!/usr/bin/env bash
# Installs what is missing, builds, and starts Tarvo.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/deps.sh
tools/build.sh
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
  echo "Tarvo is built (build/app/tarvo) but there is no graphical session to show it in." >&2
  echo "Start it from a desktop, or run scripts without a window: build/app/tarvo --help" >&2
  exit 1
fi
exec build/app/tarvo "$@"
