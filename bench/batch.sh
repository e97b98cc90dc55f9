#!/usr/bin/env bash
# Batch conversion: 200 small models converted into one folder by
# `u3dpdf convert MODEL... -d OUT -j N`, with one worker (-j 1, the
# baseline) and with two (-j 2), three times each, alternately; prints the
# median wall times and the speed-up -j 1 / -j 2. The models are copies of
# examples/nut.stl where the build imports STL, of examples/torus.u3d
# otherwise.
set -euo pipefail
build=${1:?usage: bench/batch.sh BUILD_DIR}
root=$(cd "$(dirname "$0")/.." && pwd)
u3dpdf=$build/tools/u3dpdf/u3dpdf
[ -x "$u3dpdf" ] || { echo "bench/batch.sh: $u3dpdf is not built" >&2; exit 1; }

work=$(mktemp -d "${TMPDIR:-/tmp}/u3dpdf-batch.XXXXXX")
trap 'rm -rf "$work"' EXIT
export TMPDIR=$work

if "$u3dpdf" formats 2>/dev/null | grep -q '^stl '; then
  model=$root/examples/nut.stl
else
  model=$root/examples/torus.u3d
fi
ext=${model##*.}
mkdir -p "$work/in"
for i in $(seq -w 1 200); do cp "$model" "$work/in/m$i.$ext"; done

runs=3
median() { sort -n | sed -n "$(( (runs + 1) / 2 ))p"; }
load() { cut -d' ' -f1-3 /proc/loadavg; }

# Wall milliseconds of one batch; the PDFs are removed afterwards.
batch() {
  local jobs=$1 start end
  sync
  start=$(date +%s%N)
  "$u3dpdf" convert "$work"/in/* -d "$work/out" -j "$jobs" >/dev/null
  end=$(date +%s%N)
  [ "$(ls "$work/out" | wc -l)" = 200 ] || { echo "bench/batch.sh: not every model converted" >&2; exit 1; }
  rm -rf "$work/out"
  echo $(( (end - start) / 1000000 ))
}

echo "== batch: 200 x $(basename "$model") ($(stat -c %s "$model") bytes); load before: $(load)"
one=() two=()
for _ in $(seq $runs); do
  one+=("$(batch 1)")
  two+=("$(batch 2)")
done
m1=$(printf '%s\n' "${one[@]}" | median)
m2=$(printf '%s\n' "${two[@]}" | median)
printf '%-6s %10s\n' "" "wall_ms"
printf '%-6s %10s\n' "-j 1" "$m1" "-j 2" "$m2"
awk -v a="$m1" -v b="$m2" -v n="$(nproc)" 'BEGIN { printf "speed-up -j 1 / -j 2: %.2f (nproc %d)\n", a / b, n }'
echo "load after: $(load)"
