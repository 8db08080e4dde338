#!/usr/bin/env bash
# Builds the libFuzzer targets with clang in build-fuzz/ and runs each one.
#   scripts/fuzz.sh [--together] [SECONDS_PER_TARGET] [TARGET...]
# Seeds: fuzz/corpus/<target>/ plus the generated game files named in fuzz/seeds.txt.
# A crash leaves its input in build-fuzz/findings/ and makes the script fail.
# --together runs the targets at the same time at the lowest priority (nice 19, so they only take
# idle time on a shared machine), each on its own corpus folder, and writes one summary line per
# target (executions, executions/s, processor seconds, corpus size, findings) to
# build-fuzz/<target>.summary and to the output.
set -euo pipefail
cd "$(dirname "$0")/.."
together=0
if [ "${1:-}" = "--together" ]; then
  together=1
  shift
fi
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
for t in "${targets[@]}"; do
  if ! cmake --build build-fuzz -j "$jobs" --target "$t" >> build-fuzz.log 2>&1; then
    echo "fuzz target $t did not build (see build-fuzz.log)" >&2
    exit 1
  fi
done
mkdir -p build-fuzz/findings

# Fills build-fuzz/corpus/<target>/ from fuzz/corpus/<target>/ and the lines of fuzz/seeds.txt.
seed_corpus() {
  local t=$1 corpus="build-fuzz/corpus/$1" seed_lines
  mkdir -p "$corpus"
  [ -d "fuzz/corpus/$t" ] && cp -n fuzz/corpus/"$t"/* "$corpus"/ 2>/dev/null || true
  seed_lines=$(grep -E "^$t " fuzz/seeds.txt || true)
  if [ -z "$seed_lines" ]; then
    echo "note: fuzz/seeds.txt has no line for $t; it starts from fuzz/corpus/$t alone" >&2
  fi
  while read -r _ pattern; do
    for s in $pattern; do [ -f "$s" ] && cp -n "$s" "$corpus"/ 2>/dev/null || true; done
  done <<< "$seed_lines"
}

# Runs one target for $seconds; prefix is empty or a priority command (nice -n 19).
run_target() {
  local t=$1
  shift
  "$@" "build-fuzz/fuzzers/$t" -max_total_time="$seconds" -rss_limit_mb=2048 -timeout=10 \
    -artifact_prefix="build-fuzz/findings/$t-" -print_final_stats=1 "build-fuzz/corpus/$t" \
    > "build-fuzz/$t.log" 2>&1
}

# One line: target, executions, executions/s, processor seconds, corpus files and bytes, findings.
summarize() {
  local t=$1 cpu=$2 log="build-fuzz/$1.log" execs rate files bytes found
  execs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
  rate=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log" | tail -1)
  files=$(find "build-fuzz/corpus/$t" -type f | wc -l)
  bytes=$(du -sb "build-fuzz/corpus/$t" | cut -f1)
  found=$(find build-fuzz/findings -name "$t-*" | wc -l)
  echo "$t executions=${execs:-?} exec/s=${rate:-?} cpu_s=$cpu corpus_files=$files" \
    "corpus_bytes=$bytes findings=$found" | tee "build-fuzz/$t.summary"
}

status=0
for t in "${targets[@]}"; do seed_corpus "$t"; done
if [ $together -eq 1 ]; then
  declare -A pids
  for t in "${targets[@]}"; do
    # The processor time of the run (user + system) goes to build-fuzz/<target>.cpu.
    ( TIMEFORMAT='%U %S'
      { time run_target "$t" nice -n 19; } 2> "build-fuzz/$t.cpu" ) &
    pids[$t]=$!
  done
  echo "== ${#targets[@]} targets together for ${seconds}s at nice 19"
  for t in "${targets[@]}"; do
    if ! wait "${pids[$t]}"; then
      echo "fuzz target $t found a problem:" >&2
      tail -40 "build-fuzz/$t.log" >&2
      status=1
    fi
    summarize "$t" "$(awk '{ printf "%.1f", $1 + $2 }' "build-fuzz/$t.cpu")"
  done
  exit $status
fi
for t in "${targets[@]}"; do
  echo "== $t: ${seconds}s"
  if ! run_target "$t"; then
    echo "fuzz target $t found a problem:" >&2
    tail -40 "build-fuzz/$t.log" >&2
    status=1
  else
    grep -E "stat::number_of_executed_units" "build-fuzz/$t.log" || true
  fi
done
exit $status
