#!/usr/bin/env bash
# Makes the archives the decoder tests read, with the real 7zz, into BIN/testdata/decoder.
# Each archive's source tree is kept beside it (src-NAME) so tests compare what they unpack.
# Run by CTest as a fixture before the tests of both trees (Windows tests cannot call 7zz).
set -euo pipefail
export LC_ALL=C.UTF-8  # names outside ASCII are stored as the UTF-16 of their UTF-8 spelling
bin=${1:?usage: make_decoder_archives.sh BIN}
out="$bin/testdata/decoder"
rm -rf "$out"
mkdir -p "$out"
cd "$out"

archive() {  # archive NAME SOURCE-DIR 7ZZ-OPTIONS... (items: everything in the source dir)
    local name=$1 src=$2
    shift 2
    (cd "$src" && 7zz a -t7z -bd -y "$@" "$out/$name.7z" . >/dev/null)
}

# A tree with nested folders, an empty file, an empty folder, text and incompressible data.
mkdir -p src-mixed/docs/deep/deeper src-mixed/empty-folder
printf 'Maglorin kit previewer\n' > src-mixed/readme.txt
printf 'Trikot\n' > "src-mixed/docs/Überzug-日本-😀.txt"
seq 1 40000 > src-mixed/docs/numbers.txt
head -c 300000 /dev/urandom > src-mixed/docs/deep/deeper/noise.bin
: > src-mixed/docs/empty.txt
touch -d '2001-02-03 04:05:06 UTC' src-mixed/readme.txt
archive solid src-mixed -m0=LZMA -ms=on
archive nonsolid src-mixed -m0=LZMA -ms=off
archive lzma2 src-mixed -m0=LZMA2
archive bcj src-mixed -m0=BCJ -m1=LZMA
archive ppmd src-mixed -m0=PPMd
archive aes-data src-mixed -m0=LZMA -psecret -mhe=off
archive aes-headers src-mixed -m0=LZMA -psecret -mhe=on
archive plain-headers src-mixed -m0=LZMA -mhc=off

# Only folders and empty files: nothing to decode.
mkdir -p src-empty/a/b src-empty/c
: > src-empty/a/b/zero.txt
: > src-empty/zero.txt
archive empty src-empty -m0=LZMA

# A folder three levels down whose parents are not items.
mkdir -p src-parents/p1/p2/p3
printf 'deep\n' > src-parents/p1/p2/p3/f.txt
(cd src-parents && 7zz a -t7z -bd -m0=LZMA "$out/parents.7z" p1/p2/p3 >/dev/null)

# Files named with their paths: 7zz stores no item for their folders. One with data, one
# archive whose only file is empty (nothing to decode), and one with both kinds.
mkdir -p src-implicit/a/b src-implicit/c/d
printf 'inside a folder nobody listed\n' > src-implicit/a/b/data.txt
: > src-implicit/c/d/empty.txt
(cd src-implicit && 7zz a -t7z -bd -m0=LZMA "$out/implicit-data.7z" a/b/data.txt >/dev/null)
(cd src-implicit && 7zz a -t7z -bd -m0=LZMA "$out/implicit-empty.7z" c/d/empty.txt >/dev/null)
(cd src-implicit && 7zz a -t7z -bd -m0=LZMA "$out/implicit-both.7z" a/b/data.txt c/d/empty.txt >/dev/null)

# Archives whose LZMA properties name a 3.75 GiB dictionary (0xF0000000 bytes): one in the
# compressed header, one in the data folder of a plain header. 7zz writes a small dictionary, so
# the stored one is patched and both CRCs of the headers are written again.
set_lzma_dictionary() {  # set_lzma_dictionary IN OUT DICTIONARY
    python3 - "$@" <<'PY'
import struct, sys, zlib
source, target, dictionary = sys.argv[1], sys.argv[2], int(sys.argv[3], 0)
data = bytearray(open(source, 'rb').read())
offset, size, _ = struct.unpack_from('<QQI', data, 12)
start = 32 + offset
header = data[start:start + size]
at = header.find(b'\x23\x03\x01\x01\x05')  # LZMA coder with 5 property bytes
if at < 0:
    sys.exit('no LZMA coder in the header of ' + source)
struct.pack_into('<I', data, start + at + 6, dictionary)
struct.pack_into('<I', data, 28, zlib.crc32(data[start:start + size]))
struct.pack_into('<I', data, 8, zlib.crc32(data[12:32]))
open(target, 'wb').write(data)
PY
}
mkdir -p src-dictionary
for i in $(seq 1 40); do  # enough names for 7zz to compress the header
    printf 'line %s\n' "$i" > "src-dictionary/file-with-a-longer-name-$i.txt"
done
archive dictionary-plain src-dictionary -m0=LZMA -mhc=on
archive dictionary-plain-headers src-dictionary -m0=LZMA -mhc=off
set_lzma_dictionary dictionary-plain.7z huge-dictionary-header.7z 0xF0000000
set_lzma_dictionary dictionary-plain-headers.7z huge-dictionary-data.7z 0xF0000000

# A compressed header whose folder claims 3 GiB of unpacked header.
python3 - dictionary-plain.7z huge-header-claim.7z <<'PY'
import struct, sys, zlib
data = bytearray(open(sys.argv[1], 'rb').read())
offset, size, _ = struct.unpack_from('<QQI', data, 12)
start = 32 + offset
header = data[start:start + size]
assert header[0] == 0x17, 'the header is not compressed'
at = header.find(b'\x23\x03\x01\x01\x05') + 5 + 5
assert header[at] == 0x0C, 'no unpack sizes after the coder'
first = header[at + 1]
length = 1
while length < 9 and first & (0x80 >> (length - 1)):
    length += 1
header[at + 1:at + 1 + length] = b'\xff' + struct.pack('<Q', 3 << 30)
data[start:] = header
struct.pack_into('<QQI', data, 12, offset, len(header), zlib.crc32(header))
struct.pack_into('<I', data, 8, zlib.crc32(data[12:32]))
open(sys.argv[2], 'wb').write(data)
PY

# Several megabytes in several files, for progress, cancellation and free space.
mkdir -p src-large
for i in 1 2 3; do
    head -c 1500000 /dev/urandom | base64 > "src-large/part$i.txt"
done
archive large src-large -m0=LZMA -ms=on
archive large-nonsolid src-large -m0=LZMA -ms=off

# No times at all (7zz on Linux cannot store a creation time, so the creation-only case of a
# Windows archive cannot be made here).
mkdir -p src-times
printf 'times\n' > src-times/t.txt
touch -d '2001-02-03 04:05:06 UTC' src-times/t.txt
archive no-times src-times -m0=LZMA -mtc=off -mtm=off -mta=off

# Names that climb out of the output folder or are absolute (stored as given by -spf).
mkdir -p traversal/inner
printf 'outside\n' > traversal/outside.txt
(cd traversal/inner && 7zz a -t7z -bd -m0=LZMA -spf "$out/climbing.7z" ../outside.txt >/dev/null)
(cd traversal/inner && 7zz a -t7z -bd -m0=LZMA -spf "$out/absolute.7z" "$out/traversal/outside.txt" >/dev/null)

# A name whose joined path is longer than the library accepts (folders of 100 characters).
long=$(printf 'L%.0s' $(seq 1 100))
mkdir -p "src-long/$long/$long/$long/$long/$long"
printf 'long\n' > "src-long/$long/$long/$long/$long/$long/f.txt"
archive long src-long -m0=LZMA

touch "$out/ready"
