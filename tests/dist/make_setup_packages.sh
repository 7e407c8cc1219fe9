#!/usr/bin/env bash
# make_setup_packages.sh SETUP-EXE DIST SETUP-PACK OUT
# One copy of the shipped installer per end-to-end test, each in OUT/NAME: its own digest (so
# its own single-instance lock) and its own extraction folder, [AppDataFolder]MaglorinTests\NAME\
# install, so tests never share files. Built from the shipped payload and manifest of DIST; only
# setup.ini differs, and the "failing" package carries a database that never installs
# (OUT/failing-msi, made by make_dist_testdata.sh).
set -euo pipefail
setup=${1:?} dist=${2:?} pack=${3:?} out=${4:?}
scripts=$(cd "$(dirname "$0")/../../dist" && pwd)

package() {  # package NAME DATABASE-ARCHIVE [EXTRA-SETUP-INI-LINE...]
    local name=$1 database=$2
    shift 2
    local folder="$out/$name"
    mkdir -p "$folder"
    sed "s/^ExtractionFolder=.*/ExtractionFolder=[AppDataFolder]MaglorinTests\\\\$name\\\\install/" \
        "$dist/setup.ini.utf8" > "$folder/setup.ini.utf8"
    for line in "$@"; do
        printf '%s\n' "$line" >> "$folder/setup.ini.utf8"
    done
    "$scripts/encode_setup_ini.sh" "$folder/setup.ini.utf8" "$folder/setup.ini"
    cp "$database" "$folder/setup.msi.7z"
    cp "$dist/FILES.7z" "$folder/FILES.7z"
    cp "$dist/maglorin-setup.manifest" "$folder/maglorin-setup.manifest"
    "$pack" build --image "$setup" "$folder/maglorin-setup.manifest" "$folder/maglorin-setup.exe" >/dev/null
    "$pack" list "$folder/maglorin-setup.exe" | sed -n 's/^digest //p' > "$folder/digest.txt"
    [ -s "$folder/digest.txt" ]
}

package quiet "$dist/setup.msi.7z"
package tail "$dist/setup.msi.7z"
package extract "$dist/setup.msi.7z"
package lock "$dist/setup.msi.7z"
package keep "$dist/setup.msi.7z" "KeepFiles=minimum"
package failing "$out/failing-msi/setup.msi.7z"
