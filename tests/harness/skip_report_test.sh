#!/bin/sh
# A run with a skipped case reports "skipped" (exit 77) only when nothing failed; a failure next
# to a skip still fails, and a run without skips passes.
probe=$1
expect() {
    want=$1
    shift
    "$probe" --gtest_color=no "$@" >/dev/null 2>&1
    got=$?
    if [ "$got" -ne "$want" ]; then
        echo "skip_probe $*: exit $got, expected $want" >&2
        exit 1
    fi
}
expect 77 --gtest_filter='SkipProbe.Skips:SkipProbe.Passes'
expect 1 --gtest_filter='SkipProbe.Skips:SkipProbe.Fails'
expect 0 --gtest_filter='SkipProbe.Passes'
echo "skip report: skipped, failed and passed runs exit 77, 1 and 0"
