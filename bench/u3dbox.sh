#!/usr/bin/env bash
# Measuring the world box of a large progressive mesh (tests/data/large/
# torus_1m.u3d: 1,000,000 faces, every position in resolution updates)
# against converting the same file, in one process (box_vs_convert), then
# the peak memory of measuring the box alone against its limit of 100 bytes
# per face plus 32 MiB. See bench/README.md.
set -euo pipefail
build=${1:?usage: bench/u3dbox.sh BUILD_DIR}
root=$(cd "$(dirname "$0")/.." && pwd)
exe=$build/bench/u3d/box_vs_convert
model=$root/tests/data/large/torus_1m.u3d
[ -x "$exe" ] || { echo "bench/u3dbox.sh: $exe is not built" >&2; exit 1; }
[ -x /usr/bin/time ] || { echo "bench/u3dbox.sh: /usr/bin/time is needed for peak RSS" >&2; exit 1; }
work=$(mktemp -d "${TMPDIR:-/tmp}/u3dpdf-box.XXXXXX")
trap 'rm -rf "$work"' EXIT

load() { cut -d' ' -f1-3 /proc/loadavg; }

echo "== box of $(basename "$model") ($(stat -c %s "$model") bytes) against its conversion (load before: $(load))"
"$exe" "$model" "$work" 3
/usr/bin/time -f %M -o "$work/rss" "$exe" --box-only "$model" > "$work/box"
faces=$(sed -n 's/.*, \([0-9]*\) faces$/\1/p' "$work/box")
awk -v kb="$(cat "$work/rss")" -v f="$faces" -v ld="$(load)" 'BEGIN {
  limit = (100 * f + 32 * 1048576) / 1048576
  printf "peak RSS of the box alone: %.1f MiB (%.1f bytes per face), limit %.1f MiB: %s  (load after: %s)\n",
    kb / 1024, kb * 1024 / f, limit, (kb / 1024 <= limit ? "within" : "OVER"), ld
}'
