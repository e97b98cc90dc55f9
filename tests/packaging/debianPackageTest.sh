#!/usr/bin/env bash
# DebianPackageTest: the Debian package that CPack makes (as ./dev package
# does) unpacks into a root of its own, where its u3dpdf converts with no
# environment; the packages it declares in Depends provide every shared
# library that ldd shows for its programs; lintian finds no error; its
# manual page renders.
#   debianPackageTest.sh CPACK BUILD WORK QPDF
set -euo pipefail
cpack=$1 build=$2 work=$3
QPDF=${4:-}
. "$(dirname "$0")/packageChecks.sh"

deb=$(make_package DEB "$build" "$work")
root=$work/root
dpkg-deb -x "$deb" "$root"

cp "$(dirname "$0")/../../examples/torus.u3d" "$work/model.u3d"
(cd "$work" && env -i "$root/usr/bin/u3dpdf" convert model.u3d -o out.pdf --bbox -4 -4 -1 4 4 1) ||
  fail "the packaged u3dpdf did not convert"
check_pdf "$work/out.pdf" "$work/model.u3d"

# Package names out of a Depends field (alternatives count as well).
package_names() {
  tr ',|' '\n\n' | sed 's/(.*//; s/:.*//; s/[[:space:]]//g' | grep -v '^$' || true
}

# What Depends provides: the declared packages and, as installed here, all
# they depend on in turn (a library that a declared library links comes with
# it).
depends=$(dpkg-deb -f "$deb" Depends)
[ -n "$depends" ] || fail "the package declares no Depends"
declared=$(printf '%s' "$depends" | package_names)
provided=" "
pending=$declared
while [ -n "$pending" ]; do
  next=
  for package in $pending; do
    case "$provided" in *" $package "*) continue ;; esac
    provided="$provided$package "
    next="$next $(dpkg-query -W -f='${Depends},${Pre-Depends}\n' "$package" 2>/dev/null | package_names)"
  done
  pending=$next
done

# The package that installed a library of this system; dpkg lists files
# under /lib or /usr/lib depending on the package, whatever ldd reports.
owner() {
  local path candidate
  for path in "$1" "$(realpath "$1")"; do
    for candidate in "$path" "${path#/usr}" "/usr$path"; do
      dpkg -S "$candidate" 2>/dev/null | head -1 | sed 's/:.*//; s/,.*//' && return 0
    done
  done
  return 1
}
programs=("$root/usr/bin/u3dpdf" $(find "$root/usr/lib" -name 'libu3dpdf.so'))
[ ${#programs[@]} -eq 2 ] || fail "the package holds no module"
for program in "${programs[@]}"; do
  while read -r library; do
    package=$(owner "$library") || fail "no package owns $library (needed by $program)"
    case "$provided" in
      *" $package "*) ;;
      *) fail "$program needs $library from $package, which neither Depends ($depends) nor what it pulls in names" ;;
    esac
  done < <(ldd "$program" | awk '$2 == "=>" && $3 ~ /^\// { print $3 } $1 ~ /^\// { print $1 }')
done
# The libraries the programs link themselves are named in Depends directly.
for program in "${programs[@]}"; do
  for needed in $(objdump -p "$program" | awk '$1 == "NEEDED" { print $2 }'); do
    # The loader itself is listed by its path.
    library=$(ldd "$program" | awk -v n="$needed" '$1 == n { print $3 } $1 ~ "/" n "$" { print $1 }')
    [ -n "$library" ] || fail "ldd does not resolve $needed of $program"
    package=$(owner "$library") || fail "no package owns $library"
    printf '%s\n' "$declared" | grep -qx "$package" || fail "$program links $needed from $package, which Depends ($depends) does not name"
  done
done
# The module carries its own C++ runtime.
if ldd "${programs[1]}" | grep -q libstdc++; then
  fail "the packaged module links libstdc++"
fi

# The manual page, as `man u3dpdf` shows it once installed.
MANWIDTH=80 man -P cat -l "$root/usr/share/man/man1/u3dpdf.1.gz" | grep -Eq "u3dpdf +- +convert +3D +models" ||
  fail "the packaged manual page does not render"

# lintian: no errors (warnings are printed, not failed on).
lintian --fail-on error "$deb" >"$work/lintian.log" 2>&1 || fail "lintian: $(cat "$work/lintian.log")"
cat "$work/lintian.log"

echo "$(basename "$deb"): Depends: $depends"
rm -rf "$work"
