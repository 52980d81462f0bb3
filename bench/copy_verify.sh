#!/usr/bin/env bash
# Copies the check_tree tree (two copies of 1,000 files, about 1 GB) through the real file operation engine
# (copy_verify.exe under Wine) with verify on and with verify off, and with cp -r natively in the same run, and
# prints the three times and the ratio verify on / verify off (target: at most 1.6). Verify on flushes every copy
# to the disk, which verify off and cp -r leave to the page cache: the native reference for that is cp -r followed
# by sync, the same bytes put on the disk.
# FILES (per copy, default 1000) and MB (per copy, default 512) size the tree; RUNS (default 2) keeps the best run.
set -uo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
source "$here/../scripts/common.sh"
files=${FILES:-1000}
megabytes=${MB:-512}
runs=${RUNS:-2}

out=$(mktemp -d)
trap 'rm -rf "$out"; stop_wine; stop_display' EXIT

build_win64 --target copy_verify -j2 >"$out/build.log" 2>&1 || { cat "$out/build.log" >&2; exit 1; }

python3 "$here/make_tree.py" "$out/tree/left" "$files" "$megabytes"
cp -r "$out/tree/left" "$out/tree/right"
total_mb=$(du -sb --apparent-size "$out/tree" | awk '{printf "%.1f", $1 / 1e6}')
echo "tree: $((files * 2)) files, ${total_mb} MB under $out/tree"

start_display || exit 1
start_wine
winpath() { echo "Z:$(echo "$1" | tr / '\\')"; }

seconds_of() { # command...: wall-clock seconds of one run
  local t0 t1
  t0=$(date +%s.%N)
  "$@" >"$out/run.txt" 2>&1 || { echo "failed: $*" >&2; tr -d '\r' <"$out/run.txt" >&2; }
  t1=$(date +%s.%N)
  awk -v a="$t0" -v b="$t1" 'BEGIN {print b - a}'
}

best() { # current candidate: the smaller
  awk -v a="$1" -v b="$2" 'BEGIN {if (a == "" || b < a) print b; else print a}'
}

cp_best="" synced_best="" on_best="" off_best=""
for _ in $(seq "$runs"); do
  # every run starts from the same page cache state: the source read once, the last copy gone
  cat $(find "$out/tree" -type f) >/dev/null
  rm -rf "$out/copy"
  copied=$(seconds_of cp -r "$out/tree" "$out/copy")
  cp_best=$(best "$cp_best" "$copied")
  synced_best=$(best "$synced_best" "$(awk -v a="$copied" -v b="$(seconds_of sync)" 'BEGIN {print a + b}')")
  for mode in plain verify; do
    rm -rf "$out/copy"
    sync
    # the engine's own seconds, without the start of Wine
    seconds_of "$root/scripts/wine-run" "$win64/bench/copy_verify.exe" "$(winpath "$out/tree")" \
      "$(winpath "$out/copy")" "$mode" >/dev/null
    s=$(tr -d '\r' <"$out/run.txt" | sed -n 's/^seconds=//p')
    [ -n "$s" ] || { echo "copy_verify gave no time" >&2; exit 1; }
    if [ "$mode" = plain ]; then off_best=$(best "$off_best" "$s"); else on_best=$(best "$on_best" "$s"); fi
  done
  tr -d '\r' <"$out/run.txt" | grep -v seconds=
done
rm -rf "$out/copy"

echo
echo "== best of $runs runs"
awk -v mb="$total_mb" -v c="$cp_best" -v s="$synced_best" -v off="$off_best" -v on="$on_best" 'BEGIN {
  printf "cp -r (native)                 %8.3f s %8.1f MB/s\n", c, mb / c
  printf "cp -r, then sync (native)      %8.3f s %8.1f MB/s\n", s, mb / s
  printf "juxta copy, verify off         %8.3f s %8.1f MB/s\n", off, mb / off
  printf "juxta copy, verify on          %8.3f s %8.1f MB/s\n", on, mb / on
  printf "ratio verify on / verify off   %8.2f   (target <= 1.6)\n", on / off
}'
