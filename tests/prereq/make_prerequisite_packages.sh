#!/usr/bin/env bash
# Makes the packages of the prerequisite tests of setup.exe: this tree's setup.exe with a setup.ini
# naming one prerequisite, the test program prereq_sample.exe, served by the download test
# servers (their ports and folders are in STATE). Everything goes into BIN/testdata/prerequisites.
set -euo pipefail
bin=${1:?usage: make_prerequisite_packages.sh BIN SETUP-PACK STATE}
pack=${2:?usage: make_prerequisite_packages.sh BIN SETUP-PACK STATE}
state=${3:?usage: make_prerequisite_packages.sh BIN SETUP-PACK STATE}
out="$bin/testdata/prerequisites"
rm -rf "$out"
mkdir -p "$out"
cd "$out"
printf 'not an installer database\n' > main.msi
read_port() { awk -v n="$1" '$1 == n { print $2 }' "$state/ports"; }
http=$(read_port http) ftp=$(read_port ftp) test=$(read_port test)
cp "$bin/prereq_sample.exe" "$state/www/prereq_sample.exe"
cp "$bin/prereq_sample.exe" "$state/ftp/prereq_sample.exe"
size=$(stat -c %s "$bin/prereq_sample.exe")
md5=$(md5sum "$bin/prereq_sample.exe" | cut -d' ' -f1)
upper=$(printf '%s' "$md5" | tr a-f A-F)
# The bytes the test server's /cut/ path serves.
cut_size=300000
cut_md5=$(python3 -c "import hashlib; print(hashlib.md5(bytes(((i * 7 + i // 251) & 0xFF) for i in range($cut_size))).hexdigest())")

package() {  # package NAME PREREQUISITE-LINE...: setup.ini as UTF-16LE with byte-order mark
    local name=$1
    shift
    local root="C:\\maglorin-prereq\\$name"
    printf '\xff\xfe' > "$name.ini"
    { printf '[GeneralOptions]\r\nExtractionFolder=%s\\x\r\nDownloadFolder=%s\\dl\r\n' "$root" "$root"
      printf '[PREREQUISITES]\r\nApp1=Sample %s\r\n[Sample %s]\r\n' "$name" "$name"
      printf 'SearchType1=5\r\nSearchString1=HKCU\\Software\\MaglorinPrereqTest\\%s\r\n' "$name"
      for line in "$@"; do printf '%s\r\n' "$line"; done; } | iconv -f UTF-8 -t UTF-16LE >> "$name.ini"
    printf 'image %s\nconfiguration %s.ini\nentry 1 0 keep "MAIN\\main.msi" main.msi\n%s' "$bin/setup.exe" "$name" "${extra_entry:-}" > "$name.manifest"
    "$pack" build "$name.manifest" "$name.exe" >/dev/null
}
record() { printf 'CommandLine="C:\\maglorin-prereq\\%s\\dl\\record.txt" %s%s' "$1" "$2" "${3:+ Software\\MaglorinPrereqTest\\$1}"; }

package http "Url=http://127.0.0.1:$http/prereq_sample.exe" "ExactSize=$size" "MD5=$upper" \
    "RetValPropName=PRQ_RESULT" "$(record http 7 key)"
# The same with the full user interface: the wizard chooses it.
package wizard "Url=http://127.0.0.1:$http/prereq_sample.exe" "ExactSize=$size" "MD5=$upper" \
    "RetValPropName=PRQ_RESULT" "$(record wizard 7 key)"
package ftp "Url=ftp://127.0.0.1:$ftp/prereq_sample.exe" "MD5=$md5" "RetValPropName=PRQ_RESULT" "$(record ftp 5 key)"
package badmd5 "Url=http://127.0.0.1:$http/prereq_sample.exe" "MD5=0123456789abcdef0123456789abcdef" \
    "RetValPropName=PRQ_RESULT" "$(record badmd5 7 key)"
package mandatory "Url=http://127.0.0.1:$http/prereq_sample.exe" "ExactSize=$size" "Options=m" \
    "RetValPropName=PRQ_RESULT" "$(record mandatory 3)"
cp "$bin/prereq_sample.exe" prereq_sample.exe
extra_entry=$'entry 100 4 remove "prereq_sample.exe" prereq_sample.exe\n' \
    package payload "SetupFile=prereq_sample.exe" "ExactSize=$size" "MD5=$md5" "RetValPropName=PRQ_RESULT" \
    "CommandLine=\"C:\\maglorin-prereq\\payload\\x\\record.txt\" 9 Software\\MaglorinPrereqTest\\payload"
package cut "Url=http://127.0.0.1:$test/cut/$cut_size" "Folder=?cut.bin" "ExactSize=$cut_size" "MD5=$cut_md5" \
    "$(record cut 0)"
