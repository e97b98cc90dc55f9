# Checks that the packaging tests share; sourced by them.

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

# make_package GENERATOR BUILD WORK: WORK emptied, then CPack ($cpack) makes
# the GENERATOR package of BUILD in WORK/cpack, as ./dev package does;
# prints the package's path.
make_package() {
  rm -rf "$3"
  mkdir -p "$3"
  "$cpack" -G "$1" --config "$2/CPackConfig.cmake" -B "$3/cpack" >"$3/cpack.log" ||
    fail "cpack failed: $(cat "$3/cpack.log")"
  ls "$3"/cpack/*."$(echo "$1" | tr '[:upper:]' '[:lower:]')"
}

# check_pdf PDF MODEL: qpdf accepts PDF and its 3D stream (object 8) is
# MODEL's bytes. Without qpdf (QPDF empty) only the header is checked.
check_pdf() {
  [ -s "$1" ] || fail "$1 was not written"
  head -c 5 "$1" | grep -q '^%PDF-' || fail "$1 is not a PDF"
  [ -n "${QPDF:-}" ] || return 0
  "$QPDF" --check "$1" >/dev/null || fail "qpdf --check refused $1"
  "$QPDF" --show-object=8 --filtered-stream-data "$1" >"$1.stream" || fail "qpdf cannot show the 3D stream of $1"
  cmp -s "$1.stream" "$2" || fail "the 3D stream of $1 is not $2"
}
