#!/bin/sh
# Runs pool_misuse under valgrind and passes when memcheck reported exactly
# its four faults and nothing of the allocator's own work on its pages. The
# overrun is placed against the 24-byte pool block, as memcheck places it
# against a runtime heap block; after the release memcheck keeps no account
# of a pool block, so it places the other two within the page. The
# allocator's own report of the second release is on standard error; the
# lost 40-byte block is a leak like any other.
#   valgrindPoolMisuse.sh POOL_MISUSE
log=$(mktemp "${TMPDIR:-/tmp}/u3dpdf_valgrind.XXXXXX")
err=$(mktemp "${TMPDIR:-/tmp}/u3dpdf_valgrind.XXXXXX")
trap 'rm -f "$log" "$err"' EXIT
valgrind --leak-check=full --log-file="$log" "$1" 2>"$err"
status=$?
fail() {
  cat "$log" "$err"
  echo "valgrindPoolMisuse.sh: $1" >&2
  exit 1
}
[ "$status" -eq 0 ] || fail "exit status $status"
grep -A 30 "Invalid write of size 1" "$log" | grep -m 1 "Address 0x" |
  grep -q "is 0 bytes after a block of size 24 alloc'd" || fail "no overrun of the 24-byte block"
grep -q "Invalid read of size 1" "$log" || fail "no read after the release"
grep -q "Invalid free() / delete / delete\[\] / realloc()" "$log" || fail "no second release"
grep -q "^free called on free object$" "$err" || fail "no report of the second release"
grep -q "40 bytes in 1 blocks are definitely lost" "$log" || fail "no lost block"
grep -q "ERROR SUMMARY: 4 errors from 4 contexts" "$log" || fail "other errors than the four"
grep "ERROR SUMMARY" "$log"
