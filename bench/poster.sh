#!/usr/bin/env bash
# The poster at the default size inside a real conversion, against the same
# conversion without it (poster_vs_convert, one process), then the peak
# memory of each conversion alone and what the poster adds, against the
# limit of 64 MiB. Two models of 1,000,000 triangles: tests/data/large/
# torus_1m.u3d (every position in progressive resolution updates, as the
# U3D reference encoder writes them) and a torus STL as u3dpdf writes it
# (`u3dpdf u3d`: one base mesh). See bench/README.md.
set -euo pipefail
build=${1:?usage: bench/poster.sh BUILD_DIR}
root=$(cd "$(dirname "$0")/.." && pwd)
exe=$build/bench/render/poster_vs_convert
[ -x "$exe" ] || { echo "bench/poster.sh: $exe is not built" >&2; exit 1; }
[ -x /usr/bin/time ] || { echo "bench/poster.sh: /usr/bin/time is needed for peak RSS" >&2; exit 1; }
work=$(mktemp -d "${TMPDIR:-/tmp}/u3dpdf-poster.XXXXXX")
trap 'rm -rf "$work"' EXIT

load() { cut -d' ' -f1-3 /proc/loadavg; }

measure() {
  local model=$1
  echo "== poster of $(basename "$model") ($(stat -c %s "$model") bytes) against its conversion (load before: $(load))"
  "$exe" "$model" "$work" 3 | tee "$work/times"
  local box kind
  box=$(sed -n 's/^box //p' "$work/times")
  for kind in plain poster; do
    # shellcheck disable=SC2086
    /usr/bin/time -f %M -o "$work/rss.$kind" "$exe" --once "$kind" "$model" "$work" $box
  done
  awk -v plain="$(cat "$work/rss.plain")" -v poster="$(cat "$work/rss.poster")" -v ld="$(load)" 'BEGIN {
    added = (poster - plain) / 1024
    printf "peak RSS: without poster %.1f MiB, with poster %.1f MiB, added %.1f MiB, limit 64 MiB: %s  (load after: %s)\n",
      plain / 1024, poster / 1024, added, (added <= 64 ? "within" : "OVER"), ld
  }'
}

measure "$root/tests/data/large/torus_1m.u3d"

# The mesh path exists where assimp does (not in the Windows build).
stl=$build/bench/import/torus_stl
u3dpdf=$build/tools/u3dpdf/u3dpdf
if [ -x "$stl" ]; then
  "$stl" "$work/torus.stl"
  "$u3dpdf" u3d "$work/torus.stl" -o "$work/torus_stl.u3d"
  rm "$work/torus.stl"
  measure "$work/torus_stl.u3d"
else
  echo "== no torus_stl in $build (built without assimp): the STL model is left out"
fi
