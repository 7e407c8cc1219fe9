#!/usr/bin/env bash
# Makes the packages of the launch-condition tests of setup.exe: this tree's setup.exe with a
# payload whose setup.ini holds launch conditions. Everything goes into BIN/testdata/launch-conditions.
set -euo pipefail
bin=${1:?usage: make_condition_packages.sh BIN SETUP-PACK}
pack=${2:?usage: make_condition_packages.sh BIN SETUP-PACK}
out="$bin/testdata/launch-conditions"
rm -rf "$out"
mkdir -p "$out"
cd "$out"
printf 'not an installer database\n' > main.msi

package() {  # package NAME EXTRACTION-FOLDER CONDITION...: setup.ini as UTF-16LE with byte-order mark
    local name=$1 folder=$2
    shift 2
    printf '\xff\xfe' > "$name.ini"
    { printf '[GeneralOptions]\r\nExtractionFolder=%s\r\n[GlobalLaunchConds]\r\n' "$folder"
      for line in "$@"; do printf '%s\r\n' "$line"; done; } | iconv -f UTF-8 -t UTF-16LE >> "$name.ini"
    printf 'image %s\nconfiguration %s.ini\nentry 1 0 keep "MAIN\\main.msi" main.msi\n' "$bin/setup.exe" "$name" > "$name.manifest"
    "$pack" build "$name.manifest" "$name.exe" >/dev/null
}

# The Xvfb screen has 24 bits a pixel: 64 is never met. 2.5 is no .NET version of the table.
package notmet 'C:\maglorin-conditions\notmet' 'MinColorQuality=64'
package broken 'C:\maglorin-conditions\broken' 'MinDotNETVer=2.5'
package met 'C:\maglorin-conditions\met' 'MinColorQuality=1'
