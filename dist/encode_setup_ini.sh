#!/usr/bin/env bash
# encode_setup_ini.sh INPUT OUTPUT: writes the UTF-8 text INPUT as setup reads its configuration:
# UTF-16LE behind a byte-order mark, every line ended by a carriage return and line feed.
set -euo pipefail
input=$1 output=$2
partial="$output.partial"
trap 'rm -f "$partial"' EXIT
{
    printf '\377\376'
    sed 's/\r$//; s/$/\r/' "$input" | iconv -f UTF-8 -t UTF-16LE
} > "$partial"
mv "$partial" "$output"
