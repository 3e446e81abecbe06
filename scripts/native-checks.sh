#!/usr/bin/env bash
# Native checks of the surface loader and the command-line grammar: builds their Win32-free
# sources with clang against Wine's headers under AddressSanitizer and
# UndefinedBehaviorSanitizer, runs the loader's unit tests there, then runs every libFuzzer
# harness for a few seconds on its corpus.
#   scripts/native-checks.sh            build, unit tests, smoke fuzzing (FUZZ_SECONDS each, 3)
#   FUZZ_SECONDS=600 scripts/native-checks.sh   a longer fuzzing run
# New inputs found while fuzzing go to build/native-asan/corpus/<name>, not the committed corpus.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build="$root/build/native-asan"
seconds=${FUZZ_SECONDS:-3}

[ -f "$build/build.ninja" ] || CC=clang CXX=clang++ cmake -S "$root/tests/fuzz" -B "$build" \
  -G Ninja -DCMAKE_BUILD_TYPE=Debug >/dev/null
cmake --build "$build" -j2 >/dev/null

export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
"$build/native_loader_tests" --gtest_brief=1 | tail -n 1

status=0
for fuzzer in "$build"/*_fuzz; do
  name=$(basename "$fuzzer")
  seeds="$root/tests/fuzz/corpus/$name"
  found="$build/corpus/$name"
  mkdir -p "$found"
  if ! "$fuzzer" -max_total_time="$seconds" -max_len=4096 -rss_limit_mb=2048 \
       -artifact_prefix="$build/" "$found" "$seeds" >"$build/$name.log" 2>&1; then
    echo "native-checks: $name failed, see $build/$name.log" >&2
    status=1
  fi
  echo "native-checks: $name $(grep -o 'Done [0-9]* runs' "$build/$name.log" | tail -n 1)"
done
exit $status
