#!/usr/bin/env bash
# Checks two copies of one tree through the real main window (check_tree.exe under Wine) and hashes the same files
# with rhash natively in the same run, with CRC-32 alone (the default) and with CRC-32, MD5 and SHA-1, and prints
# the ratio of the wall-clock seconds Juxta/rhash (targets: CRC32 at most 1.0, all three at most 0.8), the
# scheduler's and the interface thread's CPU time. Also: the read floor (a plain program under Wine that only opens
# and reads the same files) and Juxta's ratio to it; 10,000 files of 1-64 KiB per side next to rhash; and, with 16
# workers reading, the time from a drop to its registration window.
#   JUXTA_BUILD=/work/main/build-engine bash bench/check_tree.sh
# FILES (per copy, default 1000) and MB (per copy, default 512) size the tree; RUNS (default 2) keeps the best run.
set -uo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
source "$here/../scripts/common.sh"
files=${FILES:-1000}
megabytes=${MB:-512}
runs=${RUNS:-2}

command -v rhash >/dev/null || { echo "rhash is not installed" >&2; exit 1; }
out=$(mktemp -d)
trap 'rm -rf "$out"; stop_wine; stop_display' EXIT

build_win64 --target check_tree -j2 >"$out/build.log" 2>&1 || { cat "$out/build.log" >&2; exit 1; }

# the tree (bench/make_tree.py); the right copy is byte for byte the same
python3 "$here/make_tree.py" "$out/tree/left" "$files" "$megabytes"
cp -r "$out/tree/left" "$out/tree/right"
# into the page cache, so that both programs hash memory rather than the disk
cat $(find "$out/tree" -type f) >/dev/null
total_mb=$(du -sb --apparent-size "$out/tree" | awk '{printf "%.1f", $1 / 1e6}')
echo "tree: $((files * 2)) files, ${total_mb} MB in two copies under $out/tree"

start_display || exit 1
start_wine
winpath() { echo "Z:$(echo "$1" | tr / '\\')"; }

best_of() { # command...: the smallest wall-clock seconds of $runs runs
  local best=""
  for _ in $(seq "$runs"); do
    local t0 t1
    t0=$(date +%s.%N)
    "$@" >/dev/null 2>&1
    t1=$(date +%s.%N)
    best=$(awk -v a="$best" -v s="$(awk -v a="$t0" -v b="$t1" 'BEGIN {print b - a}')" \
      'BEGIN {if (a == "" || s < a) print s; else print a}')
  done
  echo "$best"
}

juxta_best() { # mode: runs check_tree, prints its lines of the best run, returns the seconds in $out/seconds
  local best="" line
  for _ in $(seq "$runs"); do
    "$root/scripts/wine-run" "$win64/bench/check_tree.exe" "$(winpath "$out/tree/left")" \
      "$(winpath "$out/tree/right")" "$1" 2>/dev/null | tr -d '\r' >"$out/run.txt"
    line=$(sed -n 's/^seconds=//p' "$out/run.txt")
    check=$(sed -n 's/^check_seconds=//p' "$out/run.txt")
    [ -n "$line" ] || { cat "$out/run.txt"; echo "check_tree failed" >&2; exit 1; }
    if [ -z "$best" ] || awk -v a="$line" -v b="$best" 'BEGIN {exit !(a < b)}'; then
      best=$line
      grep -v 'seconds=' "$out/run.txt" >"$out/best.txt"
      echo "$check" >"$out/check_seconds"
    fi
  done
  cat "$out/best.txt"
  echo "$best" >"$out/seconds"
}

read_floor=$(for _ in $(seq "$runs"); do
  "$root/scripts/wine-run" "$win64/bench/check_tree.exe" "$(winpath "$out/tree/left")" "$(winpath "$out/tree/right")" \
    read 2>/dev/null | tr -d '\r' | sed -n 's/^seconds=//p'
done | sort -g | head -1)
echo
echo "read floor (open and read every file under Wine, best of $runs): ${read_floor} s"

