#!/usr/bin/env bash
# Makes the packages the setup program tests run: this tree's setup.exe with payloads appended
# by setup-pack, on the Linux side. Everything goes into BIN/testdata/setup-program. Tests that
# run concurrently or hold the single-instance lock each get their own package (the lock is
# named after the package digest).
set -euo pipefail
bin=${1:?usage: make_setup_packages.sh BIN SETUP-PACK}
pack=${2:?usage: make_setup_packages.sh BIN SETUP-PACK}
sources=$(cd "$(dirname "$0")/flow_packages" && pwd)
out="$bin/testdata/setup-program"
rm -rf "$out"
mkdir -p "$out"
cd "$out"

printf 'main installer database\n' > main.msi
printf 'prerequisite program\n' > pre.exe
printf 'language library\n' > lang.dll
printf 'INTACT-PAYLOAD-MARKER\n' > marked.msi
mkdir -p src-database
printf 'installer database\n' > src-database/setup.msi
(cd src-database && 7zz a -t7z -bd -y -m0=LZMA ../database.7z . >/dev/null)

configuration() {  # configuration FILE LINES...: setup.ini as UTF-16LE with byte-order mark
    local file=$1
    shift
    printf '\xff\xfe' > "$file"
    { printf '[GeneralOptions]\r\n'; for line in "$@"; do printf '%s\r\n' "$line"; done; } |
        iconv -f UTF-8 -t UTF-16LE >> "$file"
}

build() {  # build NAME (manifest on stdin, after the image line)
    { printf 'image %s\n' "$bin/setup.exe"; cat; } > "$1.manifest"
    "$pack" build "$1.manifest" "$1.exe" >/dev/null
}

build plain <<'M'
flags ExtractOnRequest
entry 1 0 keep "MAIN\main.msi" main.msi
entry 100 4 remove "pre\pre.exe" pre.exe
entry 0 12 remove "1031.dll" lang.dll
M

build noextract <<'M'
entry 1 0 keep "MAIN\main.msi" main.msi
M

build nodecoder <<'M'
flags DatabaseInArchive
entry 3 7 remove "PKGSUB1\setup.7z" database.7z
M

# The main package as an archive, unpacked by this tree's decoder.dll.
cp "$bin/decoder.dll" decoder.dll
build lzma <<'M'
flags DatabaseInArchive
entry 2 8 remove decoder.dll decoder.dll
entry 3 7 remove "FLOWLZM\setup.7z" database.7z
M

# Packages that stop at the Windows Installer version check: nothing is installed.
for name in oldwi-lock oldwi-log oldwi-cmdloc; do
    configuration "$name.ini" 'MinWIVer=99.0' "DefaultProdCode={00000000-0000-0000-0000-0000${name: -4}AAAA}"
    build "$name" <<M
configuration $name.ini
entry 1 0 keep "MAIN\\main.msi" main.msi
M
done

# Integrity: the same layout intact, and with one payload byte changed after packing.
configuration verified.ini 'MinWIVer=99.0'
build intact <<'M'
flags VerifyDigest
configuration verified.ini
entry 1 0 keep "MAIN\main.msi" marked.msi
M
build corrupt <<'M'
flags VerifyDigest
configuration verified.ini
entry 1 0 keep "MAIN\main.msi" marked.msi
M
perl -pi -e 's/INTACT-PAYLOAD-MARKER/BROKEN-PAYLOAD-MARKER/' corrupt.exe
grep -q BROKEN-PAYLOAD-MARKER corrupt.exe

# setup's German and French language libraries beside its built-in English.
cp "$bin/languages/1031.dll" "$bin/languages/1036.dll" .
build languages <<'M'
entry 1 0 remove "LANGMAIN\main.msi" main.msi
entry 0 12 remove "1031.dll" 1031.dll
entry 0 12 remove "1036.dll" 1036.dll
M
# Installed in French (frenchkit.msi); its package asks for a language unless one is installed.
printf 'flow kit\n' > flowkit.txt
wixl -o frenchkit.msi "$sources/french_kit.wxs"
configuration frenchrerun.ini 'UpgradeCode={30C326CB-EDFF-4A2D-9353-20B524042BD3}'
build frenchrerun <<'M'
flags AskLanguage
configuration frenchrerun.ini
entry 1 0 remove "LANGFR\main.msi" main.msi
entry 0 12 remove "1031.dll" 1031.dll
entry 0 12 remove "1036.dll" 1036.dll
M
build asklanguage <<'M'
flags AskLanguage
entry 1 0 remove "LANGASK\main.msi" main.msi
entry 0 12 remove "1031.dll" 1031.dll
entry 0 12 remove "1036.dll" 1036.dll
M

# A whole run: a real installer database (wixl) that setup hands to msiexec.
printf 'flow kit\n' > flowkit.txt
wixl -o flowkit.msi "$sources/flow_kit.wxs"
build install <<'M'
entry 1 0 remove "FLOWKIT\flowkit.msi" flowkit.msi
M

touch "$out/ready"
