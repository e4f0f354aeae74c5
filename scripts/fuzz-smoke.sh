#!/usr/bin/env bash
# Runs every fuzz target in a build folder for a few seconds on a copy of its seed corpus.
# usage: fuzz-smoke.sh BUILD_DIR [SECONDS]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:?usage: fuzz-smoke.sh BUILD_DIR [SECONDS]}
seconds=${2:-10}
status=0
for target in "$build"/fuzz/fuzz_*; do
  [ -x "$target" ] || continue
  name=$(basename "$target")
  corpus="fuzz/corpus/${name#fuzz_}"
  work=$(mktemp -d)
  [ -d "$corpus" ] && cp -r "$corpus"/. "$work"/
  echo "== $name for ${seconds}s"
  if ! "$target" -max_total_time="$seconds" -max_len=65536 -timeout=10 -rss_limit_mb=2048 \
       -print_final_stats=1 "$work" > "$work.log" 2>&1; then
    tail -n 40 "$work.log"
    status=1
  else
    grep -E 'stat::number_of_executed_units|Done' "$work.log" | tail -n 2
  fi
  rm -rf "$work" "$work.log"
done
exit $status
