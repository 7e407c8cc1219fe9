#!/usr/bin/env bash
# Makes the starting inputs of every fuzz target into OUT/<target>: make-fuzz-seeds writes models,
# packages, pictures and setup.ini with our own writers; archives come from the real 7zz.
#   make_fuzz_seeds.sh MAKE-FUZZ-SEEDS OUT
set -euo pipefail
export LC_ALL=C.UTF-8
tool=${1:?usage: make_fuzz_seeds.sh MAKE-FUZZ-SEEDS OUT}
out=${2:?usage: make_fuzz_seeds.sh MAKE-FUZZ-SEEDS OUT}
rm -rf "$out"
mkdir -p "$out/archive_extraction"
out=$(cd "$out" && pwd)  # the archives are written from another folder
"$tool" "$out"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/src/docs/deep" "$work/src/empty-folder"
printf 'Maglorin kit previewer\n' > "$work/src/readme.txt"
seq 1 300 > "$work/src/docs/numbers.txt"
printf 'deep\n' > "$work/src/docs/deep/f.txt"
: > "$work/src/docs/empty.txt"
arc="$out/archive_extraction"
(cd "$work/src" && 7zz a -t7z -bd -m0=LZMA -ms=on "$arc/solid.7z" . >/dev/null)
(cd "$work/src" && 7zz a -t7z -bd -m0=LZMA -ms=off "$arc/nonsolid.7z" . >/dev/null)
(cd "$work/src" && 7zz a -t7z -bd -m0=LZMA -mhc=off "$arc/plain-headers.7z" . >/dev/null)
(cd "$work/src" && 7zz a -t7z -bd -m0=LZMA "$arc/implicit-folders.7z" docs/deep/f.txt docs/empty.txt >/dev/null)
(cd "$work/src" && 7zz a -t7z -bd -m0=LZMA "$arc/one-file.7z" readme.txt >/dev/null)
