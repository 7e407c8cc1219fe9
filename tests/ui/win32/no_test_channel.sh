#!/usr/bin/env bash
# no_test_channel.sh SHIPPED TESTBUILD: the shipped viewer holds no trace of the test channel
# (its variable name, in 8-bit or UTF-16 text); the test build holds it, so the search works.
set -u
shipped=${1:?usage: no_test_channel.sh SHIPPED TESTBUILD}
testbuild=${2:?usage: no_test_channel.sh SHIPPED TESTBUILD}
mentions() { { strings -a "$1"; strings -a -e l "$1"; } | grep -c MAGLORIN_TEST_CHANNEL; }
if [ "$(mentions "$testbuild")" -eq 0 ]; then
    echo "the test build $testbuild does not mention MAGLORIN_TEST_CHANNEL: the search is broken"; exit 1
fi
count=$(mentions "$shipped")
if [ "$count" -ne 0 ]; then
    echo "the shipped $shipped mentions MAGLORIN_TEST_CHANNEL $count times"; exit 1
fi
echo "the shipped program has no test channel; the test build has it"
