#!/usr/bin/env bash
# Conversion benchmarks of an optimised build (see bench/README.md):
#  - whole-command wall time and peak memory of `u3dpdf convert` against
#    compress_baseline (read the file, deflate it at level 6, write it) over
#    the same 6 MiB, 100 MiB and 1 GiB of U3D data, measured in the same run;
#  - 10 000 conversions of a small model in one process (repeat_convert).
# Inputs, outputs and the copies u3dpdf makes live in one temporary
# directory that is removed at the end, however the script ends.
set -euo pipefail
build=${1:?usage: bench/convert.sh BUILD_DIR}
root=$(cd "$(dirname "$0")/.." && pwd)
u3dpdf=$build/tools/u3dpdf/u3dpdf
baseline=$build/bench/translator/compress_baseline
repeat=$build/bench/translator/repeat_convert
padded=$build/bench/u3d/padded_u3d
for exe in "$u3dpdf" "$baseline" "$repeat" "$padded"; do
  [ -x "$exe" ] || { echo "bench/convert.sh: $exe is not built" >&2; exit 1; }
done
[ -x /usr/bin/time ] || { echo "bench/convert.sh: /usr/bin/time is needed for peak RSS" >&2; exit 1; }

work=$(mktemp -d "${TMPDIR:-/tmp}/u3dpdf-bench.XXXXXX")
trap 'rm -rf "$work"' EXIT
# u3dpdf copies the model into $TMPDIR before handing it to the module: keep
# that copy (as large as the input) in the directory that is cleaned up.
export TMPDIR=$work

MiB=$((1024 * 1024))
runs=3

# The 1 GiB case holds the input, u3dpdf's copy of it and the PDF at once.
min_free_for_1g=$((4 * 1024 * 1024))   # KiB

load() { cut -d' ' -f1-3 /proc/loadavg; }

# A U3D file of exactly `size` bytes, so that every figure per MiB is exact:
# u3dpdf reads its input as U3D first, so the bundled models fill blocks
# that readers skip by their sizes, behind a file header block.
make_input() {
  local size=$1 file=$2
  "$padded" "$size" "$file" "$root"/tests/data/*.u3d
}

# One timed run of a command: "<wall seconds> <peak RSS KiB>". Dirty pages of
# the previous run are flushed first so that their write-back is not billed to
# this one; the output is removed afterwards.
timed() {
  local out=$1; shift
  sync
  local start end
  start=$(date +%s%N)
  /usr/bin/time -f %M -o "$work/rss" "$@" >/dev/null
  end=$(date +%s%N)
  rm -f "$out"
  echo "$(( (end - start) / 1000 )) $(cat "$work/rss")"
}

median() { sort -n | sed -n "$(( (runs + 1) / 2 ))p"; }

# Converts and compresses the same input `runs` times each, alternating so
# that a change of machine load hits both sides alike; prints one table row.
measure() {
  local label=$1 size=$2 input=$work/input.u3d
  make_input "$size" "$input"
  local i run us kb conv base conv_us=() conv_kb=() base_us=() base_kb=()
  for ((i = 0; i < runs; i++)); do
    run=$(timed "$work/out.pdf" "$u3dpdf" convert "$input" -o "$work/out.pdf" --bbox 0 0 0 1 1 1)
    read -r us kb <<< "$run"; conv_us+=("$us"); conv_kb+=("$kb")
    run=$(timed "$work/out.z" "$baseline" "$input" "$work/out.z")
    read -r us kb <<< "$run"; base_us+=("$us"); base_kb+=("$kb")
  done
  rm -f "$input"
  conv=$(printf '%s\n' "${conv_us[@]}" | median)
  base=$(printf '%s\n' "${base_us[@]}" | median)
  local conv_rss base_rss
  conv_rss=$(printf '%s\n' "${conv_kb[@]}" | median)
  base_rss=$(printf '%s\n' "${base_kb[@]}" | median)
  awk -v l="$label" -v s="$size" -v c="$conv" -v b="$base" -v cr="$conv_rss" -v br="$base_rss" -v ld="$(load)" 'BEGIN {
    mib = s / 1048576
    printf "%-8s %9.3f %9.3f %7.3f %7.1f %6.2fx %7.1f %6.2fx %9.4f %9.4f  %s\n",
      l, c / 1e6, b / 1e6, c / b, cr / 1024, cr * 1024 / s, br / 1024, br * 1024 / s,
      c / 1e6 / mib, b / 1e6 / mib, ld
  }'
  # Kept for the spread of the time per MiB across sizes.
  echo "$label $(awk -v c="$conv" -v s="$size" 'BEGIN { printf "%.6f", c / 1e6 / (s / 1048576) }')" >> "$work/per_mib"
}

echo "== conversion against compress_baseline (median of $runs runs each; load before: $(load))"
printf '%-8s %9s %9s %7s %16s %16s %9s %9s  %s\n' \
  size convert_s base_s ratio "convert_RSS_MiB" "base_RSS_MiB" conv_s/MiB base_s/MiB "load_after(1,5,15min)"
measure 6MiB $((6 * MiB))
measure 100MiB $((100 * MiB))
free_kb=$(df -Pk "$work" | awk 'NR == 2 { print $4 }')
if [ "$free_kb" -ge "$min_free_for_1g" ]; then
  measure 1GiB $((1024 * MiB))
else
  echo "1GiB     skipped: $((free_kb / 1024)) MiB free in $work, the case needs 4096 MiB"
fi
awk '{ if (NR == 1 || $2 < lo) lo = $2; if ($2 > hi) hi = $2 }
     END { printf "convert time per MiB: min %.4f s, max %.4f s, max/min %.3f\n", lo, hi, hi / lo }' "$work/per_mib"

model=$root/tests/data/box.u3d
echo "== 10000 conversions of $(basename "$model") ($(stat -c %s "$model") bytes) in one process (load before: $(load))"
"$repeat" "$model" "$work" 10000
