#!/usr/bin/env bash
# How the lists in utf8/ and cp932/ were made, once, with the real tools (rhash 1.4.3, cksfv 1.3.15, GNU coreutils
# md5sum and sha1sum, hashdeep 4.4); the tests compare with the values in HashListParserTest.cpp. cp932/ holds the
# same lists converted to code page 932 with CR LF line ends.
set -euo pipefail
out=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
mkdir -p files/データ files/dir1 files/dir2 escaped "$out/utf8" "$out/cp932"
printf 'hello\n' > files/a.txt
: > 'files/empty file.bin'
printf 'juxta\n' > 'files/データ/読み込み テスト.bin'
printf 'one\n' > files/dir1/readme.txt
printf 'two\n' > files/dir2/readme.txt
printf 'x' > 'escaped/back\slash.txt'
printf 'y' > "escaped/$(printf 'new\nline.txt')"
names=(a.txt 'empty file.bin' 'データ/読み込み テスト.bin' dir1/readme.txt dir2/readme.txt)
u="$out/utf8"
(
  cd files
  rhash --sfv "${names[@]}" > "$u/rhash.sfv"
  rhash --bsd -CMH "${names[@]}" > "$u/rhash-bsd.txt"
  cksfv "${names[@]}" > "$u/cksfv.sfv"
  md5sum "${names[@]}" > "$u/md5sum.md5"
  md5sum -b "${names[@]}" > "$u/md5sum-b.md5"
  md5sum --tag "${names[@]}" > "$u/md5sum-tag.txt"
  sha1sum "${names[@]}" > "$u/sha1sum.sha1"
  sha1sum -b "${names[@]}" > "$u/sha1sum-b.sha1"
  sha1sum --tag "${names[@]}" > "$u/sha1sum-tag.txt"
  hashdeep -c md5,sha1 -l "${names[@]}" > "$u/hashdeep.txt"
)
(cd escaped && md5sum * > "$u/md5sum-escaped.md5")
for f in "$u"/*; do
  iconv -f UTF-8 -t CP932 "$f" | sed 's/$/\r/' > "$out/cp932/$(basename "$f")"
done
