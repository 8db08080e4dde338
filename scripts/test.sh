#!/usr/bin/env bash
# Builds everything and runs every test, stage by stage:
#   format  every tracked C++ file as clang-format-14 would write it (.clang-format);
#   main    the normal build in build/ and its CTest suite (unit, headless game, Xvfb, golden frames);
#   nogame  the platform-free build with -DMDX_BUILD_GAME=OFF in build-nogame/ (no SDL) and its tests;
#   asan    the same suite built with AddressSanitizer and UndefinedBehaviorSanitizer in build-asan/;
#   fuzz    a short run of every libFuzzer target (scripts/fuzz.sh) in build-fuzz/;
#   web     the WebAssembly build (scripts/build-web.sh, build-web/) played in headless Chromium.
# Every build treats compiler warnings as errors (MDX_WERROR). MDX_TEST_STAGES picks stages
# (default: all, in this order); MDX_FUZZ_SECONDS sets seconds per fuzz target
# (default 10). A long soak or fuzz run is one command: see docs/PERFORMANCE.md.
set -Eeuo pipefail
cd "$(dirname "$0")/.."
# The tests never see nor change the player's own saved progress and settings.
XDG_DATA_HOME=$(mktemp -d) XDG_CONFIG_HOME=$(mktemp -d)
export XDG_DATA_HOME XDG_CONFIG_HOME
trap 'rm -rf "$XDG_DATA_HOME" "$XDG_CONFIG_HOME"' EXIT
all_stages="format main nogame asan fuzz web"
stages=${MDX_TEST_STAGES:-$all_stages}
jobs=$(nproc 2>/dev/null || echo 2)

# A misspelt stage fails before anything is built, not after an hour of the others.
for stage in $stages; do
  case " $all_stages " in
    *" $stage "*) ;;
    *) echo "unknown test stage: $stage (stages: $all_stages)" >&2; exit 2 ;;
  esac
done

bash scripts/setup-deps.sh

# Runs a build folder's tests. The real-window test (label xvfb) drives an X server with
# timed key presses, so it gets a second try when a busy machine makes it miss a key; every
# other test runs once and must pass. A label no-sanitize keeps a test out of the sanitizer stage.
run_tests() {
  local dir=$1 skip=$2
  ctest --test-dir "$dir" --output-on-failure -j "$jobs" -LE "xvfb|$skip"
  ctest --test-dir "$dir" --output-on-failure -L xvfb -LE "$skip" --repeat until-pass:2
}

# The C++ files of the project: the tracked ones in a git checkout, otherwise every one under
# the source folders.
cxx_files() {
  if git rev-parse --is-inside-work-tree > /dev/null 2>&1; then
    git ls-files -- '*.cpp' '*.h'
  else
    find src tools tests bench fuzz -name '*.cpp' -o -name '*.h'
  fi
}

run_stage() {
  case "$1" in
    format)
      echo "== Formatting (clang-format-14)"
      cxx_files | xargs -r clang-format-14 --dry-run --Werror
      ;;
    main)
      echo "== Build and test (build/)"
      bash scripts/build.sh -DMDX_WERROR=ON
      run_tests build "^$"
      ;;
    nogame)
      echo "== Build and test without the game's SDL layers (build-nogame/)"
      cmake -S . -B build-nogame -DCMAKE_BUILD_TYPE=RelWithDebInfo -DMDX_BUILD_GAME=OFF \
        -DMDX_BUILD_BENCHMARKS=OFF -DMDX_WERROR=ON
      cmake --build build-nogame -j "$jobs"
      ctest --test-dir build-nogame --output-on-failure -j "$jobs"
      ;;
    asan)
      echo "== Build and test with AddressSanitizer and UndefinedBehaviorSanitizer (build-asan/)"
      # -O1 keeps the sanitized suite quick enough to run in full; the soak runs a tenth of its million
      # frames. LeakSanitizer ignores only the leaks of outside libraries listed in
      # scripts/lsan-suppressions.txt, never the game's own.
      cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS_DEBUG="-g -O1" \
        -DCMAKE_C_FLAGS_DEBUG="-g -O1" -DMDX_SANITIZE=ON -DMDX_BUILD_BENCHMARKS=OFF -DMDX_WERROR=ON
      cmake --build build-asan -j "$jobs"
      ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 \
      LSAN_OPTIONS="suppressions=$PWD/scripts/lsan-suppressions.txt:print_suppressions=0" \
      UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 MDX_SOAK_FRAMES=100000 \
        run_tests build-asan no-sanitize
      ;;
    fuzz)
      echo "== Fuzz every reader briefly (build-fuzz/)"
      bash scripts/fuzz.sh "${MDX_FUZZ_SECONDS:-10}"
      ;;
    web)
      echo "== The web build played in headless Chromium (build-web/)"
      bash scripts/build-web.sh -DMDX_WERROR=ON
      bash tests/web/run.sh
      ;;
  esac
}

# Each stage's time is printed when it ends, and all of them at the end; a failing stage stops
# the run (set -e) after saying which one failed.
timings=()
for stage in $stages; do
  started=$SECONDS
  trap 'echo "== stage $stage FAILED after $((SECONDS - started)) s" >&2' ERR
  run_stage "$stage"
  trap - ERR
  timings+=("$stage $((SECONDS - started)) s")
  echo "== stage $stage took $((SECONDS - started)) s"
done
echo "== all stages passed:"
printf '   %s\n' "${timings[@]}"
