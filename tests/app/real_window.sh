#!/usr/bin/env bash
# The real program under Xvfb, used as a person would. Every way connects to a saved server by
# keys (Return on its node, Return in the connect dialog), then:
#   keyboard-delete  Tab to the file list, Space, Del, Return in the question: the file is gone
#                    from the server.
#   mouse-drag       drag the server's file with the mouse onto the home folder in the tree: the
#                    file arrives there byte-equal.
#   folder-drag      the same drag of a server folder (the first row, as folders come first): the
#                    folder arrives whole, in one background job.
#   tests/app/real_window.sh <path of tarvo> keyboard-delete|mouse-drag|folder-drag
set -euo pipefail
tarvo="$(realpath "$1")"
way="$2"
scratch="$(mktemp -d)"
server_pid=""
cleanup() {
  [ -n "$server_pid" ] && kill "$server_pid" 2>/dev/null || true
  wait 2>/dev/null || true
  rm -rf "$scratch"
}
trap cleanup EXIT

mkdir -p "$scratch/root" "$scratch/config" "$scratch/runtime"
chmod 700 "$scratch/runtime"
echo "the file of the test" >"$scratch/root/victim.txt"
if [ "$way" = folder-drag ]; then
  mkdir -p "$scratch/root/album/inner"
  echo "a file two folders down" >"$scratch/root/album/inner/deep.txt"
  head -c 300000 /dev/urandom >"$scratch/root/album/big.bin"
fi
port="$(/usr/bin/python3 -c 'import socket; s=socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')"
/usr/bin/python3 -m pyftpdlib -i 127.0.0.1 -p "$port" -d "$scratch/root" -u ann -P secret -w \
  >"$scratch/server.log" 2>&1 &
server_pid=$!
for _ in $(seq 100); do
  grep -q "starting FTP server" "$scratch/server.log" 2>/dev/null && break
  sleep 0.1
done

# A temporary folder of its own too: the single-instance socket lives there, so a Tarvo the
# user has open does not take this one's start.
mkdir -p "$scratch/tmp"
export XDG_CONFIG_HOME="$scratch/config" XDG_RUNTIME_DIR="$scratch/runtime" HOME="$scratch" TMPDIR="$scratch/tmp"
# Passive: pyftpdlib now and then leaves an active data connection unanswered when two sessions
# open one at the same moment, as a folder job over two connections does.
"$tarvo" --add-server "Zed" "127.0.0.1:$port" ann secret --passive >/dev/null

# Runs inside the X server. There is no window manager to hand the focus on as dialogs come
# and go, so each step gives it to the window that should have it; each waits for what it
# should bring about.
cat >"$scratch/drive.sh" <<'END'
set -euo pipefail
"$TARVO" >"$SCRATCH/tarvo.log" 2>&1 &
tarvo_pid=$!
window=""
for _ in $(seq 100); do
  window="$(xdotool search --onlyvisible --name '^Tarvo >|Ftp' 2>/dev/null | head -1 || true)"
  [ -n "$window" ] && break
  sleep 0.1
done
[ -n "$window" ] || { echo "no window" >&2; cat "$SCRATCH/tarvo.log" >&2; kill $tarvo_pid; exit 1; }
shot=0
step() {
  # TARVO_E2E_SHOTS names a folder for a picture after every step, to see where a run went wrong.
  if [ -n "${TARVO_E2E_SHOTS:-}" ]; then shot=$((shot + 1)); import -window root "$TARVO_E2E_SHOTS/$shot.png"; fi
}
# The id of the visible window named so, once it is there.
shown() {
  for _ in $(seq 20); do
    found="$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -1 || true)"
    [ -n "$found" ] && { echo "$found"; return 0; }
    sleep 0.25
  done
  return 1
}
# Keys to one window: the pointer over it and the focus in it, as a click would give.
keys_to() {
  local target="$1"
  shift
  xdotool mousemove --window "$target" 60 60 windowfocus "$target" 2>/dev/null || true
  sleep 0.3
  xdotool key "$@"
}
# The splash keeps the window disabled for a moment: the first keys are sent until they work.
dialog=""
for _ in $(seq 10); do
  keys_to "$window" End Return          # the last server node: the connect dialog
  dialog="$(shown 'Connect To')" && break
done
step
[ -n "$dialog" ] || { echo "no connect dialog" >&2; kill $tarvo_pid; exit 1; }
keys_to "$dialog" Return                # Connect
# Nothing goes on unless the server's files are shown: a Delete must never reach a local row.
shown '^Tarvo >Zed' >/dev/null || { echo "not connected" >&2; kill $tarvo_pid; exit 1; }
sleep 1
step
if [ "$WAY" = keyboard-delete ]; then
  keys_to "$window" Tab space           # the file list; Space selects its first row
  sleep 0.5
  step
  keys_to "$window" Delete              # the question
  question="$(shown 'Tarvo - Delete')" || true
  step
  [ -n "$question" ] && keys_to "$question" Return  # Yes
  for _ in $(seq 50); do
    [ -e "$SCRATCH/root/victim.txt" ] || break
    sleep 0.2
  done
else
  # The file list's first row, then the tree's third ("Home"), in the window's own coordinates:
  # the window opens at its default size.
  xdotool mousemove --window "$window" 430 61 click 1
  sleep 0.3
  xdotool mousedown 1
  for x in 420 400 360 320 280 240 200 160 130 115; do
    xdotool mousemove --window "$window" "$x" 96
    sleep 0.08
  done
  sleep 0.5
  step
  xdotool mouseup 1
  arrived() {
    if [ "$WAY" = folder-drag ]; then
      cmp -s "$SCRATCH/root/album/big.bin" "$HOME/album/big.bin" && [ -e "$HOME/album/inner/deep.txt" ]
    else
      [ -e "$HOME/victim.txt" ]
    fi
  }
  for _ in $(seq 50); do
    arrived && break
    sleep 0.2
  done
fi
step
kill $tarvo_pid 2>/dev/null || true
wait $tarvo_pid 2>/dev/null || true
END
WAY="$way" TARVO="$tarvo" SCRATCH="$scratch" timeout 120 xvfb-run -a -s '-screen 0 1280x800x24' bash "$scratch/drive.sh"

if [ "$way" = folder-drag ]; then
  if ! diff -r "$scratch/root/album" "$scratch/album" >/dev/null; then
    echo "the dragged folder did not arrive whole in the home folder" >&2
    exit 1
  fi
  echo "a folder downloaded by a drag"
elif [ "$way" = keyboard-delete ]; then
  if [ -e "$scratch/root/victim.txt" ]; then
    echo "the file is still on the server" >&2
    exit 1
  fi
  echo "deleted from the keyboard"
else
  if ! cmp -s "$scratch/root/victim.txt" "$scratch/victim.txt"; then
    echo "the dragged file did not arrive in the home folder" >&2
    exit 1
  fi
  echo "downloaded by a drag"
fi
