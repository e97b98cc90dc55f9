#!/usr/bin/env bash
# WindowsZipTest: the Windows zip that CPack makes from the MinGW build holds
# u3dpdf.exe, u3dpdf.dll, the SDK's headers and libraries and the README;
# unpacked, its u3dpdf.exe converts a model under Wine, finding the DLL
# beside it, and names its version.
#   windowsZipTest.sh CPACK BUILD WORK WINE VERSION QPDF
set -euo pipefail
cpack=$1 build=$2 work=$3 wine=$4 version=$5
QPDF=${6:-}
. "$(dirname "$0")/packageChecks.sh"

zip=$(make_package ZIP "$build" "$work")
(cd "$work" && cmake -E tar xf "$zip")
dir=$work/u3dpdf-$version-win64
for file in bin/u3dpdf.exe bin/u3dpdf.dll include/u3dpdf/module.h include/u3dpdf/trees.h \
            include/u3dpdf/metatree/metaObject.h lib/libu3dpdf_metatree.a lib/cmake/u3dpdf/u3dpdfConfig.cmake \
            README.md LICENSE THIRD-PARTY-NOTICES.md; do
  [ -f "$dir/$file" ] || fail "the zip lacks $file"
done

# Wine's output goes to files, never to a pipe: the Windows services that the
# first Wine program starts inherit it and outlive the test, and whoever reads
# the pipe would wait for them.
cp "$(dirname "$0")/../../examples/torus.u3d" "$work/model.u3d"
(cd "$work" && "$wine" "$dir/bin/u3dpdf.exe" convert model.u3d -o out.pdf --bbox -4 -4 -1 4 4 1 \
  </dev/null >convert.out 2>&1) || fail "the unpacked u3dpdf.exe did not convert: $(cat "$work/convert.out")"
check_pdf "$work/out.pdf" "$work/model.u3d"
"$wine" "$dir/bin/u3dpdf.exe" --version </dev/null >"$work/version.out" 2>&1 || fail "--version: $(cat "$work/version.out")"
out=$(tr -d '\r' <"$work/version.out")
printf '%s\n' "$out" | grep -q "^u3dpdf $version (commit " || fail "--version said: $out"
printf '%s\n' "$out" | grep -q "u3dpdf.dll: capability VERSION V1.0$" || fail "--version said: $out"

echo "$(basename "$zip"): $(unzip -l "$zip" 2>/dev/null | tail -1 || true)"
rm -rf "$work"
