#!/usr/bin/env bash
# Times the start of the program to its first painted main window, on a display of its own (Xvfb),
# against a Qt window that does nothing. Prints hyperfine's figures.
#   bench/startup.sh BUILD_DIR [KIND EMPLOYEES] [RUNS]
# KIND and EMPLOYEES make a roster with make_roster.py (default: the empty template database).
set -euo pipefail
build=$(cd "$1" && pwd); kind=${2:-}; employees=${3:-0}; runs=${4:-30}
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
display=:$((90 + RANDOM % 100))
Xvfb "$display" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
trap 'kill "$xvfb" 2>/dev/null; wait "$xvfb" 2>/dev/null; rm -rf "$work"' EXIT
export DISPLAY=$display XDG_DATA_HOME=$work/data XDG_CONFIG_HOME=$work/config TMPDIR=$work/tmp
export XDG_RUNTIME_DIR=$work/runtime ROSTELLE_BENCH_END_AT_FIRST_PAINT=1
mkdir -p "$TMPDIR" "$XDG_RUNTIME_DIR" "$XDG_DATA_HOME/Tarrowby/Rostelle Software"
chmod 700 "$XDG_RUNTIME_DIR"
template="$build/dbBlank.sqlite"; [ -f "$template" ] || template="$build/share/rostelle/dbBlank.sqlite"
if [ -n "$kind" ]; then
  python3 "$here/make_roster.py" "$template" "$XDG_DATA_HOME/Tarrowby/Rostelle Software/dbData.sqlite" "$kind" "$employees"
fi
for _ in $(seq 50); do [ -S "/tmp/.X11-unix/X${display#:}" ] && break; sleep 0.1; done
"$build/rostelle"  # the first start copies the template and writes the settings
"$build/bench/empty_window_bench" 2>/dev/null || true
hyperfine -N -w 3 -r "$runs" "$build/rostelle" "$build/bench/empty_window_bench"
