#!/usr/bin/env bash
# Runs every benchmark program of an optimised build, then the conversion
# benchmarks of bench/convert.sh. Each measures its own baseline in the same
# run and prints the ratio against it.
set -euo pipefail
build=${1:?usage: bench/run.sh BUILD_DIR}
found=0
for exe in $(find "$build/bench" -type f -name 'bench_*' -perm -u+x | sort); do
  found=1
  echo "== $(basename "$exe")"
  "$exe"
done
[ "$found" = 1 ] || { echo "bench/run.sh: no benchmark programs in $build/bench" >&2; exit 1; }
"$(dirname "$0")/convert.sh" "$build"
"$(dirname "$0")/u3dbox.sh" "$build"
"$(dirname "$0")/batch.sh" "$build"
"$(dirname "$0")/poster.sh" "$build"
