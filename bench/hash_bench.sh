#!/usr/bin/env bash
# Builds hash_bench for Windows x86_64 (run under Wine) and natively (clang, Release, no sanitizers), runs both,
# runs openssl speed for MD5 and SHA-1 in the same session, and prints Juxta's speed as a share of the references:
# kit::Md5 / openssl md5, kit::Sha1 / openssl sha1, kit::Crc32 / zlib crc32 (measured inside hash_bench).
# All figures are MB/s of user CPU time (openssl speed's default), so a busy machine lowers them less.
#   JUXTA_BUILD=/work/main/build-hash bash bench/hash_bench.sh
set -uo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
source "$here/../scripts/common.sh"
native_release="$build_root/native-release"

out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT

# builds quietly; shows the log when a build fails
quiet() {
  "$@" >"$out/build.log" 2>&1 || { cat "$out/build.log" >&2; echo "failed: $*" >&2; exit 1; }
}
quiet build_win64 --target hash_bench -j2
if [ ! -f "$native_release/build.ninja" ]; then
  quiet cmake -S "$root" -B "$native_release" -G Ninja -DJUXTA_NATIVE=ON -DJUXTA_SANITIZE=OFF -DJUXTA_TESTS=OFF \
    -DCMAKE_BUILD_TYPE=Release -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++
fi
quiet cmake --build "$native_release" --target hash_bench -j2

echo "== Windows x86_64 build under Wine"
"$root/scripts/wine-run" "$win64/bench/hash_bench.exe" 2>/dev/null | tr -d '\r' | tee "$out/wine.txt"
echo
echo "== native build (clang, Release)"
"$native_release/bench/hash_bench" | tee "$out/native.txt"
echo

# openssl speed prints "md5  612345.67k" for the 1 MiB size: thousands of bytes per second
openssl_speed() {
  openssl speed -evp "$1" -bytes 1048576 -seconds 3 2>/dev/null |
    awk -v a="$1" '$1 == a {sub(/k$/, "", $2); printf "%.0f\n", $2 / 1000}'
}
if command -v openssl >/dev/null; then
  echo "== openssl speed ($(openssl version))"
  md5_ref=$(openssl_speed md5)
  sha1_ref=$(openssl_speed sha1)
  printf 'MD5    openssl %9.0f MB/s\nSHA-1  openssl %9.0f MB/s\n\n' "$md5_ref" "$sha1_ref"
else
  echo "openssl is not installed: no MD5 and SHA-1 references"
  md5_ref=0 sha1_ref=0
fi

# first row of each kind: the path the CPU offers
speed_of() { # file, hash, code
  awk -v h="$2" -v c="$3" '$1 == h && $2 == c {print $4; exit}' "$1"
}
ratio() {
  awk -v a="$1" -v b="$2" 'BEGIN {if (a > 0 && b > 0) printf "%.2f", a / b; else printf "n/a"}'
}
echo "== ratios (user CPU time)"
printf '%-8s %-26s %-26s %-26s\n' build "MD5 Juxta/OpenSSL" "SHA-1 Juxta/OpenSSL" "CRC32 Juxta/zlib"
for build in wine native; do
  f="$out/$build.txt"
  md5=$(speed_of "$f" MD5 kit::Md5)
  sha1=$(speed_of "$f" SHA-1 kit::Sha1)
  crc=$(speed_of "$f" CRC32 kit::Crc32)
  zlib=$(speed_of "$f" CRC32 zlib)
  printf '%-8s %-26s %-26s %-26s\n' "$build" \
    "$(ratio "$md5" "$md5_ref") ($md5/$md5_ref)" "$(ratio "$sha1" "$sha1_ref") ($sha1/$sha1_ref)" \
    "$(ratio "$crc" "$zlib") ($crc/$zlib)"
done
