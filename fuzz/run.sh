#!/usr/bin/env bash
# Runs the fuzz targets of a fuzz build, each for a bounded time, a few at once, and prints
# each one's executions and coverage (libFuzzer's cov and ft). New inputs gather in
# BUILD/fuzz-work/corpus/<target>/, crashes in BUILD/fuzz-work/artifacts/<target>/ (copy a
# crash into fuzz/regressions/<target>/ once it is mended, so `make test` replays it).
#   fuzz/run.sh BUILD_DIR SECONDS PARALLEL [target ...]
set -uo pipefail
build=$(cd "$1" && pwd)
seconds=$2
parallel=$3
shift 3
here=$(cd "$(dirname "$0")" && pwd)
work=$build/fuzz-work
mkdir -p "$work/logs"

targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  for exe in "$build"/fuzz/fuzz_*; do targets+=("$(basename "$exe" | sed 's/^fuzz_//')"); done
fi

run_one() {
  local t=$1
  local dirs=("$work/corpus/$t")
  mkdir -p "$work/corpus/$t" "$work/artifacts/$t"
  for d in "$here/corpus/$t" "$here/regressions/$t"; do [ -d "$d" ] && dirs+=("$d"); done
  "$build/fuzz/fuzz_$t" -max_total_time="$seconds" -print_final_stats=1 -timeout=25 \
    -rss_limit_mb=2560 -artifact_prefix="$work/artifacts/$t/" "${dirs[@]}" \
    > "$work/logs/$t.log" 2>&1
}
export -f run_one
export build seconds here work

printf '%s\n' "${targets[@]}" | xargs -P "$parallel" -I{} bash -c 'run_one {}'

status=0
printf '%-18s %12s %8s %8s %8s  %s\n' target executions cov ft corpus result
for t in "${targets[@]}"; do
  log=$work/logs/$t.log
  execs=$(grep -o 'stat::number_of_executed_units: [0-9]*' "$log" | grep -o '[0-9]*$')
  last=$(grep -E '(cov|ft): [0-9]+' "$log" | tail -1)
  cov=$(echo "$last" | grep -o 'cov: [0-9]*' | grep -o '[0-9]*$')
  ft=$(echo "$last" | grep -o 'ft: [0-9]*' | grep -o '[0-9]*$')
  corp=$(echo "$last" | grep -o 'corp: [0-9]*' | grep -o '[0-9]*$')
  result=ok
  if [ -n "$(ls -A "$work/artifacts/$t" 2>/dev/null)" ] || grep -q -E '^==[0-9]+==ERROR|^SUMMARY: |fuzz check failed' "$log"; then
    result="FAULT (see $log)"
    status=1
  fi
  printf '%-18s %12s %8s %8s %8s  %s\n' "$t" "${execs:--}" "${cov:--}" "${ft:--}" "${corp:--}" "$result"
done
exit $status
