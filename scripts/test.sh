#!/usr/bin/env bash
# Builds everything from nothing and runs every test:
#   1. the normal build in build/ and its CTest suite (unit, headless game, Xvfb, golden frames);
#   2. the same suite built with AddressSanitizer and UndefinedBehaviorSanitizer in build-asan/;
#   3. a short run of every libFuzzer target (scripts/fuzz.sh) in build-fuzz/.
# MDX_TEST_STAGES picks stages (default "main asan fuzz"); MDX_FUZZ_SECONDS sets seconds per
# target (default 10). A long soak or fuzz run is one command: see docs/PERFORMANCE.md.
set -euo pipefail
cd "$(dirname "$0")/.."
stages=${MDX_TEST_STAGES:-"main asan fuzz"}
jobs=$(nproc 2>/dev/null || echo 2)

bash scripts/setup-deps.sh

# Runs a build folder's tests. The real-window test (label xvfb) drives an X server with
# timed key presses, so it gets a second try when a busy machine makes it miss a key; every
# other test runs once and must pass.
# A label no-sanitize keeps a test out of the sanitizer stage.
run_tests() {
  local dir=$1 skip=$2
  ctest --test-dir "$dir" --output-on-failure -j "$jobs" -LE "xvfb|$skip"
  ctest --test-dir "$dir" --output-on-failure -L xvfb -LE "$skip" --repeat until-pass:2
}

for stage in $stages; do
  case "$stage" in
    main)
      echo "== Build and test (build/)"
      bash scripts/build.sh
      run_tests build "^$"
      ;;
    asan)
      echo "== Build and test with AddressSanitizer and UndefinedBehaviorSanitizer (build-asan/)"
      started=$(date +%s)
      # -O1 keeps the sanitized suite quick enough to run in full; the soak runs a tenth of its million
      # frames. LeakSanitizer ignores only the leaks of outside libraries listed in
      # scripts/lsan-suppressions.txt, never the game's own.
      cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS_DEBUG="-g -O1" \
        -DCMAKE_C_FLAGS_DEBUG="-g -O1" -DMDX_SANITIZE=ON -DMDX_BUILD_BENCHMARKS=OFF
      cmake --build build-asan -j "$jobs"
      ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 \
      LSAN_OPTIONS="suppressions=$PWD/scripts/lsan-suppressions.txt:print_suppressions=0" \
      UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 MDX_SOAK_FRAMES=100000 \
        run_tests build-asan no-sanitize
      echo "== sanitizer stage took $(( $(date +%s) - started )) s"
      ;;
    fuzz)
      echo "== Fuzz every reader briefly (build-fuzz/)"
      bash scripts/fuzz.sh "${MDX_FUZZ_SECONDS:-10}"
      ;;
    *)
      echo "unknown test stage: $stage" >&2
      exit 2
      ;;
  esac
done
