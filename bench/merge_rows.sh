#!/usr/bin/env bash
# Places N registered files per side into the rows of a real main window (merge_rows.exe under Wine) and prints,
# for each size, a line "N rows per side: ... total X s" with the row model's merge alone as the reference, then
# the process's peak memory. Targets: 100,000 per side at most 1.5 s; 1,000,000 at most 10 s within 1,024 MiB.
#   bash bench/merge_rows.sh [N...]      (default 100000 1000000)
# The files are made once in Wine's temporary folder and kept there for later runs.
set -uo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
source "$here/../scripts/common.sh"
sizes=("$@")
[ ${#sizes[@]} -gt 0 ] || sizes=(100000 1000000)

out=$(mktemp -d)
trap 'rm -rf "$out"; stop_wine; stop_display' EXIT
build_win64 --target merge_rows -j2 >"$out/build.log" 2>&1 || { cat "$out/build.log" >&2; exit 1; }

start_display || exit 1
start_wine
"$root/scripts/wine-run" "$win64/bench/merge_rows.exe" "${sizes[@]}" 2>/dev/null | tr -d '\r'
