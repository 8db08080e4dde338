#!/usr/bin/env bash
# Builds the libFuzzer targets with clang in build-fuzz/ and runs each one.
#   scripts/fuzz.sh [SECONDS_PER_TARGET] [TARGET...]
# Seeds: fuzz/corpus/<target>/ plus the generated game files named in fuzz/seeds.txt.
# A crash leaves its input in build-fuzz/findings/ and makes the script fail.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-8}
shift || true
jobs=$(nproc 2>/dev/null || echo 2)
cmake -S . -B build-fuzz -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo -DMDX_FUZZ=ON -DMDX_BUILD_TESTS=OFF \
  -DMDX_BUILD_BENCHMARKS=OFF -DMDX_GENERATE_MEDIA=OFF -DMDX_WERROR=ON > build-fuzz.log 2>&1 || {
  cat build-fuzz.log; exit 1; }
# The targets fuzz/CMakeLists.txt defines, as the configure listed them.
known=()
mapfile -t known < build-fuzz/fuzz-targets.txt
targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  targets=("${known[@]}")
fi
for t in "${targets[@]}"; do
  if [[ " ${known[*]} " != *" $t "* ]]; then
    echo "unknown fuzz target $t (fuzz/CMakeLists.txt defines: ${known[*]})" >&2
    exit 2
  fi
done
built=()
for t in "${targets[@]}"; do
  if cmake --build build-fuzz -j "$jobs" --target "$t" >> build-fuzz.log 2>&1; then
    built+=("$t")
  else
    echo "fuzz target $t did not build (see build-fuzz.log)" >&2
    exit 1
  fi
done
mkdir -p build-fuzz/findings
status=0
for t in "${built[@]}"; do
  corpus="build-fuzz/corpus/$t"
  mkdir -p "$corpus"
  [ -d "fuzz/corpus/$t" ] && cp -n fuzz/corpus/"$t"/* "$corpus"/ 2>/dev/null || true
  # Lines "<target> <file patterns>" of fuzz/seeds.txt add generated game files as seeds.
  seed_lines=$(grep -E "^$t " fuzz/seeds.txt || true)
  if [ -z "$seed_lines" ]; then
    echo "note: fuzz/seeds.txt has no line for $t; it starts from fuzz/corpus/$t alone" >&2
  fi
  while read -r _ pattern; do
    for s in $pattern; do [ -f "$s" ] && cp -n "$s" "$corpus"/ 2>/dev/null || true; done
  done <<< "$seed_lines"
  echo "== $t: ${seconds}s"
  if ! "build-fuzz/fuzzers/$t" -max_total_time="$seconds" -rss_limit_mb=2048 -timeout=10 \
      -artifact_prefix="build-fuzz/findings/$t-" -print_final_stats=1 "$corpus" \
      > "build-fuzz/$t.log" 2>&1; then
    echo "fuzz target $t found a problem:" >&2
    tail -40 "build-fuzz/$t.log" >&2
    status=1
  else
    grep -E "stat::number_of_executed_units" "build-fuzz/$t.log" || true
  fi
done
exit $status
