#!/usr/bin/env bash
# The poster of tests/data/large/torus_1m.u3d (1,000,000 faces) at the
# default size inside a real conversion, against the same conversion
# without it (poster_vs_convert, one process), then the peak memory of each
# conversion alone and what the poster adds, against the limit of 64 MiB.
# See bench/README.md.
set -euo pipefail
build=${1:?usage: bench/poster.sh BUILD_DIR}
root=$(cd "$(dirname "$0")/.." && pwd)
exe=$build/bench/render/poster_vs_convert
model=$root/tests/data/large/torus_1m.u3d
[ -x "$exe" ] || { echo "bench/poster.sh: $exe is not built" >&2; exit 1; }
[ -x /usr/bin/time ] || { echo "bench/poster.sh: /usr/bin/time is needed for peak RSS" >&2; exit 1; }
work=$(mktemp -d "${TMPDIR:-/tmp}/u3dpdf-poster.XXXXXX")
trap 'rm -rf "$work"' EXIT

load() { cut -d' ' -f1-3 /proc/loadavg; }

echo "== poster of $(basename "$model") ($(stat -c %s "$model") bytes) against its conversion (load before: $(load))"
"$exe" "$model" "$work" 3 | tee "$work/times"
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
