#!/usr/bin/env bash
# Makes the installer databases and packages the installer-launch tests use, on the Linux side:
# databases by wixl from the WiX sources beside this script, packages by setup-pack.
# Everything goes into BIN/testdata/launch.
set -euo pipefail
bin=${1:?usage: make_launch_packages.sh BIN SETUP-PACK}
pack=${2:?usage: make_launch_packages.sh BIN SETUP-PACK}
sources=$(cd "$(dirname "$0")/launch_packages" && pwd)
out="$bin/testdata/launch"
rm -rf "$out"
mkdir -p "$out"
cd "$out"

printf 'launch kit readme\n' > readme.txt
wixl -o kit.msi "$sources/kit.wxs"
wixl -o failing.msi "$sources/failing.wxs"
# The same product one build later, in a new package: a minor upgrade of kit.msi.
sed -e 's/Version="1.2.0"/Version="1.2.1"/' \
    "$sources/kit.wxs" > kit-update.wxs
wixl -o kit-update.msi kit-update.wxs
# wixl gives every database a new package code: the tests read it from here.
for db in kit kit-update; do
    msiinfo suminfo "$db.msi" | sed -n 's/^Revision number (UUID): //p' > "$db.packagecode"
    [ -s "$db.packagecode" ]
done
head -c 4096 /dev/zero | tr '\0' 'I' > image.bin

build() {  # build NAME (manifest on stdin)
    cat > "$1.manifest"
    "$pack" build "$1.manifest" "$1.pkg" >/dev/null
}

build kit <<'M'
image image.bin
entry 1 0 remove "KIT\kit.msi" kit.msi
M
build failing <<'M'
image image.bin
entry 1 0 remove "KIT\failing.msi" failing.msi
M
# A database archive without an extraction library: the main package cannot be extracted.
build nolibrary <<'M'
image image.bin
flags DatabaseInArchive
entry 3 7 remove "KIT\setup.7z" kit.msi
M

touch "$out/ready"
