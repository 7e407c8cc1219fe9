#!/usr/bin/env bash
# Makes the packages the extraction tests read, on the Linux side (the Windows tests under Wine
# cannot run 7zz or setup-pack): 7z archives by 7zz, packages by setup-pack with the win32 tree's
# decoder.dll. Everything goes into BIN/testdata/extraction; each archive's source tree is kept
# beside it (src-NAME) so the tests compare what they unpack.
set -euo pipefail
bin=${1:?usage: make_extraction_packages.sh BIN SETUP-PACK}
pack=${2:?usage: make_extraction_packages.sh BIN SETUP-PACK}
out="$bin/testdata/extraction"
rm -rf "$out"
mkdir -p "$out"
cd "$out"

archive() {  # archive NAME SOURCE-DIR
    (cd "$2" && 7zz a -t7z -bd -y -m0=LZMA "$out/$1.7z" . >/dev/null)
}

# The database archive, the product archive (with packed JAR files), a prerequisite archive.
mkdir -p src-database src-files/bin src-files/docs/deep src-files/lib src-tools/t
printf 'installer database\n' > src-database/setup.msi
printf 'transform\n' > src-database/1033.mst
head -c 200000 /dev/urandom > src-files/bin/kit.bin
seq 1 20000 > src-files/docs/deep/numbers.txt
printf 'readme\n' > src-files/readme.txt
printf 'packed a\n' > src-files/lib/a.jar.pack
printf 'packed b\n' > src-files/lib/b.jar.PACK
printf 'not packed\n' > src-files/lib/c.pack
archive database src-database
archive files src-files
printf 'tool\n' > src-tools/t/tool.txt
archive tools src-tools

# Plain entries.
head -c 4096 /dev/zero | tr '\0' 'I' > image.bin
printf 'prerequisite program\n' > pre.exe
printf 'one file on request\n' > one.txt
printf 'language library\n' > 1033.dll
printf 'plain installer database\n' > main.msi
printf 'notes\n' > notes.txt
head -c 3000000 /dev/urandom > large.bin
printf 'this is not a library\n' > not-a-dll.dll
cp "$bin/decoder.dll" decoder.dll

build() {  # build NAME (manifest on stdin)
    cat > "$1.manifest"
    "$pack" build "$1.manifest" "$1.pkg" >/dev/null
}

# The shipped layout: the database and product archives under the package sub-folder.
build archive <<'M'
image image.bin
flags DatabaseInArchive ExtractOnRequest
entry 2 8 remove decoder.dll decoder.dll
entry 3 7 remove "PKGSUB1\setup.7z" database.7z
entry 3 6 keep "PKGSUB1\FILES.7z" files.7z
entry 100 4 remove "prereq\pre.exe" pre.exe
entry 100 9 remove "prereq\tools.7z" tools.7z
entry 101 11 remove "extras\one.txt" one.txt
entry 0 12 remove "1033.dll" 1033.dll
M

# A plain installer database, one group-1 file kept and one not.
build plain <<'M'
image image.bin
flags ExtractOnRequest
entry 1 0 keep "MAIN\main.msi" main.msi
entry 1 11 remove "MAIN\notes.txt" notes.txt
entry 100 4 keep "pre\pre.exe" pre.exe
entry 101 11 remove "x\one.txt" one.txt
entry 0 11 remove "own.txt" one.txt
M

# A main database archive without a folder part.
build nofolder <<'M'
image image.bin
flags DatabaseInArchive
entry 2 8 remove decoder.dll decoder.dll
entry 3 7 remove setup.7z database.7z
M

# Archives without an extraction library, and with one that is no library.
build nodecoder <<'M'
image image.bin
flags DatabaseInArchive
entry 3 7 remove "PKGSUB1\setup.7z" database.7z
M
build baddecoder <<'M'
image image.bin
flags DatabaseInArchive
entry 2 8 remove decoder.dll not-a-dll.dll
entry 3 7 remove "PKGSUB1\setup.7z" database.7z
M

# A product archive whose packed JAR file the unpacker refuses.
mkdir -p src-badjar/lib
printf 'bad pack\n' > src-badjar/lib/x.jar.pack
archive badjar src-badjar
build badjar <<'M'
image image.bin
flags DatabaseInArchive
entry 2 8 remove decoder.dll decoder.dll
entry 3 6 remove "PKGSUB1\FILES.7z" badjar.7z
M

# A large plain entry and a large archive, for progress and cancellation.
mkdir -p src-large
head -c 3000000 /dev/urandom | base64 > src-large/big.txt
archive large src-large
build large <<'M'
image image.bin
entry 2 8 remove decoder.dll decoder.dll
entry 100 4 remove "big\large.bin" large.bin
entry 101 10 remove "bigarchive\large.7z" large.7z
M

# A package with its configuration in the payload (UTF-16LE with byte-order mark).
printf '\xff\xfe' > setup.ini
printf '[GeneralOptions]\r\nDefaultProdCode={11111111-2222-3333-4444-555556ABCDEF}\r\n' | iconv -f UTF-8 -t UTF-16LE >> setup.ini
build configured <<'M'
image image.bin
configuration setup.ini
entry 100 4 remove "pre\pre.exe" pre.exe
M

# Archives beside setup.
mkdir -p beside
cp database.7z beside/setup.7z
cp files.7z beside/FILES.7z
(cd beside && cat > beside.manifest <<'M'
image ../image.bin
flags FilesBesideSetup BesideFilesCompressed DatabaseInArchive
entry 2 8 remove decoder.dll ../decoder.dll
external 7 setup.7z
external 6 FILES.7z
M
"$pack" build beside.manifest setup.pkg >/dev/null)

# An extraction folder whose package sub-folder already holds a link to a folder outside it:
# removing the sub-folder must remove the link, never what it points to.
mkdir -p linked/PKGSUB1 link-target
printf 'outside\n' > link-target/keep.txt
ln -s ../../link-target linked/PKGSUB1/outside-link

touch "$out/ready"
