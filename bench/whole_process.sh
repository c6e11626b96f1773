#!/usr/bin/env bash
# Times the whole program on generated rosters: `rostelle --export` with and without the picture,
# in a private data home. Prints wall time (median of RUNS), peak memory and the workbook's size.
#   bench/whole_process.sh BUILD_DIR KIND EMPLOYEES INTERVAL [RUNS] [picture-extension]
set -euo pipefail
build=$(cd "$1" && pwd); kind=$2; employees=$3; interval=$4; runs=${5:-3}; ext=${6:-}
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d); trap 'rm -rf "$work"' EXIT
export XDG_DATA_HOME=$work/data XDG_CONFIG_HOME=$work/config TMPDIR=$work/tmp
mkdir -p "$TMPDIR" "$XDG_DATA_HOME/Tarrowby/Rostelle Software"
template="$build/dbBlank.sqlite"; [ -f "$template" ] || template="$build/share/rostelle/dbBlank.sqlite"
python3 "$here/make_roster.py" "$template" "$XDG_DATA_HOME/Tarrowby/Rostelle Software/dbData.sqlite" "$kind" "$employees"
args=(--export "$work/out.xls" --interval "$interval")
[ -n "$ext" ] && args+=(--picture "$work/out.$ext")
times=()
for _ in $(seq "$runs"); do
  /usr/bin/time -f "%e %M" -o "$work/time" "$build/rostelle" "${args[@]}" 2>"$work/err" || { cat "$work/err"; }
  times+=("$(tail -n 1 "$work/time")")
done
printf '%s\n' "${times[@]}" | sort -n | awk -v n="$runs" 'NR==int((n+1)/2){printf "median %.2f s, peak %.0f MB", $1, $2/1024}'
echo ", workbook $(stat -c %s "$work/out.xls" 2>/dev/null || echo 0) bytes, stderr lines $(wc -l < "$work/err")"