for mode in crc all; do
  if [ "$mode" = crc ]; then
    options=(--crc32)
  else
    options=(--crc32 --md5 --sha1)
  fi
  echo
  echo "== $mode: best of $runs runs"
  juxta_best "$mode"
  juxta=$(cat "$out/seconds")
  juxta_check=$(cat "$out/check_seconds")
  rhash_seconds=$(best_of rhash -r "${options[@]}" "$out/tree/left" "$out/tree/right")
  target=1.0; [ "$mode" = all ] && target=0.8
  awk -v mb="$total_mb" -v j="$juxta" -v c="$juxta_check" -v r="$rhash_seconds" -v o="${options[*]}" \
    -v t="$target" -v f="$read_floor" 'BEGIN {
    printf "rhash -r %-22s %8.3f s %8.1f MB/s\n", o, r, mb / r
    printf "juxta, drop to done            %8.3f s %8.1f MB/s\n", j, mb / j
    printf "juxta, checking alone          %8.3f s %8.1f MB/s\n", c, mb / c
    printf "ratio Juxta/rhash (seconds)    %8.2f   checking alone %.2f   (target <= %s)\n", j / r, c / r, t
    printf "ratio Juxta/read floor         %8.2f   (stretch goal <= 1.5)\n", j / f
  }'
done

# many small files: 10,000 of 1-64 KiB per side
python3 - "$out/small/left" <<'PY'
import os, random, sys
random.seed(11)
for i in range(10000):
    folder = os.path.join(sys.argv[1], "d%02d" % (i // 500))
    os.makedirs(folder, exist_ok=True)
    with open(os.path.join(folder, "f%05d.bin" % i), "wb") as f:
        f.write(os.urandom(random.randint(1, 64) * 1024))
PY
cp -r "$out/small/left" "$out/small/right"
cat $(find "$out/small" -type f) >/dev/null
echo
echo "== 10,000 files of 1-64 KiB per side, CRC32"
best=""
for _ in $(seq "$runs"); do
  "$root/scripts/wine-run" "$win64/bench/check_tree.exe" "$(winpath "$out/small/left")" \
    "$(winpath "$out/small/right")" crc 2>/dev/null | tr -d '\r' >"$out/small.txt"
  s=$(sed -n 's/^seconds=//p' "$out/small.txt")
  if [ -z "$best" ] || awk -v a="$s" -v b="$best" 'BEGIN {exit !(a < b)}'; then best=$s; cp "$out/small.txt" "$out/small_best.txt"; fi
done
grep -v 'seconds=' "$out/small_best.txt"
small_rhash=$(best_of rhash -r --crc32 "$out/small/left" "$out/small/right")
awk -v j="$best" -v r="$small_rhash" 'BEGIN {
  printf "rhash -r --crc32 %8.3f s, juxta drop to done %8.3f s, ratio Juxta/rhash (seconds) %.2f\n", r, j, j / r }'

# sixteen large files being read at once (eight a side): the scheduler should sleep until a worker ends (its CPU time near zero)
python3 - "$out/big/left" <<'PY'
import os, sys
os.makedirs(sys.argv[1], exist_ok=True)
block = os.urandom(1 << 20)
for i in range(8):
    with open(os.path.join(sys.argv[1], "large%d.bin" % i), "wb") as f:
        for _ in range(128):
            f.write(block)
PY
cp -r "$out/big/left" "$out/big/right"
cat "$out"/big/*/* >/dev/null
echo
echo "== 16 files of 128 MiB, CheckNum 16, then a drop of one more folder while all 16 read"
mkdir -p "$out/big/extra" && echo extra >"$out/big/extra/one.txt"
"$root/scripts/wine-run" "$win64/bench/check_tree.exe" "$(winpath "$out/big/left")" "$(winpath "$out/big/right")" \
  crc 16 "$(winpath "$out/big/extra")" 2>/dev/null | tr -d '\r' | grep -v 'seconds='
