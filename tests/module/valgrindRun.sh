#!/bin/sh
# Runs a command under valgrind and passes when it exits with the expected
# status and valgrind found no memory error and no definite or indirect leak.
#   valgrindRun.sh EXPECTED_STATUS COMMAND [ARGUMENTS...]
# Valgrind's own verdict is exit status 99, which no command here uses.
expected=$1
shift
log=$(mktemp "${TMPDIR:-/tmp}/u3dpdf_valgrind.XXXXXX")
trap 'rm -f "$log"' EXIT
valgrind --error-exitcode=99 --leak-check=full \
  --errors-for-leak-kinds=definite,indirect --show-leak-kinds=definite,indirect \
  --log-file="$log" "$@"
status=$?
if [ "$status" -ne "$expected" ] || ! grep -q "ERROR SUMMARY: 0 errors" "$log"; then
  cat "$log"
  echo "valgrindRun.sh: exit status $status, expected $expected" >&2
  exit 1
fi
grep "ERROR SUMMARY" "$log"
