#!/usr/bin/env bash
# Runs every fuzz target of a fuzzing build for SECONDS seconds each, over a
# copy of its seed corpus (new inputs never land in the repository). Fails on
# the first crash, leak, sanitizer report or timeout; the input that caused
# it is kept in BUILD_DIR/fuzz-artifacts.
#   tests/fuzz/run.sh BUILD_DIR SECONDS
set -euo pipefail
build=${1:?usage: tests/fuzz/run.sh BUILD_DIR SECONDS}
seconds=${2:?usage: tests/fuzz/run.sh BUILD_DIR SECONDS}
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
artifacts="$build/fuzz-artifacts"
mkdir -p "$artifacts"

# LeakSanitizer sees system heap blocks only: the pools hand every block to
# the system heap for the fuzz runs, so that a leaked block is found.
export U3DPDF_POOL_BYPASS=1

status=0
for seeds in "$here"/corpus/*/; do
  target=$(basename "$seeds")
  exe="$build/tests/fuzz/$target"
  [ -x "$exe" ] || { echo "fuzz: $exe is not built" >&2; exit 1; }
  mkdir -p "$work/$target"
  cp "$seeds"* "$work/$target/"
  echo "== $target: ${seconds}s"
  if ! "$exe" -max_total_time="$seconds" -max_len=16384 -timeout=10 -rss_limit_mb=4096 \
       -print_final_stats=1 -artifact_prefix="$artifacts/$target-" "$work/$target" \
       >"$work/$target.log" 2>&1; then
    tail -n 60 "$work/$target.log" >&2
    echo "fuzz: $target failed; inputs in $artifacts" >&2
    status=1
  else
    grep -E '^stat::number_of_executed_units|^Done' "$work/$target.log" || true
  fi
done
exit $status
