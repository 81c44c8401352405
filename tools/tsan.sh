#!/usr/bin/env bash
# The operations tests under ThreadSanitizer. The library, the core and the tests are all built
# with -fsanitize=thread, in a build folder of their own (build-tsan/ unless TARVO_TSAN_BUILD
# names another), and every report fails the run. Extra arguments go to ctest.
# TARVO_BUILD_LOCK names a lock file that serialises the build with other builds on the machine.
set -euo pipefail
cd "$(dirname "$0")/.."
build="${TARVO_TSAN_BUILD:-build-tsan}"
flags="-fsanitize=thread -fno-omit-frame-pointer"
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTARVO_BENCH=OFF \
  -DCMAKE_CXX_FLAGS="$flags" -DCMAKE_EXE_LINKER_FLAGS=-fsanitize=thread \
  -DCMAKE_SHARED_LINKER_FLAGS=-fsanitize=thread >/dev/null
lock=()
if [[ -n "${TARVO_BUILD_LOCK:-}" ]]; then
  lock=(flock "$TARVO_BUILD_LOCK")
fi
"${lock[@]}" cmake --build "$build" -j"$(nproc)" --target OperationsTests
export TSAN_OPTIONS="halt_on_error=1 abort_on_error=1 second_deadlock_stack=1 ${TSAN_OPTIONS:-}"
tools/loopback-only.sh ctest --test-dir "$build" -L tsan --output-on-failure -j2 "$@"
