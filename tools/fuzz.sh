#!/usr/bin/env bash
# Builds the fuzz harnesses with clang's libFuzzer, AddressSanitizer and UndefinedBehaviorSanitizer
# in a build folder of their own (build-fuzz/ unless TARVO_FUZZ_BUILD names another), then runs
# each for the given number of seconds (60 unless given), one job at a time. Any crash, leak or
# sanitizer report fails the run; the input that caused it is left in <build>/artifacts/.
# Inputs found on the way go to <build>/corpus/<harness>/; the seed corpus in tests/fuzz/corpus/
# is only read. TARVO_BUILD_LOCK names a lock file that serialises the build with other builds.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-60}"
build="${TARVO_FUZZ_BUILD:-build-fuzz}"
harnesses=(Listing Replies Script TransferList ReplyReader Settings)
# libFuzzer and the sanitizers' run-time are only recommended by clang, which deps.sh skips.
tools/deps.sh clang libclang-rt-14-dev
flags="-fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer"
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTARVO_BENCH=OFF -DTARVO_FUZZ=ON \
  -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_CXX_FLAGS="$flags" \
  -DCMAKE_EXE_LINKER_FLAGS="-fsanitize=address,undefined" \
  -DCMAKE_SHARED_LINKER_FLAGS="-fsanitize=address,undefined" >/dev/null
lock=()
if [[ -n "${TARVO_BUILD_LOCK:-}" ]]; then
  lock=(flock "$TARVO_BUILD_LOCK")
fi
"${lock[@]}" cmake --build "$build" -j"$(nproc)" --target "${harnesses[@]/#/Fuzz}"
export ASAN_OPTIONS="abort_on_error=1 ${ASAN_OPTIONS:-}"
export UBSAN_OPTIONS="halt_on_error=1 print_stacktrace=1 ${UBSAN_OPTIONS:-}"
mkdir -p "$build/artifacts"
failed=()
for name in "${harnesses[@]}"; do
  mkdir -p "$build/corpus/$name"
  echo "== $name: $seconds s"
  # The found inputs' folder comes first: libFuzzer writes new inputs only to the first one.
  if ! tools/loopback-only.sh "$build/tests/fuzz/Fuzz$name" -max_total_time="$seconds" \
      -rss_limit_mb=2048 -timeout=10 -print_final_stats=1 \
      -artifact_prefix="$build/artifacts/$name-" "$build/corpus/$name" "tests/fuzz/corpus/$name"; then
    failed+=("$name")
  fi
done
if [[ ${#failed[@]} -gt 0 ]]; then
  echo "fuzzing failed: ${failed[*]} (inputs in $build/artifacts/)" >&2
  exit 1
fi
