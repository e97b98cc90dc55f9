#!/usr/bin/env bash
# Remakes docs/poster-torus.png, the poster README.md shows: the bundled
# torus converted by u3dpdf with its defaults (the poster is on) and the
# page drawn by pdftoppm (poppler-utils), as a viewer without 3D shows it.
#   docs/poster-torus.sh [BUILD_DIR]     # default build/default
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build/default}
work=$(mktemp -d "${TMPDIR:-/tmp}/u3dpdf-poster.XXXXXX")
trap 'rm -rf "$work"' EXIT
"$build/tools/u3dpdf/u3dpdf" convert "$root/examples/torus.u3d" -o "$work/torus.pdf" \
  --bbox -4 -4 -1 4 4 1 --center --quiet
pdftoppm -r 64 -png -singlefile "$work/torus.pdf" "$work/page"
cp "$work/page.png" "$root/docs/poster-torus.png"
