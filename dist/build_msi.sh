#!/usr/bin/env bash
# build_msi.sh WXS FILES-DIR OUTPUT VERSION PRODUCT-CODE PACKAGE-CODE UPGRADE-CODE ARCH
# Builds the product's installer database with wixl, then turns it into a database whose files
# lie beside it, uncompressed, in the same folder (FILES.7z unpacks them there):
#   - every file is marked uncompressed and the embedded cabinet is dropped;
#   - the install folder's source is the database's own folder ("Maglorin:." in the folder table);
#   - the package code is set to PACKAGE-CODE (wixl makes a random one), so setup.ini can name it.
# ARCH is x86 or x64. The result is checked and only then renamed to OUTPUT.
set -euo pipefail
wxs=$1 files=$2 output=$3 version=$4 product=$5 package=$6 upgrade=$7 arch=$8
partial="$output.partial"
rm -f "$output" "$partial"
trap 'rm -f "$partial"' EXIT

if [ "$arch" = x64 ]; then
    programFiles=ProgramFiles64Folder template="x64;1033" win64=yes
else
    programFiles=ProgramFilesFolder template="Intel;1033" win64=no
fi
wxs=$(cd "$(dirname "$wxs")" && pwd)/$(basename "$wxs")
outputDir=$(cd "$(dirname "$output")" && pwd)
# wixl finds the files relative to the folder it runs in.
(cd "$files" && wixl --arch "$arch" -D "Version=$version" -D "ProductCode=$product" \
    -D "UpgradeCode=$upgrade" -D "ProgramFilesDir=$programFiles" -D "Win64=$win64" \
    -o "$outputDir/$(basename "$partial")" "$wxs")

# vital (512) + uncompressed (8192)
msibuild "$partial" \
    -q "UPDATE \`File\` SET \`Attributes\` = 8704" \
    -q "UPDATE \`Media\` SET \`Cabinet\` = ''" \
    -q "DELETE FROM \`_Streams\` WHERE \`Name\` = 'files.cab'" \
    -q "UPDATE \`Directory\` SET \`DefaultDir\` = 'Maglorin:.' WHERE \`Directory\` = 'INSTALLDIR'" \
    -s "Maglorin" "Maglorin" "$template" "$package"

fail() { echo "build_msi.sh: $*" >&2; exit 1; }
table() { msiinfo export "$partial" "$1" | tr -d '\r'; }
msiinfo suminfo "$partial" | grep -qF "Revision number (UUID): $package" || fail "package code not set"
[ "$(msiinfo streams "$partial" | grep -cv 'SummaryInformation$')" = 0 ] || fail "streams left in the database"
table Media | awk -F'\t' 'NR > 3 && $4 != "" { exit 1 }' || fail "a cabinet is still named"
table File | awk -F'\t' 'NR > 3 && $7 != 8704 { exit 1 }' || fail "a file is still compressed"
table Directory | grep -qP '^INSTALLDIR\t.*\tMaglorin:\.$' || fail "install folder source not set"
[ "$arch" = x64 ] && bits=256 || bits=0
table Component | awk -F'\t' -v bits="$bits" 'NR > 3 && $4 != bits { exit 1 }' || fail "a component of the wrong bitness"
mv "$partial" "$output"
