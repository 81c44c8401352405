#!/usr/bin/env bash
# Builds Tarvo, starts the main window under Xvfb with the background-operations window open,
# and writes a PNG of it outside the repository.
#   tools/screenshot-main.sh [output.png]      (default /tmp/tarvo-main.png)
# TARVO_BUILD_DIR chooses the build folder (default build/).
set -euo pipefail
cd "$(dirname "$0")/.."
out="$(realpath -m "${1:-/tmp/tarvo-main.png}")"
build="${TARVO_BUILD_DIR:-build}"

# A window manager draws the captions.
tools/deps.sh openbox
cmake -S . -B "$build" >/dev/null
# One build at a time on a shared machine.
flock /tmp/tarvo-build.lock cmake --build "$build" -j"$(nproc)" --target Tarvo

# A settings file, data folder and instance socket of its own: the picture never touches the
# user's Tarvo, and a running Tarvo does not take the start over.
scratch="$(mktemp -d)"
trap 'rm -rf "$scratch"' EXIT
mkdir -p "$scratch/config" "$scratch/data" "$scratch/tmp" "$scratch/runtime"
chmod 700 "$scratch/runtime"

cat > "$scratch/session.sh" <<'SESSION'
#!/usr/bin/env bash
openbox >/dev/null 2>&1 &
sleep 1
"$@"
SESSION
chmod +x "$scratch/session.sh"

XDG_CONFIG_HOME="$scratch/config" XDG_DATA_HOME="$scratch/data" XDG_RUNTIME_DIR="$scratch/runtime" \
TMPDIR="$scratch/tmp" TARVO_SCREENSHOT="$out" TARVO_SCREENSHOT_DELAY=2500 \
  timeout 120 xvfb-run -a -s '-screen 0 1280x800x24' \
  "$scratch/session.sh" "$build/app/tarvo" --nosplash --demo-operations
echo "$out"
