#!/usr/bin/env bash
# pack_7z.sh OUTPUT FOLDER FILE...: a 7z archive of the named files of FOLDER, at its root, in the
# one method setup's extraction library decodes: LZMA without filters (7zz would otherwise put
# its x86 filter in front of programs).
set -euo pipefail
output=$1 folder=$2
shift 2
output=$(cd "$(dirname "$output")" && pwd)/$(basename "$output")
partial="$output.partial.7z"
rm -f "$partial"
trap 'rm -f "$partial"' EXIT
(cd "$folder" && 7zz a -t7z -m0=LZMA -mf=off -bd -y "$partial" "$@" >/dev/null)
mv "$partial" "$output"
