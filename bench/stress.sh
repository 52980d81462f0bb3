#!/usr/bin/env bash
# The seeded stress run of the check through the real main window (stress.exe under Wine on a virtual display):
# ITERATIONS (default 200) rounds of two generated trees, a random action during the check and a full comparison of
# what the window shows with values computed apart. Prints "N iterations, W wrong, H hangs, worst answer R ms"
# (targets: 0 wrong, 0 hangs, worst answer at most 250 ms) and the run's seconds.
#   SEED=3 ITERATIONS=50 JUXTA_BUILD=/work/main/build-x bash bench/stress.sh
set -uo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
source "$here/../scripts/common.sh"
seed=${SEED:-1}
iterations=${ITERATIONS:-200}

out=$(mktemp -d)
trap 'rm -rf "$out"; stop_wine; stop_display' EXIT
build_win64 --target stress -j2 >"$out/build.log" 2>&1 || { cat "$out/build.log" >&2; exit 1; }

start_display || exit 1
start_wine
start=$(date +%s.%N)
"$root/scripts/wine-run" "$win64/bench/stress.exe" --seed "$seed" --iterations "$iterations" 2>"$out/faults.txt" |
  tr -d '\r'
status=${PIPESTATUS[0]}
end=$(date +%s.%N)
tr -d '\r' <"$out/faults.txt" | head -n 40
awk -v a="$start" -v b="$end" -v s="$seed" 'BEGIN {printf "seed %s, %.1f s (target: 0 wrong, 0 hangs, worst answer <= 250 ms)\n", s, b - a}'
exit "$status"
