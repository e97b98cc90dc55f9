#!/usr/bin/env bash
# Runs the shell examples of README.md that are marked to run, so that what
# the README tells a developer to type keeps working:
#   tools/readme-commands.sh TAG [README]
# A block runs when the line before its ```sh fence is "<!-- runs: TAG -->".
# The marked blocks of one tag run in README order, from the repository root,
# in one shell (an export in one line holds for the next), each command
# echoed first. The first command that fails stops the run, and so does one
# that selects no tests: GoogleTest passes a filter that matches nothing,
# which is how a README example can rot without anyone noticing.
set -euo pipefail
tag=${1:?usage: tools/readme-commands.sh TAG [README]}
root=$(cd "$(dirname "$0")/.." && pwd)
readme=${2:-$root/README.md}

# The commands of the marked blocks, one a line; a line ending in a
# backslash is joined with the next.
commands=$(awk -v marker="<!-- runs: $tag -->" '
  $0 == marker { armed = 1; next }
  armed && /^```sh[[:space:]]*$/ { inside = 1; armed = 0; next }
  { armed = 0 }
  inside && /^```/ { inside = 0; next }
  inside {
    if (sub(/\\$/, "")) { pending = pending $0; next }
    print pending $0; pending = ""
  }' "$readme")
if [ -z "$commands" ]; then
  echo "readme-commands: no block of $readme is marked <!-- runs: $tag -->" >&2
  exit 1
fi

cd "$root"
log=$(mktemp)
# Only this shell removes the file: a background child killed before it has
# become its program would run the trap too.
trap '[ "$BASHPID" = "$$" ] && rm -f "$log"' EXIT
while IFS= read -r command; do
  case "$command" in '' | '#'*) continue ;; esac
  echo "+ $command"
  # eval in this shell, so that exports carry over. The output goes to a file
  # that tail shows as it grows, not through a pipe: programs that outlive
  # the command (Wine's services) inherit its output, and a pipe would stay
  # open as long as they run. tail ends after its last read once the
  # sentinel is gone.
  : >"$log"
  sleep 100000 &
  sentinel=$!
  tail -n +1 -f --pid=$sentinel "$log" &
  follower=$!
  status=0
  eval "$command" </dev/null >>"$log" 2>&1 || status=$?
  { kill $sentinel && wait $sentinel; } 2>/dev/null || true
  wait $follower 2>/dev/null || true
  if [ $status -ne 0 ]; then
    echo "readme-commands: failed ($status): $command" >&2
    exit 1
  fi
  if grep -qE 'Running 0 tests from|No tests were found' "$log"; then
    echo "readme-commands: selects no tests: $command" >&2
    exit 1
  fi
done <<<"$commands"
