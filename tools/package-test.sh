#!/usr/bin/env bash
# Checks the Debian package that `make package` made with lintian (any error or warning fails),
# installs it as a user installs it (apt-get install ./rostelle_*.deb), checks that the installed
# program works in a fresh account, then removes the package and checks that none of its files is
# left. Needs root; CI runs it on a fresh Debian 12.
# Usage: tools/package-test.sh [build folder]
set -euo pipefail
build=${1:-build}

shopt -s nullglob
packages=("$build"/rostelle_*.deb)
if [ ${#packages[@]} -ne 1 ]; then
  echo "package test: expected one rostelle_*.deb in $build, found ${#packages[@]} (run make package)" >&2
  exit 1
fi
package=$(realpath "${packages[0]}")
if [ "$(id -u)" -ne 0 ]; then
  echo "package test: installing a package needs root" >&2
  exit 1
fi
if dpkg-query -W -f='${Status}' rostelle 2>/dev/null | grep -q "ok installed"; then
  echo "package test: rostelle is installed already; remove it first (apt-get remove rostelle)" >&2
  exit 1
fi

export DEBIAN_FRONTEND=noninteractive
apt=(apt-get -y -q -o DPkg::Lock::Timeout=600)
work=$(mktemp -d)
installed=no
cleanup() {
  [ "$installed" = yes ] && "${apt[@]}" purge rostelle >/dev/null 2>&1 || true
  rm -rf "$work"
}
trap cleanup EXIT

passed=0
failed=0
check() {
  local what=$1
  shift
  if "$@" >"$work/check.log" 2>&1; then
    passed=$((passed + 1))
    echo "ok     $what"
  else
    failed=$((failed + 1))
    echo "FAILED $what"
    sed 's/^/       /' "$work/check.log"
  fi
}

# A fresh account: an empty home (not even its data and settings folders), no session, no display.
home="$work/home"
mkdir -p "$home" "$work/tmp"
as_new_user() { env -i HOME="$home" PATH=/usr/bin:/bin TMPDIR="$work/tmp" LANG=C.UTF-8 "$@"; }

check "lintian finds no error or warning" lintian --fail-on error,warning --no-tag-display-limit "$package"

depends=$(dpkg-deb -f "$package" Depends)
check "the package depends on the Qt libraries it links" grep -q "libqt6widgets6" <<<"$depends"
check "the package depends on the SQLite driver it loads" grep -q "libqt6sql6-sqlite" <<<"$depends"

"${apt[@]}" install "$package" >"$work/install.log" 2>&1 || { cat "$work/install.log"; exit 1; }
installed=yes
dpkg-query -L rostelle | while read -r path; do [ -f "$path" ] && echo "$path"; done >"$work/files"

check "rostelle is on the search path" test "$(command -v rostelle)" = /usr/bin/rostelle
check "rostelle --help lists the commands" bash -c 'rostelle --help | grep -q -- --export'
check "rostelle --version names the package version" \
  bash -c "[ \"\$(rostelle --version)\" = \"rostelle $(dpkg-deb -f "$package" Version)\" ]"
check "the sample loads in a fresh account" as_new_user rostelle --load-sample
check "the schedule and its picture are written" \
  as_new_user rostelle --export "$work/week.xls" --picture "$work/week.png"
check "the workbook and the picture exist" test -s "$work/week.xls" -a -s "$work/week.png"
check "the desktop entry is valid" desktop-file-validate /usr/share/applications/example.tarrowby.Rostelle.desktop
check "the metainfo is valid" appstreamcli validate --no-net /usr/share/metainfo/example.tarrowby.Rostelle.metainfo.xml
check "running wrote nothing into the program's folders" \
  bash -c '! find /usr/bin/rostelle /usr/share/rostelle -newer "$1" | grep .' _ "$work/files"

"${apt[@]}" purge rostelle >"$work/remove.log" 2>&1 || { cat "$work/remove.log"; exit 1; }
installed=no
while read -r path; do [ -e "$path" ] && echo "left behind: $path"; done <"$work/files" >"$work/left"
check "removing the package leaves none of its files" bash -c '! grep . "$1"' _ "$work/left"
check "the program's data folder is gone" test ! -e /usr/share/rostelle

echo "package test: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
