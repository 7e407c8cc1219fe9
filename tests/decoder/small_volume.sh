#!/usr/bin/env bash
# small_volume.sh mount|unmount BIN: a 1 MiB tmpfs at BIN/testdata/decoder-work/low-space for the
# free-space cases of the Windows tests (a program under Wine cannot mount one itself). Where
# mounting is not allowed the cases skip; a marker file beside the folder says it is mounted.
set -u
folder="$2/testdata/decoder-work/low-space"
marker="$folder.mounted"
case "$1" in
    mount)
        mkdir -p "$folder"
        rm -f "$marker"
        if mountpoint -q "$folder" || mount -t tmpfs -o size=1m tmpfs "$folder" 2>/dev/null; then
            touch "$marker"
        else
            echo "no tmpfs can be mounted here: the low-space cases will skip"
        fi
        ;;
    unmount)
        while mountpoint -q "$folder"; do
            umount "$folder" || umount -l "$folder" || break
        done
        rm -f "$marker"
        ;;
    *)
        echo "usage: small_volume.sh mount|unmount BIN" >&2
        exit 2
        ;;
esac
exit 0
