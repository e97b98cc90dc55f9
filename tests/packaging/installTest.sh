#!/usr/bin/env bash
# InstallTest: `cmake --install` into a fresh prefix gives a u3dpdf that
# converts with no environment at all and finds its module without
# --module; the manual page renders, the completion completes, and the
# example host builds against the installed SDK (not the build tree) and
# converts through the installed module.
#   installTest.sh CMAKE BUILD SOURCE WORK VERSION CXX QPDF
set -euo pipefail
cmake=$1 build=$2 source=$3 work=$4 version=$5 cxx=$6
QPDF=${7:-}
. "$(dirname "$0")/packageChecks.sh"

rm -rf "$work"
mkdir -p "$work"
prefix=$work/prefix
"$cmake" --install "$build" --prefix "$prefix" >/dev/null

# The command, from another directory, with an empty environment.
cp "$source/examples/torus.u3d" "$work/model.u3d"
(cd "$work" && env -i "$prefix/bin/u3dpdf" convert model.u3d -o out.pdf --bbox -4 -4 -1 4 4 1) ||
  fail "the installed u3dpdf did not convert"
check_pdf "$work/out.pdf" "$work/model.u3d"

# --version: the project's version, a commit, the installed module's
# capability VERSION.
out=$(env -i "$prefix/bin/u3dpdf" --version)
module=$(cd "$prefix" && find lib* -path '*/u3dpdf/libu3dpdf.so' | head -1)
[ -n "$module" ] || fail "no libu3dpdf.so installed below $prefix/lib"
expected="module $(realpath "$prefix")/$module: capability VERSION V1.0"
printf '%s\n' "$out" | head -1 | grep -Eq "^u3dpdf $version \(commit ([0-9a-f]{12}|unknown)\)$" ||
  fail "--version said: $out"
[ "$(printf '%s\n' "$out" | sed -n 2p)" = "$expected" ] || fail "--version said: $out (expected $expected)"

# The manual page renders without groff complaining and holds every
# command's help.
page=$prefix/share/man/man1/u3dpdf.1.gz
text=$(MANWIDTH=80 man --warnings -P cat -l "$page" 2>"$work/man.err") || fail "man -l $page failed"
[ ! -s "$work/man.err" ] || fail "man warns: $(cat "$work/man.err")"
for command in convert request caps tree info formats; do
  printf '%s\n' "$text" | grep -q "Usage: u3dpdf $command " || fail "the manual page lacks the help of $command"
done
printf '%s\n' "$text" | grep -Eq "u3dpdf +- +convert +3D +models" || fail "the manual page has no NAME line"

# Completion of a command and of an option, read from the program's help.
complete_words() {
  bash -c '. "$1"; shift; COMP_WORDS=("$@"); COMP_CWORD=$(($# - 1)); _u3dpdf; echo "${COMPREPLY[*]}"' \
    _ "$prefix/share/bash-completion/completions/u3dpdf" "$@"
}
[ "$(complete_words "$prefix/bin/u3dpdf" con)" = convert ] || fail "completion of 'con'"
[ "$(complete_words "$prefix/bin/u3dpdf" convert --bb)" = --bbox ] || fail "completion of 'convert --bb'"

# The documents.
for doc in README.md LICENSE THIRD-PARTY-NOTICES.md copyright; do
  [ -s "$prefix/share/doc/u3dpdf/$doc" ] || fail "share/doc/u3dpdf/$doc is missing"
done

# The example host, configured against the installed package only.
"$cmake" -S "$source/examples/host" -B "$work/host" -G Ninja -DCMAKE_CXX_COMPILER="$cxx" \
  -DCMAKE_PREFIX_PATH="$prefix" -DCMAKE_EXPORT_COMPILE_COMMANDS=ON -DCMAKE_BUILD_TYPE=Release >"$work/host.log" ||
  fail "the example host does not configure: $(cat "$work/host.log")"
"$cmake" --build "$work/host" >>"$work/host.log" || fail "the example host does not build: $(cat "$work/host.log")"
if grep -q -e "$source/src" -e "$source/include" -e "$build/src" "$work/host/compile_commands.json"; then
  fail "the example host was compiled against the source or build tree"
fi
(cd "$work" && env -i "$work/host/u3dpdf_host" model.u3d host.pdf -4 -4 -1 4 4 1 >host.out) ||
  fail "the example host did not convert"
grep -q 'VERSION{"V1.0"}' "$work/host.out" || fail "the example host printed no capability tree: $(cat "$work/host.out")"
check_pdf "$work/host.pdf" "$work/model.u3d"
# The module consumed the host's copy of the model, not the model.
[ ! -e "$work/host.pdf.u3d" ] || fail "the module left the host's copy of the model"
cmp -s "$work/model.u3d" "$source/examples/torus.u3d" || fail "the model changed"

rm -rf "$work"
echo "installed into a temporary prefix, converted with the command and the example host"
