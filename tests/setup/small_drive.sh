#!/usr/bin/env bash
# small_drive.sh start|stop STATE: a 2 MiB drive S: for the full-disk tests under Wine, a tmpfs
# mounted under the Wine session's state folder and mapped through $WINEPREFIX/dosdevices.
# Mounting needs the right to mount; without it 'start' leaves no drive and says so (the tests
# that need the drive then skip with that reason). 'stop' removes exactly what 'start' made.
set -u
cmd=${1:?usage: small_drive.sh start|stop STATE}
state=${2:?usage: small_drive.sh start|stop STATE}
WINEPREFIX="$state/prefix"
mountpoint="$state/small-drive"
link="$WINEPREFIX/dosdevices/s:"

case "$cmd" in
start)
    mkdir -p "$mountpoint"
    if ! mountpoint -q "$mountpoint"; then
        if ! mount -t tmpfs -o size=2m tmpfs "$mountpoint" 2>/dev/null; then
            echo "small_drive: cannot mount a tmpfs here; the small-drive tests will skip"
            exit 0
        fi
    fi
    rm -rf "${mountpoint:?}"/* 2>/dev/null
    ln -sfn "$mountpoint" "$link"
    echo "small_drive: S: is a 2 MiB tmpfs at $mountpoint"
    ;;
stop)
    [ -L "$link" ] && rm -f "$link"
    if mountpoint -q "$mountpoint"; then
        umount "$mountpoint"
    fi
    rmdir "$mountpoint" 2>/dev/null
    exit 0
    ;;
esac
