#!/usr/bin/env bash
# make_dist_testdata.sh BIN DIST SETUP-PACK
# Prepares, on the Linux side, what the Windows tests of the shipped installer read (they run
# under Wine and cannot run 7zz or setup-pack), in BIN/testdata/dist:
#   msi-source/   FILES.7z and setup.msi.7z unpacked side by side, as setup lays them out
#   payload/      the shipped manifest packed around a stand-in program image
#   NAME/         when the tree has built setup.exe: a package of its own per end-to-end test
#                 (see packages below), with its digest in NAME/digest.txt
set -euo pipefail
bin=${1:?usage: make_dist_testdata.sh BIN DIST SETUP-PACK}
dist=${2:?usage: make_dist_testdata.sh BIN DIST SETUP-PACK}
pack=${3:?usage: make_dist_testdata.sh BIN DIST SETUP-PACK}
here=$(cd "$(dirname "$0")" && pwd)
scripts=$(cd "$here/../../dist" && pwd)
out="$bin/testdata/dist"
rm -rf "$out"
mkdir -p "$out/msi-source"

7zz x -bd -y -o"$out/msi-source" "$dist/FILES.7z" >/dev/null
7zz x -bd -y -o"$out/msi-source" "$dist/setup.msi.7z" >/dev/null

# A database that always fails: a launch condition that never holds (msiexec ends with 1603).
mkdir -p "$out/failing-msi"
cp "$dist/setup.msi" "$out/failing-msi/setup.msi"
msibuild "$out/failing-msi/setup.msi" \
    -q "INSERT INTO \`LaunchCondition\` (\`Condition\`, \`Description\`) VALUES ('0', 'This test package never installs.')"
"$scripts/pack_7z.sh" "$out/failing-msi/setup.msi.7z" "$out/failing-msi" setup.msi

# The shipped payload, whether or not setup.exe is built yet.
mkdir -p "$out/payload"
head -c 4096 /dev/zero | tr '\0' 'I' > "$out/payload/image.bin"
"$pack" build --image "$out/payload/image.bin" "$dist/maglorin-setup.manifest" "$out/payload/maglorin-setup.exe" >/dev/null

if [ -f "$dist/setup.exe" ]; then
    "$here/make_setup_packages.sh" "$dist/setup.exe" "$dist" "$pack" "$out"
fi
touch "$out/ready"
