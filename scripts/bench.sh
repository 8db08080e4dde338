#!/usr/bin/env bash
# Builds the game and its benchmarks in build/ and runs every benchmark program found under
# build/bench/. Each program's results go to build/bench/<program>.csv, and one markdown table
# of them all to build/bench-table.md.
#   scripts/bench.sh [EXTRA BENCHMARK FLAGS...]    e.g. --benchmark_filter=gameFrame
# MDX_BENCH_MIN_TIME sets the least seconds per benchmark (default 0.5). MDX_BENCH_BUILD_DIR
# runs the benchmarks of another, already built, build folder instead (no build is made then).
set -euo pipefail
cd "$(dirname "$0")/.."
build=${MDX_BENCH_BUILD_DIR:-build}
if [ "$build" = build ]; then bash scripts/build.sh; fi
export SDL_AUDIODRIVER=dummy SDL_VIDEODRIVER=dummy
out=$build/bench
table=$build/bench-table.md
mkdir -p "$out"
{
  echo "| program | benchmark | real time | CPU time | unit | counters |"
  echo "|---|---|---:|---:|---|---|"
} > "$table"
status=0
for program in $(find "$build/bench" -type f -executable -name '*_bench' | sort); do
  name=$(basename "$program")
  echo "== $name"
  if ! "$program" --benchmark_format=csv --benchmark_min_time="${MDX_BENCH_MIN_TIME:-0.5}" "$@" \
      > "$out/$name.csv" 2> "$out/$name.log"; then
    echo "$name failed (see $out/$name.log)" >&2
    status=1
  fi
  # The CSV header names the columns; counters are the columns after error_message.
  awk -F, -v program="$name" '
    /^name,/ { gsub(/"/, ""); for (i = 1; i <= NF; i++) col[$i] = i; ncol = NF; header = 1
              split($0, names, ","); next }
    header && NF >= 5 {
      counters = ""
      for (i = col["error_message"] + 1; i <= ncol; i++)
        if ($i != "") counters = counters (counters == "" ? "" : ", ") names[i] "=" $i
      if ($col["error_occurred"] == "true") counters = "skipped: " $col["error_message"]
      gsub(/"/, "", $1)
      printf "| %s | %s | %.3f | %.3f | %s | %s |\n", program, $1, $col["real_time"], \
        $col["cpu_time"], $col["time_unit"], counters
    }' "$out/$name.csv" >> "$table"
done
echo
cat "$table"
exit $status
